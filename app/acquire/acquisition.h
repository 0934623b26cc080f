#ifndef APP_ACQUIRE_ACQUISITION_H
#define APP_ACQUIRE_ACQUISITION_H

/// The program's acquisition from scanners and cameras: "TWAIN_32.DLL"
/// loaded when the main window is made, one TWAIN session at a time started
/// by the Acquire button (the manager's "Select Source" dialog) or for a
/// source named by a still-image device, the message loop's messages offered
/// to the enabled source, and each picture handed to the main window as a
/// 24-bit DIB (WM_USER).

#include <string>

#include "win32_api.h"

namespace vmd {

/// The main window's creation: the program's identity, the source manager
/// (absent when "TWAIN_32.DLL" cannot be loaded) and the options MemoryScan
/// and MultiScan of "vmd3.ini".
void SetUpAcquisition(HWND main);
/// Acquire: the user picks the source. Without a source manager the user is
/// told it could not be found.
void AcquireFromChosenSource(HWND main);
/// Acquires from the source whose name matches `name` (white space and case
/// aside); beeps when there is no manager or no such source.
void AcquireFromNamedSource(HWND main, const std::string& name);
/// Whether a session is open (from the source's choice to its close).
bool AcquisitionRunning();
/// The message loop's offer: true when the enabled source took the message
/// (it is then neither translated nor dispatched). Pictures the source has
/// ready are transferred from here.
bool OfferMessageToSource(MSG* message);
/// The main window's destruction: the session closed, the manager unloaded.
void EndAcquisition();

}  // namespace vmd

#endif  // APP_ACQUIRE_ACQUISITION_H
