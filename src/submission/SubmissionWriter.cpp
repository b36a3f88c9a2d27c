#include "SubmissionWriter.h"

#include <sys/stat.h>

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <utility>

#include "Amount.h"
#include "RecordLayout.h"
#include "ReplaceQuestion.h"
#include "SaveFailedMessage.h"
#include "WholeNumber.h"

namespace velmora {

namespace {

constexpr int64_t kMaxSixteenDigits = 9'999'999'999'999'999;

constexpr const char* kFixLine = "Διορθώστε τη και επαναλάβετε την αποθήκευση.";
constexpr const char* kCheckTotals =
    "Ελέγξτε τις αξίες των γραμμών και τα ποσά και επαναλάβετε την αποθήκευση.";
constexpr const char* kTooLarge =
    "είναι πολύ μεγάλο για το αρχείο, που δέχεται έως 14 ακέραια ψηφία";
constexpr const char* kNegative = "είναι αρνητικό";
constexpr const char* kUnwritableCharacter =
    "περιέχει χαρακτήρα αλλαγής γραμμής ή μηδενικό χαρακτήρα, που δεν μπορεί να γραφτεί στο αρχείο";

// How the checks name each header field, in the layout's order.
constexpr std::array<const char*, kHeaderFieldCount> kHeaderLabels = {
    "Έτος που αφορούν τα στοιχεία",
    "ΔΟΥ",
    "Αριθμός Φακέλου",
    "Επωνυμία Επιχείρησης",
    "ΑΦΜ",
    "Αντικείμενο Εργασιών",
    "Πόλη",
    "Οδός",
    "Αριθμός",
    "Τ.Κ.",
    "Τηλέφωνο",
    "Φαξ",
    "Email",
    "Είδος Εγκατάστασης",
};

// The counter-party's texts, from the tax number to the postcode, are copied
// from the working line as one block: their columns are the same in the file.
constexpr ColumnSpan kLineTexts{
    LineSpan(LineField::TaxNumber).offset,
    LineSpan(LineField::PostCode).end() - LineSpan(LineField::TaxNumber).offset};
constexpr ColumnSpan kInvoiceCount = LineSpan(LineField::InvoiceCount);
constexpr ColumnSpan kSequence = LineSpan(LineField::SequenceNumber);

using Problem = std::optional<Failure>;

// Such a byte would end the record early when the file is read back.
bool HasUnwritableByte(std::string_view text) {
  return text.find_first_of(std::string_view("\r\n\0", 3)) != std::string_view::npos;
}

// The value must fit the width.
void AppendZeroFilled(std::string& out, uint64_t value, std::size_t width) {
  const std::string digits = std::to_string(value);
  out.append(width - digits.size(), '0');
  out += digits;
}

Failure Refusal(std::string_view subject, std::string_view predicate, std::string_view advice) {
  std::string message(kSaveFailedPrefix);
  message += subject;
  message += ' ';
  message += predicate;
  message += ". ";
  message += advice;
  return {std::move(message), true};
}

const char* SideOf(char type) {
  return SideGenitive(type == record_type::kCustomerLine ? Side::Customers : Side::Suppliers);
}

Failure LineRefusal(char type, int sequence, std::string_view predicate) {
  const std::string subject = "Η γραμμή " + std::to_string(sequence) + ' ' + SideOf(type);
  return Refusal(subject, predicate, kFixLine);
}

// A statement box: a text that is not a number counts as 0.
Amount AmountOrZero(std::string_view text) { return Amount::Parse(text).value_or(Amount()); }

Problem AppendCents(std::string& out, Amount amount, std::string_view subject,
                    std::string_view advice) {
  if (amount.Cents() < 0) return Refusal(subject, kNegative, advice);
  const auto digits = amount.FormatCents16();
  if (!digits) return Refusal(subject, kTooLarge, advice);
  out += *digits;
  return std::nullopt;
}

std::string WithoutItemisationSubject(const char* side) {
  return std::string(
             "Το ποσό «Αξία συναλλαγών χωρίς υποχρέωση υποβολής στοιχείων στις αναλυτικές "
             "γραμμές» ") +
         side;
}

// Columns 20-150, laid out alike in the customer and the supplier amounts record.
Problem AppendAmountsTail(std::string& out, const char* side, Amount withoutItemisation,
                          std::string_view invoiceTotal, std::string_view valueTotal,
                          Amount retailSales) {
  if (auto problem =
          AppendCents(out, withoutItemisation, WithoutItemisationSubject(side), kFixAndSaveAgain)) {
    return problem;
  }

  const std::string invoiceSubject = std::string("Το σύνολο τιμολογίων ") + side;
  const int64_t invoices = ParseWholeNumber(invoiceTotal).value_or(0);
  if (invoices < 0) return Refusal(invoiceSubject, kNegative, kCheckTotals);
  if (invoices > kMaxSixteenDigits) {
    return Refusal(invoiceSubject, "είναι πολύ μεγάλο για το αρχείο, που δέχεται έως 16 ψηφία",
                   kCheckTotals);
  }
  AppendZeroFilled(out, static_cast<uint64_t>(invoices), amounts_record::kInvoiceTotal.width);

  const std::string grandSubject = std::string("Το γενικό σύνολο αξίας ") + side;
  auto grand = AmountOrZero(valueTotal).Plus(retailSales);
  if (grand) grand = grand->Plus(withoutItemisation);
  if (!grand) return Refusal(grandSubject, kTooLarge, kCheckTotals);
  if (auto problem = AppendCents(out, *grand, grandSubject, kCheckTotals)) return problem;

  out.append(amounts_record::kFiller.width, ' ');
  return std::nullopt;
}

Problem AppendHeaderRecord(std::string& out, const HeaderFields& header) {
  for (const HeaderFieldLayout& layout : kHeaderLayout) {
    const std::string& text = header[layout.field].bytes();
    const std::string subject =
        std::string("Το πεδίο «") + kHeaderLabels[static_cast<std::size_t>(layout.field)] + "»";
    if (text.size() > layout.span.width) {
      return Refusal(subject,
                     "έχει περισσότερους από " + std::to_string(layout.span.width) + " χαρακτήρες",
                     kFixAndSaveAgain);
    }
    if (HasUnwritableByte(text)) return Refusal(subject, kUnwritableCharacter, kFixAndSaveAgain);
  }
  out += ComposeHeaderLine(header);
  return std::nullopt;
}

Problem AppendLineRecord(std::string& out, char type, int sequence, std::string_view line) {
  if (sequence > kMaxLinesPerSide) {
    return Refusal("Η γραμμή " + std::to_string(sequence) + ' ' + SideOf(type),
                   "δεν χωράει στο αρχείο",
                   "Το αρχείο δέχεται έως 99999 γραμμές πελατών και έως 99999 γραμμές "
                   "προμηθευτών.");
  }
  // Blank-filled fields are the line's own columns, so the texts are copied as a block.
  const std::string_view texts = kLineTexts.In(line);
  if (HasUnwritableByte(texts)) return LineRefusal(type, sequence, kUnwritableCharacter);
  if (LineFieldText(line, LineField::Obligation).empty()) {
    return LineRefusal(type, sequence, "δεν έχει συμπληρωμένο το πεδίο ΥΠΟΧΡΕΟΣ");
  }
  // Seven columns cannot hold more than seven digits.
  const auto count = ParseWholeNumber(LineFieldText(line, LineField::InvoiceCount));
  if (!count) {
    return LineRefusal(type, sequence, "έχει αριθμό τιμολογίων που δεν είναι ακέραιος αριθμός");
  }
  if (*count < 0) return LineRefusal(type, sequence, "έχει αρνητικό αριθμό τιμολογίων");
  const auto value = Amount::Parse(LineFieldText(line, LineField::Value));
  if (!value) {
    return LineRefusal(type, sequence,
                       "έχει αξία που δεν είναι αριθμός (η υποδιαστολή είναι το κόμμα)");
  }
  if (value->Cents() < 0) return LineRefusal(type, sequence, "έχει αρνητική αξία");
  const auto cents = value->FormatCents16();
  if (!cents) {
    return LineRefusal(type, sequence,
                       "έχει αξία πολύ μεγάλη για το αρχείο, που δέχεται έως 14 ακέραια ψηφία");
  }

  out += type;
  AppendZeroFilled(out, static_cast<uint64_t>(sequence), kSequence.width);
  out += texts;
  out.append(kLineTexts.width - texts.size(), ' ');
  AppendZeroFilled(out, static_cast<uint64_t>(*count), kInvoiceCount.width);
  out += *cents;
  out.append(LineSpan(LineField::Filler).width, ' ');
  return std::nullopt;
}

Problem AppendCustomerAmountsRecord(std::string& out, std::string_view retailSales,
                                    std::string_view withoutItemisation,
                                    std::string_view invoiceTotal, std::string_view valueTotal) {
  const char* side = SideOf(record_type::kCustomerLine);
  const Amount retail = AmountOrZero(retailSales);
  out += record_type::kCustomerAmounts;
  out.append(amounts_record::kRetailSales.offset - 1, ' ');
  if (auto problem = AppendCents(
          out, retail, std::string("Το ποσό «Αξία Λιανικών Πωλήσεων» ") + side, kFixAndSaveAgain)) {
    return problem;
  }
  out.append(amounts_record::kWithoutItemisation.offset - amounts_record::kRetailSales.end(), ' ');
  return AppendAmountsTail(out, side, AmountOrZero(withoutItemisation), invoiceTotal, valueTotal,
                           retail);
}

Problem AppendSupplierAmountsRecord(std::string& out, std::string_view withoutItemisation,
                                    std::string_view invoiceTotal, std::string_view valueTotal) {
  out += record_type::kSupplierAmounts;
  out.append(amounts_record::kWithoutItemisation.offset - 1, ' ');
  return AppendAmountsTail(out, SideOf(record_type::kSupplierLine),
                           AmountOrZero(withoutItemisation), invoiceTotal, valueTotal, Amount());
}

template <typename Append>
std::variant<std::string, Failure> SingleRecord(Append append) {
  std::string record;
  record.reserve(kRecordLength);
  if (auto problem = append(record)) return *std::move(problem);
  return record;
}

void EndRecord(std::string& file) { file += "\r\n"; }

}  // namespace

std::string OpeningRecord(bool creditBalances, std::string_view date) {
  std::string record(opening_record::kMarker);
  if (creditBalances)
    record += opening_record::kCreditBalancesKind;
  else
    record.append(opening_record::kKindSpan.width, ' ');
  record += date.substr(0, opening_record::kDateSpan.width);
  record.resize(kRecordLength, ' ');
  return record;
}

std::variant<std::string, Failure> HeaderRecord(const HeaderFields& header) {
  return SingleRecord([&](std::string& out) { return AppendHeaderRecord(out, header); });
}

std::variant<std::string, Failure> LineRecord(char type, int sequence,
                                              std::string_view workingLine) {
  return SingleRecord(
      [&](std::string& out) { return AppendLineRecord(out, type, sequence, workingLine); });
}

std::variant<std::string, Failure> CustomerAmountsRecord(std::string_view retailSales,
                                                         std::string_view withoutItemisation,
                                                         std::string_view invoiceTotal,
                                                         std::string_view valueTotal) {
  return SingleRecord([&](std::string& out) {
    return AppendCustomerAmountsRecord(out, retailSales, withoutItemisation, invoiceTotal,
                                       valueTotal);
  });
}

std::variant<std::string, Failure> SupplierAmountsRecord(std::string_view withoutItemisation,
                                                         std::string_view invoiceTotal,
                                                         std::string_view valueTotal) {
  return SingleRecord([&](std::string& out) {
    return AppendSupplierAmountsRecord(out, withoutItemisation, invoiceTotal, valueTotal);
  });
}

std::variant<std::string, Failure> ComposeSubmissionFile(const SubmissionStatement& s) {
  std::string file;
  file.reserve((4 + s.customerLines.size() + s.supplierLines.size()) * (kRecordLength + 2));
  file += OpeningRecord(s.creditBalances, s.date);
  EndRecord(file);
  if (auto problem = AppendHeaderRecord(file, s.header)) return *std::move(problem);
  EndRecord(file);

  int sequence = 0;
  for (const std::string& line : s.customerLines) {
    if (auto problem = AppendLineRecord(file, record_type::kCustomerLine, ++sequence, line))
      return *std::move(problem);
    EndRecord(file);
  }
  if (!s.customerLines.empty() || AmountOrZero(s.retailSales).Cents() != 0 ||
      AmountOrZero(s.customersWithoutItemisation).Cents() != 0) {
    if (auto problem =
            AppendCustomerAmountsRecord(file, s.retailSales, s.customersWithoutItemisation,
                                        s.customerInvoiceTotal, s.customerValueTotal)) {
      return *std::move(problem);
    }
    EndRecord(file);
  }

  sequence = 0;
  for (const std::string& line : s.supplierLines) {
    if (auto problem = AppendLineRecord(file, record_type::kSupplierLine, ++sequence, line))
      return *std::move(problem);
    EndRecord(file);
  }
  if (!s.supplierLines.empty() || AmountOrZero(s.suppliersWithoutItemisation).Cents() != 0) {
    if (auto problem = AppendSupplierAmountsRecord(file, s.suppliersWithoutItemisation,
                                                   s.supplierInvoiceTotal, s.supplierValueTotal)) {
      return *std::move(problem);
    }
    EndRecord(file);
  }
  return file;
}

std::string SuccessMessage() {
  return "Επιτυχής Αποθήκευση Αρχείου.\r\n"
         "Η Συγκεντρωτική Κατάσταση έχει αποθηκευτεί στον υπολογιστή σας.\r\n"
         "Για να υποβάλλετε ηλεκτρονικά την Συγκεντρωτική Κατάσταση Πελατών-Προμηθευτών \r\n"
         "θα πρέπει να συμπιέσετε (zip) το αρχείο που αποθηκεύσατε και να συνδεθείτε μέσω \r\n"
         "διαδικτύου στην αντίστοιχη υπηρεσία της Quorvane (Velmora).\r\n"
         "Για να συμπιέσετε το αρχείο επιλέξτε το μενού \"Εργαλεία\" -> \"Δημιουργία "
         "Συμπιεσμένου\r\n"
         "Αρχείου (zip)\". Για να συνδεθείτε μέσω διαδικτύου στην υπηρεσία Velmora επιλέξτε το "
         "μενού\r\n"
         "\"Εργαλεία\" -> \"Σύνδεση με εξυπηρετητή Quorvane\".";
}

bool IsReadOnlyFile(const std::string& path) {
  struct stat info {};
  return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) && (info.st_mode & 0222) == 0;
}

std::string OverwriteQuestion(std::string_view bareFileName, bool readOnly) {
  std::string question;
  if (readOnly) {
    question += "Το αρχείο ";
    question += bareFileName;
    question += " είναι μόνο για ανάγνωση· το νέο αρχείο θα κρατήσει τα ίδια δικαιώματα. ";
  }
  return question + ReplaceQuestion(bareFileName);
}

}  // namespace velmora
