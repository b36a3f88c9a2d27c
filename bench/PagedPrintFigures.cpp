#include "PagedPrintFigures.h"

#include <QImage>
#include <QPageSize>
#include <QPainter>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <optional>
#include <stdexcept>

#include "MemoryPeak.h"
#include "PageJob.h"
#include "PdfPageCounter.h"
#include "PlainFile.h"
#include "PrintCommand.h"
#include "StatementLayout.h"
#include "StatementPages.h"
#include "Stopwatch.h"

namespace velmora {

namespace {

constexpr int kTimedRuns = 9;
// The print window's view: a sheet about 770 pixels wide.
constexpr int kViewDpi = 93;

std::string Format(const char* format, double value) {
  char text[64];
  std::snprintf(text, sizeof text, format, value);
  return text;
}

// The text of one page of a PDF through pdftotext; empty when it cannot be had.
std::string PdfPageText(const std::string& path, std::size_t page) {
  const std::string number = std::to_string(page);
  const std::string command =
      "pdftotext -f " + number + " -l " + number + " '" + path + "' - 2>/dev/null";
  std::string text;
  if (FILE* pipe = ::popen(command.c_str(), "r")) {
    char piece[4096];
    std::size_t got = 0;
    while ((got = std::fread(piece, 1, sizeof piece, pipe)) > 0) text.append(piece, got);
    ::pclose(pipe);
  }
  return text;
}

}  // namespace

void RunPagedPrintFigures(Statement& statement, AutomaticAnswers& answers,
                          const StatementForm& form, const std::string& folder,
                          FigureReport& report) {
  const QPageSize paper(QPageSize::A4);
  const std::size_t lineCount = statement.Table(Side::Customers).Lines().size();

  // From the command to the first page painted, as the print window shows it.
  std::optional<StatementPageInput> input;
  std::unique_ptr<StatementLayout> layout;
  std::unique_ptr<StatementPages> pages;
  QImage firstPage;
  auto dropPages = [&] {
    pages.reset();
    layout.reset();
  };
  auto showFirstPage = [&] {
    input = PrintStatementPage(statement, answers, Side::Customers, form, folder).page;
    if (!input) throw std::runtime_error("print_preview_first_page: no page was made");
    layout = std::make_unique<StatementLayout>(*input);
    pages = std::make_unique<StatementPages>(*layout, paper.size(QPageSize::Millimeter));
    const QSize sheet = paper.sizePixels(kViewDpi);
    firstPage = QImage(sheet, QImage::Format_ARGB32_Premultiplied);
    firstPage.fill(Qt::white);
    QPainter painter(&firstPage);
    painter.scale(kViewDpi / 254.0, kViewDpi / 254.0);
    pages->PaintPage(painter, 0);
  };
  Cp1253Text html;
  auto composeHtml = [&] { html = ComposeStatementPage(*input); };
  showFirstPage();  // the fonts are loaded once, as in a program already running
  const auto [compose, firstPageSeconds] = Stopwatch::BestInTurns(
      kTimedRuns, [] {}, composeHtml, dropPages, showFirstPage);
  if (!answers.Messages().empty())
    throw std::runtime_error("print_preview_first_page: the command said: " +
                             answers.Messages().front());
  report.AtMost("print_preview_first_page", firstPageSeconds / compose, 3,
                Format("%.1f ms", firstPageSeconds * 1000) + " against " +
                    Format("%.1f ms", compose * 1000) + " to compose the page's HTML; " +
                    std::to_string(pages->PageCount()) + " pages");

  // The whole PDF, written as "Αποθήκευση σε PDF" writes it.
  const std::string pdf = folder + "/Pelates.pdf";
  const std::string plain = folder + "/pdf-yardstick.bin";
  std::size_t pdfPages = 0;
  auto writePdf = [&] {
    if (!WriteStatementPdf(*layout, paper, pdf, QStringLiteral("Pelates"), {}))
      throw std::runtime_error("print_pdf: stopped");
  };
  MemoryPeak peak;
  peak.Start();
  const Stopwatch watch;
  writePdf();
  const double pdfSeconds = watch.Seconds();
  const std::size_t pdfGrowth = peak.GrowthBytes();
  const auto pdfBytes = std::filesystem::file_size(pdf);
  pdfPages = CountPdfPages(pdf).value_or(0);
  const double plainSeconds = Stopwatch::Best(
      3, [&] { std::filesystem::remove(plain); },
      [&] { WritePlainFile(plain, std::string(pdfBytes, 'x'), true); });
  std::filesystem::remove(plain);

  if (pdfPages != pages->PageCount())
    throw std::runtime_error("print_pdf: the PDF has " + std::to_string(pdfPages) + " pages, not " +
                             std::to_string(pages->PageCount()));
  // The last page must hold the last line's row, its number among the rest.
  const std::string lastPage = PdfPageText(pdf, pdfPages);
  const bool lastLineShown = lastPage.find(std::to_string(lineCount)) != std::string::npos;
  std::printf("print_pdf_last_page_holds_last_line=%s (pdftotext of page %zu)\n",
              lastPage.empty() ? "unchecked"
              : lastLineShown  ? "yes"
                               : "no",
              pdfPages);
  report.AtMost("print_pdf", pdfSeconds, 10,
                "seconds for " + std::to_string(pdfPages) + " pages, " +
                    Format("%.1f MB", static_cast<double>(pdfBytes) / 1e6) + "; " +
                    Format("%.2f", pdfSeconds / plainSeconds) +
                    " times writing as many bytes plainly with fsync (" +
                    Format("%.1f ms", plainSeconds * 1000) + ")");
  report.AtMost("print_pdf_memory", static_cast<double>(pdfGrowth) / 1e6, 300,
                "MB above the start while the PDF is written");
  std::filesystem::remove(pdf);
  if (!lastPage.empty() && !lastLineShown)
    throw std::runtime_error("print_pdf: the last page does not hold the last line");
}

}  // namespace velmora
