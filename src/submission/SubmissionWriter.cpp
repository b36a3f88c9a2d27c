#include "SubmissionWriter.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <utility>

#include "Amount.h"
#include "LineLayout.h"
#include "WholeNumber.h"

namespace velmora {

namespace {

constexpr int kMaxSequence = 99999;
constexpr int64_t kMaxSixteenDigits = 9'999'999'999'999'999;

constexpr const char* kFailed = "Η αποθήκευση σε αρχείο απέτυχε: ";
constexpr const char* kFixIt = "Διορθώστε το και επαναλάβετε την αποθήκευση.";
constexpr const char* kFixLine = "Διορθώστε τη και επαναλάβετε την αποθήκευση.";
constexpr const char* kCheckTotals =
    "Ελέγξτε τις αξίες των γραμμών και τα ποσά και επαναλάβετε την αποθήκευση.";
constexpr const char* kTooLarge =
    "είναι πολύ μεγάλο για το αρχείο, που δέχεται έως 14 ακέραια ψηφία";
constexpr const char* kNegative = "είναι αρνητικό";
constexpr const char* kUnwritableCharacter =
    "περιέχει χαρακτήρα αλλαγής γραμμής ή μηδενικό χαρακτήρα, που δεν μπορεί να γραφτεί στο αρχείο";

struct HeaderColumn {
  std::string HeaderFields::*field;
  std::size_t width;
  const char* label;
};

constexpr std::array<HeaderColumn, 14> kHeaderColumns = {{
    {&HeaderFields::year, 4, "Έτος που αφορούν τα στοιχεία"},
    {&HeaderFields::officeCode, 4, "ΔΟΥ"},
    {&HeaderFields::fileNumber, 6, "Αριθμός Φακέλου"},
    {&HeaderFields::companyName, 18, "Επωνυμία Επιχείρησης"},
    {&HeaderFields::afm, 9, "ΑΦΜ"},
    {&HeaderFields::profession, 16, "Αντικείμενο Εργασιών"},
    {&HeaderFields::town, 10, "Πόλη"},
    {&HeaderFields::street, 16, "Οδός"},
    {&HeaderFields::number, 3, "Αριθμός"},
    {&HeaderFields::tk, 5, "Τ.Κ."},
    {&HeaderFields::tel, 10, "Τηλέφωνο"},
    {&HeaderFields::fax, 10, "Φαξ"},
    {&HeaderFields::email, 34, "Email"},
    {&HeaderFields::installationType, 4, "Είδος Εγκατάστασης"},
}};

// Columns of the working line, 0-based.
constexpr std::size_t kTextsOffset = 6;  // AFM up to TK, copied as they stand
constexpr std::size_t kTextsWidth = 86;
constexpr std::size_t kYpovolhOffset = 57;
constexpr std::size_t kCountOffset = 92;
constexpr std::size_t kCountWidth = 7;
constexpr std::size_t kValueOffset = 99;
constexpr std::size_t kValueWidth = 16;
constexpr std::size_t kFillerWidth = 35;
constexpr std::size_t kAmountsFillerWidth = 83;

using Problem = std::optional<WriteProblem>;

// Such a byte would end the record early when the file is read back.
bool HasUnwritableByte(std::string_view text) {
  return text.find_first_of(std::string_view("\r\n\0", 3)) != std::string_view::npos;
}

// The columns of a line as far as the line reaches.
std::string_view Columns(std::string_view line, std::size_t offset, std::size_t width) {
  return offset < line.size() ? line.substr(offset, width) : std::string_view();
}

// A field as the line table gives it: without trailing blanks.
std::string_view FieldText(std::string_view line, std::size_t offset, std::size_t width) {
  const std::string_view columns = Columns(line, offset, width);
  const auto last = columns.find_last_not_of(' ');
  return last == std::string_view::npos ? std::string_view() : columns.substr(0, last + 1);
}

// The value must fit the width.
void AppendZeroFilled(std::string& out, uint64_t value, std::size_t width) {
  const std::string digits = std::to_string(value);
  out.append(width - digits.size(), '0');
  out += digits;
}

WriteProblem Refusal(std::string_view subject, std::string_view predicate,
                     std::string_view advice) {
  std::string message = kFailed;
  message += subject;
  message += ' ';
  message += predicate;
  message += ". ";
  message += advice;
  return {std::move(message)};
}

const char* SideOf(char type) { return type == '2' ? "των πελατών" : "των προμηθευτών"; }

WriteProblem LineRefusal(char type, int sequence, std::string_view predicate) {
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
          AppendCents(out, withoutItemisation, WithoutItemisationSubject(side), kFixIt)) {
    return problem;
  }

  const std::string invoiceSubject = std::string("Το σύνολο τιμολογίων ") + side;
  const int64_t invoices = ParseWholeNumber(invoiceTotal).value_or(0);
  if (invoices < 0) return Refusal(invoiceSubject, kNegative, kCheckTotals);
  if (invoices > kMaxSixteenDigits) {
    return Refusal(invoiceSubject, "είναι πολύ μεγάλο για το αρχείο, που δέχεται έως 16 ψηφία",
                   kCheckTotals);
  }
  AppendZeroFilled(out, static_cast<uint64_t>(invoices), 16);

  const std::string grandSubject = std::string("Το γενικό σύνολο αξίας ") + side;
  auto grand = AmountOrZero(valueTotal).Plus(retailSales);
  if (grand) grand = grand->Plus(withoutItemisation);
  if (!grand) return Refusal(grandSubject, kTooLarge, kCheckTotals);
  if (auto problem = AppendCents(out, *grand, grandSubject, kCheckTotals)) return problem;

  out.append(kAmountsFillerWidth, ' ');
  return std::nullopt;
}

Problem AppendHeaderRecord(std::string& out, const HeaderFields& header) {
  for (const HeaderColumn& column : kHeaderColumns) {
    const std::string& text = header.*column.field;
    const std::string subject = std::string("Το πεδίο «") + column.label + "»";
    if (text.size() > column.width) {
      return Refusal(subject,
                     "έχει περισσότερους από " + std::to_string(column.width) + " χαρακτήρες",
                     kFixIt);
    }
    if (HasUnwritableByte(text)) return Refusal(subject, kUnwritableCharacter, kFixIt);
  }
  out += ComposeHeaderLine(header);
  return std::nullopt;
}

Problem AppendLineRecord(std::string& out, char type, int sequence, std::string_view line) {
  if (sequence > kMaxSequence) {
    return Refusal("Η γραμμή " + std::to_string(sequence) + ' ' + SideOf(type),
                   "δεν χωράει στο αρχείο",
                   "Το αρχείο δέχεται έως 99999 γραμμές πελατών και έως 99999 γραμμές "
                   "προμηθευτών.");
  }
  // Blank-filled fields are the line's own columns, so the texts are copied as a block.
  const std::string_view texts = Columns(line, kTextsOffset, kTextsWidth);
  if (HasUnwritableByte(texts)) return LineRefusal(type, sequence, kUnwritableCharacter);
  if (FieldText(line, kYpovolhOffset, 1).empty()) {
    return LineRefusal(type, sequence, "δεν έχει συμπληρωμένο το πεδίο ΥΠΟΧΡΕΟΣ");
  }
  // Seven columns cannot hold more than seven digits.
  const auto count = ParseWholeNumber(FieldText(line, kCountOffset, kCountWidth));
  if (!count) {
    return LineRefusal(type, sequence, "έχει αριθμό τιμολογίων που δεν είναι ακέραιος αριθμός");
  }
  if (*count < 0) return LineRefusal(type, sequence, "έχει αρνητικό αριθμό τιμολογίων");
  const auto value = Amount::Parse(FieldText(line, kValueOffset, kValueWidth));
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
  AppendZeroFilled(out, static_cast<uint64_t>(sequence), 5);
  out += texts;
  out.append(kTextsWidth - texts.size(), ' ');
  AppendZeroFilled(out, static_cast<uint64_t>(*count), kCountWidth);
  out += *cents;
  out.append(kFillerWidth, ' ');
  return std::nullopt;
}

Problem AppendCustomerAmountsRecord(std::string& out, std::string_view retailSales,
                                    std::string_view withoutItemisation,
                                    std::string_view invoiceTotal, std::string_view valueTotal) {
  const char* side = SideOf('2');
  const Amount retail = AmountOrZero(retailSales);
  out += "3 ";
  if (auto problem = AppendCents(out, retail,
                                 std::string("Το ποσό «Αξία Λιανικών Πωλήσεων» ") + side, kFixIt)) {
    return problem;
  }
  out += ' ';
  return AppendAmountsTail(out, side, AmountOrZero(withoutItemisation), invoiceTotal, valueTotal,
                           retail);
}

Problem AppendSupplierAmountsRecord(std::string& out, std::string_view withoutItemisation,
                                    std::string_view invoiceTotal, std::string_view valueTotal) {
  out += '5';
  out.append(18, ' ');
  return AppendAmountsTail(out, SideOf('4'), AmountOrZero(withoutItemisation), invoiceTotal,
                           valueTotal, Amount());
}

template <typename Append>
std::variant<std::string, WriteProblem> SingleRecord(Append append) {
  std::string record;
  record.reserve(kLineLength);
  if (auto problem = append(record)) return *std::move(problem);
  return record;
}

void EndRecord(std::string& file) { file += "\r\n"; }

}  // namespace

std::string OpeningRecord(bool creditBalances, std::string_view date) {
  std::string record = creditBalances ? "0IL01.PIS" : "0IL01    ";
  record += date.substr(0, 8);
  record.resize(kLineLength, ' ');
  return record;
}

std::variant<std::string, WriteProblem> HeaderRecord(const HeaderFields& header) {
  return SingleRecord([&](std::string& out) { return AppendHeaderRecord(out, header); });
}

std::variant<std::string, WriteProblem> LineRecord(char type, int sequence,
                                                   std::string_view workingLine) {
  return SingleRecord(
      [&](std::string& out) { return AppendLineRecord(out, type, sequence, workingLine); });
}

std::variant<std::string, WriteProblem> CustomerAmountsRecord(std::string_view retailSales,
                                                              std::string_view withoutItemisation,
                                                              std::string_view invoiceTotal,
                                                              std::string_view valueTotal) {
  return SingleRecord([&](std::string& out) {
    return AppendCustomerAmountsRecord(out, retailSales, withoutItemisation, invoiceTotal,
                                       valueTotal);
  });
}

std::variant<std::string, WriteProblem> SupplierAmountsRecord(std::string_view withoutItemisation,
                                                              std::string_view invoiceTotal,
                                                              std::string_view valueTotal) {
  return SingleRecord([&](std::string& out) {
    return AppendSupplierAmountsRecord(out, withoutItemisation, invoiceTotal, valueTotal);
  });
}

std::variant<std::string, WriteProblem> ComposeSubmissionFile(const SubmissionStatement& s) {
  std::string file;
  file.reserve((4 + s.customerLines.size() + s.supplierLines.size()) * (kLineLength + 2));
  file += OpeningRecord(s.creditBalances, s.date);
  EndRecord(file);
  if (auto problem = AppendHeaderRecord(file, s.header)) return *std::move(problem);
  EndRecord(file);

  int sequence = 0;
  for (const std::string& line : s.customerLines) {
    if (auto problem = AppendLineRecord(file, '2', ++sequence, line)) return *std::move(problem);
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
    if (auto problem = AppendLineRecord(file, '4', ++sequence, line)) return *std::move(problem);
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

std::string OverwriteQuestion(std::string_view bareFileName) {
  std::string question = "Είστε σίγουρος ότι θέλετε να αντικαταστήσετε το αρχείο ";
  question += bareFileName;
  question += ';';
  return question;
}

}  // namespace velmora
