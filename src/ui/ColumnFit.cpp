#include "ColumnFit.h"

#include <QStringList>
#include <algorithm>

namespace velmora {

namespace {

// Names and streets are typed in capitals: their average advance is the
// width of a character of such text.
const QString kCapitals = QStringLiteral("ΑΒΓΔΕΖΗΘΙΚΛΜΝΞΟΠΡΣΤΥΦΧΨΩ ABCDEFGHIJKLMNOPQRSTUVWXYZ");
// Fewer characters than this would make a shared column useless.
constexpr int kLeastShownCharacters = 6;

int TextWidth(int characters, bool digits, const QFontMetrics& metrics) {
  if (digits) return metrics.horizontalAdvance(QString(characters, QLatin1Char('0')));
  return (metrics.horizontalAdvance(kCapitals) * characters + kCapitals.size() - 1) /
         kCapitals.size();
}

int CellWidth(int textWidth) { return textWidth + 2 * kCellMargin + 2; }

// The header has room for two lines and wraps at blanks: the least width that
// takes the caption in two lines, over every place the break could go.
int CaptionWidth(const QString& caption, const QFontMetrics& metrics) {
  const QStringList words = caption.split(QLatin1Char(' '), Qt::SkipEmptyParts);
  const QString whole = words.join(QLatin1Char(' '));
  int least = metrics.horizontalAdvance(whole);
  for (int split = 1; split < words.size(); ++split) {
    const int first = metrics.horizontalAdvance(words.mid(0, split).join(QLatin1Char(' ')));
    const int second = metrics.horizontalAdvance(words.mid(split).join(QLatin1Char(' ')));
    least = std::min(least, std::max(first, second));
  }
  return least + 4 * kCellMargin;
}

}  // namespace

int WholeWidth(const ColumnNeed& column, const QFontMetrics& metrics) {
  return std::max(CellWidth(TextWidth(column.characters, column.digits, metrics)),
                  CaptionWidth(column.caption, metrics));
}

QList<int> FitColumns(const std::vector<ColumnNeed>& columns, const QFontMetrics& metrics,
                      int available) {
  QList<int> widths;
  int fixed = 0;
  int sharedCharacters = 0;
  for (const ColumnNeed& column : columns) {
    widths.append(WholeWidth(column, metrics));
    if (column.shares) {
      sharedCharacters += column.characters;
    } else {
      fixed += widths.back();
    }
  }
  const int left = std::max(0, available - fixed);
  for (int i = 0; i < widths.size(); ++i) {
    const ColumnNeed& column = columns[static_cast<std::size_t>(i)];
    if (!column.shares || sharedCharacters == 0) continue;
    const int least =
        std::max(CellWidth(TextWidth(std::min(column.characters, kLeastShownCharacters),
                                     column.digits, metrics)),
                 CaptionWidth(column.caption, metrics));
    const int share =
        static_cast<int>(static_cast<long long>(left) * column.characters / sharedCharacters);
    widths[i] = std::clamp(share, least, std::max(least, widths[i]));
  }
  return widths;
}

bool IsCut(const QString& text, const QFontMetrics& metrics, int columnWidth) {
  return metrics.horizontalAdvance(text) > columnWidth - 2 * kCellMargin;
}

}  // namespace velmora
