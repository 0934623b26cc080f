// The Print screen (screen 3): its background window with the labels, the
// edit fields, and the commands the main window passes on. The arithmetic is
// print_layout's; the printer and the job are printer's and print_job's.
#include "print_screen.h"

#include <windows.h>

#include <cstdio>

#include "app_state.h"
#include "print_controls.h"
#include "print_job.h"
#include "print_screen_state.h"
#include "printer.h"
#include "window_class.h"

namespace vmd {

namespace {

constexpr char kBackgroundClass[] = "Stitch Print Background Window";
constexpr UINT kStringDocumentPrefix = 50006;
constexpr UINT kStringNoPrinter = 50035;
constexpr UINT kStringInch = 50145;
constexpr UINT kStringDpi = 50146;
constexpr UINT kStringPage = 50147;
constexpr UINT kStringPages = 50148;
constexpr int kLabelStrip = 28;  ///< height of the label strip under the preview
constexpr int kFieldIds[3] = {kEditPagesAcross, kEditPagesDown, kEditCopies};

PrintScreenState* g_screen = nullptr;
int g_printing = 0;

HINSTANCE Instance() { return g_app.instance ? g_app.instance : GetModuleHandleA(nullptr); }

void SetField(PrintScreenState* s, int index, int value) {
  if (!s->fields[index]) return;
  s->settingField = true;
  SetWindowTextA(s->fields[index], std::to_string(value).c_str());
  s->settingField = false;
}

void ShowFields(PrintScreenState* s) {
  SetField(s, 0, s->layout.pagesAcross);
  SetField(s, 1, s->layout.pagesDown);
  SetField(s, 2, s->layout.copies);
}

void UpdateCopyButtons(const PrintScreenState* s) {
  if (s->layout.copies <= 1)
    DisableControl(kCopyLess);
  else
    EnableControl(kCopyLess);
  if (s->layout.copies >= kMaxCopies)
    DisableControl(kCopyMore);
  else
    EnableControl(kCopyMore);
}

void RedrawLabels(const PrintScreenState* s) {
  if (!s->background) return;
  RECT r;
  GetClientRect(s->background, &r);
  r.top = r.bottom - kLabelStrip;
  InvalidateRect(s->background, &r, FALSE);
}

/// After any change of arrangement, resolution or printer.
void Refresh(PrintScreenState* s) {
  UpdatePrintPreview(s);
  RedrawLabels(s);
}

/// Lays the image out for the kept printer and builds the template list.
bool LayOut(PrintScreenState* s) {
  PrinterMetrics metrics;
  if (!QueryPrinterMetrics(&metrics)) return false;
  const int copies = s->layout.copies;
  const auto* header = static_cast<const BITMAPINFOHEADER*>(GlobalLock(s->image));
  if (!header) return false;
  if (GlobalSize(s->image) < sizeof(BITMAPINFOHEADER)) {
    GlobalUnlock(s->image);
    return false;
  }
  const int width = static_cast<WORD>(header->biWidth);
  const int height = static_cast<WORD>(header->biHeight);
  GlobalUnlock(s->image);
  s->layout = InitialLayout(width, height, metrics);
  s->layout.copies = copies;
  s->templates = TemplateList(s->layout, LoadUiString(kStringPage), LoadUiString(kStringPages));
  return true;
}

void PaintLabels(const PrintScreenState* s, HDC dc, const RECT& strip) {
  const FontMetrics& fm = g_app.fontMetrics;
  HFONT font = CreateFontA(-fm.printHeight, 0, 0, 0, FW_NORMAL, 0, 0, 0, fm.charSet, 0, 0, 0, 0,
                           fm.faceName);
  HGDIOBJ old = SelectObject(dc, font);
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, RGB(0, 0, 0));
  const std::string size = SizeLabel(s->layout, LoadUiString(kStringInch));
  const std::string dpi = DpiLabel(s->layout, LoadUiString(kStringDpi));
  RECT left = strip, right = strip;
  left.left += 8;
  right.right -= 8;
  DrawTextA(dc, size.c_str(), -1, &left, DT_LEFT | DT_VCENTER | DT_SINGLELINE);
  DrawTextA(dc, dpi.c_str(), -1, &right, DT_RIGHT | DT_VCENTER | DT_SINGLELINE);
  SelectObject(dc, old);
  DeleteObject(font);
}

LRESULT CALLBACK BackgroundProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* s = reinterpret_cast<PrintScreenState*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
  switch (message) {
    case WM_NCCREATE:
      s = static_cast<PrintScreenState*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
      s->background = hwnd;
      SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(s));
      break;
    case WM_CREATE: {
      // The layout is made as the screen's background window is created.
      if (!LayOut(s)) return -1;
      RECT client;
      GetClientRect(hwnd, &client);
      client.bottom -= kLabelStrip;
      return CreatePrintPreview(s, client) ? 0 : -1;
    }
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(hwnd, &ps);
      RECT client;
      GetClientRect(hwnd, &client);
      HBRUSH back = CreateSolidBrush(RGB(201, 200, 213));
      FillRect(dc, &ps.rcPaint, back);
      DeleteObject(back);
      if (s) {
        RECT strip = client;
        strip.top = strip.bottom - kLabelStrip;
        PaintLabels(s, dc, strip);
      }
      EndPaint(hwnd, &ps);
      return 0;
    }
    case WM_NCDESTROY:
      SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
      break;
    default:
      break;
  }
  return DefWindowProcA(hwnd, message, wParam, lParam);
}

bool EnsureBackgroundClassRegistered() {
  return RegisterProgramClass(kBackgroundClass, BackgroundProc);
}

HWND CreateField(HWND main, const RECT& r, int id) {
  if (IsRectEmpty(&r)) return nullptr;
  HWND field = CreateWindowExA(WS_EX_CLIENTEDGE, "EDIT", "",
                               WS_CHILD | WS_VISIBLE | ES_NUMBER | ES_AUTOHSCROLL | ES_CENTER,
                               r.left, r.top, r.right - r.left, r.bottom - r.top, main,
                               reinterpret_cast<HMENU>(INT_PTR(id)), Instance(), nullptr);
  if (field) SendMessageA(field, EM_LIMITTEXT, 19, 0);
  return field;
}

/// Text typed into one of the fields: applied, or a beep and the previous value.
void OnFieldChanged(PrintScreenState* s, int index) {
  char text[20] = {};
  GetWindowTextA(s->fields[index], text, sizeof text);
  const int before[3] = {s->layout.pagesAcross, s->layout.pagesDown, s->layout.copies};
  EditKind kind = EditKind::kUnchanged;
  if (index == 0) kind = EditPagesAcross(&s->layout, text);
  if (index == 1) kind = EditPagesDown(&s->layout, text);
  if (index == 2) kind = EditCopies(&s->layout, text);
  if (kind == EditKind::kRejected) {
    MessageBeep(0);
    SetField(s, index, before[index]);
    return;
  }
  if (kind == EditKind::kUnchanged) return;
  if (index == 2) {
    SetPrinterCopies(s->layout.copies);
    UpdateCopyButtons(s);
    return;
  }
  SetField(s, index == 0 ? 1 : 0, index == 0 ? s->layout.pagesDown : s->layout.pagesAcross);
  Refresh(s);
}

}  // namespace

PrintScreenPlaces DefaultPrintScreenPlaces(const RECT& area) {
  PrintScreenPlaces places;
  const int fieldWidth = 60, fieldHeight = 22, gap = 12;
  places.background = area;
  places.background.right -= fieldWidth + 2 * gap;
  const int x = places.background.right + gap;
  for (int i = 0; i < 3; ++i) {
    RECT* r = i == 0 ? &places.pagesAcross : i == 1 ? &places.pagesDown : &places.copies;
    const int y = area.top + gap + i * (fieldHeight + gap);
    *r = RECT{x, y, x + fieldWidth, y + fieldHeight};
  }
  return places;
}

bool PrintCommand(HWND main, HGLOBAL image) {
  if (!image) return false;
  if (!HavePrinter()) {
    MessageBoxA(main, LoadUiString(kStringNoPrinter).c_str(), LoadUiString(kStringWarning).c_str(),
                MB_OK);
    return false;
  }
  int copies = 1;
  return PrinterSetupDialog(main, &copies);
}

bool OpenPrintScreen(HWND main, const PrintScreenPlaces& places, HGLOBAL image,
                     const std::string& title) {
  ClosePrintScreen();
  if (!image || !HavePrinter() || !EnsureBackgroundClassRegistered()) return false;
  auto* s = new PrintScreenState;
  s->main = main;
  s->image = image;
  s->title = title;
  s->layout.copies = PrinterCopies();
  const RECT& r = places.background;
  g_screen = s;
  HWND background =
      CreateWindowExA(0, kBackgroundClass, "", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, r.left,
                      r.top, r.right - r.left, r.bottom - r.top, main, nullptr, Instance(), s);
  if (!background) {
    g_screen = nullptr;
    delete s;
    return false;
  }
  s->fields[0] = CreateField(main, places.pagesAcross, kEditPagesAcross);
  s->fields[1] = CreateField(main, places.pagesDown, kEditPagesDown);
  s->fields[2] = CreateField(main, places.copies, kEditCopies);
  ShowFields(s);
  UpdateCopyButtons(s);
  return true;
}

bool OpenPrintScreen(HWND main, const RECT& area, HGLOBAL image) {
  return OpenPrintScreen(main, DefaultPrintScreenPlaces(area), image, "");
}

void ClosePrintScreen() {
  PrintScreenState* s = g_screen;
  if (!s) return;
  g_screen = nullptr;
  for (HWND field : s->fields)
    if (field) DestroyWindow(field);
  if (s->background) DestroyWindow(s->background);
  delete s;
}

bool PrintScreenOpen() { return g_screen != nullptr; }

std::vector<std::string> PrintTemplates() {
  return g_screen ? g_screen->templates : std::vector<std::string>();
}

void PrintTemplateChosen(int entry) {
  PrintScreenState* s = g_screen;
  if (!s || entry < 0 || entry >= int(s->templates.size())) return;
  int across = 0, down = 0;
  if (!ParseTemplate(s->templates[entry].c_str(), &across, &down)) return;
  if (!ChooseArrangement(&s->layout, across, down)) return;
  SetField(s, 0, across);
  SetField(s, 1, down);
  Refresh(s);
}

void PrintSliderMoved(int position) {
  PrintScreenState* s = g_screen;
  if (!s) return;
  const int dpi = SliderDpi(position, s->layout.dpiMin, s->layout.dpiMax);
  if (dpi == s->layout.dpi) return;
  s->layout.dpi = dpi;
  Refresh(s);
}

int PrintSliderPosition() { return kSliderPositions - 1; }

bool PrintEditCommand(WPARAM wParam, LPARAM lParam) {
  PrintScreenState* s = g_screen;
  if (!s || HIWORD(wParam) != kEditTextChanged) return false;
  for (int i = 0; i < 3; ++i) {
    if (LOWORD(wParam) != kFieldIds[i] || reinterpret_cast<HWND>(lParam) != s->fields[i]) continue;
    if (!s->settingField) OnFieldChanged(s, i);
    return true;
  }
  return false;
}

void PrintCopyButton(int id) {
  PrintScreenState* s = g_screen;
  if (!s) return;
  s->layout.copies = StepCopies(s->layout.copies, id == kCopyLess ? -1 : +1);
  SetPrinterCopies(s->layout.copies);
  SetField(s, 2, s->layout.copies);
  UpdateCopyButtons(s);
}

void PrintSetupCommand(HWND main) {
  PrintScreenState* s = g_screen;
  int copies = s ? s->layout.copies : 1;
  if (!PrinterSetupDialog(main, &copies) || !s) return;
  s->layout.copies = copies;
  if (!LayOut(s)) return;
  ShowFields(s);
  UpdateCopyButtons(s);
  Refresh(s);
}

void PrintBeginCommand() {
  PrintScreenState* s = g_screen;
  if (!s) return;
  g_printing = 2;
  char title[261] = {};
  if (s->preview) GetWindowTextA(s->preview, title, sizeof title);
  PrintImage(s->image, s->layout, DocumentName(LoadUiString(kStringDocumentPrefix), title));
  g_printing = 1;
}

int PrintingState() { return g_printing; }

}  // namespace vmd
