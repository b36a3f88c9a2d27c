#include "XlsSheetInHelper.h"

#include <fcntl.h>
#include <poll.h>

#include <algorithm>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdint>
#include <cstring>
#include <string_view>
#include <vector>

#include "FileDescriptor.h"
#include "ProgramFolders.h"
#include "SharedReport.h"
#include "SheetReport.h"
#include "SystemReason.h"

extern char** environ;

namespace velmora {

namespace {

using Reason = SheetReadFailure::Reason;

constexpr auto kHelperTimeLimit = std::chrono::minutes(2);

SheetReadFailure CannotRead(int error) {
  SheetReadFailure failure{Reason::CannotRead};
  failure.systemReason = SystemReason(error);
  return failure;
}

enum class ReportEnd { Whole, Refused, TimedOut, Stopped };

// Feeds report with what the helper writes, until the helper closes its end of
// the pipe, the report refuses more, or the time runs out.
ReportEnd ReadReport(int fd, const SharedReport& shared, SheetReportReader& report,
                     const std::atomic<bool>* stop) {
  const auto deadline = std::chrono::steady_clock::now() + kHelperTimeLimit;
  std::uint64_t reaches[512];
  std::size_t partReach = 0;  // bytes of a reach that came in two reads
  std::uint64_t fed = 0;
  while (true) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
        deadline - std::chrono::steady_clock::now());
    if (left.count() <= 0) return ReportEnd::TimedOut;
    if (stop != nullptr && stop->load()) return ReportEnd::Stopped;
    // A short wait at a time, so that a stop is seen at once.
    pollfd ready{fd, POLLIN, 0};
    const int polled = ::poll(&ready, 1, static_cast<int>(std::min<long long>(left.count(), 50)));
    if (polled < 0 && errno == EINTR) continue;
    if (polled == 0) continue;
    if (polled < 0) return ReportEnd::Refused;
    char* into = reinterpret_cast<char*>(reaches) + partReach;
    const ssize_t got = ::read(fd, into, sizeof reaches - partReach);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) return ReportEnd::Refused;
    if (got == 0) return partReach == 0 ? ReportEnd::Whole : ReportEnd::Refused;
    const std::size_t have = partReach + static_cast<std::size_t>(got);
    const std::size_t whole = have / sizeof reaches[0];
    partReach = have % sizeof reaches[0];
    if (whole == 0) continue;
    // Only the furthest reach matters: the report before it is there already.
    const auto piece = shared.Between(fed, reaches[whole - 1]);
    if (!piece || !report.Feed(*piece)) return ReportEnd::Refused;
    fed = reaches[whole - 1];
    std::memmove(reaches, reinterpret_cast<char*>(reaches) + whole * sizeof reaches[0], partReach);
  }
}

// This program's environment, with glibc's allocator told to ask for huge pages:
// FreeXL makes hundreds of thousands of small allocations, and on huge pages the
// helper takes one page fault per 2 MB instead of one per 4 KB, which saves a
// fifth of its reading time.
std::vector<std::string> HelperEnvironment() {
  constexpr std::string_view kTunables = "GLIBC_TUNABLES=";
  constexpr std::string_view kHugePages = "glibc.malloc.hugetlb=1";
  std::vector<std::string> environment;
  bool tuned = false;
  for (char** variable = environ; *variable != nullptr; ++variable) {
    environment.emplace_back(*variable);
    if (environment.back().starts_with(kTunables)) {
      environment.back() += environment.back().size() > kTunables.size() ? ":" : "";
      environment.back() += kHugePages;
      tuned = true;
    }
  }
  if (!tuned) environment.push_back(std::string(kTunables) + std::string(kHugePages));
  return environment;
}

// Starts the helper on path with the shared area and the pipe's write end in
// the places it looks for them, its signals as a new program has them.
int StartHelper(const std::string& path, int areaFd, int reachFd, pid_t& helper) {
  const std::string program = XlsReaderPathFor(RunningExecutableFolder());
  // Copies above the places they go to, so that neither move can overwrite the
  // other, as it could in a program started with its standard output closed.
  const FileDescriptor area(::fcntl(areaFd, F_DUPFD_CLOEXEC, 10));
  const FileDescriptor reach(::fcntl(reachFd, F_DUPFD_CLOEXEC, 10));
  if (!area.Valid() || !reach.Valid()) return errno;
  posix_spawn_file_actions_t files;
  posix_spawnattr_t attributes;
  posix_spawn_file_actions_init(&files);
  posix_spawnattr_init(&attributes);
  posix_spawn_file_actions_adddup2(&files, area.Get(), kHelperReportFd);
  posix_spawn_file_actions_adddup2(&files, reach.Get(), STDOUT_FILENO);
  sigset_t none, all;
  sigemptyset(&none);
  sigfillset(&all);
  posix_spawnattr_setsigmask(&attributes, &none);
  posix_spawnattr_setsigdefault(&attributes, &all);
  posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);
  char* arguments[] = {const_cast<char*>(program.c_str()), const_cast<char*>(path.c_str()),
                       nullptr};
  std::vector<std::string> environment = HelperEnvironment();
  std::vector<char*> variables;
  for (std::string& variable : environment) variables.push_back(variable.data());
  variables.push_back(nullptr);
  const int started =
      ::posix_spawn(&helper, program.c_str(), &files, &attributes, arguments, variables.data());
  posix_spawnattr_destroy(&attributes);
  posix_spawn_file_actions_destroy(&files);
  return started;
}

}  // namespace

SheetReadResult ReadXlsSheetInHelper(const std::string& path, const std::atomic<bool>* stop) {
  const SharedReport shared;
  if (!shared.Mapped()) return CannotRead(errno);
  int ends[2];
  if (::pipe2(ends, O_CLOEXEC) != 0) return CannotRead(errno);
  FileDescriptor readEnd(ends[0]);
  FileDescriptor writeEnd(ends[1]);
  pid_t helper = 0;
  if (const int started = StartHelper(path, shared.Fd(), writeEnd.Get(), helper); started != 0) {
    SheetReadFailure missing{Reason::ReaderMissing};
    missing.systemReason = SystemReason(started);
    return missing;
  }
  ::close(writeEnd.Release());
  SheetReportReader report;
  const ReportEnd end = ReadReport(readEnd.Get(), shared, report, stop);
  ::close(readEnd.Release());
  if (end != ReportEnd::Whole) ::kill(helper, SIGKILL);
  SheetReadResult result = std::move(report).Finish();
  int status = 0;
  while (::waitpid(helper, &status, 0) < 0 && errno == EINTR) {
  }
  const bool tooLarge = std::holds_alternative<SheetReadFailure>(result) &&
                        std::get<SheetReadFailure>(result).reason == Reason::TooLarge;
  if (end == ReportEnd::TimedOut || end == ReportEnd::Stopped ||
      (!tooLarge && (!WIFEXITED(status) || WEXITSTATUS(status) != 0)))
    return SheetReadFailure{Reason::Damaged};
  return result;
}

}  // namespace velmora
