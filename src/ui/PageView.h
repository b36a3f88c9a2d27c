#pragma once

#include <QAbstractScrollArea>
#include <cstddef>

namespace velmora {

class StatementPages;

// The printed statement's pages one below the other, at a zoom; only the pages
// in view are painted, so a statement of thousands of pages opens and scrolls at
// once.
class PageView : public QAbstractScrollArea {
  Q_OBJECT

 public:
  explicit PageView(QWidget* parent = nullptr);

  // The pages to show, from the first; nullptr shows none. They must outlive
  // their showing.
  void SetPages(const StatementPages* pages);
  std::size_t PageCount() const;
  // The page at the top of the view, from 0.
  std::size_t CurrentPage() const;
  void ShowPage(std::size_t index);
  // 1 shows a sheet as wide as the view.
  double Zoom() const { return zoom_; }
  void SetZoom(double zoom);
  // The pages painted since the pages were set: a check that a view paints only
  // what it shows.
  std::size_t PaintedPageCount() const { return paintedPages_; }

 signals:
  void currentPageChanged(int index);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void scrollContentsBy(int dx, int dy) override;

 private:
  double PixelsPerUnit() const;
  int SheetWidth() const;
  int SheetHeight() const;
  int Stride() const;
  void UpdateScrollBars();

  const StatementPages* pages_ = nullptr;
  double zoom_ = 1;
  std::size_t paintedPages_ = 0;
  std::size_t shownPage_ = 0;
};

}  // namespace velmora
