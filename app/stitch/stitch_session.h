#ifndef APP_STITCH_STITCH_SESSION_H
#define APP_STITCH_STITCH_SESSION_H

/// The program's stitch: the storyboard's Start, the progress window while
/// the engine works, and the three ways out of the preview. The deciding is
/// in stitch_run.h; this file shows messages and windows.

#include <windows.h>

#include "stitch_run.h"

namespace vmd {

/// The session's state, alive from start-up to exit.
struct StitchSession {
  StitchEngineState engine;  ///< kind, options (focal in pixels while stitched), matrix, cancelled
  double savedFocal = 0;     ///< the focal length in millimetres before the stitch
  bool stitched = false;     ///< a panorama and its pyramids are alive
  HGLOBAL panorama = nullptr;
  RECT panoramaRect = {};
  HWND progressWindow = nullptr;
  bool progressShown = false;
  RECT barRect = {};
  HGLOBAL barImage = nullptr;
  HGLOBAL frameImage = nullptr;
  bool framePainted = false;
};
StitchSession& TheStitchSession();

/// Start on a storyboard screen: checks, stitches and opens the preview.
void StartStitch(HWND main);
/// The engine calls of StartStitch: Blend's rectangle and image, or a null
/// image when cancelled or failed. Out of memory shows its message and
/// closes the main window. Returns 0.
int RunStitch(RECT* rect, HGLOBAL* image);
/// The progress callback of Align and Blend. Returns 1.
int StitchProgress(int percent);

/// The preview screen's ways out: the panorama becomes the current image
/// (Enter), back to the storyboard with its photos (Backspace), or dropped
/// (Esc).
void FinishStitch();
void BackFromPreview();
void CancelPreview();
/// Opens the preview over the preview screen's image area (screen 7 shown).
void OpenStitchPreview(HWND main);
/// Fine tuning's re-blend with the progress window and Esc: Blend's result;
/// out of memory shows its message and closes the main window.
long ReblendStitch(HGLOBAL* image, RECT* rect);
/// A re-blended panorama replaces the session's (the old one is freed).
void ReplaceStitchPanorama(HGLOBAL image, const RECT& rect);
/// At exit: the pyramids and the panorama are freed.
void EndStitchSession();

}  // namespace vmd

#endif  // APP_STITCH_STITCH_SESSION_H
