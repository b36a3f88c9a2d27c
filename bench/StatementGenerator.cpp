#include "StatementGenerator.h"

#include <initializer_list>
#include <stdexcept>

#include "Cp1253.h"

namespace velmora {

namespace {

constexpr uint32_t kFirstPrefix = 10'000'000;
// Line numbers take prefixes from 10,000,000 up to 89,999,999; the filer's and the
// extra ones lie above.
constexpr uint32_t kLinePrefixes = 80'000'000;
// Prime, so that index * kStride modulo kLinePrefixes visits every prefix once.
constexpr uint32_t kStride = 7'919;
constexpr uint32_t kFilerPrefix = 94'512'367;
constexpr uint32_t kExtraPrefix = 91'000'000;

std::vector<std::string> ToCp1253(std::initializer_list<const char*> words) {
  std::vector<std::string> result;
  for (const char* word : words) {
    auto bytes = Utf8ToCp1253(word);
    if (!bytes) throw std::logic_error("a generator word has no Windows-1253 form");
    result.push_back(std::move(*bytes));
  }
  return result;
}

// text cut or blank-filled to width.
void AppendColumn(std::string& out, std::string_view text, size_t width) {
  text = text.substr(0, width);
  out += text;
  out.append(width - text.size(), ' ');
}

void AppendZeroFilled(std::string& out, uint64_t value, size_t width) {
  const std::string digits = std::to_string(value);
  if (digits.size() > width) throw std::logic_error("a generated number is too long");
  out.append(width - digits.size(), '0');
  out += digits;
}

void EndRecord(std::string& out, size_t recordStart) {
  if (out.size() - recordStart != 150) throw std::logic_error("a generated record is not 150 long");
  out += "\r\n";
}

}  // namespace

StatementGenerator::StatementGenerator(uint64_t seed)
    : random_(seed),
      surnames_(ToCp1253({"ΠΑΠΑΔΟΠΟΥΛΟΣ", "ΓΕΩΡΓΙΟΥ", "ΝΙΚΟΛΑΟΥ", "ΚΩΝΣΤΑΝΤΙΝΙΔΗΣ", "ΙΩΑΝΝΟΥ",
                          "ΔΗΜΗΤΡΙΟΥ", "ΒΑΣΙΛΕΙΟΥ", "ΑΘΑΝΑΣΙΑΔΗΣ", "ΧΡΙΣΤΟΔΟΥΛΟΥ", "ΜΙΧΑΗΛΙΔΗΣ",
                          "ΣΤΑΥΡΟΠΟΥΛΟΣ", "ΚΑΡΑΓΙΑΝΝΗΣ", "ΟΙΚΟΝΟΜΟΥ", "ΨΑΡΡΑΣ", "ΖΑΦΕΙΡΙΟΥ"})),
      givenNames_(ToCp1253({"ΓΕΩΡΓΙΟΣ", "ΜΑΡΙΑ", "ΙΩΑΝΝΗΣ", "ΕΛΕΝΗ", "ΚΩΝΣΤΑΝΤΙΝΟΣ", "ΑΙΚΑΤΕΡΙΝΗ",
                            "ΔΗΜΗΤΡΙΟΣ", "ΣΟΦΙΑ", "ΝΙΚΟΛΑΟΣ", "ΦΩΤΕΙΝΗ", "ΘΕΟΔΩΡΟΣ", "ΧΡΥΣΟΥΛΑ"})),
      professions_(ToCp1253({"ΕΜΠΟΡΙΟ", "ΕΣΤΙΑΣΗ", "ΚΑΤΑΣΚΕΥΕΣ", "ΜΕΤΑΦΟΡΕΣ", "ΛΟΓΙΣΤΙΚΑ",
                             "ΞΥΛΟΥΡΓΙΚΗ", "ΦΑΡΜΑΚΕΙΟ", "ΠΑΝΤΟΠΩΛΕΙΟ", "ΥΔΡΑΥΛΙΚΑ"})),
      towns_(ToCp1253({"ΑΘΗΝΑ", "ΠΕΙΡΑΙΑΣ", "ΠΑΤΡΑ", "ΛΑΡΙΣΑ", "ΒΟΛΟΣ", "ΧΑΝΙΑ", "ΚΑΒΑΛΑ", "ΣΕΡΡΕΣ",
                       "ΙΩΑΝΝΙΝΑ", "ΡΟΔΟΣ"})),
      streets_(ToCp1253({"ΕΡΜΟΥ", "ΑΚΑΔΗΜΙΑΣ", "ΠΑΝΕΠΙΣΤΗΜΙΟΥ", "ΣΤΑΔΙΟΥ", "ΑΙΟΛΟΥ", "ΕΓΝΑΤΙΑΣ",
                         "ΤΣΙΜΙΣΚΗ", "ΚΟΡΙΝΘΟΥ", "ΜΑΙΖΩΝΟΣ", "ΦΙΛΕΛΛΗΝΩΝ"})) {}

std::string StatementGenerator::ValidTaxNumber(uint32_t prefix) {
  std::string digits = std::to_string(prefix);
  if (digits.size() != 8) throw std::logic_error("a tax number prefix has eight digits");
  int sum = 0;
  for (size_t i = 0; i < 8; ++i) sum += (digits[i] - '0') << (8 - i);
  digits += static_cast<char>('0' + sum % 11 % 10);
  return digits;
}

std::string StatementGenerator::CounterPartyTaxNumber(uint32_t index) {
  const auto offset = static_cast<uint32_t>(uint64_t{index} * kStride % kLinePrefixes);
  return ValidTaxNumber(kFirstPrefix + offset);
}

std::string StatementGenerator::ExtraTaxNumber(uint32_t index) {
  return ValidTaxNumber(kExtraPrefix + index);
}

HeaderFields StatementGenerator::Filer(std::string_view year) {
  return HeaderFields{.year = Cp1253Text(std::string(year)),
                      .taxOfficeCode = Cp1253Text("1151"),
                      .fileNumber = Cp1253Text("123456"),
                      .companyName = Cp1253Text(*Utf8ToCp1253("ΒΕΛΜΟΡΑ ΕΜΠΟΡΙΚΗ")),
                      .taxNumber = Cp1253Text(ValidTaxNumber(kFilerPrefix)),
                      .profession = Cp1253Text(*Utf8ToCp1253("ΧΟΝΔΡΕΜΠΟΡΙΟ")),
                      .town = Cp1253Text(*Utf8ToCp1253("ΑΘΗΝΑ")),
                      .street = Cp1253Text(*Utf8ToCp1253("ΣΤΑΔΙΟΥ")),
                      .streetNumber = Cp1253Text("12"),
                      .postCode = Cp1253Text("10564"),
                      .telephone = Cp1253Text("2103210000"),
                      .fax = Cp1253Text(""),
                      .email = Cp1253Text("info@velmora.example"),
                      .installationType = Cp1253Text("0")};
}

uint64_t StatementGenerator::Below(uint64_t bound) { return random_() % bound; }

const std::string& StatementGenerator::Pick(const std::vector<std::string>& words) {
  return words[Below(words.size())];
}

std::string StatementGenerator::CounterPartyTexts(uint32_t index, char obligation) {
  std::string texts;
  texts.reserve(86);
  AppendColumn(texts, CounterPartyTaxNumber(index), 9);
  AppendColumn(texts, Pick(surnames_) + ' ' + Pick(givenNames_), 27);
  AppendColumn(texts, Pick(professions_), 15);
  texts += obligation;
  AppendColumn(texts, Pick(towns_), 10);
  AppendColumn(texts, Pick(streets_), 16);
  AppendColumn(texts, std::to_string(1 + Below(250)), 3);
  AppendColumn(texts, std::to_string(10'000 + Below(75'000)), 5);
  return texts;
}

std::string StatementGenerator::SubmissionFile(const HeaderFields& filer, std::string_view date,
                                               int customerLines, int supplierLines) {
  std::string file;
  file.reserve(static_cast<size_t>(customerLines + supplierLines + 4) * 152);
  size_t start = file.size();
  file += "0IL01    ";
  AppendColumn(file, date, 141);
  EndRecord(file, start);
  start = file.size();
  file += ComposeHeaderLine(filer);
  EndRecord(file, start);

  // Customers first, then suppliers; each side closed by its amounts record.
  for (const char type : {'2', '4'}) {
    const int count = type == '2' ? customerLines : supplierLines;
    uint64_t invoiceTotal = 0;
    uint64_t valueTotal = 0;
    for (int sequence = 1; sequence <= count; ++sequence) {
      start = file.size();
      file += type;
      AppendZeroFilled(file, static_cast<uint64_t>(sequence), 5);
      // Three in four counter-parties are obliged to file themselves.
      file += CounterPartyTexts(static_cast<uint32_t>(sequence - 1), Below(4) == 0 ? '1' : '0');
      const uint64_t invoices = 1 + Below(400);
      // Some whole amounts, some with cents; never zero.
      uint64_t cents = 100 + Below(250'000'000);
      if (Below(3) == 0) cents -= cents % 100;
      invoiceTotal += invoices;
      valueTotal += cents;
      AppendZeroFilled(file, invoices, 7);
      AppendZeroFilled(file, cents, 16);
      file.append(35, ' ');
      EndRecord(file, start);
    }
    start = file.size();
    if (type == '2') {
      const uint64_t retailSales = 123'456'789;
      const uint64_t withoutItemisation = 9'876'500;
      file += "3 ";
      AppendZeroFilled(file, retailSales, 16);
      file += ' ';
      AppendZeroFilled(file, withoutItemisation, 16);
      AppendZeroFilled(file, invoiceTotal, 16);
      AppendZeroFilled(file, valueTotal + retailSales + withoutItemisation, 16);
    } else {
      const uint64_t withoutItemisation = 4'321'000;
      file += '5';
      file.append(18, ' ');
      AppendZeroFilled(file, withoutItemisation, 16);
      AppendZeroFilled(file, invoiceTotal, 16);
      AppendZeroFilled(file, valueTotal + withoutItemisation, 16);
    }
    file.append(83, ' ');
    EndRecord(file, start);
  }
  return file;
}

}  // namespace velmora
