#include "kind_screen.h"

#include <cstdio>
#include <vector>

#include "app_state.h"
#include "control_services.h"
#include "popup_list_window.h"
#include "screen_table.h"
#include "unique_handle.h"

namespace vmd {

namespace {

HWND g_lensLabel = nullptr;
HWND g_sizeLabel = nullptr;
UniqueFont g_labelFont;

HWND CreateLabel(HWND main, int id, int placeId) {
  RECT place;
  if (!ControlRect(placeId, &place)) return nullptr;
  HWND label = CreateWindowExA(0, "Static", "", WS_CHILD | WS_VISIBLE | SS_LEFT | SS_CENTERIMAGE | SS_NOPREFIX,
                               place.left + 6, place.top, place.right - place.left + 1 - 6,
                               place.bottom - place.top + 1, main,
                               reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), g_app.instance, nullptr);
  if (label != nullptr) SendMessageA(label, WM_SETFONT, reinterpret_cast<WPARAM>(g_labelFont.get()), TRUE);
  return label;
}

std::string EntryText(const LensEntry& entry) {
  if (entry.mode == 0) return LoadUiString(50119);
  if (entry.mode == 2) return LoadUiString(50120);
  char text[64];
  std::snprintf(text, sizeof text, LoadUiString(50118).c_str(), entry.focalMm);
  return text;
}

}  // namespace

std::string LensLabelText() {
  const StitchOptions& options = g_app.stitchOptions;
  return EntryText({static_cast<int>(options.lensMode), static_cast<int>(options.focal)});
}

std::string SizeLabelText() { return LoadUiString(SizeLabelString(g_app.stitchOptions.detail)); }

void CreateKindLabels(HWND main) {
  DestroyKindLabels();
  const FontMetrics& fonts = g_app.fontMetrics;
  // The album face at the album-name height, a little heavier than normal.
  g_labelFont.reset(CreateFontA(-(fonts.albumNameHeight + 4), 0, 0, 0, 500, FALSE, FALSE, FALSE,
                                static_cast<BYTE>(fonts.charSet), OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                                DEFAULT_QUALITY, DEFAULT_PITCH, fonts.albumFaceName));
  g_lensLabel = CreateLabel(main, kLensLabelWindow, kLensLabelPlace);
  g_sizeLabel = CreateLabel(main, kSizeLabelWindow, kSizeLabelPlace);
  UpdateKindLabels();
}

void DestroyKindLabels() {
  if (g_lensLabel != nullptr) DestroyWindow(g_lensLabel);
  if (g_sizeLabel != nullptr) DestroyWindow(g_sizeLabel);
  g_lensLabel = g_sizeLabel = nullptr;
  g_labelFont.reset();
}

void UpdateKindLabels() {
  if (g_lensLabel != nullptr) SetWindowTextA(g_lensLabel, LensLabelText().c_str());
  if (g_sizeLabel != nullptr) SetWindowTextA(g_sizeLabel, SizeLabelText().c_str());
}

void ChooseKind(int kind) {
  g_app.panoramaKind = static_cast<PanoramaKind>(kind);
  if (kind == Pano360) {
    g_app.stitchOptions.lensMode = 0;
    UpdateKindLabels();
  }
  SwitchScreen(KindScreenOf(kind));
  SetControlChecked(KindRadioOf(kind), true);
  for (int other = 0; other < 4; ++other)
    if (other != kind) SetControlChecked(KindRadioOf(other), false);
}

void OpenLensList(HWND main) {
  RECT label;
  if (!ControlRect(kLensLabelPlace, &label)) return;
  std::vector<std::string> texts;
  int selected = 0;
  const std::vector<LensEntry> entries = LensEntries(g_app.panoramaKind);
  const StitchOptions& options = g_app.stitchOptions;
  for (size_t i = 0; i < entries.size(); ++i) {
    texts.push_back(EntryText(entries[i]));
    const bool current = entries[i].mode == static_cast<int>(options.lensMode) &&
                         (entries[i].mode != 1 || entries[i].focalMm == static_cast<int>(options.focal));
    if (current) selected = static_cast<int>(i);
  }
  ToolkitFont font;
  font.faceName = g_app.fontMetrics.faceName;
  font.height = g_app.fontMetrics.popupHeight;
  font.charSet = g_app.fontMetrics.charSet;
  if (OpenPopupList(main, kLensList, texts, selected, label.left - 3, label.top + 21,
                    label.right - label.left + 1, font) == nullptr)
    return;
  ShowControl(kLensButton, false);
  ShowControl(kExposureToggle, false);
}

void ChooseLens(int entry) {
  const std::vector<LensEntry> entries = LensEntries(g_app.panoramaKind);
  if (entry < 0 || entry >= static_cast<int>(entries.size())) return;
  StitchOptions& options = g_app.stitchOptions;
  const LensEntry& chosen = entries[entry];
  options.lensMode = chosen.mode;
  // The telephoto setting keeps the focal length it had.
  if (chosen.mode == 1) options.focal = chosen.focalMm;
  UpdateKindLabels();
  ShowControl(kExposureToggle, true);
  EnableControl(kExposureToggle);
  ShowExposureState();
}

void StepSize() {
  g_app.stitchOptions.detail = NextSize(g_app.stitchOptions.detail);
  UpdateKindLabels();
}

void ToggleExposure() {
  g_app.stitchOptions.exposureBalance = g_app.stitchOptions.exposureBalance ? 0 : 1;
  ShowExposureState();
}

void ShowExposureState() { SetControlChecked(kExposureToggle, g_app.stitchOptions.exposureBalance != 0); }

}  // namespace vmd
