// The full-screen views' zoom bar: a thin window over button_bar's deciding.
#include "zoom_bar_window.h"

#include <windowsx.h>

#include "button_bar.h"
#include "dib_draw.h"
#include "unique_handle.h"

namespace vmd {

namespace {

constexpr COLORREF kPlainPanel = RGB(201, 200, 213);

struct ZoomBar {
  HWND owner = nullptr;
  ButtonBarLayout layout = {};
  UniqueHGlobal background;
  UniqueHGlobal strip;
  bool skinned = false;  ///< both images are there and have the layout's sizes
  unsigned disabled = 0;
  int pressed = -1;      ///< the button the mouse went down on, or -1
  bool inside = false;   ///< the mouse is still over the pressed button
  bool* attached = nullptr;  ///< set once the window owns the record
};

ZoomBar* BarOf(HWND window) {
  return reinterpret_cast<ZoomBar*>(GetWindowLongPtrA(window, GWLP_USERDATA));
}

/// Only the two zoom buttons can be disabled; close always works.
bool Disabled(const ZoomBar* bar, int button) {
  return button != kZoomBarClose - 1 && (bar->disabled & (1u << button)) != 0;
}

RECT ToRect(const BarRect& r) { return RECT{r.left, r.top, r.right, r.bottom}; }

/// The plain look: a panel with three raised buttons carrying a plus, a minus
/// and a cross.
void DrawPlainButton(HDC dc, const ZoomBar* bar, int button, ButtonFace face) {
  RECT r = ToRect(BarButtonPlace(bar->layout, button));
  FillRect(dc, &r, GetSysColorBrush(COLOR_BTNFACE));
  DrawEdge(dc, &r, face == kFaceDown ? EDGE_SUNKEN : EDGE_RAISED, BF_RECT);
  UniquePen pen(CreatePen(PS_SOLID, 3, face == kFaceDisabled ? RGB(160, 160, 168) : RGB(30, 30, 60)));
  SelectedObject selected(dc, pen.get());
  const int shift = face == kFaceDown ? 1 : 0;
  const int cx = (r.left + r.right) / 2 + shift;
  const int cy = (r.top + r.bottom) / 2 + shift;
  const int arm = 8;
  auto line = [dc](int x0, int y0, int x1, int y1) {
    MoveToEx(dc, x0, y0, nullptr);
    LineTo(dc, x1, y1);
  };
  if (button == kZoomBarClose - 1) {
    line(cx - arm, cy - arm, cx + arm + 1, cy + arm + 1);
    line(cx + arm, cy - arm, cx - arm - 1, cy + arm + 1);
    return;
  }
  line(cx - arm, cy, cx + arm + 1, cy);
  if (button == kZoomBarZoomIn - 1) line(cx, cy - arm, cx, cy + arm + 1);
}

void Paint(HWND window, HDC dc) {
  const ZoomBar* bar = BarOf(window);
  const ButtonBarLayout& layout = bar->layout;
  if (bar->skinned) {
    DrawDibPart(dc, bar->background.get(), 0, 0, layout.width, layout.height, 0, 0);
  } else {
    RECT client = {0, 0, layout.width, layout.height};
    UniqueBrush panel(CreateSolidBrush(kPlainPanel));
    FillRect(dc, &client, panel.get());
    DrawEdge(dc, &client, EDGE_RAISED, BF_RECT);
  }
  for (int b = 0; b < layout.buttons; ++b) {
    const ButtonFace face = BarFaceOf(Disabled(bar, b), bar->pressed == b && bar->inside);
    if (!bar->skinned) {
      DrawPlainButton(dc, bar, b, face);
      continue;
    }
    const BarRect from = BarFaceInStrip(layout, b, face);
    const BarRect to = BarButtonPlace(layout, b);
    DrawDibPart(dc, bar->strip.get(), from.left, from.top, layout.buttonWidth, layout.buttonHeight,
                to.left, to.top);
  }
}

/// The button under a client point that can be clicked, or -1.
int ClickableAt(const ZoomBar* bar, LPARAM lParam) {
  const int b = BarButtonAt(bar->layout, GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
  return b >= 0 && !Disabled(bar, b) ? b : -1;
}

void MoveToBottomCentre(HWND window, const ZoomBar* bar, int screenWidth, int screenHeight) {
  const BarRect place = BarPlaceOnScreen(bar->layout, screenWidth, screenHeight);
  SetWindowPos(window, nullptr, place.left, place.top, 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

LRESULT CALLBACK ZoomBarProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* record = static_cast<ZoomBar*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
    *record->attached = true;
    SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(record));
  }
  ZoomBar* bar = BarOf(window);
  if (bar == nullptr) return DefWindowProcA(window, message, wParam, lParam);
  switch (message) {
    case WM_NCDESTROY:
      SetWindowLongPtrA(window, GWLP_USERDATA, 0);
      delete bar;
      break;
    case WM_ERASEBKGND:
      return 1;  // every pixel is painted
    case WM_MOUSEACTIVATE:
      // The bar is never the active window: the view keeps the keyboard, and
      // closing the view hides the bar at once (Wine without a window manager
      // waits about 2 s on hiding each window that has once been active).
      return MA_NOACTIVATE;
    case WM_PAINT: {
      PaintDC dc(window);
      Paint(window, dc.get());
      return 0;
    }
    case WM_LBUTTONDOWN:
      bar->pressed = ClickableAt(bar, lParam);
      bar->inside = bar->pressed >= 0;
      if (bar->pressed >= 0) SetCapture(window);
      InvalidateRect(window, nullptr, FALSE);
      return 0;
    case WM_MOUSEMOVE:
      if (bar->pressed >= 0) {
        const bool inside = ClickableAt(bar, lParam) == bar->pressed;
        if (inside != bar->inside) InvalidateRect(window, nullptr, FALSE);
        bar->inside = inside;
      }
      return 0;
    case WM_LBUTTONUP: {
      const int pressed = bar->pressed;
      const bool inside = pressed >= 0 && ClickableAt(bar, lParam) == pressed;
      bar->pressed = -1;
      bar->inside = false;
      if (GetCapture() == window) ReleaseCapture();
      InvalidateRect(window, nullptr, FALSE);
      if (inside)
        SendMessageA(bar->owner, WM_COMMAND, MAKEWPARAM(pressed + 1, 0),
                     reinterpret_cast<LPARAM>(window));
      return 0;
    }
    case WM_CAPTURECHANGED:
      if (bar->pressed >= 0) {
        bar->pressed = -1;
        InvalidateRect(window, nullptr, FALSE);
      }
      return 0;
    case WM_KEYDOWN:
      SendMessageA(bar->owner, WM_KEYDOWN, wParam, lParam);
      return 0;
    case WM_DISPLAYCHANGE:
      MoveToBottomCentre(window, bar, LOWORD(lParam), HIWORD(lParam));
      return 0;
    default:
      break;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

bool EnsureClassRegistered(const char* className, HINSTANCE instance) {
  WNDCLASSA existing = {};
  if (GetClassInfoA(instance, className, &existing)) return true;
  WNDCLASSA wc = {};
  wc.style = 0;  // no double clicks: two quick clicks are two zoom steps
  wc.lpfnWndProc = ZoomBarProc;
  wc.hInstance = instance;
  wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
  wc.lpszClassName = className;
  return RegisterClassA(&wc) != 0;
}

}  // namespace

HWND CreateZoomBar(const char* className, const ButtonBarLayout& layout, HWND owner,
                   int screenWidth, int screenHeight, HGLOBAL background, HGLOBAL strip) {
  auto* bar = new ZoomBar;
  bar->owner = owner;
  bar->layout = layout;
  bar->background.reset(background);
  bar->strip.reset(strip);
  int bgWidth = 0, bgHeight = 0, stripWidth = 0, stripHeight = 0;
  bar->skinned = DibDimensions(background, &bgWidth, &bgHeight) &&
                 DibDimensions(strip, &stripWidth, &stripHeight) &&
                 BarImagesFit(layout, bgWidth, bgHeight, stripWidth, stripHeight);
  HINSTANCE instance = GetModuleHandleA(nullptr);
  if (!EnsureClassRegistered(className, instance)) {
    delete bar;
    return nullptr;
  }
  bool attached = false;
  bar->attached = &attached;
  const BarRect place = BarPlaceOnScreen(layout, screenWidth, screenHeight);
  HWND window = CreateWindowExA(0, className, "", WS_POPUP, place.left, place.top, layout.width,
                                layout.height, owner, nullptr, instance, bar);
  // Once the window had the record its destruction freed it.
  if (window == nullptr && !attached) delete bar;
  if (window != nullptr) bar->attached = nullptr;
  return window;
}

void SetZoomBarDisabled(HWND bar, unsigned disabled) {
  ZoomBar* record = BarOf(bar);
  if (record == nullptr || record->disabled == disabled) return;
  record->disabled = disabled;
  InvalidateRect(bar, nullptr, FALSE);
}

}  // namespace vmd
