#include "StatementPages.h"

#include <QGlyphRun>
#include <QPaintDevice>
#include <QPainter>
#include <QPen>
#include <algorithm>
#include <cmath>
#include <string_view>
#include <thread>

#include "Cp1253.h"
#include "TextWrap.h"

namespace velmora {

namespace {

// Sizes in tenths of a millimetre: text of about 8.5 points, as the page's
// "font-size: 12" prints, and the page head smaller.
constexpr int kBodyPixels = 30;
constexpr int kSmallPixels = 24;
constexpr double kCellPadding = 6;
constexpr double kRuleWidth = 2;
// Between the page head and what follows, and above the page number.
constexpr double kGap = 20;
// Measured widths are sums of the characters' advances; a little room keeps a
// rounding on the device from pushing a text over its cell's edge.
constexpr double kWidthSlack = 1.02;
constexpr double kFineUnits = 1024;
// Fewer lines than this are measured on one thread.
constexpr std::size_t kLinesMeasuredAlone = 20'000;

}  // namespace

double StatementPages::Face::Width(std::string_view text) const {
  std::int64_t width = 0;
  for (const char c : text) width += fineAdvances[static_cast<unsigned char>(c)];
  return static_cast<double>(width) * (kWidthSlack / kFineUnits);
}

StatementPages::StatementPages(const StatementLayout& layout, QSizeF paperMillimetres,
                               QMarginsF marginsMillimetres)
    : layout_(layout) {
  const auto units = [](double millimetres) { return millimetres * kUnitsPerMillimetre; };
  const auto margin = [&](double millimetres) {
    return units(std::max(millimetres, kLeastMarginMillimetres));
  };
  sheet_ = QSizeF(units(paperMillimetres.width()), units(paperMillimetres.height()));
  margins_ = QMarginsF(margin(marginsMillimetres.left()), margin(marginsMillimetres.top()),
                       margin(marginsMillimetres.right()), margin(marginsMillimetres.bottom()));
  for (int byte = 0; byte < 256; ++byte)
    characters_[byte] =
        QChar(static_cast<char16_t>(Cp1253ToUnicode(static_cast<unsigned char>(byte))));
  body_ = MakeFace(kBodyPixels, false);
  bold_ = MakeFace(kBodyPixels, true);
  small_ = MakeFace(kSmallPixels, true);

  lineColumnWidths_ = ColumnWidths(
      {StatementLayout::LineColumnShares().begin(), StatementLayout::LineColumnShares().end()});
  headHeight_ = small_.lineHeight + kGap;
  footHeight_ = small_.lineHeight + kGap;
  headingRowHeight_ = RowHeight(lineColumnWidths_, layout_.HeadingRow());

  PageHeights heights;
  heights.body = sheet_.height() - margins_.top() - margins_.bottom() - headHeight_ - footHeight_;
  heights.headingRow = headingRowHeight_;
  // The statement's heading is followed by an empty line.
  heights.opening = body_.lineHeight;
  for (std::size_t i = 0; i < layout_.Headings().size(); ++i) heights.opening += bold_.lineHeight;
  for (const LayoutTable& table : layout_.OpeningTables()) {
    const std::vector<double> widths = ColumnWidths(table.columnShares);
    for (const LayoutRow& row : table.rows) heights.opening += RowHeight(widths, row);
  }
  for (const LayoutRow& row : layout_.ClosingRows())
    heights.closing += RowHeight(lineColumnWidths_, row);

  // Every line's row is measured once, by the sums of its characters' advances;
  // only a text too wide for its cell is wrapped.
  const TextWidth widthOf = [this](std::string_view text) { return body_.Width(text); };
  rowHeights_.resize(layout_.LineCount());
  const double widestAdvance =
      *std::max_element(body_.advances.begin(), body_.advances.end()) * kWidthSlack;
  // As many characters as the widest would fill: a shorter text fits unmeasured.
  std::array<std::size_t, StatementLayout::kLineColumns> surelyFitting{};
  for (int column = 0; column < StatementLayout::kLineColumns; ++column)
    surelyFitting[column] = static_cast<std::size_t>(
        std::max(0.0, (lineColumnWidths_[column] - 2 * kCellPadding) / widestAdvance));
  const auto measure = [&](std::size_t from, std::size_t to) {
    StatementLayout::LinePieces pieces;
    std::array<char, 24> digits;
    std::string joined;
    for (std::size_t line = from; line < to; ++line) {
      layout_.FillLinePieces(line, pieces, digits);
      std::size_t lines = 1;
      for (std::size_t column = 0; column < pieces.size(); ++column) {
        std::size_t length = 0;
        double width = 0;
        for (const std::string_view piece : pieces[column]) length += piece.size();
        if (length <= surelyFitting[column]) continue;
        for (const std::string_view piece : pieces[column]) width += body_.Width(piece);
        const double room = lineColumnWidths_[column] - 2 * kCellPadding;
        if (width <= room) continue;
        joined.clear();
        for (const std::string_view piece : pieces[column]) joined += piece;
        lines = std::max(lines, WrappedLineCount(joined, room, widthOf));
      }
      rowHeights_[line] = static_cast<float>(lines * body_.lineHeight + 2 * kCellPadding);
    }
  };
  // A large statement is measured in two halves at once: the first page waits for it.
  const std::size_t count = layout_.LineCount();
  if (count < kLinesMeasuredAlone) {
    measure(0, count);
  } else {
    std::thread secondHalf(measure, count / 2, count);
    measure(0, count / 2);
    secondHalf.join();
  }
  plan_ = PlanPages(heights, rowHeights_);
}

StatementPages::Face StatementPages::MakeFace(int pixelSize, bool bold) const {
  QFont font(QStringLiteral("DejaVu Sans"));
  font.setPixelSize(pixelSize);
  font.setBold(bold);
  font.setHintingPreference(QFont::PreferNoHinting);
  Face face;
  face.font = QRawFont::fromFont(font);
  for (int byte = 0; byte < 256; ++byte) {
    const QList<quint32> glyph = face.font.glyphIndexesForString(QString(characters_[byte]));
    face.glyphs[byte] = glyph.value(0);
    const QList<QPointF> advance =
        face.font.advancesForGlyphIndexes(QList<quint32>{face.glyphs[byte]});
    face.advances[byte] = advance.isEmpty() ? 0 : advance.front().x();
    face.fineAdvances[byte] =
        static_cast<std::int32_t>(std::lround(face.advances[byte] * kFineUnits));
  }
  face.ascent = face.font.ascent();
  face.lineHeight = face.font.ascent() + face.font.descent();
  return face;
}

void StatementPages::DrawText(QPainter& painter, const Face& face, QPointF origin,
                              std::string_view text) {
  if (text.empty()) return;
  QList<quint32> glyphs;
  QList<QPointF> positions;
  glyphs.reserve(static_cast<qsizetype>(text.size()));
  positions.reserve(static_cast<qsizetype>(text.size()));
  double x = 0;
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    glyphs.append(face.glyphs[byte]);
    positions.append(QPointF(x, 0));
    x += face.advances[byte];
  }
  QGlyphRun run;
  run.setRawFont(face.font);
  run.setGlyphIndexes(glyphs);
  run.setPositions(positions);
  painter.drawGlyphRun(origin, run);
}

const StatementPages::Face& StatementPages::FaceOf(const LayoutCell& cell) const {
  return cell.bold ? bold_ : body_;
}

std::vector<double> StatementPages::ColumnWidths(const std::vector<double>& shares) const {
  const double width = sheet_.width() - margins_.left() - margins_.right();
  std::vector<double> widths;
  for (const double share : shares) widths.push_back(width * share);
  return widths;
}

double StatementPages::RowHeight(const std::vector<double>& columnWidths,
                                 const LayoutRow& row) const {
  double height = 0;
  for (const LayoutCell& cell : row) {
    const Face& face = FaceOf(cell);
    double width = 0;
    for (int column = cell.column; column < cell.column + cell.span; ++column)
      width += columnWidths[static_cast<std::size_t>(column)];
    const std::size_t lines =
        WrappedLineCount(cell.text, width - 2 * kCellPadding,
                         [&face](std::string_view text) { return face.Width(text); });
    height = std::max(height, static_cast<double>(lines) * face.lineHeight + 2 * kCellPadding);
  }
  return height;
}

void StatementPages::PaintCells(QPainter& painter, double top, double height,
                                const std::vector<double>& columnWidths, const LayoutRow& row,
                                std::vector<QLineF>* rules) const {
  for (const LayoutCell& cell : row) {
    const Face& face = FaceOf(cell);
    double left = margins_.left();
    for (int column = 0; column < cell.column; ++column)
      left += columnWidths[static_cast<std::size_t>(column)];
    double width = 0;
    for (int column = cell.column; column < cell.column + cell.span; ++column)
      width += columnWidths[static_cast<std::size_t>(column)];
    if (rules) {
      const double right = left + width;
      const double bottom = top + height;
      rules->insert(rules->end(),
                    {QLineF(left, top, right, top), QLineF(left, bottom, right, bottom),
                     QLineF(left, top, left, bottom), QLineF(right, top, right, bottom)});
    }
    if (cell.text.empty()) continue;
    const double room = width - 2 * kCellPadding;
    const auto widthOf = [&face](std::string_view text) { return face.Width(text); };
    double baseline = top + kCellPadding + face.ascent;
    for (const std::string_view line : WrapText(cell.text, room, widthOf)) {
      const double indent =
          cell.centred ? std::max(0.0, (width - face.Width(line)) / 2) : kCellPadding;
      DrawText(painter, face, QPointF(left + indent, baseline), line);
      baseline += face.lineHeight;
    }
  }
}

double StatementPages::PaintRow(QPainter& painter, double top,
                                const std::vector<double>& columnWidths, const LayoutRow& row,
                                std::vector<QLineF>* rules) const {
  const double height = RowHeight(columnWidths, row);
  PaintCells(painter, top, height, columnWidths, row, rules);
  return height;
}

void StatementPages::PaintPage(QPainter& painter, std::size_t index) const {
  const PlannedPage& page = plan_[index];
  painter.save();
  painter.setPen(QPen(Qt::black, kRuleWidth));
  painter.setBrush(Qt::NoBrush);
  const double left = margins_.left();
  const double width = sheet_.width() - margins_.left() - margins_.right();
  const auto centred = [&](const Face& face, double top, std::string_view text) {
    DrawText(painter, face, QPointF(left + (width - face.Width(text)) / 2, top + face.ascent),
             text);
  };
  std::vector<QLineF> rules;

  double top = margins_.top();
  centred(small_, top, layout_.PageHead());
  top += headHeight_;
  if (page.opening) {
    for (std::size_t i = 0; i < layout_.Headings().size(); ++i) {
      centred(i == 0 ? bold_ : body_, top, layout_.Headings()[i]);
      top += bold_.lineHeight;
      if (i == 0) top += body_.lineHeight;
    }
    for (const LayoutTable& table : layout_.OpeningTables()) {
      const std::vector<double> widths = ColumnWidths(table.columnShares);
      for (const LayoutRow& row : table.rows)
        top += PaintRow(painter, top, widths, row, table.ruled ? &rules : nullptr);
    }
  }
  top += PaintRow(painter, top, lineColumnWidths_, layout_.HeadingRow(), &rules);

  LayoutRow lineRow(StatementLayout::kLineColumns);
  for (int column = 0; column < StatementLayout::kLineColumns; ++column)
    lineRow[static_cast<std::size_t>(column)].column = column;
  StatementLayout::LineCells cells;
  for (std::size_t line = page.firstRow; line < page.endRow; ++line) {
    layout_.FillLineCells(line, cells);
    for (int column = 0; column < StatementLayout::kLineColumns; ++column)
      lineRow[static_cast<std::size_t>(column)].text.swap(cells[static_cast<std::size_t>(column)]);
    PaintCells(painter, top, rowHeights_[line], lineColumnWidths_, lineRow, &rules);
    top += rowHeights_[line];
    for (int column = 0; column < StatementLayout::kLineColumns; ++column)
      lineRow[static_cast<std::size_t>(column)].text.swap(cells[static_cast<std::size_t>(column)]);
  }
  if (page.closing) {
    for (const LayoutRow& row : layout_.ClosingRows())
      top += PaintRow(painter, top, lineColumnWidths_, row, &rules);
  }
  painter.drawLines(rules.data(), static_cast<int>(rules.size()));

  const auto foot = Utf8ToCp1253(PageNumberText(index + 1, plan_.size()));
  centred(small_, sheet_.height() - margins_.bottom() - small_.lineHeight, foot.value_or(""));
  painter.restore();
}

void StatementPages::ScaleToSheet(QPainter& painter, const QPaintDevice& device) {
  const double perMillimetre = 25.4 * kUnitsPerMillimetre;
  painter.scale(device.logicalDpiX() / perMillimetre, device.logicalDpiY() / perMillimetre);
}

}  // namespace velmora
