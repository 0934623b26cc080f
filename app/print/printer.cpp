#include "printer.h"

#include <commdlg.h>

#include <algorithm>

namespace vmd {

namespace {

/// The print dialog's results, owned here for the run.
struct KeptPrinter {
  HGLOBAL devMode = nullptr;
  HGLOBAL devNames = nullptr;
};
KeptPrinter g_printer;

void Keep(HGLOBAL devMode, HGLOBAL devNames) {
  if (g_printer.devMode && g_printer.devMode != devMode) GlobalFree(g_printer.devMode);
  if (g_printer.devNames && g_printer.devNames != devNames) GlobalFree(g_printer.devNames);
  g_printer.devMode = devMode;
  g_printer.devNames = devNames;
}

bool AskDefaultPrinter() {
  PRINTDLGA dialog = {};
  dialog.lStructSize = sizeof dialog;
  dialog.Flags = PD_RETURNDEFAULT;
  if (!PrintDlgA(&dialog)) return false;
  Keep(dialog.hDevMode, dialog.hDevNames);
  return g_printer.devNames != nullptr;
}

}  // namespace

bool HavePrinter() { return g_printer.devNames || AskDefaultPrinter(); }

void SetPrinterCopies(int copies) {
  if (!HavePrinter() || !g_printer.devMode) return;
  auto* mode = static_cast<DEVMODEA*>(GlobalLock(g_printer.devMode));
  if (!mode) return;
  mode->dmCopies = static_cast<short>(std::clamp(copies, 1, kMaxCopies));
  mode->dmFields |= DM_COPIES;
  GlobalUnlock(g_printer.devMode);
}

int PrinterCopies() {
  if (!HavePrinter() || !g_printer.devMode) return 1;
  const auto* mode = static_cast<const DEVMODEA*>(GlobalLock(g_printer.devMode));
  if (!mode) return 1;
  const int copies = (mode->dmFields & DM_COPIES) ? mode->dmCopies : 1;
  GlobalUnlock(g_printer.devMode);
  return std::clamp(copies, 1, kMaxCopies);
}

HDC CreatePrinterDC(int copies) {
  if (!HavePrinter()) return nullptr;
  SetPrinterCopies(copies);
  const auto* names = static_cast<const DEVNAMES*>(GlobalLock(g_printer.devNames));
  if (!names) return nullptr;
  const char* base = reinterpret_cast<const char*>(names);
  const auto* mode =
      g_printer.devMode ? static_cast<const DEVMODEA*>(GlobalLock(g_printer.devMode)) : nullptr;
  HDC dc = CreateDCA(base + names->wDriverOffset, base + names->wDeviceOffset,
                     base + names->wOutputOffset, mode);
  if (mode) GlobalUnlock(g_printer.devMode);
  GlobalUnlock(g_printer.devNames);
  return dc;
}

bool PrinterSetupDialog(HWND owner, int* copies) {
  if (!HavePrinter()) return false;
  PRINTDLGA dialog = {};
  dialog.lStructSize = sizeof dialog;
  dialog.hwndOwner = owner;
  dialog.hDevMode = g_printer.devMode;
  dialog.hDevNames = g_printer.devNames;
  dialog.Flags = PD_PRINTSETUP;
  if (!PrintDlgA(&dialog)) {
    // The dialog may have replaced the blocks even when cancelled.
    Keep(dialog.hDevMode, dialog.hDevNames);
    return false;
  }
  Keep(dialog.hDevMode, dialog.hDevNames);
  if (copies) *copies = PrinterCopies();
  return true;
}

bool QueryPrinterMetrics(PrinterMetrics* metrics) {
  HDC dc = CreatePrinterDC(PrinterCopies());
  if (!dc) return false;
  metrics->lx = GetDeviceCaps(dc, LOGPIXELSX);
  metrics->ly = GetDeviceCaps(dc, LOGPIXELSY);
  metrics->hr = GetDeviceCaps(dc, HORZRES);
  metrics->vr = GetDeviceCaps(dc, VERTRES);
  DeleteDC(dc);
  return true;
}

void ReleasePrinter() { Keep(nullptr, nullptr); }

}  // namespace vmd
