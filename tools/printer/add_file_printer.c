/* Makes a PostScript printer that writes every job to one file, and makes it
 * the default printer: the test machines' Wine prefixes have no printer and no
 * CUPS. Run under Wine inside the prefix:
 *
 *   add_file_printer.exe NAME PPD PORT
 *
 * NAME is the printer's name, PPD the Windows path of the printer description
 * (copied into the printer driver folder), PORT the Unix path of the file the
 * jobs are written to. Running it again keeps the printer and makes it the
 * default again. Exit code 0 on success. */
#include <stdio.h>
#include <string.h>
#include <windows.h>
#include <winspool.h>

static const char kDriverName[] = "Vistameld File Printer";
static const char kPpdName[] = "VMD3FILE.PPD";

static int Fail(const char* what) {
  fprintf(stderr, "add_file_printer: %s failed (error %lu)\n", what, GetLastError());
  return 1;
}

int main(int argc, char** argv) {
  char folder[MAX_PATH];
  char ppd[MAX_PATH + 16];
  DWORD needed = 0;
  DRIVER_INFO_3A driver;
  PRINTER_INFO_2A printer;
  HANDLE handle;

  if (argc != 4) {
    fprintf(stderr, "usage: add_file_printer NAME PPD PORT\n");
    return 2;
  }
  if (!GetPrinterDriverDirectoryA(NULL, NULL, 1, (BYTE*)folder, sizeof folder, &needed))
    return Fail("GetPrinterDriverDirectoryA");
  if (strlen(folder) + strlen(kPpdName) + 2 > sizeof ppd) return Fail("driver folder length");
  snprintf(ppd, sizeof ppd, "%s\\%s", folder, kPpdName);
  if (!CopyFileA(argv[2], ppd, FALSE)) return Fail("copying the PPD");

  memset(&driver, 0, sizeof driver);
  driver.cVersion = 3;
  driver.pName = (char*)kDriverName;
  driver.pDriverPath = (char*)"wineps.drv";
  driver.pConfigFile = (char*)"wineps.drv";
  driver.pDataFile = (char*)kPpdName;
  if (!AddPrinterDriverA(NULL, 3, (BYTE*)&driver)) return Fail("AddPrinterDriverA");

  memset(&printer, 0, sizeof printer);
  printer.pPrinterName = argv[1];
  printer.pPortName = argv[3];
  printer.pDriverName = (char*)kDriverName;
  printer.pPrintProcessor = (char*)"WinPrint";
  printer.pDatatype = (char*)"RAW";
  printer.Attributes = PRINTER_ATTRIBUTE_LOCAL;
  handle = AddPrinterA(NULL, 2, (BYTE*)&printer);
  if (handle) {
    ClosePrinter(handle);
  } else if (GetLastError() != ERROR_PRINTER_ALREADY_EXISTS) {
    return Fail("AddPrinterA");
  }
  if (!SetDefaultPrinterA(argv[1])) return Fail("SetDefaultPrinterA");
  return 0;
}
