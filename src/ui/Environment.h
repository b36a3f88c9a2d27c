#pragma once

#include <QDate>
#include <QString>
#include <QUrl>

namespace velmora {

// The window's only ways of reaching the machine: the date, folders, the browser
// and the keyboard lock. Tests give a fixed date and their own folders.
class Environment {
 public:
  virtual ~Environment() = default;

  virtual QDate Today() const = 0;
  // Where the program's own files lie (Help/).
  virtual QString ProgramFolder() const = 0;
  // A private folder of this running copy; the working folder "temp" lives in it.
  virtual QString WorkingBaseFolder() const = 0;
  // Where files the program writes for the user go, and where file dialogs start.
  virtual QString DataFolder() const = 0;
  virtual QString DesktopFolder() const = 0;
  virtual void OpenUrl(const QUrl& url) = 0;
  virtual void SetCapsLock(bool on) = 0;
};

}  // namespace velmora
