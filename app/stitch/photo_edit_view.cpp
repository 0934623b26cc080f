#include "photo_edit_view.h"

#include <algorithm>
#include <string>

#include "app_state.h"
#include "stitch_controls.h"
#include "file_dialogs.h"
#include "image_ops.h"
#include "pixio.h"
#include "settings.h"
#include "window_class.h"

namespace vmd {

namespace {

constexpr char kClassName[] = "StitchEditView Window";
constexpr COLORREF kPanelColour = RGB(201, 200, 213);
constexpr UINT_PTR kAntsTimer = 1;
constexpr UINT kAntsMilliseconds = 300;
constexpr UINT kCropRefused = 50140;
constexpr UINT kWarningCaption = 52388;

HWND g_editor = nullptr;
/// The crop box as last drawn (XOR), to be erased by drawing it again.
bool g_boxDrawn = false;
RECT g_drawnBox = {};
int g_drawnPhase = 0;

/// Inverts a dashed line of `length` pixels from (x, y) along (dx, dy):
/// dashes of 3 pixels every 6, starting `phase` pixels in.
void DashedLine(HDC dc, int x, int y, int dx, int dy, int length, int phase) {
  for (int at = phase % 6; at < length; at += 6) {
    int run = std::min(3, length - at);
    int px = x + dx * at, py = y + dy * at;
    if (dx > 0) PatBlt(dc, px, py, run, 1, DSTINVERT);
    if (dx < 0) PatBlt(dc, px - run + 1, py, run, 1, DSTINVERT);
    if (dy > 0) PatBlt(dc, px, py, 1, run, DSTINVERT);
    if (dy < 0) PatBlt(dc, px, py - run + 1, 1, run, DSTINVERT);
  }
}

/// The crop box in XOR: dashed edges marching around the box and a red square
/// inside each corner. Drawing it twice leaves the view as it was.
void XorBox(HDC dc, const RECT& box, int phase) {
  int w = box.right - box.left, h = box.bottom - box.top;
  if (w <= 0 || h <= 0) return;
  int right = box.right - 1, bottom = box.bottom - 1;
  DashedLine(dc, box.left, box.top, 1, 0, w, phase);
  DashedLine(dc, right, box.top, 0, 1, h, phase);
  DashedLine(dc, right, bottom, -1, 0, w, phase);
  DashedLine(dc, box.left, bottom, 0, -1, h, phase);
  HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
  HGDIOBJ old = SelectObject(dc, red);
  PatBlt(dc, box.left, box.top, 8, 8, PATINVERT);
  PatBlt(dc, right - 7, box.top, 8, 8, PATINVERT);
  PatBlt(dc, box.left, bottom - 7, 8, 8, PATINVERT);
  PatBlt(dc, right - 7, bottom - 7, 8, 8, PATINVERT);
  SelectObject(dc, old);
  DeleteObject(red);
}

/// Erases the box as last drawn and draws it as the editor has it now.
void RedrawBox(HWND window) {
  HDC dc = GetDC(window);
  if (g_boxDrawn) XorBox(dc, g_drawnBox, g_drawnPhase);
  g_boxDrawn = g_photoEdit.cropMode;
  if (g_boxDrawn) {
    g_drawnBox = g_photoEdit.cropBox;
    g_drawnPhase = g_photoEdit.phase;
    XorBox(dc, g_drawnBox, g_drawnPhase);
  }
  ReleaseDC(window, dc);
}

HCURSOR CursorOf(EditCursorKind kind) {
  LPCSTR system = IDC_ARROW;
  switch (kind) {
    case kCursorSizeNWSE: system = IDC_SIZENWSE; break;
    case kCursorSizeNESW: system = IDC_SIZENESW; break;
    case kCursorSizeWE: system = IDC_SIZEWE; break;
    case kCursorSizeNS: system = IDC_SIZENS; break;
    case kCursorHand:
    case kCursorCanPan: {
      // The program's own cursors, the arrow when they are missing.
      int id = kind == kCursorHand ? 180 : 201;
      if (HCURSOR own = LoadCursorA(g_app.instance, MAKEINTRESOURCEA(id))) return own;
      break;
    }
    default: break;
  }
  return LoadCursorA(nullptr, system);
}

void OnPaint(HWND window) {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(window, &ps);
  HGLOBAL picture = PaintableDisplay();
  if (picture != nullptr) {
    POINT origin = DisplayOrigin();
    DrawDib(dc, picture, origin.x, origin.y);
    GlobalFree(picture);
  }
  g_boxDrawn = g_photoEdit.cropMode && g_photoEdit.display != nullptr;
  if (g_boxDrawn) {
    g_drawnBox = g_photoEdit.cropBox;
    g_drawnPhase = g_photoEdit.phase;
    XorBox(dc, g_drawnBox, g_drawnPhase);
  }
  EndPaint(window, &ps);
}

POINT PointOf(LPARAM lParam) {
  return {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
}

LRESULT CALLBACK EditViewProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE:
      SetTimer(window, kAntsTimer, kAntsMilliseconds, nullptr);
      return 0;
    case WM_TIMER:
      if (wParam == kAntsTimer && g_photoEdit.cropMode && g_photoEdit.display != nullptr) {
        g_photoEdit.phase = NextAntsPhase(g_photoEdit.phase);
        RedrawBox(window);
      }
      return 0;
    case WM_PAINT:
      OnPaint(window);
      return 0;
    case WM_SETCURSOR:
      return TRUE;  // the mouse handling sets the cursor
    case WM_LBUTTONDOWN:
      SetCapture(window);
      SetCursor(CursorOf(PhotoEditButtonDown(PointOf(lParam))));
      return 0;
    case WM_MOUSEMOVE: {
      bool moved = false, repaint = false;
      bool dragging = GetCapture() == window && (wParam & MK_LBUTTON) != 0;
      EditCursorKind cursor = PhotoEditMouseMove(PointOf(lParam), dragging, &moved, &repaint);
      if (moved) RedrawBox(window);
      if (repaint) {
        InvalidateRect(window, nullptr, FALSE);
        UpdateWindow(window);
      }
      SetCursor(CursorOf(cursor));
      return 0;
    }
    case WM_LBUTTONUP: {
      bool repaint = false;
      SetCursor(CursorOf(PhotoEditButtonUp(&repaint)));
      if (GetCapture() == window) ReleaseCapture();
      if (repaint) {
        RedrawBox(window);
        InvalidateRect(window, nullptr, TRUE);
      }
      return 0;
    }
    case WM_DESTROY:
      KillTimer(window, kAntsTimer);
      ReleasePhotoEditImages();
      g_boxDrawn = false;
      if (g_editor == window) g_editor = nullptr;
      return 0;
    default:
      break;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

void EnsureClassRegistered() {
  WindowClassLook look;
  look.style = CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS;
  look.background = kPanelColour;
  RegisterProgramClass(kClassName, EditViewProc, look);
}

void RepaintEditor() {
  if (g_editor != nullptr) InvalidateRect(g_editor, nullptr, TRUE);
}

bool AskSavePath(std::string* path) {
  std::string folder;
  ReadLastFolder(&folder, 1);
  return ShowSaveImageDialog(g_app.mainWindow, folder, path);
}

bool WriteImage(HGLOBAL dib, const std::string& path) { return ImgSaveFile(dib, path.c_str()) != 0; }

void CropRefused() {
  MessageBoxA(g_app.mainWindow, LoadUiString(kCropRefused).c_str(), LoadUiString(kWarningCaption).c_str(),
              MB_OK | MB_ICONEXCLAMATION);
}

int (*g_storyboardCheck)(int w, int h) = nullptr;

}  // namespace

HWND OpenPhotoEditor(HWND parent, const RECT& rect, HGLOBAL image) {
  HINSTANCE instance = GetModuleHandleA(nullptr);
  EnsureClassRegistered();
  if (g_editor != nullptr) DestroyWindow(g_editor);
  int width = rect.right - rect.left + 1, height = rect.bottom - rect.top + 1;
  PhotoEditHooks hooks;
  hooks.repaint = RepaintEditor;
  hooks.askSavePath = AskSavePath;
  hooks.writeImage = WriteImage;
  hooks.cropRefused = CropRefused;
  hooks.checkStoryboardPhoto = g_storyboardCheck;
  SetPhotoEditHooks(hooks);
  if (!PreparePhotoEdit(image, width, height)) return nullptr;
  g_editor = CreateWindowExA(0, kClassName, "", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, rect.left, rect.top,
                             width, height, parent, nullptr, instance, nullptr);
  return g_editor;
}

HWND OpenStoryboardPhotoEditor(HWND parent, const RECT& rect, HGLOBAL image, int (*check)(int w, int h)) {
  g_storyboardCheck = check;
  HWND editor = OpenPhotoEditor(parent, rect, image);
  g_storyboardCheck = nullptr;
  return editor;
}

void ClosePhotoEditor() {
  EnableControl(kControlEditZoomIn);
  EnableControl(kControlEditZoomOut);
  if (g_editor != nullptr) SendMessageA(g_editor, WM_CLOSE, 0, 0);
}

HWND EditCurrentImage(HWND parent, const RECT& rect) {
  if (g_app.currentImage == nullptr) return nullptr;
  return OpenPhotoEditor(parent, rect, g_app.currentImage);
}

bool EndCurrentImageEdit(bool apply) {
  int modified = 0;
  HGLOBAL image = PhotoEditCommand(apply ? kEditFinish : kEditCancel, &modified, kEditCurrentImage);
  if (image == nullptr) return false;
  // Finishing has freed the old picture; cancelling gives back the same one.
  g_app.currentImage = image;
  if (modified) g_app.imageModified = true;
  ClosePhotoEditor();
  ShowImageInArea(kControlHomeImage, image);
  return true;
}

}  // namespace vmd
