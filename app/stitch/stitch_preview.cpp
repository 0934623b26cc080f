#include "stitch_preview.h"

#include <algorithm>

#include "app_state.h"
#include "control_services.h"
#include "fine_tune_window.h"
#include "image_ops.h"
#include "preview_geometry.h"
#include "stitch_plan.h"
#include "stitch_session.h"
#include "window_class.h"

namespace vmd {

namespace {

constexpr char kPreviewClass[] = "StitchPreview Window";
constexpr int kZoomInButton = 704;
constexpr int kZoomOutButton = 705;
constexpr int kPickButton = 707;
constexpr int kHandCursor = 180;
constexpr int kPannableCursor = 201;
constexpr int kRowPairCursor = 237;
constexpr int kColumnPairCursor = 238;

struct PreviewState {
  HWND window = nullptr;
  HGLOBAL plain = nullptr;   ///< the copy of the panorama
  HGLOBAL washed = nullptr;  ///< the copy washed out outside cropRect (24-bit only)
  HGLOBAL reduced = nullptr; ///< the shown image reduced by reducedFactor, for the zoomed view
  int reducedFactor = 0;
  bool reducedWashed = false;
  int width = 0, height = 0;
  RECT cropRect = {};
  bool autoCrop = true;
  PreviewView view;
  PreviewLayout layout = {};
  bool panning = false;
  int dragCount = 0;
  POINT last = {};
  bool pickMode = false;
  int pickKind = 0;
  LONG pair[4] = {-1, -1, -1, -1};
};

PreviewState g_preview;

HGLOBAL Shown() { return g_preview.autoCrop && g_preview.washed != nullptr ? g_preview.washed : g_preview.plain; }

void FreeImage(HGLOBAL* image) {
  if (*image != nullptr) GlobalFree(*image);
  *image = nullptr;
}

void Relayout() {
  RECT client;
  GetClientRect(g_preview.window, &client);
  g_preview.layout = LayoutPreview(g_preview.view, g_preview.width, g_preview.height, client.right, client.bottom);
  g_preview.view.scrollX = g_preview.layout.scrollX;
  g_preview.view.scrollY = g_preview.layout.scrollY;
  if (g_preview.view.fitMode) g_preview.view.factor = g_preview.layout.factor;
}

HCURSOR ProgramCursor(int id) { return LoadCursor(g_app.instance, MAKEINTRESOURCE(id)); }

HGLOBAL ReducedImage() {
  const bool washed = Shown() == g_preview.washed;
  if (g_preview.reduced == nullptr || g_preview.reducedFactor != g_preview.view.factor ||
      g_preview.reducedWashed != washed) {
    FreeImage(&g_preview.reduced);
    const int f = g_preview.view.factor;
    g_preview.reduced = f == 1 ? DuplicateDib(Shown())
                               : ResizeDib(Shown(), std::max(1, g_preview.width / f), std::max(1, g_preview.height / f));
    g_preview.reducedFactor = f;
    g_preview.reducedWashed = washed;
  }
  return g_preview.reduced;
}

void Paint(HWND window) {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(window, &ps);
  Relayout();
  RECT client;
  GetClientRect(window, &client);
  const PreviewLayout& l = g_preview.layout;
  if (g_preview.view.fitMode) {
    if (l.scaled) {
      RECT drawn;
      if (DrawDibFitted(dc, Shown(), client, &drawn)) g_preview.layout.imageRect = drawn;
    } else {
      DrawDib(dc, Shown(), l.imageRect.left, l.imageRect.top);
    }
  } else if (HGLOBAL reduced = ReducedImage()) {
    // Through an off-screen bitmap, so that panning does not flicker.
    HDC memory = CreateCompatibleDC(dc);
    HBITMAP bitmap = CreateCompatibleBitmap(dc, client.right, client.bottom);
    HGDIOBJ old = SelectObject(memory, bitmap);
    FillRect(memory, &client, g_app.mainBrush != nullptr ? g_app.mainBrush : static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    IntersectClipRect(memory, l.imageRect.left, l.imageRect.top, l.imageRect.right, l.imageRect.bottom);
    DrawDib(memory, reduced, l.imageRect.left - l.scrollX, l.imageRect.top - l.scrollY);
    BitBlt(dc, 0, 0, client.right, client.bottom, memory, 0, 0, SRCCOPY);
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
  }
  EndPaint(window, &ps);
}

void Repaint() {
  if (g_preview.window == nullptr) return;
  Relayout();
  InvalidateRect(g_preview.window, nullptr, TRUE);
}

bool Pannable() { return g_preview.layout.pannableX || g_preview.layout.pannableY; }

void LocateAt(POINT window) {
  StitchSession& session = TheStitchSession();
  const POINT at = PreviewToPanorama(g_preview.layout, g_preview.view.factor, g_preview.view.fitMode,
                                     g_preview.width, g_preview.height, window);
  if (session.engine.matrix.elements == nullptr) {
    g_preview.pickKind = 0;
    return;
  }
  Locate(&session.engine.matrix, &session.engine.options, at, &g_preview.pair[0], &g_preview.pair[1],
         &g_preview.pair[2], &g_preview.pair[3]);
  g_preview.pickKind = PickKindOf(g_preview.pair[0], g_preview.pair[1], g_preview.pair[2], g_preview.pair[3]);
}

HCURSOR CursorAt(POINT window) {
  if (g_preview.panning) return ProgramCursor(kHandCursor);
  const bool onImage = PointOnImage(g_preview.layout, window);
  if (g_preview.pickMode && onImage) {
    if (g_preview.pickKind == 1) return ProgramCursor(kRowPairCursor);
    if (g_preview.pickKind == 2) return ProgramCursor(kColumnPairCursor);
  } else if (onImage && Pannable()) {
    return ProgramCursor(kPannableCursor);
  }
  return LoadCursor(nullptr, IDC_ARROW);
}

void MouseMove(HWND window, POINT at, WPARAM keys) {
  if (g_preview.panning && (keys & MK_LBUTTON)) {
    if (g_preview.dragCount == 0) SetCapture(window);
    g_preview.dragCount = std::min(10, g_preview.dragCount + 1);
    g_preview.view.scrollX -= at.x - g_preview.last.x;
    g_preview.view.scrollY -= at.y - g_preview.last.y;
    g_preview.last = at;
    Relayout();
    InvalidateRect(window, nullptr, FALSE);
    return;
  }
  if (g_preview.pickMode) {
    LocateAt(at);
    SetCursor(CursorAt(at));
  }
}

void ButtonDown(POINT at) {
  if (!PointOnImage(g_preview.layout, at)) return;
  if (g_preview.pickMode) {
    if (g_preview.pickKind == 0) return;
    LocateAt(at);
    // Fine tuning closes this window: nothing of it is touched afterwards.
    if (g_preview.pickKind != 0)
      StartFineTuning(g_preview.pair[0], g_preview.pair[1], g_preview.pair[2], g_preview.pair[3]);
    return;
  }
  if (!Pannable()) return;
  g_preview.panning = true;
  g_preview.dragCount = 0;
  g_preview.last = at;
  SetCursor(ProgramCursor(kHandCursor));
}

void ButtonUp(POINT at) {
  if (!g_preview.panning) return;
  ReleaseCapture();
  g_preview.panning = false;
  g_preview.dragCount = 0;
  SetCursor(PointOnImage(g_preview.layout, at) ? ProgramCursor(kPannableCursor) : LoadCursor(nullptr, IDC_ARROW));
}

POINT PointOf(LPARAM lParam) {
  return POINT{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
}

LRESULT CALLBACK PreviewProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PAINT:
      Paint(window);
      return 0;
    case WM_MOUSEMOVE:
      MouseMove(window, PointOf(lParam), wParam);
      return 0;
    case WM_LBUTTONDOWN:
      ButtonDown(PointOf(lParam));
      return 0;
    case WM_LBUTTONUP:
      ButtonUp(PointOf(lParam));
      return 0;
    case WM_SETCURSOR:
      if (LOWORD(lParam) == HTCLIENT) {
        POINT at;
        GetCursorPos(&at);
        ScreenToClient(window, &at);
        SetCursor(CursorAt(at));
        return TRUE;
      }
      break;
    case WM_DESTROY:
      FreeImage(&g_preview.plain);
      FreeImage(&g_preview.washed);
      FreeImage(&g_preview.reduced);
      g_preview.window = nullptr;
      return 0;
    default:
      break;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

void RegisterPreviewClass() {
  WindowClassLook look;
  look.style = CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS;
  look.background = RGB(201, 200, 213);
  RegisterProgramClass(kPreviewClass, PreviewProc, look);
}

void ApplyButton(int id, ButtonChange change) {
  if (change == ButtonChange::kEnable) EnableControl(id);
  if (change == ButtonChange::kDisable) DisableControl(id);
}

void Zoom(const ZoomStep& step) {
  if (g_preview.window == nullptr) return;
  ApplyButton(kZoomInButton, step.zoomIn);
  ApplyButton(kZoomOutButton, step.zoomOut);
  g_preview.view.factor = step.factor;
  g_preview.view.fitMode = false;
  g_preview.view.scrollX = g_preview.view.scrollY = 0;
  Repaint();
}

}  // namespace

bool ShowStitchPreview(HWND parent, const RECT& area, HGLOBAL panorama, const RECT& blendRect) {
  if (g_preview.window != nullptr) ClosePreview(kPreviewCloseOnly, nullptr);
  RegisterPreviewClass();
  HCURSOR previous = SetCursor(LoadCursor(nullptr, IDC_WAIT));
  g_preview.plain = DuplicateDib(panorama);
  g_preview.pickMode = false;
  g_preview.pickKind = 0;
  DibSize(g_preview.plain, &g_preview.width, &g_preview.height);
  const int areaW = area.right - area.left + 1, areaH = area.bottom - area.top + 1;
  if (ZoomInStartsDisabled(g_preview.width, g_preview.height, areaW, areaH, g_preview.view.factor))
    DisableControl(kZoomInButton);
  g_preview.cropRect = CropRectTopDown(blendRect, g_preview.height);
  // Only 24-bit panoramas get the washed-out look; others show the plain copy.
  g_preview.washed = WashOutside(g_preview.plain, g_preview.cropRect);
  g_preview.window = CreateWindowExA(0, kPreviewClass, "", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, area.left, area.top,
                                     areaW, areaH, parent, nullptr, g_app.instance, nullptr);
  SetCursor(previous);
  if (g_preview.window == nullptr) {
    FreeImage(&g_preview.plain);
    FreeImage(&g_preview.washed);
    return false;
  }
  Relayout();
  UpdateWindow(g_preview.window);
  return true;
}

void ClosePreview(int mode, HGLOBAL* image) {
  if (image != nullptr) *image = nullptr;
  if (mode == kPreviewCloseWithImage && image != nullptr && g_preview.plain != nullptr)
    *image = g_preview.autoCrop ? CropDib(g_preview.plain, g_preview.cropRect) : DuplicateDib(g_preview.plain);
  if (mode == kPreviewCloseWithImage || mode == kPreviewCloseAndReset) {
    g_preview.view.fitMode = true;
    EnableControl(kZoomInButton);
    EnableControl(kZoomOutButton);
    g_preview.layout.pannableX = g_preview.layout.pannableY = false;
  }
  g_preview.pickMode = false;
  SetControlChecked(kPickButton, false);
  if (g_preview.window != nullptr) DestroyWindow(g_preview.window);
}

void ToggleAutoCrop() {
  g_preview.autoCrop = !g_preview.autoCrop;
  Repaint();
}

void PreviewZoomOut() { Zoom(PreviewZoomOutStep(g_preview.view.factor)); }
void PreviewZoomIn() { Zoom(PreviewZoomInStep(g_preview.view.factor)); }

void TogglePickMode() {
  g_preview.pickMode = !g_preview.pickMode;
  g_preview.pickKind = 0;
}

}  // namespace vmd
