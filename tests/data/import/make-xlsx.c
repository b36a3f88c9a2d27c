/* Writes the .xlsx fixtures with libxlsxwriter: lines.xlsx (the shared sheet),
 * formula.xlsx (the same sheet with two cells as formulas and their results),
 * headings.xlsx (a heading row before a data row) and empty.xlsx (no cell at all). */
#include <xlsxwriter.h>

static void write_shared_sheet(lxw_worksheet* ws, int with_formulas) {
  worksheet_write_number(ws, 0, 0, 123456783, NULL);
  worksheet_write_string(ws, 0, 1, "ΑΛΦΑ ΕΜΠΟΡΙΚΗ ΑΝΩΝΥΜΗ ΕΤΑΙΡΕΙΑ", NULL);
  worksheet_write_string(ws, 0, 2, "ΕΜΠΟΡΙΟ", NULL);
  worksheet_write_number(ws, 0, 3, 0, NULL);
  worksheet_write_string(ws, 0, 4, "ΑΘΗΝΑ", NULL);
  worksheet_write_string(ws, 0, 5, "ΣΤΑΔΙΟΥ", NULL);
  worksheet_write_number(ws, 0, 6, 10, NULL);
  worksheet_write_number(ws, 0, 7, 10564, NULL);
  if (with_formulas) {
    worksheet_write_formula_num(ws, 0, 8, "=1+2", NULL, 3);
    worksheet_write_formula_num(ws, 0, 9, "=-100-50.5", NULL, -150.5);
  } else {
    worksheet_write_number(ws, 0, 8, 3, NULL);
    worksheet_write_number(ws, 0, 9, -150.5, NULL);
  }
  worksheet_write_string(ws, 0, 10, "σχόλιο", NULL);

  worksheet_write_string(ws, 1, 0, "012345670", NULL);
  worksheet_write_string(ws, 1, 1, "Βήτα Ο.Ε.", NULL);
  worksheet_write_string(ws, 1, 2, "Γιατρός", NULL);
  worksheet_write_string(ws, 1, 3, "1", NULL);
  worksheet_write_string(ws, 1, 4, "Πάτρα", NULL);
  worksheet_write_string(ws, 1, 5, "Ερμού; Γωνία", NULL);
  worksheet_write_string(ws, 1, 6, "5Α", NULL);
  worksheet_write_string(ws, 1, 7, "26221", NULL);
  worksheet_write_string(ws, 1, 8, "12", NULL);
  worksheet_write_string(ws, 1, 9, "12,5", NULL);

  worksheet_write_number(ws, 2, 0, 99999999, NULL);
  worksheet_write_string(ws, 2, 1, "Γάμμα \"Δέλτα\", ΕΠΕ", NULL);
  worksheet_write_string(ws, 2, 2, "Ά€ΐ", NULL);
  worksheet_write_number(ws, 2, 3, 1, NULL);
  worksheet_write_string(ws, 2, 4, "Λάρισα", NULL);
  worksheet_write_string(ws, 2, 5, "Κύπρου", NULL);
  worksheet_write_number(ws, 2, 7, 41222, NULL);
  worksheet_write_number(ws, 2, 8, 2, NULL);
  worksheet_write_number(ws, 2, 9, 0, NULL);
}

int main(void) {
  lxw_workbook* wb = workbook_new("lines.xlsx");
  write_shared_sheet(workbook_add_worksheet(wb, "Πελάτες"), 0);
  /* A second sheet that must not be read. */
  worksheet_write_string(workbook_add_worksheet(wb, "Άλλο"), 0, 0, "δεύτερο φύλλο", NULL);
  if (workbook_close(wb) != LXW_NO_ERROR) return 1;

  wb = workbook_new("formula.xlsx");
  write_shared_sheet(workbook_add_worksheet(wb, NULL), 1);
  if (workbook_close(wb) != LXW_NO_ERROR) return 1;

  wb = workbook_new("headings.xlsx");
  lxw_worksheet* ws = workbook_add_worksheet(wb, NULL);
  const char* headings[] = {"ΑΦΜ",  "ΕΠΩΝΥΜΙΑ", "ΕΠΑΓΓΕΛΜΑ", "ΥΠΟΧΡΕΟΣ",           "ΠΟΛΗ",
                            "ΟΔΟΣ", "ΑΡΙΘΜΟΣ",  "TK",        "ΑΡΙΘΜΟΣ ΤΙΜΟΛΟΓΙΩΝ", "ΑΞΙΑ"};
  for (int c = 0; c < 10; ++c) worksheet_write_string(ws, 0, (lxw_col_t)c, headings[c], NULL);
  worksheet_write_number(ws, 1, 0, 123456783, NULL);
  worksheet_write_number(ws, 1, 3, 0, NULL);
  worksheet_write_number(ws, 1, 8, 1, NULL);
  worksheet_write_number(ws, 1, 9, 5, NULL);
  if (workbook_close(wb) != LXW_NO_ERROR) return 1;

  wb = workbook_new("empty.xlsx");
  workbook_add_worksheet(wb, NULL);
  return workbook_close(wb) == LXW_NO_ERROR ? 0 : 1;
}
