#include "module_hooks.h"

#include "app_state.h"
#include "commands.h"
#include "control_panel.h"
#include "control_services.h"
#include "detail_view.h"
#include "image_commands.h"
#include "pano_viewer.h"
#include "photo_edit_view.h"
#include "popup_list_window.h"
#include "print_screen.h"
#include "fine_tune_window.h"
#include "stitch_preview.h"
#include "stitch_session.h"

namespace vmd {

namespace {

// The photo editor's slider thumbs (brightness, contrast, hue, saturation)
// stand at 50, "no change", after opening and after Reset.
constexpr int kEditSliderThumbs[] = {532, 533, 534, 535};
constexpr int kEditCommandReset = 12;
constexpr int kEditCommandFinish = 13;
constexpr int kEditCommandCancel = 14;

void CentreEditSliders() {
  for (int thumb : kEditSliderThumbs) SetSliderValue(thumb, 50);
}

void OpenEditScreen(HWND main) {
  GoToScreen(kScreenEdit);
  CentreEditSliders();
  RECT area;
  if (!ControlRect(kEditPhotoArea, &area) || EditCurrentImage(main, area) == nullptr) GoHome();
}

void PhotoEdit(int32_t parameter) {
  const int command = parameter & 0xFFFF;
  if (command == kEditCommandFinish || command == kEditCommandCancel) {
    EndCurrentImageEdit(command == kEditCommandFinish);
    GoHome();
    return;
  }
  int modified = 0;
  PhotoEditCommand(static_cast<DWORD>(parameter), &modified, 0);
  if (command == kEditCommandReset) CentreEditSliders();
}

ToolkitFont PopupFont() {
  ToolkitFont font;
  font.faceName = g_app.fontMetrics.faceName;
  font.height = g_app.fontMetrics.popupHeight;
  font.charSet = g_app.fontMetrics.charSet;
  return font;
}

PrintScreenPlaces PrintPlaces() {
  RECT area = {};
  ControlRect(120, &area);
  PrintScreenPlaces places = DefaultPrintScreenPlaces(area);
  places.background = area;
  const int fields[3] = {540, 541, 542};
  RECT* targets[3] = {&places.pagesAcross, &places.pagesDown, &places.copies};
  for (int i = 0; i < 3; ++i) {
    RECT place;
    if (ControlRect(fields[i], &place)) *targets[i] = RECT{place.left, place.top, place.right + 1, place.bottom + 1};
  }
  return places;
}

void OpenPrintLayout(HWND main) {
  if (!PrintCommand(main, g_app.currentImage)) return;
  GoToScreen(kScreenPrint);
  if (!OpenPrintScreen(main, PrintPlaces(), g_app.currentImage, "Vistameld")) GoHome();
}

void OpenTemplateList(HWND main) {
  RECT button;
  if (!ControlRect(kTemplateButton, &button)) return;
  if (OpenPopupList(main, kTemplateList, PrintTemplates(), 0, button.left, button.bottom + 1,
                    button.right - button.left + 1, PopupFont()) != nullptr)
    ShowControl(kTemplateButton, false);
}

void PrintLayoutCommand(HWND main, int32_t parameter, int controlId) {
  switch (parameter & 0xFFFF) {
    case kPrintTemplates:
      OpenTemplateList(main);
      return;
    case kPrintResolution:
      // The slider delivers 0..100; the print layout counts 0..99.
      PrintSliderMoved(((parameter >> 16) & 0xFFFF) * 99 / 100);
      return;
    case kPrintFewerCopies:
    case kPrintMoreCopies:
      PrintCopyButton(controlId);
      return;
    case kPrintSetup:
      PrintSetupCommand(main);
      return;
    case kPrintStart:
      PrintBeginCommand();
      return;
    case kPrintCancel:
      GoHome();
      return;
    default:
      return;
  }
}

}  // namespace

bool RunModuleCommand(HWND main, Command command, int32_t parameter, int controlId) {
  switch (command) {
    case Command::kOpenImage:
      if (OpenImageCommand(main)) GoHome();
      return true;
    case Command::kSaveImage:
      SaveImageCommand(main);
      return true;
    case Command::kExportImage:
      ExportImageCommand(main);
      return true;
    case Command::kEditImage:
      OpenEditScreen(main);
      return true;
    case Command::kPhotoEdit:
      PhotoEdit(parameter);
      return true;
    case Command::kViewDetail:
      ShowDetailView(main, g_app.currentImage);
      return true;
    case Command::kViewPanorama:
      ViewPanoramaCommand(main, g_app.currentImage);
      return true;
    case Command::kPrint:
      OpenPrintLayout(main);
      return true;
    case Command::kPrintLayout:
      PrintLayoutCommand(main, parameter, controlId);
      return true;
    case Command::kStartStitch:
      StartStitch(main);
      return true;
    case Command::kPreviewFinish:
      FinishStitch();
      return true;
    case Command::kPreviewBack:
      BackFromPreview();
      return true;
    case Command::kPreviewCancel:
      CancelPreview();
      return true;
    case Command::kPreviewZoomIn:
      PreviewZoomIn();
      return true;
    case Command::kPreviewZoomOut:
      PreviewZoomOut();
      return true;
    case Command::kToggleAutoCrop:
      ToggleAutoCrop();
      return true;
    case Command::kTogglePickMode:
      TogglePickMode();
      return true;
    case Command::kApplyMarkers:
      ApplyFineTuning();
      return true;
    case Command::kCancelFineTuning:
      CancelFineTuning();
      return true;
    case Command::kFineTuneZoomIn:
      FineTuneZoom(true);
      return true;
    case Command::kFineTuneZoomOut:
      FineTuneZoom(false);
      return true;
    case Command::kMatchAssistant:
      MatchAssistant();
      return true;
    default:
      return false;
  }
}

bool ModuleOfferCommand(WPARAM wParam, LPARAM lParam) { return PrintEditCommand(wParam, lParam); }

void ModuleScreenEntered(HWND main, int screen) {
  if (screen == kScreenHome) ShowImageInArea(kHomeImageArea, g_app.currentImage);
  if (screen == kScreenPreview) OpenStitchPreview(main);
}

void ModuleScreenLeaving(HWND, int screen) {
  if (screen == kScreenEdit) ClosePhotoEditor();
  if (screen == kScreenPrint) ClosePrintScreen();
  if (screen == kScreenPreview) ClosePreview(kPreviewCloseOnly, nullptr);
}

void ModuleClearStoryboard(bool beepIfEmpty) {
  if (beepIfEmpty) MessageBeep(0);
}

bool ModuleSaveImage(HWND main) { return SaveImageCommand(main); }

void ModuleAcquiredImage(HWND, HGLOBAL dib) {
  if (dib != nullptr) GlobalFree(dib);
}

void ModuleEditStoryboardPhoto(HWND, HGLOBAL, int) {}
void ModuleAlbumChosen(HWND, int) {}
void ModulePrintTemplateChosen(HWND, int entry) { PrintTemplateChosen(entry); }
void ModuleAcquire(HWND) {}
void ModuleAcquireNamed(HWND, const std::string&) {}
bool ModuleAcquisitionRunning() { return false; }

void ModuleShutdown() {
  CloseFineTuning();
  EndStitchSession();
  CloseDetailView();
  ClosePanoramaViewer();
  ClosePrintScreen();
  ClosePhotoEditor();
}

}  // namespace vmd
