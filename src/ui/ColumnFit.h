#pragma once

#include <QFontMetrics>
#include <QList>
#include <QString>
#include <vector>

namespace velmora {

// What a grid column must show: its field's width in characters, whether the
// field holds digits (and a decimal comma) only, and whether it may be cut to
// share the window with the others (names, streets) rather than show whole.
struct ColumnNeed {
  int characters = 0;
  bool digits = false;
  bool shares = false;
  // The header caption, wrapped at its blanks onto two lines.
  QString caption;
};

// The room a cell leaves its text on each side.
inline constexpr int kCellMargin = 3;

// The width that shows a full field of that column whole, caption included.
int WholeWidth(const ColumnNeed& column, const QFontMetrics& metrics);

// Pixel widths for the columns within the grid's available width: every column
// that does not share is whole; those that share split what is left by their
// field widths, each at least a few characters and at most whole.
QList<int> FitColumns(const std::vector<ColumnNeed>& columns, const QFontMetrics& metrics,
                      int available);

// Whether a cell's text is cut (shown with an ellipsis) at that column width.
bool IsCut(const QString& text, const QFontMetrics& metrics, int columnWidth);

}  // namespace velmora
