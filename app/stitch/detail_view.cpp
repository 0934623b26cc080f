#include "detail_view.h"

#include "app_state.h"
#include "detail_geometry.h"
#include "image_ops.h"
#include "zoom_bar_window.h"
#include "window_class.h"

namespace vmd {

namespace {

constexpr char kMaxClass[] = "MaxWindow";
constexpr char kBarClass[] = "DetailWindow";
constexpr UINT kStringBarImage = 50103;    ///< "pano.log"
constexpr UINT kStringBarButtons = 50104;  ///< "pano.btn"

/// The full view's state while it is open.
struct DetailState {
  HWND max = nullptr;
  HWND bar = nullptr;
  HWND owner = nullptr;
  HGLOBAL image = nullptr;  ///< not owned
  int imageW = 0, imageH = 0;
  int screenW = 0, screenH = 0;
  int step = kDetailMinStep;
  POINT pan = {};
  bool dragging = false;
  POINT dragStart = {};
  POINT panStart = {};
};
DetailState g_detail;

DetailPlacement Placement() {
  return PlaceDetail(g_detail.imageW, g_detail.imageH, g_detail.screenW, g_detail.screenH, g_detail.step,
                     g_detail.pan);
}

void PaintMax(HWND window) {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(window, &ps);
  DetailPlacement p = Placement();
  HBRUSH black = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
  RECT bands[4] = {{0, 0, g_detail.screenW, p.dest.top},
                   {0, p.dest.bottom, g_detail.screenW, g_detail.screenH},
                   {0, p.dest.top, p.dest.left, p.dest.bottom},
                   {p.dest.right, p.dest.top, g_detail.screenW, p.dest.bottom}};
  for (const RECT& band : bands)
    if (band.right > band.left && band.bottom > band.top) FillRect(dc, &band, black);
  if (void* block = GlobalLock(g_detail.image)) {
    const auto* info = static_cast<const BITMAPINFO*>(block);
    const BITMAPINFOHEADER& h = info->bmiHeader;
    int colours = h.biBitCount <= 8 ? (h.biClrUsed ? static_cast<int>(h.biClrUsed) : 1 << h.biBitCount) : 0;
    const BYTE* bits = static_cast<const BYTE*>(block) + h.biSize + colours * sizeof(RGBQUAD);
    SetStretchBltMode(dc, COLORONCOLOR);
    // Source rows count from the bottom of a bottom-up DIB.
    StretchDIBits(dc, p.dest.left, p.dest.top, p.dest.right - p.dest.left, p.dest.bottom - p.dest.top,
                  p.source.left, g_detail.imageH - p.source.bottom, p.source.right - p.source.left,
                  p.source.bottom - p.source.top, bits, info, DIB_RGB_COLORS, SRCCOPY);
    GlobalUnlock(g_detail.image);
  }
  EndPaint(window, &ps);
}

/// The bar's zoom buttons: off at the last step each way.
void UpdateBar() {
  if (g_detail.bar == nullptr) return;
  unsigned disabled = 0;
  if (g_detail.step >= kDetailMaxStep) disabled |= kZoomInOff;
  if (g_detail.step <= kDetailMinStep) disabled |= kZoomOutOff;
  SetZoomBarDisabled(g_detail.bar, disabled);
}

void Zoom(int newStep) {
  if (newStep == g_detail.step) return;
  g_detail.pan = PanAfterZoom(g_detail.imageW, g_detail.imageH, g_detail.screenW, g_detail.screenH,
                              g_detail.step, newStep, g_detail.pan);
  g_detail.step = newStep;
  g_detail.pan = Placement().pan;
  InvalidateRect(g_detail.max, nullptr, FALSE);
  UpdateBar();
}

/// Keys of both windows: Esc leaves, plus and minus zoom.
bool OnKey(WPARAM key) {
  switch (key) {
    case VK_ESCAPE: CloseDetailView(); return true;
    case VK_ADD:
    case VK_OEM_PLUS: Zoom(DetailZoomIn(g_detail.step)); return true;
    case VK_SUBTRACT:
    case VK_OEM_MINUS: Zoom(DetailZoomOut(g_detail.step)); return true;
    default: return false;
  }
}

HCURSOR HandCursor() {
  if (HCURSOR own = LoadCursorA(g_app.instance, MAKEINTRESOURCEA(180))) return own;
  return LoadCursorA(nullptr, IDC_ARROW);
}

POINT PointOf(LPARAM lParam) { return {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))}; }

LRESULT CALLBACK MaxProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_ERASEBKGND:
      return 1;  // every pixel is painted
    case WM_PAINT:
      PaintMax(window);
      return 0;
    case WM_KEYDOWN:
      if (OnKey(wParam)) return 0;
      break;
    case WM_COMMAND:
      switch (LOWORD(wParam)) {
        case kZoomBarClose: CloseDetailView(); break;
        case kZoomBarZoomIn: Zoom(DetailZoomIn(g_detail.step)); break;
        case kZoomBarZoomOut: Zoom(DetailZoomOut(g_detail.step)); break;
        default: break;
      }
      return 0;
    case WM_LBUTTONDOWN:
      SetCapture(window);
      g_detail.dragging = true;
      g_detail.dragStart = PointOf(lParam);
      g_detail.panStart = g_detail.pan;
      SetCursor(HandCursor());
      return 0;
    case WM_MOUSEMOVE:
      if (g_detail.dragging) {
        POINT p = PointOf(lParam);
        g_detail.pan = {g_detail.panStart.x - (p.x - g_detail.dragStart.x),
                        g_detail.panStart.y - (p.y - g_detail.dragStart.y)};
        g_detail.pan = Placement().pan;
        InvalidateRect(window, nullptr, FALSE);
        SetCursor(HandCursor());
      }
      return 0;
    case WM_LBUTTONUP:
      g_detail.dragging = false;
      if (GetCapture() == window) ReleaseCapture();
      SetCursor(LoadCursorA(nullptr, IDC_ARROW));
      return 0;
    case WM_DESTROY: {
      if (g_detail.bar != nullptr) DestroyWindow(g_detail.bar);
      HWND owner = g_detail.owner;
      g_detail = DetailState();
      g_app.fullViewWindows[0] = g_app.fullViewWindows[1] = nullptr;
      if (owner != nullptr) PostMessageA(owner, kMsgFullViewClosed, 0, 0);
      return 0;
    }
    default:
      break;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

void EnsureClassesRegistered() {
  WindowClassLook look;
  look.style = CS_DBLCLKS;
  RegisterProgramClass(kMaxClass, MaxProc, look);
}

}  // namespace

bool ShowDetailView(HWND owner, HGLOBAL image) {
  int w = 0, h = 0;
  if (g_detail.max != nullptr || !DibSize(image, &w, &h) || w < 1 || h < 1) return false;
  HINSTANCE instance = GetModuleHandleA(nullptr);
  EnsureClassesRegistered();
  g_detail = DetailState();
  g_detail.owner = owner;
  g_detail.image = image;
  g_detail.imageW = w;
  g_detail.imageH = h;
  g_detail.screenW = GetSystemMetrics(SM_CXSCREEN);
  g_detail.screenH = GetSystemMetrics(SM_CYSCREEN);
  g_detail.max = CreateWindowExA(0, kMaxClass, "", WS_POPUP | WS_VISIBLE, 0, 0, g_detail.screenW,
                                 g_detail.screenH, owner, nullptr, instance, nullptr);
  if (g_detail.max == nullptr) {
    g_detail = DetailState();
    return false;
  }
  g_detail.bar = CreateZoomBar(kBarClass, kPanoBar, g_detail.max, g_detail.screenW, g_detail.screenH,
                               ReadUiImage(kStringBarImage), ReadUiImage(kStringBarButtons));
  UpdateBar();
  if (g_detail.bar != nullptr) ShowWindow(g_detail.bar, SW_SHOWNOACTIVATE);
  g_app.fullViewWindows[0] = g_detail.max;
  g_app.fullViewWindows[1] = g_detail.bar;
  SetForegroundWindow(g_detail.max);
  SetFocus(g_detail.max);
  return true;
}

void CloseDetailView() {
  if (g_detail.max != nullptr) DestroyWindow(g_detail.max);
}

int DetailViewStep() { return g_detail.max != nullptr ? g_detail.step : 0; }

}  // namespace vmd
