#ifndef APP_SHELL_FONT_METRICS_H
#define APP_SHELL_FONT_METRICS_H

#include <windows.h>

#include <functional>

#include "app_state.h"

namespace vmd {

/// Looks up one export by name; nullptr when the library lacks it.
using ExportLookup = std::function<FARPROC(const char* name)>;

/// The exports bound, in binding order.
extern const char* const kFontMetricExports[9];

/// Binds the font metrics: looks the exports up in order and calls each one
/// found; stops at the first missing name, so that it and every later field
/// keep their start values. Returns the number of exports bound (0 to 9).
int BindFontMetrics(const ExportLookup& lookup, FontMetrics* metrics);

/// The same through GetProcAddress on a loaded module.
int BindFontMetrics(HMODULE module, FontMetrics* metrics);

}  // namespace vmd

#endif  // APP_SHELL_FONT_METRICS_H
