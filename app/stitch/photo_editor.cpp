#include "photo_editor.h"

#include <algorithm>

#include "stitch_controls.h"
#include "image_ops.h"

namespace vmd {

PhotoEditState g_photoEdit;

namespace {

PhotoEditHooks g_hooks;
constexpr uint32_t kWhite = 0xFFFFFF;

void FreeHandle(HGLOBAL* handle) {
  if (*handle != nullptr) GlobalFree(*handle);
  *handle = nullptr;
}

void Repaint() {
  if (g_hooks.repaint != nullptr) g_hooks.repaint();
}

/// `base` turned by the angle and adjusted by the four sliders; a new image.
/// Hue and saturation are left alone when both sliders are at no change.
HGLOBAL TurnAndAdjust(HGLOBAL base, const PhotoEditState& s) {
  HGLOBAL image = s.angle % 360 != 0 ? RotateDib(base, s.angle, kWhite, nullptr) : DuplicateDib(base);
  if (image == nullptr) return nullptr;
  int b = BrightnessContrastArgument(s.brightness), c = BrightnessContrastArgument(s.contrast);
  if (b != 0 || c != 0) {
    HGLOBAL adjusted = AdjustBrightnessContrast(image, kAllChannels, b, c);
    GlobalFree(image);
    if (adjusted == nullptr) return nullptr;
    image = adjusted;
  }
  int h = HueSaturationArgument(s.hue), sat = HueSaturationArgument(s.saturation);
  if (h != 0 || sat != 0) {
    HGLOBAL adjusted = AdjustHueSaturation(image, h, sat);
    GlobalFree(image);
    if (adjusted == nullptr) return nullptr;
    image = adjusted;
  }
  return image;
}

int DisplayWidth() {
  int w = 0, h = 0;
  DibSize(g_photoEdit.display, &w, &h);
  return w;
}

int DisplayHeight() {
  int w = 0, h = 0;
  DibSize(g_photoEdit.display, &w, &h);
  return h;
}

/// The crop box relative to the display's corner.
RECT BoxOnDisplay() {
  RECT r = g_photoEdit.cropBox;
  POINT o = DisplayOrigin();
  OffsetRect(&r, -o.x, -o.y);
  return r;
}

/// Places the display in the view, keeping the crop box at the same place of
/// the picture (given relative to the display).
void Layout(const RECT& boxOnDisplay) {
  PhotoEditState& s = g_photoEdit;
  int dw = DisplayWidth(), dh = DisplayHeight();
  EditLayout layout = LayoutDisplay(dw, dh, s.viewW, s.viewH);
  s.offset = layout.offset;
  s.panMax = layout.panMax;
  s.panX = layout.panX;
  s.panY = layout.panY;
  s.pan.x = std::clamp<LONG>(s.pan.x, 0, s.panMax.x);
  s.pan.y = std::clamp<LONG>(s.pan.y, 0, s.panMax.y);
  POINT o = DisplayOrigin();
  SetRect(&s.cropLimits, o.x, o.y, o.x + dw, o.y + dh);
  s.cropBox = boxOnDisplay;
  OffsetRect(&s.cropBox, o.x, o.y);
}

/// Makes the display from working again; a changed angle resets the crop box
/// to the whole display.
void Render() {
  PhotoEditState& s = g_photoEdit;
  if (s.working == nullptr) return;
  s.modified = true;
  RECT box = BoxOnDisplay();
  HGLOBAL display = TurnAndAdjust(s.working, s);
  if (display == nullptr) return;
  FreeHandle(&s.display);
  s.display = display;
  if (s.angle != s.renderedAngle) {
    SetRect(&box, 0, 0, DisplayWidth(), DisplayHeight());
    s.renderedAngle = s.angle;
  }
  Layout(box);
  Repaint();
}

void Zoom(bool in) {
  PhotoEditState& s = g_photoEdit;
  if (s.source == nullptr) return;
  ZoomStep step = in ? ZoomIn(s.zoom) : ZoomOut(s.zoom);
  if (step.enableZoomIn) EnableControl(kControlEditZoomIn);
  if (step.enableZoomOut) EnableControl(kControlEditZoomOut);
  if (step.disableZoomIn) DisableControl(kControlEditZoomIn);
  if (step.disableZoomOut) DisableControl(kControlEditZoomOut);
  if (step.zoom == s.zoom && s.working != nullptr) return;
  int oldW = DisplayWidth(), oldH = DisplayHeight();
  RECT box = BoxOnDisplay();
  int w, h;
  ZoomedSize(s.sourceW, s.sourceH, step.zoom, &w, &h);
  HGLOBAL working = step.zoom == 1 ? DuplicateDib(s.source) : ResizeDib(s.source, w, h);
  if (working == nullptr) return;
  s.zoom = step.zoom;
  FreeHandle(&s.working);
  s.working = working;
  HGLOBAL display = TurnAndAdjust(s.working, s);
  if (display == nullptr) return;
  FreeHandle(&s.display);
  s.display = display;
  s.renderedAngle = s.angle;
  Layout(ScaleRect(box, oldW, oldH, DisplayWidth(), DisplayHeight()));
  Repaint();
}

void ResetSliders() {
  PhotoEditState& s = g_photoEdit;
  s.brightness = s.contrast = s.hue = s.saturation = 100;
  s.angle = s.renderedAngle = 0;
}

/// Hands the source back: the editor no longer owns it.
HGLOBAL ReleaseSource() {
  HGLOBAL source = g_photoEdit.source;
  g_photoEdit.source = nullptr;
  return source;
}

HGLOBAL Finish(int* modified, int purpose) {
  PhotoEditState& s = g_photoEdit;
  int dw = DisplayWidth(), dh = DisplayHeight();
  if (s.source == nullptr || dw <= 0 || dh <= 0) return nullptr;
  int fullW, fullH;
  RotatedSize(s.sourceW, s.sourceH, s.angle, &fullW, &fullH);
  RECT crop = CropInFullPixels(BoxOnDisplay(), dw, dh, fullW, fullH);
  if (purpose == kEditStoryboardPhoto) {
    int cw = crop.right - crop.left, ch = crop.bottom - crop.top;
    int verdict = g_hooks.checkStoryboardPhoto != nullptr ? g_hooks.checkStoryboardPhoto(cw, ch)
                                                          : (PhotoSizeAllowed(cw, ch) ? 0 : 2);
    if (verdict != 0) {
      if (g_hooks.cropRefused != nullptr) g_hooks.cropRefused();
      return nullptr;
    }
  }
  HGLOBAL full = RenderFullResolution();
  if (full == nullptr) return nullptr;
  HGLOBAL result = CropDib(full, crop);
  GlobalFree(full);
  if (result == nullptr) return nullptr;
  HGLOBAL source = ReleaseSource();
  GlobalFree(source);
  ReleasePhotoEditImages();
  ResetSliders();
  s.cropMode = true;
  s.modified = false;
  if (modified != nullptr) *modified = 1;
  return result;
}

HGLOBAL Cancel(int* modified) {
  PhotoEditState& s = g_photoEdit;
  ReleasePhotoEditImages();
  ResetSliders();
  s.cropMode = true;
  s.modified = false;
  if (modified != nullptr) *modified = 0;
  return ReleaseSource();
}

void Save() {
  PhotoEditState& s = g_photoEdit;
  if (s.display == nullptr || !s.modified) return;
  std::string path;
  if (g_hooks.askSavePath == nullptr || !g_hooks.askSavePath(&path)) return;
  HGLOBAL full = RenderFullResolution();
  if (full == nullptr) return;
  if (g_hooks.writeImage != nullptr) g_hooks.writeImage(full, path);
  GlobalFree(full);
  s.modified = false;
}

}  // namespace

void SetPhotoEditHooks(const PhotoEditHooks& hooks) { g_hooks = hooks; }

bool PreparePhotoEdit(HGLOBAL image, int viewW, int viewH) {
  PhotoEditState& s = g_photoEdit;
  int w = 0, h = 0;
  if (!DibSize(image, &w, &h) || w < 1 || h < 1 || viewW < 1 || viewH < 1) return false;
  EditOpening o = OpenEditGeometry(w, h, viewW, viewH);
  HGLOBAL display = o.reduced ? ScaleDib(image, viewW, viewH, true, true) : DuplicateDib(image);
  if (display == nullptr) return false;
  HGLOBAL working = DuplicateDib(display);
  if (working == nullptr) {
    GlobalFree(display);
    return false;
  }
  // A source never handed back (an editor closed without finish or cancel)
  // still belongs to whoever gave it: it is not freed here.
  ReleasePhotoEditImages();
  s.source = image;
  s.sourceW = w;
  s.sourceH = h;
  s.viewW = viewW;
  s.viewH = viewH;
  s.working = working;
  s.display = display;
  s.zoom = o.zoom;
  ResetSliders();
  s.cropMode = true;
  s.modified = false;
  s.phase = 0;
  s.pan = {0, 0};
  s.panMax = o.layout.panMax;
  s.panX = o.layout.panX;
  s.panY = o.layout.panY;
  s.offset = o.layout.offset;
  s.cropBox = o.cropBox;
  s.cropLimits = o.cropLimits;
  s.dragHandle = kCropNone;
  s.panning = false;
  if (!o.reduced) DisableControl(kControlEditZoomIn);
  return true;
}

HGLOBAL PhotoEditCommand(DWORD command, int* modified, int purpose) {
  PhotoEditState& s = g_photoEdit;
  int id = LOWORD(command);
  int value = HIWORD(command);
  switch (id) {
    case kEditBrightness: s.brightness = value * 2; Render(); break;
    case kEditContrast: s.contrast = value * 2; Render(); break;
    case kEditHue: s.hue = value * 2; Render(); break;
    case kEditSaturation: s.saturation = value * 2; Render(); break;
    case kEditTurnLeft90: s.angle -= 90; Render(); break;
    case kEditTurnRight90: s.angle += 90; Render(); break;
    case kEditTurnLeft2: s.angle -= 2; Render(); break;
    case kEditTurnRight2: s.angle += 2; Render(); break;
    case kEditZoomIn: Zoom(true); break;
    case kEditZoomOut: Zoom(false); break;
    case kEditCropMode:
      s.cropMode = !s.cropMode;
      Repaint();
      break;
    case kEditReset:
      if (s.source == nullptr) break;
      EnableControl(kControlEditZoomIn);
      EnableControl(kControlEditZoomOut);
      PreparePhotoEdit(s.source, s.viewW, s.viewH);
      Repaint();
      break;
    case kEditFinish: return Finish(modified, purpose);
    case kEditCancel: return Cancel(modified);
    case kEditSave: Save(); break;
    default: break;
  }
  return nullptr;
}

void ReleasePhotoEditImages() {
  FreeHandle(&g_photoEdit.working);
  FreeHandle(&g_photoEdit.display);
}

HGLOBAL RenderFullResolution() {
  if (g_photoEdit.source == nullptr) return nullptr;
  return TurnAndAdjust(g_photoEdit.source, g_photoEdit);
}

HGLOBAL PaintableDisplay() {
  PhotoEditState& s = g_photoEdit;
  if (s.display == nullptr) return nullptr;
  if (!s.cropMode) return DuplicateDib(s.display);
  RECT box = BoxOnDisplay();
  OffsetRect(&box, 0, 1);  // WashOutside counts rows from y + 1
  HGLOBAL washed = WashOutside(s.display, box);
  return washed != nullptr ? washed : DuplicateDib(s.display);
}

POINT DisplayOrigin() {
  return {g_photoEdit.offset.x - g_photoEdit.pan.x, g_photoEdit.offset.y - g_photoEdit.pan.y};
}

EditCursorKind PhotoEditButtonDown(POINT point) {
  PhotoEditState& s = g_photoEdit;
  s.dragHandle = s.cropMode ? CropHandleAt(s.cropBox, point) : kCropNone;
  s.panning = false;
  s.dragStart = point;
  s.dragStartBox = s.cropBox;
  s.panStart = s.pan;
  if (s.dragHandle != kCropNone) return CursorForHandle(s.dragHandle);
  if ((s.panX || s.panY) && PointInRect(point, s.cropLimits)) {
    s.panning = true;
    return kCursorHand;
  }
  return kCursorArrow;
}

EditCursorKind PhotoEditMouseMove(POINT point, bool buttonDown, bool* boxMoved, bool* repaint) {
  PhotoEditState& s = g_photoEdit;
  *boxMoved = false;
  *repaint = false;
  if (buttonDown && s.dragHandle != kCropNone) {
    RECT limits = s.cropLimits;
    s.cropBox = DragCropHandle(s.dragStartBox, s.dragHandle, point.x - s.dragStart.x,
                               point.y - s.dragStart.y, limits);
    *boxMoved = true;
    return CursorForHandle(s.dragHandle);
  }
  if (buttonDown && s.panning) {
    RECT box = BoxOnDisplay();
    s.pan.x = std::clamp<LONG>(s.panStart.x - (point.x - s.dragStart.x), 0, s.panMax.x);
    s.pan.y = std::clamp<LONG>(s.panStart.y - (point.y - s.dragStart.y), 0, s.panMax.y);
    Layout(box);
    *repaint = true;
    return kCursorHand;
  }
  int handle = s.cropMode ? CropHandleAt(s.cropBox, point) : kCropNone;
  if (handle != kCropNone) return CursorForHandle(handle);
  if ((s.panX || s.panY) && PointInRect(point, s.cropLimits)) return kCursorCanPan;
  return kCursorArrow;
}

EditCursorKind PhotoEditButtonUp(bool* repaint) {
  PhotoEditState& s = g_photoEdit;
  *repaint = s.dragHandle != kCropNone;
  s.dragHandle = kCropNone;
  s.panning = false;
  return kCursorArrow;
}

}  // namespace vmd
