#pragma once

#include <optional>

#include "Environment.h"

namespace velmora {

// The machine as Qt sees it. Makes this copy's private working base folder at
// construction (empty when it could not be made) and removes it, when empty, at
// destruction.
class QtEnvironment : public Environment {
 public:
  QtEnvironment();
  ~QtEnvironment() override;

  QDate Today() const override;
  QString ProgramFolder() const override;
  QString WorkingBaseFolder() const override { return workingBase_; }
  QString DataFolder() const override;
  QString DesktopFolder() const override;
  void OpenUrl(const QUrl& url) override;
  void SetCapsLock(bool on) override;

 private:
  QString workingBase_;
  // Caps Lock as the user had it before the program switched it on.
  std::optional<bool> capsLockFound_;
};

}  // namespace velmora
