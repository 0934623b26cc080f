// The page preview of the Print screen: "Stitch Print Templetate Window" draws
// the block of pages with its page edges, "Stitch Print Photo Window" the
// image scaled to its place on them.
#include <windows.h>

#include "app_state.h"
#include "print_screen_state.h"
#include "window_class.h"

namespace vmd {

namespace {

constexpr char kPreviewClass[] = "Stitch Print Templetate Window";
constexpr char kPhotoClass[] = "Stitch Print Photo Window";
constexpr int kPreviewMargin = 8;

PrintScreenState* StateOf(HWND hwnd) {
  return reinterpret_cast<PrintScreenState*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
}

RECT PreviewArea(HWND preview) {
  RECT r;
  GetClientRect(preview, &r);
  InflateRect(&r, -kPreviewMargin, -kPreviewMargin);
  return r;
}

void PaintPreview(HWND hwnd, HDC dc) {
  const PrintScreenState* s = StateOf(hwnd);
  RECT client;
  GetClientRect(hwnd, &client);
  HBRUSH back = CreateSolidBrush(RGB(201, 200, 213));
  FillRect(dc, &client, back);
  DeleteObject(back);
  if (!s) return;
  const PreviewGeometry g = PreviewFor(s->layout, PreviewArea(hwnd));
  FillRect(dc, &g.block, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  HPEN grid = CreatePen(PS_DOT, 1, RGB(90, 90, 120));
  HGDIOBJ oldPen = SelectObject(dc, grid);
  SetBkMode(dc, TRANSPARENT);
  for (int x : g.columnLines) {
    MoveToEx(dc, x, g.block.top, nullptr);
    LineTo(dc, x, g.block.bottom);
  }
  for (int y : g.rowLines) {
    MoveToEx(dc, g.block.left, y, nullptr);
    LineTo(dc, g.block.right, y);
  }
  SelectObject(dc, oldPen);
  DeleteObject(grid);
  HBRUSH outline = CreateSolidBrush(RGB(40, 40, 60));
  FrameRect(dc, &g.block, outline);
  DeleteObject(outline);
}

void PaintPhoto(HWND hwnd, HDC dc) {
  const PrintScreenState* s = StateOf(hwnd);
  RECT client;
  GetClientRect(hwnd, &client);
  const auto* info = s && s->image ? static_cast<const BITMAPINFO*>(GlobalLock(s->image)) : nullptr;
  if (!info) {
    FillRect(dc, &client, static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH)));
    return;
  }
  const BITMAPINFOHEADER& h = info->bmiHeader;
  DWORD colours = h.biClrUsed;
  if (colours == 0 && h.biBitCount <= 8) colours = 1u << h.biBitCount;
  const auto* bits = reinterpret_cast<const BYTE*>(info) + h.biSize + colours * sizeof(RGBQUAD);
  SetStretchBltMode(dc, HALFTONE);
  SetBrushOrgEx(dc, 0, 0, nullptr);
  StretchDIBits(dc, 0, 0, client.right, client.bottom, 0, 0, h.biWidth, h.biHeight, bits, info,
                DIB_RGB_COLORS, SRCCOPY);
  GlobalUnlock(s->image);
}

/// One procedure for both classes; they differ only in what they paint.
template <void (*Paint)(HWND, HDC)>
LRESULT CALLBACK PaintingProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_NCCREATE:
      SetWindowLongPtrA(
          hwnd, GWLP_USERDATA,
          reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams));
      break;
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(hwnd, &ps);
      Paint(hwnd, dc);
      EndPaint(hwnd, &ps);
      return 0;
    }
    default:
      break;
  }
  return DefWindowProcA(hwnd, message, wParam, lParam);
}

}  // namespace

bool CreatePrintPreview(PrintScreenState* state, const RECT& area) {
  if (!RegisterProgramClass(kPreviewClass, PaintingProc<PaintPreview>) ||
      !RegisterProgramClass(kPhotoClass, PaintingProc<PaintPhoto>))
    return false;
  HINSTANCE instance = g_app.instance ? g_app.instance : GetModuleHandleA(nullptr);
  state->preview = CreateWindowExA(0, kPreviewClass, state->title.c_str(),
                                   WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, area.left, area.top,
                                   area.right - area.left, area.bottom - area.top,
                                   state->background, nullptr, instance, state);
  if (!state->preview) return false;
  state->photo = CreateWindowExA(0, kPhotoClass, "", WS_CHILD | WS_VISIBLE, 0, 0, 1, 1,
                                 state->preview, nullptr, instance, state);
  UpdatePrintPreview(state);
  return state->photo != nullptr;
}

void UpdatePrintPreview(PrintScreenState* state) {
  if (!state->preview) return;
  const PreviewGeometry g = PreviewFor(state->layout, PreviewArea(state->preview));
  if (state->photo)
    MoveWindow(state->photo, g.image.left, g.image.top, g.image.right - g.image.left,
               g.image.bottom - g.image.top, TRUE);
  InvalidateRect(state->preview, nullptr, FALSE);
}

}  // namespace vmd
