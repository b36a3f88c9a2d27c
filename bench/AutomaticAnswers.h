#pragma once

#include <string>
#include <vector>

#include "Questions.h"

namespace velmora {

// Answers a command's questions as a user who goes on would: "Ναι" to every
// question, the proposed name in one folder for a save, the given file for an
// open. Messages are kept instead of shown.
class AutomaticAnswers : public Questions {
 public:
  explicit AutomaticAnswers(std::string saveFolder) : saveFolder_(std::move(saveFolder)) {}

  // The file that the next "Άνοιγμα" chooses.
  void SetFileToOpen(std::string path) { fileToOpen_ = std::move(path); }
  // The name the next saves give instead of the proposed one; empty: the proposed one.
  void SetSaveName(std::string name) { saveName_ = std::move(name); }
  // The path of the last save's file.
  const std::string& LastSavePath() const { return lastSavePath_; }
  // What a window would have shown in message boxes (UTF-8), oldest first.
  const std::vector<std::string>& Messages() const { return messages_; }
  void ClearMessages() { messages_.clear(); }

  Answer AskYesNo(const std::string&) override { return Answer::Yes; }
  Answer AskYesNoCancel(const std::string&) override { return Answer::Yes; }
  std::optional<std::size_t> AskChoice(const std::string&,
                                       const std::vector<std::string>&) override {
    return 0;
  }
  void Tell(const std::string& message, bool) override { messages_.push_back(message); }
  void TellWithDetails(const std::string& message, const std::string&) override {
    messages_.push_back(message);
  }
  void Warn(const std::string& message) override { messages_.push_back(message); }
  std::optional<std::string> ChooseSaveFile(FileKind, const Cp1253Text& proposedName,
                                            const std::string&, const std::string&) override {
    lastSavePath_ = saveFolder_ + "/" + (saveName_.empty() ? proposedName.bytes() : saveName_);
    return lastSavePath_;
  }
  std::optional<std::string> ChooseOpenFile(FileKind, const std::string&) override {
    return fileToOpen_;
  }
  // No line is ever being typed here.
  bool StorePendingLine(Side) override { return true; }
  void ShowBusy(bool) override {}
  // Nobody is there to stop a long command.
  bool ReportProgress(std::size_t, std::size_t) override { return true; }

 private:
  std::string saveFolder_;
  std::string fileToOpen_;
  std::string saveName_;
  std::string lastSavePath_;
  std::vector<std::string> messages_;
};

}  // namespace velmora
