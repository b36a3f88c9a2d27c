#pragma once

#include <QPageSize>
#include <QString>
#include <cstddef>
#include <functional>
#include <string>

#include "StatementPages.h"

class QPagedPaintDevice;

namespace velmora {

// How far a job has come, done of total pages; false asks it to stop.
using PageProgress = std::function<bool(std::size_t done, std::size_t total)>;

// The pages first to last (from 0, both included), copies times over, painted one
// after the other on a device whose origin is the sheet's corner.
struct PaintedPages {
  std::size_t count = 0;  // pages the device took
  bool stopped = false;
  bool failed = false;  // the device refused to begin or to turn a page
};
PaintedPages PaintPages(QPagedPaintDevice& device, const StatementPages& pages, std::size_t first,
                        std::size_t last, int copies, const PageProgress& progress);

// Writes the statement as a PDF file at path, page after page, through a new file
// beside it that takes its place only once every page is in it and counted. False
// when progress asked to stop: no file is left and an earlier one at path stays.
// Throws VelmoraError (Greek, with the system's reason) when it cannot be written.
bool WriteStatementPdf(const StatementLayout& layout, const QPageSize& pageSize,
                       const std::string& path, const QString& title, const PageProgress& progress);

// Why a printed or written job is not whole: it has pages where all were expected.
std::string PageShortfallMessage(std::size_t pages, std::size_t expected);

}  // namespace velmora
