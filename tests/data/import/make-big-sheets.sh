#!/bin/sh
# Makes large sheets for timing the import: big.csv and big.xlsx with ROWS rows
# (default 99999) and big.xls with at most 65535 rows (the most a BIFF8 sheet
# holds), each row a valid line (tax numbers with their check digit, Greek names,
# amounts with two decimals). Not committed; needs the fixture tools and
# libole-storage-lite-perl.
#   make-big-sheets.sh OUTPUT_FOLDER [ROWS]
set -eu
out=$1
rows=${2:-99999}
here=$(cd "$(dirname "$0")" && pwd)
mkdir -p "$out"
cd "$out"

/usr/bin/python3 - "$rows" <<'PY'
import sys
rows = int(sys.argv[1])
def afm(i):
    digits = "%08d" % (10000000 + i)
    s = sum(int(d) << (8 - k) for k, d in enumerate(digits))
    return digits + str(s % 11 % 10)
with open("big.csv", "w", encoding="utf-8", newline="") as f:
    for i in range(rows):
        f.write("%s;ΕΠΩΝΥΜΙΑ %d;ΕΜΠΟΡΟΣ;0;ΑΘΗΝΑ;ΣΤΑΔΙΟΥ;%d;10564;%d;%d,%02d\r\n"
                % (afm(i), i, i % 999 + 1, i % 50 + 1, i % 100000, i % 100))
PY

cat > /tmp/velmora-big-xlsx.c <<'EOF2'
#include <stdio.h>
#include <stdlib.h>
#include <xlsxwriter.h>
static void afm(int i, char* out) {
  snprintf(out, 10, "%08d", 10000000 + i);
  int s = 0;
  for (int k = 0; k < 8; ++k) s += (out[k] - '0') << (8 - k);
  out[8] = (char)('0' + s % 11 % 10);
  out[9] = 0;
}
int main(int argc, char** argv) {
  int rows = atoi(argv[1]);
  lxw_workbook_options options = {.constant_memory = LXW_TRUE, .tmpdir = NULL};
  lxw_workbook* wb = workbook_new_opt("big.xlsx", &options);
  lxw_worksheet* ws = workbook_add_worksheet(wb, NULL);
  char number[10], name[32];
  for (int i = 0; i < rows; ++i) {
    afm(i, number);
    snprintf(name, sizeof name, "ΕΠΩΝΥΜΙΑ %d", i);
    worksheet_write_number(ws, i, 0, atof(number), NULL);
    worksheet_write_string(ws, i, 1, name, NULL);
    worksheet_write_string(ws, i, 2, "ΕΜΠΟΡΟΣ", NULL);
    worksheet_write_number(ws, i, 3, 0, NULL);
    worksheet_write_string(ws, i, 4, "ΑΘΗΝΑ", NULL);
    worksheet_write_string(ws, i, 5, "ΣΤΑΔΙΟΥ", NULL);
    worksheet_write_number(ws, i, 6, i % 999 + 1, NULL);
    worksheet_write_number(ws, i, 7, 10564, NULL);
    worksheet_write_number(ws, i, 8, i % 50 + 1, NULL);
    worksheet_write_number(ws, i, 9, (i % 100000) + (i % 100) / 100.0, NULL);
  }
  return workbook_close(wb) == LXW_NO_ERROR ? 0 : 1;
}
EOF2
cc -o /tmp/velmora-big-xlsx /tmp/velmora-big-xlsx.c -lxlsxwriter
/tmp/velmora-big-xlsx "$rows"
rm -f /tmp/velmora-big-xlsx /tmp/velmora-big-xlsx.c

xlsrows=$rows
if [ "$xlsrows" -gt 65535 ]; then xlsrows=65535; fi
perl -Mutf8 -MSpreadsheet::WriteExcel -e '
  my $rows = shift;
  my $book = Spreadsheet::WriteExcel->new("big.xls") or die;
  my $sheet = $book->add_worksheet();
  for my $i (0 .. $rows - 1) {
    my $digits = sprintf("%08d", 10000000 + $i);
    my $s = 0;
    $s += substr($digits, $_, 1) << (8 - $_) for 0 .. 7;
    $sheet->write_number($i, 0, $digits . ($s % 11 % 10));
    $sheet->write_string($i, 1, "ΕΠΩΝΥΜΙΑ $i");
    $sheet->write_string($i, 2, "ΕΜΠΟΡΟΣ");
    $sheet->write_number($i, 3, 0);
    $sheet->write_string($i, 4, "ΑΘΗΝΑ");
    $sheet->write_string($i, 5, "ΣΤΑΔΙΟΥ");
    $sheet->write_number($i, 6, $i % 999 + 1);
    $sheet->write_number($i, 7, 10564);
    $sheet->write_number($i, 8, $i % 50 + 1);
    $sheet->write_number($i, 9, ($i % 100000) + ($i % 100) / 100);
  }
  $book->close() or die;
' "$xlsrows"
ls -l big.csv big.xlsx big.xls
