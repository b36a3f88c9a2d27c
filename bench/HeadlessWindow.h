#pragma once

#include <string>
#include <vector>

#include "HeaderLine.h"
#include "Statement.h"

namespace velmora {

// What the main window does with a statement, without its widgets: the same
// Statement underneath, the filer fields and amount boxes as texts, every
// question taken as answered so that the command goes on, and messages kept
// instead of shown.
class HeadlessWindow {
 public:
  // The working files go under baseFolder; currentYear and today ("YYYYMMDD")
  // stand for the clock.
  HeadlessWindow(const std::string& baseFolder, int currentYear, std::string today);

  // An empty statement, as "Νέο" leaves it.
  void ResetStatement();
  // "Άνοιγμα" of path; false when the file was refused.
  bool N2Click(const std::string& path);
  // "Αποθήκευση ως..." under the proposed name in folder; the path written, or
  // empty when a check or the write failed.
  std::string N7Click(const std::string& folder);

  TFixedFormatDataSet& CustomerTable() { return statement_.customers; }
  TFixedFormatDataSet& SupplierTable() { return statement_.suppliers; }
  StatementLines& CustomerLines() { return statement_.Lines(Side::Customers); }
  StatementLines& SupplierLines() { return statement_.Lines(Side::Suppliers); }

  // What the window would have shown in message boxes (UTF-8), oldest first.
  const std::vector<std::string>& Messages() const { return messages_; }
  void ClearMessages() { messages_.clear(); }

 private:
  // The boxes of one lines page, as Windows-1253 texts.
  struct PageBoxes {
    std::string retailSales, withoutItemisation, invoiceTotal, valueTotal;
  };

  PageBoxes& Page(Side side) { return side == Side::Customers ? customerPage_ : supplierPage_; }
  SubmissionStatement CurrentStatement() const;

  int currentYear_;
  std::string today_;
  Statement statement_;
  // The filer panel: the header fields with the chosen office's code, and the kind.
  HeaderFields filer_;
  bool debitInvoices_ = true;
  PageBoxes customerPage_;
  PageBoxes supplierPage_;
  std::vector<std::string> messages_;
};

}  // namespace velmora
