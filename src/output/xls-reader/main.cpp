// velmora-xls-reader PATH: reads the first worksheet of an .xls workbook with
// FreeXL and reports its cells to the program that started it, into the shared
// area at descriptor 3, telling through standard output how far the report has
// come. FreeXL has been seen to read past its own buffers on damaged workbooks:
// in this process of its own, such a workbook costs a refusal and nothing else.
#include <unistd.h>

#include "SharedReport.h"
#include "SheetReport.h"
#include "XlsSheetReader.h"

int main(int argc, char** argv) {
  if (argc != 2) return 2;
  velmora::SharedReport area(velmora::kHelperReportFd);
  if (!area.Mapped()) return 1;
  velmora::SheetReportWriter report(
      [&area](std::string_view piece) { return area.Append(STDOUT_FILENO, piece); });
  const bool sent = report.End(velmora::ReadXlsCellsThenLeaveToExit(argv[1], report));
  // Closed before the exit, so that the program need not wait for this process's
  // memory to be given back before it goes on.
  ::close(STDOUT_FILENO);
  ::_exit(sent ? 0 : 1);
}
