#include "fine_tune_window.h"

#include <algorithm>
#include <string>

#include "app_state.h"
#include "commands.h"
#include "control_services.h"
#include "dib_access.h"
#include "fine_tune_geometry.h"
#include "image_ops.h"
#include "pixio.h"
#include "settings.h"
#include "stitch_preview.h"
#include "stitch_session.h"
#include "ui_image_layout.h"
#include "window_class.h"

namespace vmd {

namespace {

constexpr const char* kClassNames[2] = {"FineTuning Window 1", "FineTuning Window 2"};
constexpr int kWindowPlaces[2] = {800, 801};
constexpr int kZoomInButton = 804;
constexpr int kZoomOutButton = 805;
constexpr int kMarkerCursors[3] = {224, 235, 233};
constexpr int kHandCursor = 180;
constexpr int kPannableCursor = 201;
constexpr int kExtentMargin = 32;
constexpr UINT kExactPositionMessage = 50133;

struct FineTuneState {
  StitchElement* element = nullptr;  ///< owns the join's control points
  bool horizontal = true;
  HGLOBAL photo[2] = {nullptr, nullptr};
  HGLOBAL view[2] = {nullptr, nullptr};
  HGLOBAL markImage[3] = {nullptr, nullptr, nullptr};
  double scale = 1.0;
  double minScale = 1.0;
  MarkerSet markers = {};
  int activeMarker = 1;
  HWND window[2] = {nullptr, nullptr};
  POINT scroll[2] = {};
  int dragMarker = -1;  ///< 0..2 while a marker is held
  bool panning = false;
  POINT last = {};
};

FineTuneState g_tune;

POINT* MarkersOf(int w) { return w == 0 ? g_tune.markers.first : g_tune.markers.second; }

SIZE ViewSize(int w) {
  SIZE s{0, 0};
  int width = 0, height = 0;
  if (DibSize(g_tune.view[w], &width, &height)) s = SIZE{width, height};
  return s;
}

SIZE ClientSize(int w) {
  RECT r{};
  if (g_tune.window[w] != nullptr) GetClientRect(g_tune.window[w], &r);
  return SIZE{r.right, r.bottom};
}

int ClampScroll(int scroll, int extent, int window) {
  if (extent <= window) return -((window - extent) / 2);
  return std::max(0, std::min(scroll, extent - window));
}

bool Pannable(int w) {
  const SIZE v = ViewSize(w), c = ClientSize(w);
  return v.cx + kExtentMargin > c.cx || v.cy + kExtentMargin > c.cy;
}

void ClampScrolls(int w) {
  const SIZE v = ViewSize(w), c = ClientSize(w);
  g_tune.scroll[w].x = ClampScroll(g_tune.scroll[w].x, v.cx + kExtentMargin, c.cx);
  g_tune.scroll[w].y = ClampScroll(g_tune.scroll[w].y, v.cy + kExtentMargin, c.cy);
}

void FirstScroll(int w) {
  const SIZE v = ViewSize(w), c = ClientSize(w);
  const POINT* m = MarkersOf(w);
  const LONG minX = std::min({m[0].x, m[1].x, m[2].x}), maxX = std::max({m[0].x, m[1].x, m[2].x});
  const LONG minY = std::min({m[0].y, m[1].y, m[2].y}), maxY = std::max({m[0].y, m[1].y, m[2].y});
  g_tune.scroll[w].x = FineTuneScroll(v.cx + kExtentMargin, c.cx, minX, maxX);
  g_tune.scroll[w].y = FineTuneScroll(v.cy + kExtentMargin, c.cy, minY, maxY);
}

void RepaintBoth() {
  for (HWND window : g_tune.window)
    if (window != nullptr) InvalidateRect(window, nullptr, FALSE);
}

void FreeAll() {
  for (HGLOBAL* image : {&g_tune.photo[0], &g_tune.photo[1], &g_tune.view[0], &g_tune.view[1], &g_tune.markImage[0],
                         &g_tune.markImage[1], &g_tune.markImage[2]}) {
    if (*image != nullptr) GlobalFree(*image);
    *image = nullptr;
  }
}

void BuildViews() {
  for (int w = 0; w < 2; ++w) {
    if (g_tune.view[w] != nullptr) GlobalFree(g_tune.view[w]);
    int width = 0, height = 0;
    DibSize(g_tune.photo[w], &width, &height);
    g_tune.view[w] = ResizeDib(g_tune.photo[w], std::max(1, static_cast<int>(width * g_tune.scale + 0.5)),
                               std::max(1, static_cast<int>(height * g_tune.scale + 0.5)));
  }
}

/// A marker's frame drawn with its colour key: the marker point on `at`.
void DrawMarker(HDC dc, HGLOBAL strip, bool active, POINT at) {
  LockedDib image(strip);
  if (!image.ok || image.bitCount != 24) return;
  const int frameX = active ? kMarkerFrame : 0;
  for (int y = 0; y < kMarkerFrame && y < image.height; ++y) {
    const uint8_t* row = image.TopRow(y);
    for (int x = 0; x < kMarkerFrame && frameX + x < image.width; ++x) {
      const uint32_t rgb = image.ColourAt(row, frameX + x);
      if (rgb == kMarkerKeyColor) continue;
      SetPixel(dc, at.x - kMarkerHotX + x, at.y - kMarkerHotY + y, RGB(rgb >> 16, (rgb >> 8) & 0xFF, rgb & 0xFF));
    }
  }
}

void Paint(int w) {
  HWND window = g_tune.window[w];
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(window, &ps);
  RECT client;
  GetClientRect(window, &client);
  HDC memory = CreateCompatibleDC(dc);
  HBITMAP bitmap = CreateCompatibleBitmap(dc, client.right, client.bottom);
  HGDIOBJ old = SelectObject(memory, bitmap);
  HBRUSH background = CreateSolidBrush(RGB(201, 200, 213));
  FillRect(memory, &client, background);
  DeleteObject(background);
  const POINT s = g_tune.scroll[w];
  DrawDib(memory, g_tune.view[w], -s.x, -s.y);
  const POINT* m = MarkersOf(w);
  for (int k = 0; k < 3; ++k)
    DrawMarker(memory, g_tune.markImage[k], k + 1 == g_tune.activeMarker, POINT{m[k].x - s.x, m[k].y - s.y});
  BitBlt(dc, 0, 0, client.right, client.bottom, memory, 0, 0, SRCCOPY);
  SelectObject(memory, old);
  DeleteObject(bitmap);
  DeleteDC(memory);
  EndPaint(window, &ps);
}

int MarkerAt(int w, POINT client) {
  const POINT* m = MarkersOf(w);
  const POINT at{client.x + g_tune.scroll[w].x, client.y + g_tune.scroll[w].y};
  for (int k = 0; k < 3; ++k) {
    if (std::abs(at.x - m[k].x) <= kMarkerHotX && std::abs(at.y - m[k].y) <= kMarkerHotY) return k;
  }
  return -1;
}

void GrabMarker(int w, int k) {
  HWND window = g_tune.window[w];
  g_tune.activeMarker = k + 1;
  g_tune.dragMarker = k;
  SwitchScreen(FineTuneScreenOf(g_tune.horizontal, k + 1));
  SetCursor(LoadCursor(g_app.instance, MAKEINTRESOURCE(kMarkerCursors[k])));
  const POINT* m = MarkersOf(w);
  POINT onScreen{m[k].x - g_tune.scroll[w].x, m[k].y - g_tune.scroll[w].y};
  ClientToScreen(window, &onScreen);
  SetCursorPos(onScreen.x, onScreen.y);
  // The marker stays on the visible part of the photo, 32 pixels short of
  // its right and bottom ends.
  const SIZE v = ViewSize(w), c = ClientSize(w);
  RECT confine{std::max<LONG>(0, -g_tune.scroll[w].x), std::max<LONG>(0, -g_tune.scroll[w].y),
               std::min<LONG>(c.cx, v.cx - g_tune.scroll[w].x) , std::min<LONG>(c.cy, v.cy - g_tune.scroll[w].y)};
  confine.right = std::max(confine.left + 1, confine.right - kExtentMargin);
  confine.bottom = std::max(confine.top + 1, confine.bottom - kExtentMargin);
  MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&confine), 2);
  ClipCursor(&confine);
  SetCapture(window);
  RepaintBoth();
}

void ButtonDown(int w, POINT at) {
  const int k = MarkerAt(w, at);
  if (k >= 0) {
    GrabMarker(w, k);
    return;
  }
  if (!Pannable(w)) return;
  g_tune.panning = true;
  g_tune.last = at;
  SetCursor(LoadCursor(g_app.instance, MAKEINTRESOURCE(kHandCursor)));
  SetCapture(g_tune.window[w]);
}

void MouseMove(int w, POINT at) {
  if (g_tune.dragMarker >= 0) {
    const SIZE v = ViewSize(w);
    POINT& m = MarkersOf(w)[g_tune.dragMarker];
    m.x = std::max<LONG>(0, std::min<LONG>(v.cx - 1, at.x + g_tune.scroll[w].x));
    m.y = std::max<LONG>(0, std::min<LONG>(v.cy - 1, at.y + g_tune.scroll[w].y));
    InvalidateRect(g_tune.window[w], nullptr, FALSE);
    return;
  }
  if (g_tune.panning) {
    g_tune.scroll[w].x -= at.x - g_tune.last.x;
    g_tune.scroll[w].y -= at.y - g_tune.last.y;
    g_tune.last = at;
    ClampScrolls(w);
    InvalidateRect(g_tune.window[w], nullptr, FALSE);
    return;
  }
  SetCursor(Pannable(w) ? LoadCursor(g_app.instance, MAKEINTRESOURCE(kPannableCursor)) : LoadCursor(nullptr, IDC_ARROW));
}

void ButtonUp() {
  ClipCursor(nullptr);
  ReleaseCapture();
  g_tune.dragMarker = -1;
  g_tune.panning = false;
  SetCursor(LoadCursor(nullptr, IDC_ARROW));
}

int WindowIndex(HWND window) { return window == g_tune.window[1] ? 1 : 0; }

LRESULT CALLBACK FineTuneProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  const POINT at{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
  switch (message) {
    case WM_PAINT:
      Paint(WindowIndex(window));
      return 0;
    case WM_LBUTTONDOWN:
      ButtonDown(WindowIndex(window), at);
      return 0;
    case WM_MOUSEMOVE:
      MouseMove(WindowIndex(window), at);
      return 0;
    case WM_LBUTTONUP:
      ButtonUp();
      return 0;
    case WM_DESTROY:
      g_tune.window[WindowIndex(window)] = nullptr;
      return 0;
    default:
      return DefWindowProcA(window, message, wParam, lParam);
  }
}

void RegisterClasses() {
  WindowClassLook look;
  look.style = CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS;
  look.background = RGB(201, 200, 213);
  for (const char* name : kClassNames) RegisterProgramClass(name, FineTuneProc, look);
}

void LoadMarkerImages() {
  for (int k = 0; k < 3; ++k) {
    const std::string path = Settings().programFolder + "\\UI\\mark" + std::to_string(k + 1) + ".800";
    g_tune.markImage[k] = ImgReadDib(nullptr, path.c_str());
  }
}

/// Markers of a join the engine found no points for: spread across the middle.
MarkerSet SpreadMarkers(int width1, int height1, int width2, int height2) {
  MarkerSet m{};
  for (int k = 0; k < 3; ++k) {
    m.first[k] = POINT{width1 * (k + 1) / 4, height1 / 2};
    m.second[k] = POINT{width2 * (k + 1) / 4, height2 / 2};
  }
  return m;
}

bool OpenFineTuning(HWND parent, HGLOBAL photo1, HGLOBAL photo2) {
  StitchSession& session = TheStitchSession();
  RegisterClasses();
  g_tune.photo[0] = DuplicateDib(photo1);
  g_tune.photo[1] = DuplicateDib(photo2);
  int w1 = 0, h1 = 0, w2 = 0, h2 = 0;
  DibSize(g_tune.photo[0], &w1, &h1);
  DibSize(g_tune.photo[1], &w2, &h2);
  const int divisor = DetailDivisor(session.engine.options.detail);
  const StitchElement& e = *g_tune.element;
  const StitchPair* pairs = g_tune.horizontal ? e.rightPairs : e.upPairs;
  const int count = static_cast<int>(std::min<LONG>(kStitchMaxPairs, g_tune.horizontal ? e.rightCount : e.upCount));
  MarkerSet photoMarkers;
  if (!MarkersFromPairs(pairs, count, divisor, g_tune.horizontal, h1, h2, &photoMarkers))
    photoMarkers = SpreadMarkers(w1, h1, w2, h2);

  RECT places[2];
  for (int w = 0; w < 2; ++w) {
    if (!ControlRect(kWindowPlaces[w], &places[w])) return false;
  }
  const int sizeW[2] = {places[0].right - places[0].left + 1, places[1].right - places[1].left + 1};
  const int sizeH[2] = {places[0].bottom - places[0].top + 1, places[1].bottom - places[1].top + 1};
  g_tune.scale = std::min(MarkerFitScale(photoMarkers.first, sizeW[0], sizeH[0]),
                          MarkerFitScale(photoMarkers.second, sizeW[1], sizeH[1]));
  g_tune.markers = ScaleMarkers(photoMarkers, g_tune.scale);
  g_tune.minScale = FineTuneMinScale(w1, h1);
  if (g_tune.scale <= g_tune.minScale + 1e-6) DisableControl(kZoomOutButton);
  BuildViews();
  LoadMarkerImages();
  g_tune.activeMarker = 1;
  for (int w = 0; w < 2; ++w) {
    g_tune.window[w] = CreateWindowExA(0, kClassNames[w], "", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, places[w].left,
                                       places[w].top, sizeW[w], sizeH[w], parent, nullptr, g_app.instance, nullptr);
    if (g_tune.window[w] == nullptr) return false;
    FirstScroll(w);
  }
  RepaintBoth();
  return true;
}

void BackToPreview() {
  CloseFineTuning();
  GoToScreen(kScreenPreview);
}

}  // namespace

void StartFineTuning(long column1, long row1, long column2, long row2) {
  StitchSession& session = TheStitchSession();
  StitchMatrix& m = session.engine.matrix;
  if (m.elements == nullptr) return;
  auto photoAt = [&](long c, long r) -> HGLOBAL {
    if (c < 0 || r < 0 || c >= m.columns || r >= m.rows) return nullptr;
    const StitchPyramid* p = m.elements[c + r * m.columns].pyramid;
    return p != nullptr ? p->image[0] : nullptr;
  };
  long c1 = column1, r1 = row1, c2 = column2, r2 = row2;
  // Locate may name the pair either way round: the list belongs to the left
  // (or lower) photo, and across a full circle's seam to the last column.
  const bool horizontal = r1 == r2 && c1 != c2;
  if (horizontal) {
    const bool forward = c2 == (c1 + 1) % m.columns;
    if (!forward) std::swap(c1, c2);
  } else if (c1 == c2 && r1 > r2) {
    std::swap(r1, r2);
  }
  if (!(horizontal || (c1 == c2 && r1 < r2))) return;
  HGLOBAL photo1 = horizontal ? photoAt(c1, r1) : photoAt(c1, r2);
  HGLOBAL photo2 = horizontal ? photoAt(c2, r2) : photoAt(c1, r1);
  if (photo1 == nullptr || photo2 == nullptr) return;
  ClosePreview(kPreviewCloseOnly, nullptr);
  g_tune.horizontal = horizontal;
  g_tune.element = &m.elements[c1 + r1 * m.columns];
  GoToScreen(FineTuneScreenOf(horizontal, 1));
  if (!OpenFineTuning(g_app.mainWindow, photo1, photo2)) BackToPreview();
}

void CloseFineTuning() {
  EnableControl(kZoomInButton);
  EnableControl(kZoomOutButton);
  ClipCursor(nullptr);
  for (HWND& window : g_tune.window) {
    if (window != nullptr) DestroyWindow(window);
    window = nullptr;
  }
  FreeAll();
  g_tune.element = nullptr;
}

void FineTuneZoom(bool zoomIn) {
  if (g_tune.window[0] == nullptr) return;
  const FineZoom z = zoomIn ? FineTuneZoomIn(g_tune.scale, g_tune.minScale)
                            : FineTuneZoomOut(g_tune.scale, g_tune.minScale);
  if (z.zoomIn == ButtonChange::kEnable) EnableControl(kZoomInButton);
  if (z.zoomIn == ButtonChange::kDisable) DisableControl(kZoomInButton);
  if (z.zoomOut == ButtonChange::kEnable) EnableControl(kZoomOutButton);
  if (z.zoomOut == ButtonChange::kDisable) DisableControl(kZoomOutButton);
  if (z.scale == g_tune.scale) return;
  g_tune.markers = ScaleMarkers(g_tune.markers, z.scale / g_tune.scale);
  g_tune.scale = z.scale;
  BuildViews();
  for (int w = 0; w < 2; ++w) ClampScrolls(w);
  RepaintBoth();
}

void MatchAssistant() {
  if (g_tune.window[0] == nullptr) return;
  const int k = g_tune.activeMarker - 1;
  const POINT found = MatchMarker(g_tune.view[0], g_tune.markers.first[k], g_tune.view[1], g_tune.markers.second[k]);
  const SIZE v = ViewSize(1);
  if (found.x >= 0 && found.y >= 0 && found.x < v.cx && found.y < v.cy) g_tune.markers.second[k] = found;
  RepaintBoth();
}

void ApplyFineTuning() {
  if (g_tune.window[0] == nullptr || g_tune.element == nullptr) return;
  if (MarkersCoincide(g_tune.markers)) {
    MessageBoxA(g_app.mainWindow, LoadUiString(kExactPositionMessage).c_str(), LoadUiString(kStringWarning).c_str(), MB_OK);
    return;
  }
  int w1 = 0, h1 = 0, w2 = 0, h2 = 0;
  DibSize(g_tune.photo[0], &w1, &h1);
  DibSize(g_tune.photo[1], &w2, &h2);
  const MarkerSet photoMarkers = ScaleMarkers(g_tune.markers, 1.0 / g_tune.scale);
  StitchPair pairs[3];
  MarkersToPairs(photoMarkers, DetailDivisor(TheStitchSession().engine.options.detail), g_tune.horizontal, h1, h2,
                 pairs);
  StitchElement& e = *g_tune.element;
  std::copy(pairs, pairs + 3, g_tune.horizontal ? e.rightPairs : e.upPairs);
  (g_tune.horizontal ? e.rightCount : e.upCount) = 3;
  HGLOBAL image = nullptr;
  RECT rect{};
  ReblendStitch(&image, &rect);
  if (image == nullptr) return;
  ReplaceStitchPanorama(image, rect);
  BackToPreview();
}

void CancelFineTuning() { BackToPreview(); }

}  // namespace vmd
