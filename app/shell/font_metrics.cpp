#include "font_metrics.h"

#include <cstring>

namespace vmd {

const char* const kFontMetricExports[9] = {
    "VMDRES_GetFontCharSet",        "VMDRES_GetFont",
    "VMDRES_GetAlbFont",            "VMDRES_GetPointSize_Tips",
    "VMDRES_GetFontHeight_AlbName", "VMDRES_GetFontHeight_AList",
    "VMDRES_GetFontHeight_Hint",    "VMDRES_GetFontHeight_Popup",
    "VMDRES_GetFontHeight_Print",
};

namespace {

using IntFn = int(__cdecl*)();
using FaceFn = int(__cdecl*)(char*);

template <typename Fn>
Fn As(FARPROC proc) {
  return reinterpret_cast<Fn>(reinterpret_cast<void (*)()>(proc));
}

/// Fills a face name through a 32-byte scratch buffer, so that a library
/// writing nothing (or no terminator) cannot spoil the start value.
void BindFace(FARPROC proc, char (&face)[32]) {
  char buffer[32];
  memcpy(buffer, face, sizeof buffer);
  if (As<FaceFn>(proc)(buffer) == 0) return;
  buffer[sizeof buffer - 1] = '\0';
  memcpy(face, buffer, sizeof buffer);
}

}  // namespace

int BindFontMetrics(const ExportLookup& lookup, FontMetrics* metrics) {
  int* heights[] = {&metrics->tipsPointSize, &metrics->albumNameHeight, &metrics->albumListHeight,
                    &metrics->hintHeight,    &metrics->popupHeight,     &metrics->printHeight};
  for (int i = 0; i < 9; ++i) {
    FARPROC proc = lookup(kFontMetricExports[i]);
    if (proc == nullptr) return i;
    if (i == 0) {
      metrics->charSet = As<IntFn>(proc)();
    } else if (i == 1) {
      BindFace(proc, metrics->faceName);
    } else if (i == 2) {
      BindFace(proc, metrics->albumFaceName);
    } else {
      *heights[i - 3] = As<IntFn>(proc)();
    }
  }
  return 9;
}

int BindFontMetrics(HMODULE module, FontMetrics* metrics) {
  return BindFontMetrics([module](const char* name) { return GetProcAddress(module, name); },
                         metrics);
}

}  // namespace vmd
