#include "SystemReason.h"

#include <cerrno>

namespace velmora {

std::string SystemReason(int errorNumber) {
  switch (errorNumber) {
    case ENOENT:
      return "Δεν υπάρχει τέτοιο αρχείο ή φάκελος.";
    case ENOTDIR:
      return "Ένα μέρος της διαδρομής δεν είναι φάκελος.";
    case EISDIR:
      return "Πρόκειται για φάκελο, όχι για αρχείο.";
    case EACCES:
    case EPERM:
      return "Δεν έχετε δικαίωμα πρόσβασης.";
    case ENOSPC:
    case EDQUOT:
      return "Ο δίσκος είναι γεμάτος.";
    case EROFS:
      return "Το σύστημα αρχείων επιτρέπει μόνο ανάγνωση.";
    case EFBIG:
      return "Το αρχείο είναι πολύ μεγάλο.";
    case EIO:
      return "Σφάλμα εισόδου/εξόδου στον δίσκο.";
    case ENAMETOOLONG:
      return "Το όνομα του αρχείου είναι πολύ μεγάλο.";
    case EEXIST:
      return "Το αρχείο υπάρχει ήδη.";
    case EBUSY:
    case ETXTBSY:
      return "Το αρχείο χρησιμοποιείται από άλλο πρόγραμμα.";
    case EMFILE:
    case ENFILE:
      return "Υπάρχουν ήδη πάρα πολλά ανοιχτά αρχεία.";
    case ENOMEM:
      return "Δεν υπάρχει αρκετή μνήμη.";
    case ELOOP:
      return "Η διαδρομή έχει πάρα πολλούς συμβολικούς συνδέσμους.";
    default:
      break;
  }
  return "Σφάλμα συστήματος αριθμός " + std::to_string(errorNumber) + ".";
}

}  // namespace velmora
