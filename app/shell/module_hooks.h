#ifndef APP_SHELL_MODULE_HOOKS_H
#define APP_SHELL_MODULE_HOOKS_H

#include <windows.h>

#include <string>

#include "screen_table.h"

namespace vmd {

/// Where the main window hands work to the modules that do it: image open,
/// save and export, the photo editor and result view, the full-screen views,
/// printing, the album window and storyboard, stitching, and acquisition.
/// Each module wires itself in here; a module that is not there yet does
/// nothing, and the main window carries on as if the work had been declined.

/// Runs a command of a control or key that a module owns. False when no
/// module took it.
bool RunModuleCommand(HWND main, Command command, int32_t parameter, int controlId);

/// Every WM_COMMAND of the main window is offered here first (the print
/// layout's edit fields); true when a module took it.
bool ModuleOfferCommand(WPARAM wParam, LPARAM lParam);

/// A screen has been entered / is about to be left: modules open and close
/// their windows over it (result view, storyboard boxes, album window...).
void ModuleScreenEntered(HWND main, int screen);
void ModuleScreenLeaving(HWND main, int screen);

/// Empties the storyboard (with a beep when asked and it is already empty).
void ModuleClearStoryboard(bool beepIfEmpty);

/// Saves the current image through the Save dialog (the closing question's
/// "Yes"). False when no save was attempted (the dialog was cancelled).
bool ModuleSaveImage(HWND main);

/// Private messages that belong to modules.
void ModuleAcquiredImage(HWND main, HGLOBAL dib);
void ModuleEditStoryboardPhoto(HWND main, HGLOBAL photo, int slot);
void ModuleAlbumChosen(HWND main, int entry);
void ModulePrintTemplateChosen(HWND main, int entry);
/// Acquisition: command 40050, and 40051 with a source name.
void ModuleAcquire(HWND main);
void ModuleAcquireNamed(HWND main, const std::string& source);
bool ModuleAcquisitionRunning();
/// The main window's creation (after its control panel): acquisition's
/// identity, source manager and options.
void ModuleMainWindowCreated(HWND main);
/// The message loop offers every message here before translating it; true
/// when an enabled TWAIN source took it.
bool ModuleOfferMessage(MSG* message);

/// WM_DESTROY of the main window: modules end their sessions and free what
/// they hold (stitch session, viewer, storyboard photos).
void ModuleShutdown();

}  // namespace vmd

#endif  // APP_SHELL_MODULE_HOOKS_H
