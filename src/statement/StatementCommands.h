#pragma once

#include <ctime>
#include <optional>
#include <string>
#include <vector>

#include "CopyFolder.h"

#include "HeaderLine.h"
#include "Questions.h"
#include "Statement.h"
#include "StatementForm.h"

namespace velmora {

// The user's commands on a statement, each one free function that runs its steps
// in their order: the window gathers the form, calls the command and shows what
// comes back; the benchmark calls the very same functions.

// The question asked before unsaved changes would be lost.
inline constexpr const char* kUnsavedChangesQuestion =
    "Έχετε κάνει αλλαγές. Θέλετε να αποθηκευτούν σε αρχείο;";

// What the window shows after a command replaced the statement.
struct ShownStatement {
  StatementForm form;
  // False when the header file could not be read: the filer fields stay empty.
  bool headerRead = true;
};

// What "Νέο" and "Άνοιγμα" leave: a statement that replaced the one on view.
struct ReplacementOutcome {
  // The statement now on view (empty after "Νέο", opened, or emptied after a
  // file that could not be loaded); nullopt when the user stopped the command or
  // the working files could not be emptied (the user was told).
  std::optional<ShownStatement> shown;
  // Set after a save that ran first because the user asked for it.
  std::optional<StatementForm> savedForm;
};

// "Νέο": unsaved changes are offered for saving first, as before "Άνοιγμα";
// after the command's own question, an empty statement.
ReplacementOutcome NewStatement(Statement& statement, Questions& questions,
                                const StatementForm& form, const Today& today);

struct SaveOutcome {
  bool saved = false;
  // The file written, once saved.
  std::string path;
  // The form as it was written, amounts normalised; set once the amounts were
  // normalised, whether or not the write then succeeded.
  std::optional<StatementForm> normalisedForm;
};

// "Αποθήκευση ως...": the checks before a save, the file name, the question
// before an existing file is replaced, then the file written whole and the
// success message.
SaveOutcome SaveStatementAs(Statement& statement, Questions& questions, const StatementForm& form,
                            const Today& today);

// "Αποθήκευση": the same checks, then the file written whole over the one the
// statement was opened from or last saved to, with no dialog and no message;
// "Αποθήκευση ως..." for a statement of no file yet.
SaveOutcome SaveStatement(Statement& statement, Questions& questions, const StatementForm& form,
                          const Today& today);

// "Άνοιγμα": unsaved changes are offered for saving first; the file is read
// whole and checked before anything changes.
ReplacementOutcome OpenStatement(Statement& statement, Questions& questions,
                                 const StatementForm& form, const Today& today);

// The same for a file already chosen: a recent one, one given on the command
// line or dropped on the window.
ReplacementOutcome OpenStatementFile(Statement& statement, Questions& questions,
                                     const StatementForm& form, const Today& today,
                                     const std::string& path);

struct CloseOutcome {
  bool mayClose = false;
  // Set after a save that ran first because the user asked for it.
  std::optional<StatementForm> savedForm;
};

// Before the window closes. Unsaved changes are offered for saving (over the
// statement's own file when it has one), and the window closes after "Ναι" only
// when the file was written.
CloseOutcome ConfirmClose(Statement& statement, Questions& questions, const StatementForm& form,
                          const Today& today);

// When a statement left behind last changed, in local time ("dd/mm/yyyy hh:mm").
std::string RecoveryStamp(std::time_t when);
// The question that offers back one statement left behind.
std::string RecoveryQuestion(std::time_t when);
inline constexpr const char* kRecoveryDeleteQuestion =
    "Η δήλωση θα διαγραφεί οριστικά. Είστε σίγουρος;";
inline constexpr const char* kRecoveryFailedPrefix = "Η δήλωση δεν μπορεί να ανακτηθεί: ";

// At start: the statements that copies left behind when they ended without
// closing (a crash, a power cut), offered as one list, the latest first. One
// recovered becomes the statement on view, marked as changed, and its folder
// goes; one deleted goes after a second question; Later keeps them all for the
// next start. A folder that holds nothing worth offering is deleted unasked; one
// that fails to load is refused (told, with why) and after its second failure
// set aside as "broken-…", never offered again. nullopt when none was taken back.
std::optional<ShownStatement> OfferRecovery(Statement& statement, Questions& questions,
                                            std::vector<CopyFolder> abandoned);

}  // namespace velmora
