// "PanoViewer Window": the full-screen 360-degree view of the current image.
// The re-projection and the viewer's rules live in viewer_state and
// view_tables; this file turns messages into calls of them.
#include <windows.h>
#include <windowsx.h>

#include <string>

#include "app_state.h"
#include "pano_viewer.h"
#include "viewer_state.h"
#include "zoom_bar_window.h"

namespace vmd {

namespace {

constexpr char kViewerClass[] = "PanoViewer Window";
constexpr UINT kStringLandscapeOnly = 50101;
constexpr UINT kStringFrameImage = 50115;
constexpr char kBarClass[] = "DetailWindowPano";
constexpr UINT kStringBarImage = 50036;    ///< "detail.log"
constexpr UINT kStringBarButtons = 50049;  ///< "detail.btn"
constexpr int kFrameBand = 4;  ///< width of each border of the frame image
/// Posted to the main window when the viewer has closed. wParam, lParam: 0.
constexpr UINT kViewerClosed = WM_USER + 502;

/// The one open viewer; owned by its window from creation to WM_NCDESTROY.
struct Viewer {
  HWND main = nullptr;
  HWND window = nullptr;
  HWND bar = nullptr;
  HGLOBAL converted = nullptr;  ///< a 24-bit copy of an 8-bit source; owned
  ViewerState state;
  int screenWidth = 0;
  int screenHeight = 0;
  bool dragging = false;
  POINT downPoint = {};
  POINT lastPoint = {};
  HCURSOR cursor = nullptr;  ///< shown while the mouse is over the window
};
Viewer* g_viewer = nullptr;

Viewer* ViewerOf(HWND hwnd) {
  return reinterpret_cast<Viewer*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
}

HINSTANCE Instance() { return g_app.instance ? g_app.instance : GetModuleHandleA(nullptr); }

/// A cursor resource of the program, or the arrow when the program lacks it.
HCURSOR ViewerCursor(int id) {
  HCURSOR cursor = LoadCursor(Instance(), MAKEINTRESOURCE(id));
  return cursor ? cursor : LoadCursor(nullptr, IDC_ARROW);
}

void ShowCursorOf(Viewer* v, HCURSOR cursor) {
  v->cursor = cursor;
  SetCursor(cursor);
}

/// The 536 x 298 viewport centred on the screen, in window coordinates.
RECT Viewport(const Viewer* v) {
  const int left = (v->screenWidth - kViewWidth) / 2;
  const int top = (v->screenHeight - kViewHeight) / 2;
  return RECT{left, top, left + kViewWidth, top + kViewHeight};
}

bool InViewport(const Viewer* v, int x, int y) {
  const RECT r = Viewport(v);
  const POINT p{x, y};
  return PtInRect(&r, p) != FALSE;
}

void DrawView(const Viewer* v, HDC dc) {
  if (!v->state.view) return;
  const auto* info = static_cast<const BITMAPINFO*>(GlobalLock(v->state.view));
  if (!info) return;
  const RECT r = Viewport(v);
  SetDIBitsToDevice(dc, r.left, r.top, kViewWidth, kViewHeight, 0, 0, 0, kViewHeight,
                    reinterpret_cast<const BYTE*>(info) + info->bmiHeader.biSize, info,
                    DIB_RGB_COLORS);
  GlobalUnlock(v->state.view);
}

/// The frame around the viewport: the four 4-pixel borders of the skin image
/// "panovw.log", placed as the whole image would stand centred on the screen,
/// and black everywhere outside it. Without the image the frame is black too.
void DrawFrame(const Viewer* v, HDC dc) {
  HGLOBAL frame = ReadUiImage(kStringFrameImage);
  RECT inner = Viewport(v);
  const auto* info = frame ? static_cast<const BITMAPINFO*>(GlobalLock(frame)) : nullptr;
  if (info) {
    const int w = info->bmiHeader.biWidth;
    const int h = info->bmiHeader.biHeight;
    const RECT at{(v->screenWidth - w) / 2, (v->screenHeight - h) / 2, (v->screenWidth - w) / 2 + w,
                  (v->screenHeight - h) / 2 + h};
    DWORD colours = info->bmiHeader.biClrUsed;
    if (colours == 0 && info->bmiHeader.biBitCount <= 8) colours = 1u << info->bmiHeader.biBitCount;
    const auto* bits =
        reinterpret_cast<const BYTE*>(info) + info->bmiHeader.biSize + colours * sizeof(RGBQUAD);
    // Bands as (x, y, width, height) in the image, rows from the top.
    const int bands[4][4] = {{0, 0, w, kFrameBand},
                             {0, 0, kFrameBand, h},
                             {0, h - kFrameBand, w, kFrameBand},
                             {w - kFrameBand, 0, kFrameBand, h}};
    for (const auto& b : bands) {
      // A bottom-up DIB counts source rows from its lower edge.
      StretchDIBits(dc, at.left + b[0], at.top + b[1], b[2], b[3], b[0], h - b[1] - b[3], b[2],
                    b[3], bits, info, DIB_RGB_COLORS, SRCCOPY);
    }
    inner = at;
    GlobalUnlock(frame);
  }
  if (frame) GlobalFree(frame);
  HBRUSH black = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
  const RECT bands[4] = {{0, 0, v->screenWidth, inner.top},
                         {0, inner.top, inner.left, inner.bottom},
                         {inner.right, inner.top, v->screenWidth, inner.bottom},
                         {0, inner.bottom, v->screenWidth, v->screenHeight}};
  for (const RECT& r : bands) FillRect(dc, &r, black);
}

void Step(Viewer* v) {
  ViewStep(&v->state);
  const RECT r = Viewport(v);
  InvalidateRect(v->window, &r, FALSE);
  UpdateWindow(v->window);
}

/// The bar's zoom buttons follow the viewer's button states.
void UpdateBar(const Viewer* v) {
  if (!v->bar) return;
  SetZoomBarDisabled(v->bar, (v->state.zoomInState == 2 ? kZoomInOff : 0u) |
                                 (v->state.zoomOutState == 2 ? kZoomOutOff : 0u));
}

void OnCommand(Viewer* v, WORD id) {
  switch (id) {
    case kZoomBarZoomIn:
      ZoomIn(&v->state);
      break;
    case kZoomBarZoomOut:
      ZoomOut(&v->state);
      break;
    case kZoomBarClose:
      // The bar goes with the viewer; both handles are forgotten.
      PostMessageA(v->window, WM_CLOSE, 0, 0);
      return;
    default:
      return;
  }
  UpdateBar(v);
  SendMessageA(v->window, kMsgViewStep, 0, 0);
}

void OnLButtonDown(Viewer* v, int x, int y) {
  RECT clip = Viewport(v);
  MapWindowPoints(v->window, nullptr, reinterpret_cast<POINT*>(&clip), 2);
  ClipCursor(&clip);
  SetCapture(v->window);
  v->dragging = true;
  v->downPoint = v->lastPoint = POINT{x, y};
  if (InViewport(v, x, y)) ShowCursorOf(v, ViewerCursor(kCursorGrab));
}

void OnMouseMove(Viewer* v, int x, int y, WPARAM keys) {
  const bool inside = InViewport(v, x, y);
  if (keys & MK_LBUTTON) {
    if (!inside) return;
    v->state.stepX = DragStep(v->downPoint.x, x);
    v->state.stepY = DragStep(v->downPoint.y, y);
    v->lastPoint = POINT{x, y};
    ShowCursorOf(v, ViewerCursor(DragCursor(v->state.stepX, v->state.stepY,
                                            v->state.pose.atTiltLimit != 0)));
    SendMessageA(v->window, kMsgViewStep, 0, 0);
    return;
  }
  if (inside) {
    if (GetCapture() != v->window) SetCapture(v->window);
    ShowCursorOf(v, ViewerCursor(kCursorHand));
  } else {
    if (GetCapture() == v->window) ReleaseCapture();
    ShowCursorOf(v, LoadCursor(nullptr, IDC_ARROW));
  }
}

void OnLButtonUp(Viewer* v, int x, int y) {
  ClipCursor(nullptr);
  v->dragging = false;
  v->state.stepX = 0;
  v->state.stepY = 0;
  v->lastPoint = POINT{x, y};
  if (InViewport(v, x, y)) ShowCursorOf(v, ViewerCursor(kCursorHand));
  ReleaseCapture();
  // The viewer keeps the keyboard; its bar is never activated (zoom_bar_window.h).
  SetFocus(v->window);
}

void OnDisplayChange(Viewer* v, int width, int height) {
  v->screenWidth = width;
  v->screenHeight = height;
  MoveWindow(v->window, 0, 0, width, height, FALSE);
  FreeViewTables(&v->state.tables);
  BuildViewTables(v->state.width, v->state.height, v->state.zoom, &v->state.tables);
  SendMessageA(v->window, kMsgViewStep, 0, 0);
  RedrawWindow(v->window, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_UPDATENOW);
}

void OnPaint(Viewer* v) {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(v->window, &ps);
  const RECT viewport = Viewport(v);
  RECT inside;
  IntersectRect(&inside, &ps.rcPaint, &viewport);
  // Only the view unless something outside it needs drawing too (the window
  // has no non-client area of its own that would be repainted).
  if (!EqualRect(&inside, &ps.rcPaint)) DrawFrame(v, dc);
  DrawView(v, dc);
  EndPaint(v->window, &ps);
}

void OnDestroy(Viewer* v) {
  ClipCursor(nullptr);
  if (GetCapture() == v->window) ReleaseCapture();
  CloseViewerState(&v->state);
  if (v->converted) GlobalFree(v->converted);
  v->converted = nullptr;
  if (g_viewer == v) g_viewer = nullptr;
  if (v->main) PostMessageA(v->main, kViewerClosed, 0, 0);
}

LRESULT CALLBACK ViewerProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  Viewer* v = ViewerOf(hwnd);
  if (message == WM_NCCREATE) {
    auto* create = reinterpret_cast<CREATESTRUCTA*>(lParam);
    v = static_cast<Viewer*>(create->lpCreateParams);
    v->window = hwnd;
    SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(v));
  }
  if (!v) return DefWindowProcA(hwnd, message, wParam, lParam);
  switch (message) {
    case WM_CREATE:
      ViewStep(&v->state);
      return 0;
    case kMsgViewStep:
      Step(v);
      return 0;
    case WM_COMMAND:
      OnCommand(v, LOWORD(wParam));
      return 0;
    case WM_NCPAINT: {
      HDC dc = GetWindowDC(hwnd);
      DrawFrame(v, dc);
      DrawView(v, dc);
      ReleaseDC(hwnd, dc);
      return 0;
    }
    case WM_PAINT:
      OnPaint(v);
      return 0;
    case WM_ERASEBKGND:
      return 1;
    case WM_SETCURSOR:
      if (LOWORD(lParam) == HTCLIENT && v->cursor) {
        SetCursor(v->cursor);
        return TRUE;
      }
      break;
    case WM_LBUTTONDOWN:
      OnLButtonDown(v, GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
      return 0;
    case WM_MOUSEMOVE:
      OnMouseMove(v, GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam), wParam);
      return 0;
    case WM_LBUTTONUP:
      OnLButtonUp(v, GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
      return 0;
    case WM_KEYDOWN:
      if (wParam == VK_ESCAPE) {
        SendMessageA(hwnd, WM_CLOSE, 0, 0);
        return 0;
      }
      break;
    case WM_DISPLAYCHANGE:
      OnDisplayChange(v, LOWORD(lParam), HIWORD(lParam));
      return 0;
    case WM_CLOSE:
      if (v->bar) DestroyWindow(v->bar);
      v->bar = nullptr;
      if (GetCapture() == hwnd) ReleaseCapture();
      DestroyWindow(hwnd);
      return 0;
    case WM_DESTROY:
      OnDestroy(v);
      return 0;
    case WM_NCDESTROY:
      SetWindowLongPtrA(hwnd, GWLP_USERDATA, 0);
      delete v;
      break;
    default:
      break;
  }
  return DefWindowProcA(hwnd, message, wParam, lParam);
}

bool EnsureViewerClassRegistered() {
  static bool registered = false;
  if (registered) return true;
  WNDCLASSA wc = {};
  wc.style = CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS;
  wc.lpfnWndProc = ViewerProc;
  wc.hInstance = Instance();
  wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
  wc.lpszClassName = kViewerClass;
  registered = RegisterClassA(&wc) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
  return registered;
}

}  // namespace

void ViewPanoramaCommand(HWND main, HGLOBAL image) {
  if (!image) return;
  const auto* header = static_cast<const BITMAPINFOHEADER*>(GlobalLock(image));
  if (!header) return;
  if (GlobalSize(image) < sizeof(BITMAPINFOHEADER)) {
    GlobalUnlock(image);
    return;
  }
  const bool portrait = static_cast<WORD>(header->biWidth) < static_cast<WORD>(header->biHeight);
  GlobalUnlock(image);
  if (portrait) {
    MessageBoxA(main, LoadUiString(kStringLandscapeOnly).c_str(),
                LoadUiString(kStringWarning).c_str(), MB_OK);
    return;
  }
  OpenPanoramaViewer(main, image);
}

bool OpenPanoramaViewer(HWND main, HGLOBAL image) {
  ClosePanoramaViewer();
  auto* v = new Viewer;
  v->main = main;
  v->converted = ExpandPalette8To24(image);
  if (!OpenViewerState(v->converted ? v->converted : image, &v->state)) {
    if (v->converted) GlobalFree(v->converted);
    delete v;
    return false;
  }
  v->screenWidth = GetSystemMetrics(SM_CXSCREEN);
  v->screenHeight = GetSystemMetrics(SM_CYSCREEN);
  if (!EnsureViewerClassRegistered()) {
    CloseViewerState(&v->state);
    if (v->converted) GlobalFree(v->converted);
    delete v;
    return false;
  }
  g_viewer = v;
  HWND window = CreateWindowExA(0, kViewerClass, "", WS_POPUP | WS_CLIPCHILDREN, 0, 0,
                                v->screenWidth, v->screenHeight, main, nullptr, Instance(), v);
  if (!window) {
    // Past WM_NCCREATE the window's destruction has freed the record.
    if (g_viewer == v && !v->window) {
      CloseViewerState(&v->state);
      if (v->converted) GlobalFree(v->converted);
      delete v;
    }
    g_viewer = nullptr;
    return false;
  }
  v->bar = CreateZoomBar(kBarClass, kDetailBar, window, v->screenWidth, v->screenHeight,
                         ReadUiImage(kStringBarImage), ReadUiImage(kStringBarButtons));
  UpdateBar(v);
  ShowWindow(window, SW_SHOW);
  UpdateWindow(window);
  if (v->bar) {
    ShowWindow(v->bar, SW_SHOWNOACTIVATE);
    UpdateWindow(v->bar);
  }
  SetFocus(window);
  return true;
}

void ClosePanoramaViewer() {
  if (g_viewer && g_viewer->window) SendMessageA(g_viewer->window, WM_CLOSE, 0, 0);
}

HWND PanoramaViewerWindow() { return g_viewer ? g_viewer->window : nullptr; }

}  // namespace vmd
