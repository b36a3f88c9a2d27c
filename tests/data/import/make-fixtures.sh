#!/bin/sh
# Makes the spreadsheet fixtures of the import tests with real tools:
# libxlsxwriter (.xlsx), Perl's Spreadsheet::WriteExcel (.xls), odfpy (.ods), and
# python for the CSV files and the damaged copies. The files it makes are
# committed; the tools are needed only to make them again:
#   apt-get install libxlsxwriter-dev libspreadsheet-writeexcel-perl python3-odf
# Run from anywhere; writes into the folder of this script.
set -eu
cd "$(dirname "$0")"
PYTHON=/usr/bin/python3

# .xlsx
cc -o /tmp/velmora-make-xlsx make-xlsx.c -lxlsxwriter
/tmp/velmora-make-xlsx
rm -f /tmp/velmora-make-xlsx

# .xls
perl -Mutf8 -MSpreadsheet::WriteExcel -e '
  my $book = Spreadsheet::WriteExcel->new("lines.xls") or die;
  my $sheet = $book->add_worksheet("Customers");
  my @rows = (
    [[n=>123456783],[s=>"ΑΛΦΑ ΕΜΠΟΡΙΚΗ ΑΝΩΝΥΜΗ ΕΤΑΙΡΕΙΑ"],[s=>"ΕΜΠΟΡΙΟ"],[n=>0],[s=>"ΑΘΗΝΑ"],
     [s=>"ΣΤΑΔΙΟΥ"],[n=>10],[n=>10564],[n=>3],[n=>-150.5],[s=>"σχόλιο"]],
    [[s=>"012345670"],[s=>"Βήτα Ο.Ε."],[s=>"Γιατρός"],[s=>"1"],[s=>"Πάτρα"],[s=>"Ερμού; Γωνία"],
     [s=>"5Α"],[s=>"26221"],[s=>"12"],[s=>"12,5"]],
    [[n=>99999999],[s=>"Γάμμα \"Δέλτα\", ΕΠΕ"],[s=>"Ά€ΐ"],[n=>1],[s=>"Λάρισα"],[s=>"Κύπρου"],
     [e=>""],[n=>41222],[n=>2],[n=>0]],
  );
  for my $r (0..$#rows) {
    for my $c (0..$#{$rows[$r]}) {
      my ($kind, $value) = @{$rows[$r][$c]};
      if ($kind eq "n") { $sheet->write_number($r, $c, $value); }
      elsif ($kind eq "s") { $sheet->write_string($r, $c, $value); }
    }
  }
  $book->add_worksheet("Other")->write_string(0, 0, "δεύτερο φύλλο");
  $book->close() or die;
'

# .ods, the CSV files and the damaged copies
$PYTHON - <<'PY'
import random, struct, zipfile
from odf.opendocument import OpenDocumentSpreadsheet
from odf.table import Table, TableRow, TableCell
from odf.text import P

N, S = "n", "s"
rows = [
    [(N, 123456783), (S, "ΑΛΦΑ ΕΜΠΟΡΙΚΗ ΑΝΩΝΥΜΗ ΕΤΑΙΡΕΙΑ"), (S, "ΕΜΠΟΡΙΟ"), (N, 0), (S, "ΑΘΗΝΑ"),
     (S, "ΣΤΑΔΙΟΥ"), (N, 10), (N, 10564), (N, 3, "=1+2"), (N, -150.5, "=-100-50.5"),
     (S, "σχόλιο")],
    [(S, "012345670"), (S, "Βήτα Ο.Ε."), (S, "Γιατρός"), (S, "1"), (S, "Πάτρα"),
     (S, "Ερμού; Γωνία"), (S, "5Α"), (S, "26221"), (S, "12"), (S, "12,5")],
    [(N, 99999999), (S, 'Γάμμα "Δέλτα", ΕΠΕ'), (S, "Ά€ΐ"), (N, 1), (S, "Λάρισα"), (S, "Κύπρου"),
     None, (N, 41222), (N, 2), (N, 0)],
]

def number_text(v):
    return ("%.15g" % v).replace(".", ",")

def write_ods(name, with_formulas):
    doc = OpenDocumentSpreadsheet()
    for title, sheet_rows in (("Πελάτες", rows), ("Άλλο", [[(S, "δεύτερο φύλλο")]])):
        table = Table(name=title)
        for row in sheet_rows:
            tr = TableRow()
            for cell in row:
                if cell is None:
                    tr.addElement(TableCell())
                elif cell[0] == N:
                    attrs = dict(valuetype="float", value=repr(cell[1]))
                    if with_formulas and len(cell) > 2:
                        attrs["formula"] = "of:" + cell[2]
                    tc = TableCell(**attrs)
                    tc.addElement(P(text=number_text(cell[1])))
                    tr.addElement(tc)
                else:
                    tc = TableCell(valuetype="string")
                    tc.addElement(P(text=cell[1]))
                    tr.addElement(tc)
            table.addElement(tr)
        doc.spreadsheet.addElement(table)
    doc.save(name)

write_ods("lines.ods", False)
write_ods("formula.ods", True)

def csv_field(cell, separator):
    if cell is None:
        return ""
    text = number_text(cell[1]) if cell[0] == N else cell[1]
    if any(c in text for c in (separator, '"', "\n")):
        text = '"' + text.replace('"', '""') + '"'
    return text

def write_csv(name, separator, encoding, line_end, bom=b""):
    lines = [separator.join(csv_field(c, separator) for c in row) for row in rows]
    with open(name, "wb") as f:
        f.write(bom + line_end.join(lines).encode(encoding) + line_end.encode())

write_csv("lines-utf8.csv", ";", "utf-8", "\r\n")
write_csv("lines-utf8-bom.csv", ";", "utf-8", "\n", b"\xef\xbb\xbf")
write_csv("lines-cp1253.csv", ",", "cp1253", "\r\n")

# A formula whose result the file does not hold: formula.xlsx without its <v>.
with zipfile.ZipFile("formula.xlsx") as source, \
        zipfile.ZipFile("formula-no-result.xlsx", "w", zipfile.ZIP_DEFLATED) as target:
    for item in source.infolist():
        data = source.read(item.filename)
        if item.filename == "xl/worksheets/sheet1.xml":
            text = data.decode()
            start = text.index("<f>-100-50.5</f>")
            end = text.index("</c>", start)
            text = text[:start] + "<f>-100-50.5</f>" + text[end:]
            data = text.encode()
        target.writestr(item, data)

# Cut short: the first 60 per cent of a sound workbook.
data = open("lines.xlsx", "rb").read()
open("truncated.xlsx", "wb").write(data[: len(data) * 6 // 10])
data = open("lines.xls", "rb").read()
open("truncated.xls", "wb").write(data[: len(data) // 2])

# Random bytes under a spreadsheet's name.
rng = random.Random(1253)
open("random.xls", "wb").write(bytes(rng.randrange(256) for _ in range(4096)))

# A zip bomb's promise: the sheet claims to unpack to 3,000,000,000 bytes, in its
# local header and in the central directory alike.
data = bytearray(open("lines.xlsx", "rb").read())
name = b"xl/worksheets/sheet1.xml"
pos = 0
while True:
    pos = data.index(name, pos)
    if data[pos - 30 : pos - 26] == b"PK\x03\x04":
        struct.pack_into("<I", data, pos - 30 + 22, 3_000_000_000)
    if data[pos - 46 : pos - 42] == b"PK\x01\x02":
        struct.pack_into("<I", data, pos - 46 + 24, 3_000_000_000)
    pos += len(name)
    if pos >= len(data) or data.find(name, pos) < 0:
        break
open("zip-bomb.xlsx", "wb").write(bytes(data))

# Texts stored in their cells, as several exporters write them: lines.xlsx with
# every shared string put inline, the second row's name in two formatted runs.
import re
from xml.sax.saxutils import escape
with zipfile.ZipFile("lines.xlsx") as source, \
        zipfile.ZipFile("lines-inline.xlsx", "w", zipfile.ZIP_DEFLATED) as target:
    shared = [re.sub(r"<[^>]+>", "", si) for si in
              re.findall(r"<si>(.*?)</si>", source.read("xl/sharedStrings.xml").decode(), re.S)]
    shared = [s.replace("&amp;", "&").replace("&quot;", '"').replace("&lt;", "<")
              .replace("&gt;", ">") for s in shared]
    def inline(match):
        text = shared[int(match.group(2))]
        if match.group(1) == "B2":
            body = "<r><t>%s</t></r><r><rPr><b/></rPr><t>%s</t></r>" % (
                escape(text[:3]), escape(text[3:]))
        else:
            body = "<t>%s</t>" % escape(text)
        return '<c r="%s" t="inlineStr"><is>%s</is></c>' % (match.group(1), body)
    for item in source.infolist():
        data = source.read(item.filename)
        if item.filename == "xl/worksheets/sheet1.xml":
            data = re.sub(r'<c r="([A-Z]+[0-9]+)" t="s"><v>([0-9]+)</v></c>', inline,
                          data.decode()).encode()
        target.writestr(item, data)
PY
echo "fixtures written to $(pwd)"
