#include "result_view.h"

#include "detail_geometry.h"
#include "image_ops.h"
#include "window_class.h"

namespace vmd {

namespace {

constexpr char kClassName[] = "StitchView Window";
constexpr COLORREF kPanelColour = RGB(201, 200, 213);

/// The view's record, attached at WM_NCCREATE and freed at WM_NCDESTROY.
struct ResultView {
  HGLOBAL image = nullptr;       ///< not owned
  HGLOBAL background = nullptr;  ///< owned; 24-bit images only
  int width = 0;
  int height = 0;
};

HWND g_view = nullptr;

void OnPaint(HWND window, ResultView* view) {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(window, &ps);
  int w = 0, h = 0;
  if (DibSize(view->image, &w, &h) && w > 0 && h > 0) {
    RECT place = ResultImageRect(w, h, view->width, view->height);
    if (place.right - place.left == w && place.bottom - place.top == h)
      DrawDib(dc, view->image, place.left, place.top);
    else
      DrawDibFitted(dc, view->image, RECT{0, 0, view->width, view->height}, nullptr);
  }
  EndPaint(window, &ps);
}

LRESULT CALLBACK ResultViewProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* view = reinterpret_cast<ResultView*>(GetWindowLongPtrA(window, GWLP_USERDATA));
  switch (message) {
    case WM_NCCREATE: {
      auto* create = reinterpret_cast<CREATESTRUCTA*>(lParam);
      SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
      break;
    }
    case WM_ERASEBKGND:
      if (view != nullptr && view->background != nullptr) {
        DrawDib(reinterpret_cast<HDC>(wParam), view->background, 0, 0);
        return 1;
      }
      return 0;
    case WM_PAINT:
      if (view != nullptr) {
        OnPaint(window, view);
        return 0;
      }
      break;
    case WM_DESTROY:
      if (view != nullptr && view->background != nullptr) GlobalFree(view->background);
      if (view != nullptr) view->background = nullptr;
      if (g_view == window) g_view = nullptr;
      return 0;
    case WM_NCDESTROY:
      delete view;
      SetWindowLongPtrA(window, GWLP_USERDATA, 0);
      break;
    default:
      break;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

void EnsureClassRegistered() {
  WindowClassLook look;
  look.style = CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS;
  RegisterProgramClass(kClassName, ResultViewProc, look);
}

}  // namespace

HWND ShowResultView(HWND parent, const RECT& rect, HGLOBAL image) {
  HINSTANCE instance = GetModuleHandleA(nullptr);
  EnsureClassRegistered();
  if (g_view != nullptr) DestroyWindow(g_view);
  auto* view = new ResultView;
  view->image = image;
  view->width = rect.right - rect.left + 1;
  view->height = rect.bottom - rect.top + 1;
  if (DibKind(image) == kDibRgb24)
    view->background = SolidDib(image, view->width, view->height, kPanelColour);
  HWND window = CreateWindowExA(0, kClassName, "", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, rect.left,
                                rect.top, view->width, view->height, parent, nullptr, instance, view);
  // A failed creation has freed the record through WM_NCDESTROY, if it got one.
  g_view = window;
  return window;
}

void CloseResultView() {
  if (g_view != nullptr) SendMessageA(g_view, WM_CLOSE, 0, 0);
}

}  // namespace vmd
