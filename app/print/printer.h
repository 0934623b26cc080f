#ifndef APP_PRINT_PRINTER_H
#define APP_PRINT_PRINTER_H

#include <windows.h>

#include "print_layout.h"

namespace vmd {

/// The printer of the run: the print dialog's printer settings and device
/// names, asked for silently (the default printer) the first time they are
/// needed and kept until ReleasePrinter. With no printer every call below
/// does nothing and reports failure.

/// True when a printer is there (asking for the default one if none is kept).
bool HavePrinter();

/// A device context for the kept printer with `copies` written into its
/// settings as the copy count. Null without a printer; the caller deletes it.
HDC CreatePrinterDC(int copies);

/// Writes `copies` into the kept printer settings.
void SetPrinterCopies(int copies);

/// The copy count of the kept printer settings (1 without a printer).
int PrinterCopies();

/// The platform's printer set-up dialog on the kept settings. On OK the new
/// settings are kept, `*copies` becomes their copy count clamped to 1..100, and
/// true is returned; false on Cancel or without a printer.
bool PrinterSetupDialog(HWND owner, int* copies);

/// Pixels per inch and printable page size of the kept printer. False (and
/// the metrics untouched) without a printer.
bool QueryPrinterMetrics(PrinterMetrics* metrics);

/// Frees the kept settings; the next call asks for the default printer again.
void ReleasePrinter();

}  // namespace vmd

#endif  // APP_PRINT_PRINTER_H
