#pragma once

#include <atomic>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "Cp1253.h"
#include "FileKind.h"
#include "Failure.h"
#include "Side.h"

namespace velmora {

// How a command reaches the person at the keyboard: questions, messages, file
// names, the line being typed and the wait box. The window answers with its
// dialogs and grids; tests and the benchmark answer by themselves. Every text is
// UTF-8; paths are the file system's own bytes.
class Questions {
 public:
  enum class Answer { Yes, No, Cancel };
  // What to do with the statements left by copies that ended without closing.
  struct RecoveryChoice {
    enum class Action { Recover, Delete, Later };
    Action action = Action::Later;
    std::size_t index = 0;  // of the statement chosen, in the order offered
  };

  virtual ~Questions() = default;

  // "Ναι" / "Όχι".
  virtual Answer AskYesNo(const std::string& question) = 0;
  // "Ναι" / "Όχι" / "Άκυρο".
  virtual Answer AskYesNoCancel(const std::string& question) = 0;
  // A question with buttons of its own captions, in order: the index of the
  // button chosen. The last caption is the escape answer (Escape, the close
  // box): put the one that cancels last. nullopt when nothing was chosen.
  virtual std::optional<std::size_t> AskChoice(const std::string& question,
                                               const std::vector<std::string>& captions) = 0;
  // The statements left behind, newest first, each named by when it last changed
  // ("dd/mm/yyyy hh:mm"): one to recover or delete, or Later (also Escape and the
  // close box), which keeps them all for the next start.
  virtual RecoveryChoice ChooseRecovery(const std::vector<std::string>& /*lastChanges*/) {
    return {};
  }
  // A message box, after the beep when beep is set.
  virtual void Tell(const std::string& message, bool beep) = 0;
  // A message box whose details, shown on request and copied as text, hold a
  // longer list (every bad row of a sheet).
  virtual void TellWithDetails(const std::string& message, const std::string& details) = 0;
  // A message box marked as a warning: a command failed.
  virtual void Warn(const std::string& message) = 0;
  // Puts the focus on a filer field that a failure named.
  virtual void FocusFilerField(FilerFocus /*field*/) {}
  // A failure as it is told: beep, message (a warning for a failure of the
  // system), then the focus on the field it names.
  void Report(const Failure& failure) {
    if (failure.warning) {
      Warn(failure.message);
    } else {
      Tell(failure.message, failure.beep);
    }
    if (failure.focus != FilerFocus::None) FocusFilerField(failure.focus);
  }
  // nullopt when the user cancels. A filter lists the kinds of file on offer,
  // as "Περιγραφή (*.a *.b)"; empty offers every file. The dialog starts in
  // startFolder, or where the last file of that kind was chosen when it is empty.
  virtual std::optional<std::string> ChooseSaveFile(FileKind kind, const Cp1253Text& proposedName,
                                                    const std::string& filter,
                                                    const std::string& startFolder) = 0;
  virtual std::optional<std::string> ChooseOpenFile(FileKind kind, const std::string& filter) = 0;
  // Stores the line being typed on that side; false when its checks refused it.
  virtual bool StorePendingLine(Side side) = 0;
  // The wait box, shown while a long command runs.
  virtual void ShowBusy(bool busy) = 0;
  // How far a long command has come, from 0 to total, shown with a button to stop
  // it once it takes more than a moment; done == total takes the display down.
  // False when the user asked to stop. One that shows nothing lets it run.
  virtual bool ReportProgress(std::size_t /*done*/, std::size_t /*total*/) { return true; }
  // Runs work on a thread of its own while the wait box shows with "Διακοπή", the
  // window painting and answering meanwhile. False when the user stopped it: stop
  // is then set and the work left to end by itself, its result unused, so work
  // must own everything it touches. One that shows nothing runs it here.
  virtual bool RunStoppable(std::function<void()> work,
                            std::shared_ptr<std::atomic<bool>> /*stop*/) {
    ShowBusy(true);
    work();
    ShowBusy(false);
    return true;
  }
};

// Shows the wait box for as long as it lives, and takes it down however the
// command ends.
class BusyScope {
 public:
  explicit BusyScope(Questions& questions) : questions_(questions) { questions_.ShowBusy(true); }
  ~BusyScope() { Stop(); }
  BusyScope(const BusyScope&) = delete;
  BusyScope& operator=(const BusyScope&) = delete;

  void Stop() {
    if (shown_) questions_.ShowBusy(false);
    shown_ = false;
  }

 private:
  Questions& questions_;
  bool shown_ = true;
};

}  // namespace velmora
