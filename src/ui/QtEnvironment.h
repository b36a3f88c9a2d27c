#pragma once

#include <optional>
#include <vector>

#include "CopyFolder.h"

#include "Environment.h"

namespace velmora {

// The machine as Qt sees it. Makes this copy's own working base folder at
// construction, in the per-user state folder where it outlives a crash (in the
// temporary folder when that cannot be made; empty when neither can), and
// removes it, when empty, at destruction.
class QtEnvironment : public Environment {
 public:
  QtEnvironment();
  ~QtEnvironment() override;

  // Where the working base folder was sought first, for the message when none could be made.
  QString StateFolder() const;
  // Why the state folder could not be used when the statement is kept in a
  // temporary folder instead (the system's reason); empty otherwise.
  QString StateFolderFailure() const { return stateFolderFailure_; }
  // The folders that copies which ended without closing left behind, now this copy's.
  std::vector<CopyFolder> ClaimAbandonedCopies() const;

  QDate Today() const override;
  QString ProgramFolder() const override;
  QString WorkingBaseFolder() const override { return workingBase_; }
  QString DataFolder() const override;
  QString DocumentsFolder() const override;
  QString DesktopFolder() const override;
  bool OpenUrl(const QUrl& url) override;

 private:
  std::optional<CopyFolder> copyFolder_;
  QString workingBase_;
  QString stateFolderFailure_;
};

}  // namespace velmora
