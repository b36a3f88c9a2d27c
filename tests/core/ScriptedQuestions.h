#pragma once

#include <gtest/gtest.h>

#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "Questions.h"

namespace velmora::test {

// Answers a command's questions from a script, as a user would, and records
// everything the command tells. A question that was not scripted fails the test.
class ScriptedQuestions : public Questions {
 public:
  // The next question must be this one; it gets this answer.
  void Expect(std::string question, Answer answer) {
    answers_.push_back({std::move(question), answer});
  }
  void ExpectChoice(std::string question, std::optional<std::size_t> choice) {
    choices_.push_back({std::move(question), choice});
  }
  // The next recovery list gets this answer; the lists shown are kept in recoveryLists.
  void ExpectRecovery(RecoveryChoice choice) { recoveries_.push_back(choice); }
  void ExpectSaveFile(std::optional<std::string> path) { saveFiles_.push_back(std::move(path)); }
  void ExpectOpenFile(std::optional<std::string> path) { openFiles_.push_back(std::move(path)); }
  // The progress report at which the user stops the command (0 is the first).
  void StopAtProgressReport(std::size_t report) { stopAtProgressReport_ = report; }
  // The answer StorePendingLine gives.
  void SetPendingLineStored(bool stored) { pendingLineStored_ = stored; }

  Answer AskYesNo(const std::string& question) override { return Next(question); }
  Answer AskYesNoCancel(const std::string& question) override { return Next(question); }
  std::optional<std::size_t> AskChoice(const std::string& question,
                                       const std::vector<std::string>& captions) override {
    choiceCaptions.push_back(captions);
    if (choices_.empty()) {
      ADD_FAILURE() << "unexpected choice: " << question;
      return std::nullopt;
    }
    auto next = choices_.front();
    choices_.pop_front();
    EXPECT_EQ(next.first, question);
    return next.second;
  }
  void TellWithDetails(const std::string& message, const std::string& details) override {
    messages.push_back(message);
    this->details.push_back(details);
  }
  RecoveryChoice ChooseRecovery(const std::vector<std::string>& lastChanges) override {
    recoveryLists.push_back(lastChanges);
    if (recoveries_.empty()) {
      ADD_FAILURE() << "unexpected recovery list";
      return {};
    }
    const RecoveryChoice next = recoveries_.front();
    recoveries_.pop_front();
    return next;
  }
  void Tell(const std::string& message, bool beep) override {
    messages.push_back(message);
    beeps += beep ? 1 : 0;
  }
  void Warn(const std::string& message) override { warnings.push_back(message); }
  std::optional<std::string> ChooseSaveFile(FileKind kind, const Cp1253Text& proposedName,
                                            const std::string& filter,
                                            const std::string& startFolder) override {
    proposedNames.push_back(proposedName.bytes());
    filters.push_back(filter);
    kinds.push_back(kind);
    startFolders.push_back(startFolder);
    return Pop(saveFiles_, "save file");
  }
  std::optional<std::string> ChooseOpenFile(FileKind kind, const std::string& filter) override {
    filters.push_back(filter);
    kinds.push_back(kind);
    return Pop(openFiles_, "open file");
  }
  bool StorePendingLine(Side) override { return pendingLineStored_; }
  void ShowBusy(bool busy) override { busyShown += busy ? 1 : 0; }
  bool ReportProgress(std::size_t done, std::size_t total) override {
    progress.emplace_back(done, total);
    return !stopAtProgressReport_ || progress.size() <= *stopAtProgressReport_;
  }

  // Scripted answers never asked for.
  bool AllAnswered() const {
    return answers_.empty() && choices_.empty() && saveFiles_.empty() && openFiles_.empty() &&
           recoveries_.empty();
  }

  std::vector<std::string> messages;
  std::vector<std::string> details;
  std::vector<std::string> warnings;
  std::vector<std::string> proposedNames;
  std::vector<std::string> filters;
  std::vector<FileKind> kinds;
  std::vector<std::string> startFolders;
  std::vector<std::vector<std::string>> choiceCaptions;
  std::vector<std::vector<std::string>> recoveryLists;
  int beeps = 0;
  int busyShown = 0;
  std::vector<std::pair<std::size_t, std::size_t>> progress;

 private:
  Answer Next(const std::string& question) {
    if (answers_.empty()) {
      ADD_FAILURE() << "unexpected question: " << question;
      return Answer::Cancel;
    }
    auto next = answers_.front();
    answers_.pop_front();
    EXPECT_EQ(next.first, question);
    return next.second;
  }
  std::optional<std::string> Pop(std::deque<std::optional<std::string>>& queue, const char* what) {
    if (queue.empty()) {
      ADD_FAILURE() << "unexpected " << what << " dialog";
      return std::nullopt;
    }
    auto next = queue.front();
    queue.pop_front();
    return next;
  }

  std::deque<std::pair<std::string, Answer>> answers_;
  std::deque<std::pair<std::string, std::optional<std::size_t>>> choices_;
  std::deque<std::optional<std::string>> saveFiles_;
  std::deque<RecoveryChoice> recoveries_;
  std::deque<std::optional<std::string>> openFiles_;
  bool pendingLineStored_ = true;
  std::optional<std::size_t> stopAtProgressReport_;
};

}  // namespace velmora::test
