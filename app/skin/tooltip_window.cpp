#include "tooltip_window.h"

#include "unique_handle.h"
#include "window_class.h"

namespace vmd {

namespace {

constexpr char kTipClass[] = "Vistameld ToolTip";
constexpr COLORREF kTipFill = RGB(252, 250, 238);
constexpr COLORREF kTipBorder = RGB(92, 90, 118);
constexpr COLORREF kTipText = RGB(30, 30, 44);
constexpr int kPadX = 6;
constexpr int kPadY = 3;

struct TipRecord {
  UniqueFont font;
  std::string text;
};

TipRecord* RecordOf(HWND window) { return WindowRecordOf<TipRecord>(window); }

void OnPaint(HWND window) {
  PaintDC paint(window);
  TipRecord* record = RecordOf(window);
  RECT client;
  GetClientRect(window, &client);
  UniqueBrush fill(CreateSolidBrush(kTipFill));
  UniquePen border(CreatePen(PS_SOLID, 1, kTipBorder));
  SelectedObject pen(paint.get(), border.get());
  SelectedObject brush(paint.get(), fill.get());
  Rectangle(paint.get(), client.left, client.top, client.right, client.bottom);
  if (record == nullptr) return;
  SelectedObject font(paint.get(), record->font.get());
  SetBkMode(paint.get(), TRANSPARENT);
  SetTextColor(paint.get(), kTipText);
  RECT text = {kPadX, kPadY, client.right - kPadX, client.bottom - kPadY};
  DrawTextA(paint.get(), record->text.c_str(), -1, &text, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
}

LRESULT CALLBACK TipProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_NCCREATE:
      KeepCreateRecord<TipRecord>(window, lParam);
      break;
    case WM_NCDESTROY:
      DeleteWindowRecord<TipRecord>(window);
      break;
    case WM_PAINT:
      OnPaint(window);
      return 0;
    case WM_MOUSEACTIVATE:
      return MA_NOACTIVATE;
    case WM_NCHITTEST:
      return HTTRANSPARENT;
    default:
      break;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

bool EnsureTipClassRegistered() {
  WindowClassLook look;
  look.style = CS_SAVEBITS;
  return RegisterProgramClass(kTipClass, TipProc, look);
}

}  // namespace

HWND CreateToolTipWindow(HWND owner, const ToolkitFont& font) {
  if (!EnsureTipClassRegistered()) return nullptr;
  auto* record = new TipRecord;
  record->font.reset(CreateToolkitFont(font));
  HWND tip = CreateWindowExA(WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE, kTipClass, "",
                             WS_POPUP, 0, 0, 10, 10, owner, nullptr, GetModuleHandleA(nullptr), record);
  if (tip == nullptr) delete record;
  return tip;
}

void ShowToolTip(HWND tip, const std::string& text, int x, int y) {
  TipRecord* record = tip != nullptr ? RecordOf(tip) : nullptr;
  if (record == nullptr) return;
  record->text = text;
  SIZE size = {0, 0};
  {
    WindowDC dc(tip);
    SelectedObject font(dc.get(), record->font.get());
    GetTextExtentPoint32A(dc.get(), text.c_str(), static_cast<int>(text.size()), &size);
  }
  const int width = size.cx + 2 * kPadX;
  const int height = size.cy + 2 * kPadY;
  const int screenWidth = GetSystemMetrics(SM_CXSCREEN);
  const int screenHeight = GetSystemMetrics(SM_CYSCREEN);
  if (x + width > screenWidth) x = screenWidth - width;
  if (y + height > screenHeight) y = screenHeight - height;
  SetWindowPos(tip, HWND_TOP, x < 0 ? 0 : x, y < 0 ? 0 : y, width, height,
               SWP_NOACTIVATE | SWP_SHOWWINDOW);
  InvalidateRect(tip, nullptr, TRUE);
}

void HideToolTip(HWND tip) {
  if (tip != nullptr && IsWindowVisible(tip)) ShowWindow(tip, SW_HIDE);
}

}  // namespace vmd
