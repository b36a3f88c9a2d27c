#!/usr/bin/env python3
"""Writes the hand-made seeds of the fuzz corpora (corpus/<target>/seed-*).

Run once from this folder; libFuzzer adds what it finds beside them."""
import os

def afm(prefix):  # eight digits -> nine with the check digit
    s = sum((d - 48) << (8 - i) for i, d in enumerate(prefix))
    return prefix + str(s % 11 % 10).encode()

def pad(text, width):
    return (text + b' ' * width)[:width]

def line(kind, seq, number, name, ypo, count, cents):
    return (kind + b'%05d' % seq + number + pad(name, 27) + pad(b'EMPORIO', 15) + ypo +
            pad(b'ATHINA', 10) + pad(b'ODOS', 16) + b'12 ' + b'10431' + b'%07d' % count +
            b'%016d' % cents + b' ' * 35)

opening = pad(b'0IL01    20240131', 150)
credit = pad(b'0IL01.PIS20240131', 150)
header = (b'1' + b'2008' + b'1101' + pad(b'123', 6) + pad(b'\xc1\xcb\xd6\xc1 \xc1\xc5', 18) +
          afm(b'12345678') + pad(b'EMPORIO', 16) + pad(b'ATHINA', 10) + pad(b'ODOS 1', 16) +
          b'12A' + b'10431' + b'2101234567' + b'2107654321' + pad(b'info@example.gr', 34) + b'   0')
c1 = line(b'2', 1, afm(b'09401429'), b'\xd0\xc1\xd0\xc1\xc4\xcf\xd3', b'0', 12, 123450)
c2 = line(b'2', 2, afm(b'11111111'), b'NAME', b'1', 2, 0)
s1 = line(b'4', 1, afm(b'09401429'), b'SUPPLIER', b'0', 3, 7)
a3 = b'3 ' + b'%016d' % 1000 + b' ' + b'%016d' % 250 + b'%016d' % 14 + b'%016d' % 124700 + b' ' * 83
a5 = b'5' + b' ' * 18 + b'%016d' % 1 + b'%016d' % 3 + b'%016d' % 8 + b' ' * 83
assert all(len(r) == 150 for r in (opening, credit, header, c1, c2, s1, a3, a5))

def crlf(*records, end=b'\r\n'):
    return b''.join(r + end for r in records)

reader = {
    'opening-only': crlf(opening),
    'header': crlf(opening, header),
    'full': crlf(opening, header, c1, c2, a3, s1, a5),
    'credit': crlf(credit, header, s1, a5),
    'lf': crlf(opening, header, c1, end=b'\n'),
    'cr': crlf(opening, header, c1, end=b'\r'),
    'any-order': crlf(opening, a5, c2, header, a3, s1, header),
    'short-line': crlf(opening, header[:149]),
    'wrong-type': crlf(opening, b'7' + header[1:]),
    'nul-type': crlf(opening, b'\0' + header[1:]),
    'nul-inside': crlf(opening, header[:60] + b'\0' + header[61:]),
    'zero-tail': crlf(opening, header, c1) + b'\0' * 200,
    'blank-value': crlf(opening, c1[:99] + b' ' * 16 + c1[115:]),
    'big-value': crlf(opening, c1[:99] + b'9' * 16 + c1[115:]),
    'lower-marker': crlf(b'0il01' + opening[5:], header),
    'greek-iota': crlf(b'0\xc9L01' + opening[5:], header),
    'not-a-file': b'IL01\r\n',
    'empty': b'',
}
table = {
    'empty': b'\0',
    'lines': b'\x03' + crlf(c1[:115] + b' ' * 35, c2),
    'short': b'\x05' + b'2     0940142\r\n\r\nabc',
    'long': b'\x0b' + c1 + b'xxxxxxxxxx\r\n' + c2,
    'nul': b'\x0c' + c1[:40] + b'\0' + c1[41:] + b'\n',
    'cr-only': b'\x07' + c1 + b'\r' + c2 + b'\r',
    'blank-lines': b'\x01' + b'\r\n\r\n   \r\n',
}
cp1253 = {
    'ascii': b'EMPORIO 12',
    'greek': b'\xc1\xcb\xd6\xc1 \xe1\xe2\xe3 \xdc\xdd\xde',
    'undefined': bytes([0x81, 0x88, 0xaa, 0xd2, 0xff]),
    'all-high': bytes(range(0x80, 0x100)),
    'utf8-greek': 'Αθήνα ΠΑΠΑΔΟΠΟΥΛΟΣ'.encode(),
    'utf8-euro': '€ ‰ ‘’ “”'.encode(),
    'utf8-bad': b'\xce\x91\xce',
    'utf8-other': 'Привет 中'.encode(),
}
amount = {
    'plain': b'1234,5', 'lone-comma': b',', 'negative': b'-0,125', 'plus': b'+7',
    'blanks': b'  12,34  ', 'round': b'0,995', 'max': b'92233720368547758,07',
    'over': b'92233720368547758,08', 'long-zeros': b'0000000000000000000000000012',
    'two-commas': b'1,2,3', 'point': b'1.5', 'cents16': b'0000000000123450', 'empty': b'',
    'tab': b'\t1',
}
# The first byte chooses the size of the pieces the bytes are counted in.
pdfpagecount = {
    'two-pages': b'\x03%PDF-1.4\n1 0 obj << /Type /Pages /Kids [2 0 R 3 0 R] >>\n'
                 b'2 0 obj << /Type /Page >>\n3 0 obj <</Type /Page/Parent 1 0 R>>\n',
    'mark-at-end': b'\x00/Type /Page',
    'near-marks': b'\x0a/Type /Pag/Type /Page /Type /PageX /Type /Page\n',
}
# The first byte picks the side (even: customers), the rest is the working file.
workinglines = {
    'customers': b'\x00' + crlf(c1[:115] + b' ' * 35, c2),
    'suppliers': b'\x01' + crlf(s1, end=b'\n'),
    'wrong-side': b'\x01' + crlf(c1),
    'control': b'\x00' + crlf(c1[:40] + b'\x01' + c1[41:]),
    'short': b'\x00' + crlf(c1[:149]),
    'line-ends': b'\x00' + b'\n' * 100000,
    'garbage': b'\x00' + bytes(range(256)) * 8,
    'empty': b'\x00',
}
for target, seeds in (('submissionreader', reader), ('recordtable', table), ('cp1253', cp1253),
                      ('amount', amount), ('pdfpagecount', pdfpagecount),
                      ('workinglines', workinglines)):
    os.makedirs('corpus/' + target, exist_ok=True)
    for name, data in seeds.items():
        with open('corpus/%s/seed-%s' % (target, name), 'wb') as f:
            f.write(data)
