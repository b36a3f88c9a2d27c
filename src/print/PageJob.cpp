#include "PageJob.h"

#include <malloc.h>

#include <QFile>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>
#include <algorithm>

#include "AtomicFile.h"
#include "PdfPageCounter.h"
#include "VelmoraError.h"

namespace velmora {

namespace {

// Thrown out of the writing so that the new file is taken away unused.
struct JobStopped {};

// Each page's text is gathered and compressed in buffers of a few megabytes, made
// and freed again for every page. By default the allocator maps such a buffer
// afresh each time, and hands the top of the heap back as soon as it is free:
// half the time of a long PDF went to the kernel's page faults. For the length of
// a job it keeps what it has; what is left is given back at the end.
class HeapKeptForJob {
 public:
  HeapKeptForJob() { Set(kKept); }
  ~HeapKeptForJob() {
    Set(kDefault);
    malloc_trim(0);
  }
  HeapKeptForJob(const HeapKeptForJob&) = delete;
  HeapKeptForJob& operator=(const HeapKeptForJob&) = delete;

 private:
  static constexpr int kKept = 64 << 20;
  // glibc's own starting values.
  static constexpr int kDefault = 128 << 10;
  static void Set(int bytes) {
    mallopt(M_MMAP_THRESHOLD, bytes);
    mallopt(M_TRIM_THRESHOLD, bytes);
    mallopt(M_TOP_PAD, bytes == kDefault ? 0 : 16 << 20);
  }
};

}  // namespace

PaintedPages PaintPages(QPagedPaintDevice& device, const StatementPages& pages, std::size_t first,
                        std::size_t last, int copies, const PageProgress& progress) {
  const HeapKeptForJob keptHeap;
  PaintedPages painted;
  QPainter painter;
  if (!painter.begin(&device)) {
    painted.failed = true;
    return painted;
  }
  StatementPages::ScaleToSheet(painter, device);
  const std::size_t total = (last - first + 1) * static_cast<std::size_t>(std::max(copies, 1));
  for (int copy = 0; copy < std::max(copies, 1); ++copy) {
    for (std::size_t page = first; page <= last; ++page) {
      if (painted.count > 0 && !device.newPage()) {
        painted.failed = true;
        painter.end();
        return painted;
      }
      pages.PaintPage(painter, page);
      ++painted.count;
      if (progress && !progress(painted.count, total) && painted.count < total) {
        painted.stopped = true;
        painter.end();
        return painted;
      }
    }
  }
  painted.failed = !painter.end();
  return painted;
}

std::string PageShortfallMessage(std::size_t pages, std::size_t expected) {
  return "Γράφτηκαν " + std::to_string(pages) + " από τις " + std::to_string(expected) + " σελίδες";
}

bool WriteStatementPdf(const StatementLayout& layout, const QPageSize& pageSize,
                       const std::string& path, const QString& title,
                       const PageProgress& progress) {
  try {
    WriteFileAtomicallyByName(path, /*durable=*/true, [&](const std::string& name) {
      std::size_t expected = 0;
      {
        QPdfWriter writer(QFile::decodeName(QByteArray::fromStdString(name)));
        writer.setPageSize(pageSize);
        writer.setPageMargins(QMarginsF(0, 0, 0, 0));
        writer.setTitle(title);
        writer.setCreator(QStringLiteral("Velmora"));
        const StatementPages pages(layout, pageSize.size(QPageSize::Millimeter));
        expected = pages.PageCount();
        const PaintedPages painted =
            PaintPages(writer, pages, 0, pages.PageCount() - 1, 1, progress);
        if (painted.stopped) throw JobStopped{};
        if (painted.failed) throw VelmoraError(PageShortfallMessage(painted.count, expected));
      }
      // The file as it lies on the disk must hold every page before it counts as saved.
      const auto counted = CountPdfPages(name);
      if (!counted || *counted != expected)
        throw VelmoraError(PageShortfallMessage(counted.value_or(0), expected));
    });
  } catch (const JobStopped&) {
    return false;
  }
  return true;
}

}  // namespace velmora
