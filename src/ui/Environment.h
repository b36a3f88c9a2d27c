#pragma once

#include <QDate>
#include <QString>
#include <QUrl>

namespace velmora {

// The window's only ways of reaching the machine: the date, folders and the
// browser. Tests give a fixed date and their own folders.
class Environment {
 public:
  virtual ~Environment() = default;

  virtual QDate Today() const = 0;
  // Where the program's own files lie (Help/).
  virtual QString ProgramFolder() const = 0;
  // A private folder of this running copy; the working folder "temp" lives in it.
  virtual QString WorkingBaseFolder() const = 0;
  // Where the printable pages the program writes for the user go: the user's data
  // folder for the program (~/.local/share/Velmora), never beside the executable.
  virtual QString DataFolder() const = 0;
  // Where a file dialog starts the first time: the user's documents folder, or
  // home when there is none.
  virtual QString DocumentsFolder() const = 0;
  virtual QString DesktopFolder() const = 0;
  // False when no program could be started to show it.
  virtual bool OpenUrl(const QUrl& url) = 0;
};

}  // namespace velmora
