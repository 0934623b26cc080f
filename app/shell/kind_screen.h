#ifndef APP_SHELL_KIND_SCREEN_H
#define APP_SHELL_KIND_SCREEN_H

#include <windows.h>

#include <string>

namespace vmd {

/// The panorama type screens (4, 10, 11, 12): the lens and size labels over
/// the button bar, the lens list, and the options the buttons set.

/// Creates the two read-only labels (child ids 202 and 203 at controls 364
/// and 365) showing the lens and the size; replaces labels that exist.
void CreateKindLabels(HWND main);
void DestroyKindLabels();
/// Shows the current lens and size in the labels.
void UpdateKindLabels();

/// The label texts: "Automatic", "%d mm Lens" with the focal length truncated,
/// or "Telephoto "; "Large", "Medium" or "Small".
std::string LensLabelText();
std::string SizeLabelText();

/// Chooses panorama kind `kind` (the radio buttons and Tab): a 360-degree
/// panorama takes the automatic lens; shows the kind's screen.
void ChooseKind(int kind);
/// Opens the lens list under the lens label; the button and the exposure
/// toggle under the list are hidden while it is open.
void OpenLensList(HWND main);
/// A lens list entry was chosen.
void ChooseLens(int entry);
/// The size button: Medium -> Large -> Small -> Medium.
void StepSize();
/// The exposure toggle: inverts exposure balancing.
void ToggleExposure();
/// Shows the exposure toggle as the options say (checked = balancing on).
void ShowExposureState();

}  // namespace vmd

#endif  // APP_SHELL_KIND_SCREEN_H
