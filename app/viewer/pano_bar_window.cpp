// "DetailWindowPano": the viewer's control bar with zoom in, zoom out and close.
#include <windows.h>
#include <windowsx.h>

#include "app_state.h"
#include "pano_bar.h"
#include "pano_bar_look.h"

namespace vmd {

namespace {

constexpr char kBarClass[] = "DetailWindowPano";
constexpr BarButtonKind kButtons[3] = {BarButtonKind::kZoomIn, BarButtonKind::kZoomOut,
                                       BarButtonKind::kClose};
constexpr WORD kCommands[3] = {kBarZoomIn, kBarZoomOut, kBarClose};

struct Bar {
  HWND owner = nullptr;
  const int* zoomInState = nullptr;  ///< the viewer's; not owned
  const int* zoomOutState = nullptr;
  int pressed = -1;       ///< index of the button held down, or -1
  bool attached = false;  ///< the window owns the record from WM_NCCREATE on
};

Bar* BarOf(HWND hwnd) { return reinterpret_cast<Bar*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA)); }

int ButtonState(const Bar* bar, int index) {
  if (index == 0 && bar->zoomInState) return *bar->zoomInState;
  if (index == 1 && bar->zoomOutState) return *bar->zoomOutState;
  return 0;
}

int ButtonAt(const Bar* bar, int x, int y) {
  const POINT point{x, y};
  for (int i = 0; i < 3; ++i) {
    const RECT r = BarButtonRect(kButtons[i]);
    if (PtInRect(&r, point)) return ButtonState(bar, i) == 2 ? -1 : i;
  }
  return -1;
}

void Paint(HWND hwnd, HDC dc) {
  const Bar* bar = BarOf(hwnd);
  RECT client;
  GetClientRect(hwnd, &client);
  DrawBarBackground(dc, client);
  for (int i = 0; i < 3; ++i)
    DrawBarButton(dc, kButtons[i], ButtonState(bar, i), bar->pressed == i);
}

void PlaceAtBottomCentre(HWND hwnd, int screenWidth, int screenHeight) {
  SetWindowPos(hwnd, nullptr, (screenWidth - kBarWidth) / 2, screenHeight - kBarHeight, 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

LRESULT CALLBACK BarProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  Bar* bar = BarOf(hwnd);
  switch (message) {
    case WM_NCCREATE: {
      auto* create = reinterpret_cast<CREATESTRUCTA*>(lParam);
      auto* record = static_cast<Bar*>(create->lpCreateParams);
      record->attached = true;
      SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(record));
      break;
    }
    case WM_NCDESTROY:
      delete bar;
      SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
      break;
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(hwnd, &ps);
      Paint(hwnd, dc);
      EndPaint(hwnd, &ps);
      return 0;
    }
    case WM_ERASEBKGND:
      return 1;
    case WM_LBUTTONDOWN:
      bar->pressed = ButtonAt(bar, GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
      if (bar->pressed >= 0) SetCapture(hwnd);
      InvalidateRect(hwnd, nullptr, FALSE);
      return 0;
    case WM_LBUTTONUP: {
      const int pressed = bar->pressed;
      bar->pressed = -1;
      if (GetCapture() == hwnd) ReleaseCapture();
      InvalidateRect(hwnd, nullptr, FALSE);
      if (pressed >= 0 && ButtonAt(bar, GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)) == pressed)
        SendMessageA(bar->owner, WM_COMMAND, kCommands[pressed], reinterpret_cast<LPARAM>(hwnd));
      return 0;
    }
    case WM_KEYDOWN:
      if (wParam == VK_ESCAPE) {
        SendMessageA(bar->owner, WM_CLOSE, 0, 0);
        return 0;
      }
      break;
    case WM_DISPLAYCHANGE:
      PlaceAtBottomCentre(hwnd, LOWORD(lParam), HIWORD(lParam));
      return 0;
    default:
      break;
  }
  return DefWindowProcA(hwnd, message, wParam, lParam);
}

bool EnsureBarClassRegistered() {
  static bool registered = false;
  if (registered) return true;
  WNDCLASSA wc = {};
  wc.style = CS_HREDRAW | CS_VREDRAW;
  wc.lpfnWndProc = BarProc;
  wc.hInstance = g_app.instance ? g_app.instance : GetModuleHandleA(nullptr);
  wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
  wc.lpszClassName = kBarClass;
  registered = RegisterClassA(&wc) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
  return registered;
}

}  // namespace

HWND CreatePanoBar(HWND viewer, int screenWidth, int screenHeight, const int* zoomInState,
                   const int* zoomOutState) {
  if (!EnsureBarClassRegistered()) return nullptr;
  auto* bar = new Bar;
  bar->owner = viewer;
  bar->zoomInState = zoomInState;
  bar->zoomOutState = zoomOutState;
  HWND hwnd = CreateWindowExA(0, kBarClass, "", WS_POPUP, (screenWidth - kBarWidth) / 2,
                              screenHeight - kBarHeight, kBarWidth, kBarHeight, viewer, nullptr,
                              g_app.instance ? g_app.instance : GetModuleHandleA(nullptr), bar);
  if (!hwnd && !bar->attached) delete bar;
  return hwnd;
}

}  // namespace vmd
