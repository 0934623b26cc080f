#include "control_services.h"

#include "app_state.h"
#include "control_panel.h"
#include "screen_table.h"

namespace vmd {

bool SwitchScreen(int screen) {
  if (g_app.controlPanel == nullptr || !g_app.controlPanel->SwitchScreen(screen)) return false;
  g_app.currentScreen = screen;
  // The main window's first window word shows the screen to other programs
  // (the window tests read it).
  if (g_app.mainWindow != nullptr) SetWindowLongA(g_app.mainWindow, 0, screen);
  return true;
}

void ShowImageInArea(int controlId, HGLOBAL dib) {
  if (g_app.controlPanel != nullptr) g_app.controlPanel->ShowImageInArea(controlId, dib);
}

bool ControlRect(int controlId, RECT* rect) {
  return g_app.controlPanel != nullptr && g_app.controlPanel->ControlRect(controlId, rect);
}

void EnableControl(int controlId) {
  if (g_app.controlPanel != nullptr && g_app.controlPanel->State(controlId) == kStateDisabled)
    g_app.controlPanel->SetState(controlId, kStateNormal);
}

void DisableControl(int controlId) {
  if (g_app.controlPanel != nullptr) g_app.controlPanel->SetState(controlId, kStateDisabled);
}

void SetControlChecked(int controlId, bool checked) {
  if (g_app.controlPanel != nullptr)
    g_app.controlPanel->SetState(controlId, checked ? kStateChecked : kStateNormal);
}

void ShowControl(int controlId, bool show) {
  if (g_app.controlPanel != nullptr) g_app.controlPanel->ShowControl(controlId, show);
}

int ControlState(int controlId) {
  return g_app.controlPanel != nullptr ? g_app.controlPanel->State(controlId) : -1;
}

void SetSliderValue(int thumbId, int value) {
  if (g_app.controlPanel != nullptr) g_app.controlPanel->SetThumbValue(thumbId, value);
}

}  // namespace vmd
