#include "PageView.h"

#include <QPainter>
#include <QScrollBar>
#include <algorithm>
#include <cmath>

#include "StatementPages.h"

namespace velmora {

namespace {

// Grey around and between the sheets, in pixels.
constexpr int kGap = 12;
constexpr double kLeastZoom = 0.25;
constexpr double kMostZoom = 4;

}  // namespace

PageView::PageView(QWidget* parent) : QAbstractScrollArea(parent) {
  viewport()->setBackgroundRole(QPalette::Dark);
  viewport()->setAutoFillBackground(true);
  setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
}

void PageView::SetPages(const StatementPages* pages) {
  pages_ = pages;
  paintedPages_ = 0;
  shownPage_ = 0;
  UpdateScrollBars();
  verticalScrollBar()->setValue(0);
  horizontalScrollBar()->setValue(0);
  viewport()->update();
  emit currentPageChanged(0);
}

std::size_t PageView::PageCount() const { return pages_ ? pages_->PageCount() : 0; }

std::size_t PageView::CurrentPage() const {
  if (!pages_) return 0;
  const auto index =
      static_cast<std::size_t>((verticalScrollBar()->value() + Stride() / 2) / Stride());
  return std::min(index, PageCount() - 1);
}

void PageView::ShowPage(std::size_t index) {
  if (!pages_) return;
  index = std::min(index, PageCount() - 1);
  verticalScrollBar()->setValue(static_cast<int>(index) * Stride());
}

void PageView::SetZoom(double zoom) {
  const std::size_t page = CurrentPage();
  zoom_ = std::clamp(zoom, kLeastZoom, kMostZoom);
  UpdateScrollBars();
  ShowPage(page);
  viewport()->update();
}

double PageView::PixelsPerUnit() const {
  if (!pages_) return 1;
  const int room = std::max(viewport()->width() - 2 * kGap, 100);
  return zoom_ * room / pages_->SheetSize().width();
}

int PageView::SheetWidth() const {
  return pages_ ? static_cast<int>(std::lround(pages_->SheetSize().width() * PixelsPerUnit())) : 0;
}

int PageView::SheetHeight() const {
  return pages_ ? static_cast<int>(std::lround(pages_->SheetSize().height() * PixelsPerUnit())) : 0;
}

int PageView::Stride() const { return std::max(SheetHeight() + kGap, 1); }

void PageView::UpdateScrollBars() {
  const int height = static_cast<int>(PageCount()) * Stride() + kGap;
  verticalScrollBar()->setRange(0, std::max(0, height - viewport()->height()));
  verticalScrollBar()->setPageStep(viewport()->height());
  verticalScrollBar()->setSingleStep(std::max(Stride() / 20, 1));
  horizontalScrollBar()->setRange(0, std::max(0, SheetWidth() + 2 * kGap - viewport()->width()));
  horizontalScrollBar()->setPageStep(viewport()->width());
}

void PageView::resizeEvent(QResizeEvent* event) {
  QAbstractScrollArea::resizeEvent(event);
  const std::size_t page = CurrentPage();
  UpdateScrollBars();
  ShowPage(page);
}

void PageView::scrollContentsBy(int, int) {
  viewport()->update();
  const std::size_t page = CurrentPage();
  if (page != shownPage_) {
    shownPage_ = page;
    emit currentPageChanged(static_cast<int>(page));
  }
}

void PageView::paintEvent(QPaintEvent*) {
  if (!pages_) return;
  QPainter painter(viewport());
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setRenderHint(QPainter::TextAntialiasing);
  const int top = verticalScrollBar()->value();
  const int left =
      std::max(kGap, (viewport()->width() - SheetWidth()) / 2) - horizontalScrollBar()->value();
  const double scale = PixelsPerUnit();
  // Only the sheets that reach into the view.
  for (auto page = static_cast<std::size_t>(std::max(top - kGap, 0) / Stride()); page < PageCount();
       ++page) {
    const int sheetTop = kGap + static_cast<int>(page) * Stride() - top;
    if (sheetTop >= viewport()->height()) break;
    const QRect sheet(left, sheetTop, SheetWidth(), SheetHeight());
    painter.fillRect(sheet, Qt::white);
    painter.save();
    painter.setClipRect(sheet);
    painter.translate(sheet.topLeft());
    painter.scale(scale, scale);
    pages_->PaintPage(painter, page);
    painter.restore();
    ++paintedPages_;
  }
}

}  // namespace velmora
