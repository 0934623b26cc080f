#include "module_hooks.h"

#include "app_state.h"
#include "control_services.h"

namespace vmd {

bool RunModuleCommand(HWND, Command, int32_t, int) { return false; }

void ModuleScreenEntered(HWND, int screen) {
  // Until the result view arrives, Home shows the current image in its area.
  if (screen == kScreenHome) ShowImageInArea(kHomeImageArea, g_app.currentImage);
}

void ModuleScreenLeaving(HWND, int) {}

void ModuleClearStoryboard(bool beepIfEmpty) {
  if (beepIfEmpty) MessageBeep(0);
}

bool ModuleSaveImage(HWND) { return false; }

void ModuleAcquiredImage(HWND, HGLOBAL dib) {
  if (dib != nullptr) GlobalFree(dib);
}

void ModuleEditStoryboardPhoto(HWND, HGLOBAL, int) {}
void ModuleAlbumChosen(HWND, int) {}
void ModulePrintTemplateChosen(HWND, int) {}
void ModuleAcquire(HWND) {}
void ModuleAcquireNamed(HWND, const std::string&) {}
bool ModuleAcquisitionRunning() { return false; }
void ModuleShutdown() {}

}  // namespace vmd
