#include "stitch_session.h"

#include <string>

#include "app_state.h"
#include "commands.h"
#include "control_services.h"
#include "image_ops.h"
#include "pixio.h"
#include "program_storyboard.h"
#include "settings.h"
#include "stitch_preview.h"
#include "stitch_progress_bar.h"
#include "window_class.h"

namespace vmd {

namespace {

constexpr char kProgressClass[] = "ProgressWindow";
constexpr int kPreviewImageArea = 700;
constexpr UINT kBarImageName = 50105;    // "bar.prg"
constexpr UINT kFrameImageName = 50130;  // "bar.log"

StitchSession g_session;

void Warn(HWND owner, int message, bool icon) {
  MessageBoxA(owner, LoadUiString(static_cast<UINT>(message)).c_str(), LoadUiString(kStringWarning).c_str(),
              MB_OK | (icon ? MB_ICONEXCLAMATION : 0));
}

bool BarHidden() { return g_session.barImage == nullptr && IsRectEmpty(&g_session.barRect); }

void PaintFrame(HWND window) {
  if (BarHidden() || g_session.frameImage == nullptr) return;
  HDC dc = GetWindowDC(window);
  // After the first time the bar keeps what WM_PAINT drew there.
  if (g_session.framePainted)
    ExcludeClipRect(dc, kProgressBarArea.left, kProgressBarArea.top, kProgressBarArea.right, kProgressBarArea.bottom);
  DrawDib(dc, g_session.frameImage, 0, 0);
  ReleaseDC(window, dc);
  g_session.framePainted = true;
}

void PaintBar(HWND window) {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(window, &ps);
  if (!BarHidden() && g_session.barImage != nullptr && g_session.barRect.right > 0) {
    IntersectClipRect(dc, kProgressBarArea.left, kProgressBarArea.top, kProgressBarArea.right, kProgressBarArea.bottom);
    HGLOBAL bar = ResizeDib(g_session.barImage, g_session.barRect.right,
                            g_session.barRect.bottom - g_session.barRect.top);
    if (bar != nullptr) {
      DrawDib(dc, bar, kProgressBarArea.left, kProgressBarArea.top);
      GlobalFree(bar);
    }
  }
  EndPaint(window, &ps);
}

LRESULT CALLBACK ProgressWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE:
      g_session.barImage = ReadUiImage(kBarImageName);
      g_session.frameImage = ReadUiImage(kFrameImageName);
      SetCursor(LoadCursor(nullptr, IDC_WAIT));
      GetAsyncKeyState(VK_ESCAPE);  // an earlier press does not cancel
      return 0;
    case WM_DESTROY:
      if (g_session.barImage != nullptr) GlobalFree(g_session.barImage);
      if (g_session.frameImage != nullptr) GlobalFree(g_session.frameImage);
      g_session.barImage = g_session.frameImage = nullptr;
      SetCursor(LoadCursor(nullptr, IDC_ARROW));
      g_session.framePainted = false;
      g_session.progressWindow = nullptr;
      return 0;
    case WM_ACTIVATE:
      if (LOWORD(wParam) != WA_INACTIVE) SetFocus(window);
      return 0;
    case WM_GETMINMAXINFO: {
      auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
      info->ptMinTrackSize = info->ptMaxTrackSize = POINT{kProgressWindowWidth, kProgressWindowHeight};
      return 0;
    }
    case WM_NCPAINT:
      PaintFrame(window);
      return 0;
    case WM_PAINT:
      PaintBar(window);
      return 0;
    default:
      return DefWindowProcA(window, message, wParam, lParam);
  }
}

void OpenProgressWindow() {
  WindowClassLook look;
  look.windowExtra = sizeof(void*);
  look.arrowCursor = false;
  RegisterProgramClass(kProgressClass, ProgressWindowProc, look);
  const POINT at = ProgressWindowPlace(GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
  g_session.progressWindow = CreateWindowExA(0, kProgressClass, "", WS_POPUP | WS_CLIPCHILDREN, at.x, at.y,
                                             kProgressWindowWidth, kProgressWindowHeight, g_app.mainWindow,
                                             nullptr, g_app.instance, nullptr);
  if (g_session.progressWindow != nullptr) ShowWindow(g_session.progressWindow, SW_SHOW);
}

void CloseProgressWindow() {
  g_session.progressShown = false;
  if (g_session.progressWindow != nullptr) SendMessageA(g_session.progressWindow, WM_CLOSE, 0, 0);
}

void OutOfMemory() {
  Warn(g_app.mainWindow, kPlanOutOfMemory, false);
  SendMessageA(g_app.mainWindow, WM_CLOSE, 0, 0);
}

/// Frees the panorama and the pyramids and gives the options back their
/// focal length in millimetres.
void EndStitch() {
  if (!g_session.stitched) return;
  g_session.stitched = false;
  if (g_session.panorama != nullptr) GlobalFree(g_session.panorama);
  g_session.panorama = nullptr;
  ReleaseStitchPyramids(g_session.engine.matrix);
  g_app.stitchOptions.focal = g_session.savedFocal;
}

}  // namespace

StitchSession& TheStitchSession() { return g_session; }

int StitchProgress(int percent) {
  const ProgressStep step = ProgressBarStep(percent);
  if (step.ignored) return 1;
  if (!g_session.progressShown) {
    OpenProgressWindow();
    g_session.progressShown = true;
  }
  g_session.barRect = step.bar;
  if (HWND window = g_session.progressWindow) {
    InvalidateRect(window, &g_session.barRect, FALSE);
    UpdateWindow(window);
    SetFocus(window);
  }
  if (step.close) CloseProgressWindow();
  if (GetAsyncKeyState(VK_ESCAPE) == 0) return 1;
  while (GetAsyncKeyState(VK_ESCAPE) != 0) Sleep(10);
  g_session.engine.cancelled = 1;
  SetProgressState(1);
  // The next key that reaches the main window only clears the cancel.
  g_app.cancelKeys.pending = true;
  CloseProgressWindow();
  return 1;
}

int RunStitch(RECT* rect, HGLOBAL* image) {
  const StitchOutcome outcome = StitchStoryboard(ProgramStoryboard(), g_session.engine, StitchProgress, image, rect);
  if (g_session.progressShown) CloseProgressWindow();
  if (outcome == StitchOutcome::kOutOfMemory) OutOfMemory();
  return 0;
}

void StartStitch(HWND main) {
  Storyboard& board = ProgramStoryboard();
  board.kind = g_app.panoramaKind;
  const StitchRefusal refusal = CheckStoryboardForStitch(board);
  if (refusal.message != kPlanOk) {
    Warn(main, refusal.message, refusal.icon);
    return;
  }
  g_session.engine.options = g_app.stitchOptions;
  g_session.savedFocal = g_app.stitchOptions.focal;
  g_session.engine.cancelled = 0;
  SetProgressState(0);
  RunStitch(&g_session.panoramaRect, &g_session.panorama);
  if (g_session.panorama == nullptr) {
    g_app.stitchOptions.focal = g_session.savedFocal;
    return;
  }
  g_session.stitched = true;
  GoToScreen(kScreenPreview);
}

void OpenStitchPreview(HWND main) {
  if (g_session.panorama == nullptr) return;
  RECT area;
  if (!ControlRect(kPreviewImageArea, &area)) return;
  ShowStitchPreview(main, area, g_session.panorama, g_session.panoramaRect);
}

void FinishStitch() {
  HGLOBAL image = nullptr;
  ClosePreview(kPreviewCloseWithImage, &image);
  EndStitch();
  if (image != nullptr) {
    DropCurrentImage();
    g_app.currentImage = image;
    g_app.imageModified = true;
  }
  ClearStoryboard(ProgramStoryboard(), false);
  GoHome();
}

void BackFromPreview() {
  ClosePreview(kPreviewCloseAndReset, nullptr);
  EndStitch();
  GoToScreen(StoryboardScreenOf(g_app.panoramaKind));
}

void CancelPreview() {
  ClosePreview(kPreviewCloseAndReset, nullptr);
  EndStitch();
  ClearStoryboard(ProgramStoryboard(), false);
  GoHome();
}

long ReblendStitch(HGLOBAL* image, RECT* rect) {
  *image = nullptr;
  g_session.engine.cancelled = 0;
  SetProgressState(0);
  const long result = Blend(&g_session.engine.matrix, &g_session.engine.options, image, rect, StitchProgress);
  if (g_session.progressShown) CloseProgressWindow();
  if (g_session.engine.cancelled && *image != nullptr) {
    GlobalFree(*image);
    *image = nullptr;
  }
  if (result == kStitchOutOfMemory) OutOfMemory();
  return result;
}

void ReplaceStitchPanorama(HGLOBAL image, const RECT& rect) {
  if (g_session.panorama != nullptr) GlobalFree(g_session.panorama);
  g_session.panorama = image;
  g_session.panoramaRect = rect;
}

void EndStitchSession() {
  ClosePreview(kPreviewCloseOnly, nullptr);
  EndStitch();
}

}  // namespace vmd
