#pragma once

#include <QFont>
#include <QLineF>
#include <QRawFont>
#include <QMarginsF>
#include <QSizeF>
#include <QString>
#include <array>
#include <cstdint>
#include <vector>

#include "PagePlan.h"
#include "StatementLayout.h"

class QPainter;
class QPaintDevice;

namespace velmora {

// The printed statement on sheets of one size: where its pages break, and the
// painting of any one page without the others. Laid out in tenths of a
// millimetre from the sheet's corner, whatever the device.
class StatementPages {
 public:
  static constexpr double kUnitsPerMillimetre = 10;
  static constexpr double kLeastMarginMillimetres = 10;

  // The layout must outlive the pages. Margins below 10 mm are taken as 10 mm.
  StatementPages(const StatementLayout& layout, QSizeF paperMillimetres,
                 QMarginsF marginsMillimetres = {});

  std::size_t PageCount() const { return plan_.size(); }
  const PlannedPage& Page(std::size_t index) const { return plan_[index]; }
  // The sheet, in the units the pages are painted in.
  QSizeF SheetSize() const { return sheet_; }

  // Paints the page at index (from 0) in the painter's coordinates, which must be
  // this layout's units from the sheet's corner (see ScaleToSheet).
  void PaintPage(QPainter& painter, std::size_t index) const;
  // Makes the painter's units this layout's on a device whose origin is the sheet's corner.
  static void ScaleToSheet(QPainter& painter, const QPaintDevice& device);

 private:
  // A font with each Windows-1253 byte's glyph and advance: texts are set glyph by
  // glyph at the measured places, without shaping, which is both what makes
  // thousands of pages quick and what keeps a text exactly as wide as measured.
  struct Face {
    QRawFont font;
    std::array<quint32, 256> glyphs{};
    std::array<double, 256> advances{};
    // The same in 1/1024 units, summed exactly and quickly for the many cells measured.
    std::array<std::int32_t, 256> fineAdvances{};
    double ascent = 0;
    double lineHeight = 0;
    double Width(std::string_view text) const;
  };
  Face MakeFace(int pixelSize, bool bold) const;
  const Face& FaceOf(const LayoutCell& cell) const;
  double RowHeight(const std::vector<double>& columnWidths, const LayoutRow& row) const;
  // Paints the row at top and returns its height.
  double PaintRow(QPainter& painter, double top, const std::vector<double>& columnWidths,
                  const LayoutRow& row, std::vector<QLineF>* rules) const;
  // The rules of a ruled row go into rules, to be drawn at once with the page's others.
  void PaintCells(QPainter& painter, double top, double height,
                  const std::vector<double>& columnWidths, const LayoutRow& row,
                  std::vector<QLineF>* rules) const;
  static void DrawText(QPainter& painter, const Face& face, QPointF origin, std::string_view text);
  std::vector<double> ColumnWidths(const std::vector<double>& shares) const;

  const StatementLayout& layout_;
  QSizeF sheet_;
  QMarginsF margins_;
  Face body_, bold_, small_;
  std::array<QChar, 256> characters_{};
  std::vector<double> lineColumnWidths_;
  std::vector<float> rowHeights_;
  double headHeight_ = 0, footHeight_ = 0, headingRowHeight_ = 0;
  std::vector<PlannedPage> plan_;
};

}  // namespace velmora
