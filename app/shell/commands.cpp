#include "commands.h"

#include "about_box.h"
#include "app_state.h"
#include "control_services.h"
#include "kind_screen.h"
#include "messages.h"
#include "module_hooks.h"
#include "folders.h"
#include "pixio.h"
#include "settings.h"

namespace vmd {

namespace {

// The Home controls that need an image.
constexpr int kImageCommands[] = {1, 2, 3, 4, 111, 327};

HGLOBAL g_storyboardTitle = nullptr;

/// The heading bitmap of the row storyboard: "title2.800" for a 360-degree
/// panorama, "title1.800" otherwise, read from the program's skin folder.
void ShowStoryboardTitle() {
  const UINT name = g_app.panoramaKind == Pano360 ? 50142 : 50141;
  g_storyboardTitle = ReadUiImage(name);
  ShowImageInArea(kStoryboardTitlePlace, g_storyboardTitle);
}

void DropStoryboardTitle() {
  ShowImageInArea(kStoryboardTitlePlace, nullptr);
  if (g_storyboardTitle != nullptr) GlobalFree(g_storyboardTitle);
  g_storyboardTitle = nullptr;
}

void OpenHelpContents() { SendMessageA(g_app.mainWindow, WM_COMMAND, kCmdHelpContents, 0); }

void MinimizeProgram() {
  HWND window = g_app.backgroundWindow != nullptr ? g_app.backgroundWindow : g_app.mainWindow;
  ShowWindow(window, SW_MINIMIZE);
}

void StartStitchWizard() {
  if (!ConfirmDropImage(g_app.mainWindow)) return;
  DropCurrentImage();
  for (int id : kImageCommands) DisableControl(id);
  GoToScreen(KindScreenOf(g_app.panoramaKind));
  ChooseKind(g_app.panoramaKind);
  CreateKindLabels(g_app.mainWindow);
  ShowExposureState();
}

void LeaveKindScreen() { DestroyKindLabels(); }

void KindNext() {
  LeaveKindScreen();
  // A storyboard filled for another kind does not fit this one.
  if (g_app.panoramaKind != g_app.previousPanoramaKind) ModuleClearStoryboard(false);
  g_app.previousPanoramaKind = g_app.panoramaKind;
  GoToScreen(StoryboardScreenOf(g_app.panoramaKind));
}

void KindCancel() {
  LeaveKindScreen();
  ModuleClearStoryboard(false);
  GoHome();
}

void StoryboardBack() {
  GoToScreen(KindScreenOf(g_app.panoramaKind));
  ChooseKind(g_app.panoramaKind);
  CreateKindLabels(g_app.mainWindow);
  ShowExposureState();
}

void StoryboardCancel() {
  ModuleClearStoryboard(false);
  GoHome();
}

// Image commands on Home need an image; without one they do nothing.
bool NeedsImage(Command command) {
  switch (command) {
    case Command::kSaveImage:
    case Command::kExportImage:
    case Command::kEditImage:
    case Command::kViewDetail:
    case Command::kViewPanorama:
    case Command::kPrint:
      return true;
    default:
      return false;
  }
}

}  // namespace

bool ConfirmDropImage(HWND owner) {
  while (g_app.imageModified) {
    const int answer = MessageBoxA(owner, LoadUiString(kStringSaveQuestion).c_str(), LoadUiString(kStringWarning).c_str(),
                                   MB_YESNOCANCEL | MB_ICONQUESTION);
    if (answer == IDCANCEL) return false;
    if (answer == IDNO) return true;
    // Yes: a save that was not attempted (its dialog cancelled) asks again.
    if (ModuleSaveImage(owner)) return true;
  }
  return true;
}

void DropCurrentImage() {
  ShowImageInArea(kHomeImageArea, nullptr);
  if (g_app.currentImage != nullptr) GlobalFree(g_app.currentImage);
  g_app.currentImage = nullptr;
  g_app.imageModified = false;
}

void GoToScreen(int screen) {
  if (screen == g_app.currentScreen) {
    SwitchScreen(screen);
    return;
  }
  ModuleScreenLeaving(g_app.mainWindow, g_app.currentScreen);
  if (g_app.currentScreen == kScreenStoryboardRow) DropStoryboardTitle();
  if (!SwitchScreen(screen)) return;
  if (screen == kScreenStoryboardRow) ShowStoryboardTitle();
  ModuleScreenEntered(g_app.mainWindow, screen);
}

void GoHome() {
  // Already Home (after Open): the image area shows the new current image.
  if (g_app.currentScreen == kScreenHome) ModuleScreenEntered(g_app.mainWindow, kScreenHome);
  GoToScreen(kScreenHome);
  for (int id : kImageCommands) {
    if (g_app.currentImage != nullptr) {
      EnableControl(id);
    } else {
      DisableControl(id);
    }
  }
}

void RunCommand(Command command, int32_t parameter, int controlId) {
  if (NeedsImage(command) && g_app.currentImage == nullptr) return;
  switch (command) {
    case Command::kNone:
      return;
    case Command::kStitchWizard:
      StartStitchWizard();
      return;
    case Command::kChooseKind:
      ChooseKind(parameter);
      return;
    case Command::kKindNext:
      KindNext();
      return;
    case Command::kKindCancel:
      KindCancel();
      return;
    case Command::kToggleExposure:
      ToggleExposure();
      return;
    case Command::kStepSize:
      StepSize();
      return;
    case Command::kOpenLensList:
      OpenLensList(g_app.mainWindow);
      return;
    case Command::kStoryboardBack:
      StoryboardBack();
      return;
    case Command::kStoryboardCancel:
      StoryboardCancel();
      return;
    case Command::kAbout:
      ShowAboutBox(g_app.mainWindow);
      return;
    case Command::kHelpContents:
      OpenHelpContents();
      return;
    case Command::kMinimize:
      MinimizeProgram();
      return;
    case Command::kExit:
      SendMessageA(g_app.mainWindow, WM_CLOSE, 0, 0);
      return;
    case Command::kAcquire:
      SendMessageA(g_app.mainWindow, WM_COMMAND, kCmdAcquire, 0);
      return;
    default:
      break;
  }
  // Everything else is the work of a module: image files, the editor, the
  // viewers, printing, albums and the storyboard, stitching.
  if (RunModuleCommand(g_app.mainWindow, command, parameter, controlId)) return;
  if (command == Command::kRemoveAll) ModuleClearStoryboard(true);
}

void RunKeyAction(KeyAction action) {
  switch (action) {
    case KeyAction::kNone:
      return;
    case KeyAction::kStitchWizard:
      RunCommand(Command::kStitchWizard, 0, 6);
      return;
    case KeyAction::kEditOk:
      RunCommand(Command::kPhotoEdit, 13, 219);
      return;
    case KeyAction::kEditCancel:
      RunCommand(Command::kPhotoEdit, 14, 220);
      return;
    case KeyAction::kStartStitch:
      RunCommand(Command::kStartStitch, 0, 344);
      return;
    case KeyAction::kStoryboardCancel:
      RunCommand(Command::kStoryboardCancel, 0, 346);
      return;
    case KeyAction::kStoryboardBack:
      RunCommand(Command::kStoryboardBack, 0, 345);
      return;
    case KeyAction::kPrint:
      RunCommand(Command::kPrintLayout, kPrintStart, 522);
      return;
    case KeyAction::kPrintCancel:
      RunCommand(Command::kPrintLayout, kPrintCancel, 523);
      return;
    case KeyAction::kKindNext:
      RunCommand(Command::kKindNext, 0, 370);
      return;
    case KeyAction::kKindCancel:
      RunCommand(Command::kKindCancel, 0, 371);
      return;
    case KeyAction::kNextKind:
      ChooseKind(NextKindByTab(g_app.panoramaKind));
      return;
    case KeyAction::kPreviewFinish:
      RunCommand(Command::kPreviewFinish, 0, 701);
      return;
    case KeyAction::kPreviewCancel:
      RunCommand(Command::kPreviewCancel, 0, 703);
      return;
    case KeyAction::kPreviewBack:
      RunCommand(Command::kPreviewBack, 0, 702);
      return;
    case KeyAction::kApplyMarkers:
      RunCommand(Command::kApplyMarkers, 0, 802);
      return;
    case KeyAction::kCancelFineTuning:
      RunCommand(Command::kCancelFineTuning, 0, 803);
      return;
  }
}

}  // namespace vmd
