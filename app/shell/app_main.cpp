// The program's entry: start-up in its fixed order, the message loop, exit.
#include <windows.h>

#include <string>

#include "app_state.h"
#include "background_window.h"
#include "dialog_messages.h"
#include "font_metrics.h"
#include "instance_guard.h"
#include "main_window.h"
#include "media_layer.h"
#include "messages.h"
#include "module_hooks.h"
#include "settings.h"
#include "single_instance.h"
#include "still_image.h"
#include "vmdres_ids.h"
#include "window_layout.h"

namespace vmd {
namespace {

/// What static initialisation prepares before the entry point runs.
struct StaticStart {
  int screenWidth = 0;
  int screenHeight = 0;
  GuardNames guardNames;

  StaticStart() {
    screenWidth = GetSystemMetrics(SM_CXSCREEN);
    screenHeight = GetSystemMetrics(SM_CYSCREEN);
    ReadStartSwitches();
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    guardNames = MakeGuardNames(path, IsWindows2000OrLater(GetVersion()));
  }
};

StaticStart g_start;

/// Another user's session runs the program: the shared message, then the end.
void ShowOtherSessionMessage() {
  char text[512] = {};
  if (HMODULE shared = LoadLibraryA("Res_Zel.DLL")) {
    LoadStringA(shared, 11000, text, sizeof text);
    FreeLibrary(shared);
  }
  MessageBoxA(nullptr, text, LoadUiString(kStringWarning).c_str(), MB_OK | MB_ICONEXCLAMATION);
}

void EndEarly() {
  if (g_app.resourceModule != nullptr) FreeLibrary(g_app.resourceModule);
  g_app.resourceModule = nullptr;
}

int RunMessageLoop() {
  MSG message;
  while (GetMessageA(&message, nullptr, 0, 0) > 0) {
    if (g_app.mainWindow == nullptr || !IsWindow(g_app.mainWindow)) continue;  // drain to WM_QUIT
    if (g_app.accelerators != nullptr &&
        TranslateAcceleratorA(g_app.mainWindow, g_app.accelerators, &message))
      continue;
    // While a TWAIN source is enabled it sees every message first.
    if (ModuleOfferMessage(&message)) continue;
    if (OfferDialogMessage(&message)) continue;
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
  return static_cast<int>(message.wParam);
}

int Run(HINSTANCE instance) {
  g_app.instance = instance;
  g_app.resourceModule = LoadLibraryA("vmdres.dll");
  if (g_app.resourceModule == nullptr) return 0;  // no strings to say anything with

  if (CreateInstanceGuard(g_start.guardNames) == GuardResult::kOtherUserSession) {
    ShowOtherSessionMessage();
    EndEarly();
    return 0;
  }

  g_app.pendingAcquireSource.clear();
  QueryStillImageLaunch(&g_app.pendingAcquireSource);

  if (!CheckSingleInstance(g_app.pendingAcquireSource)) {
    EndEarly();
    return 0;
  }
  if (!RegisterMainWindowClass(instance)) {
    EndEarly();
    return 0;
  }
  BindFontMetrics(g_app.resourceModule, &g_app.fontMetrics);

  MediaSupport media = StartMediaLayer();
  g_app.qtvrPresent = media.panoramaMovies;
  g_app.qtvrVersion = media.version;
  g_app.photoFileTypes = PhotoFileTypes(NoGif());

  WindowLayout layout =
      ChooseWindowLayout(ReadProfileInt("FOR_640", 0), g_start.screenWidth, g_start.screenHeight);
  g_app.sizeIndex = layout.sizeIndex;
  if (layout.hasBackground) g_app.backgroundWindow = CreateBackgroundWindow(instance, layout);
  AnnounceNewCopy(g_app.backgroundWindow);
  HWND main = CreateMainWindow(instance, layout, g_app.backgroundWindow);
  if (main == nullptr) {
    FreeStillImageLibrary();
    StopMediaLayer();
    return 0;
  }
  g_app.mainWindow = main;
  UpdateWindow(main);
  if (g_app.resourceModule != nullptr)
    g_app.accelerators = LoadAcceleratorsA(g_app.resourceModule, MAKEINTRESOURCEA(VMDRES_ACCELERATORS));

  int code = RunMessageLoop();
  FreeStillImageLibrary();
  StopMediaLayer();
  return code;
}

}  // namespace
}  // namespace vmd

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) { return vmd::Run(instance); }
