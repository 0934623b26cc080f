// Stand-ins for the control panel's services until the control panel provides
// them: weak, so the control panel's own definitions take their place.
#include "control_services.h"

namespace vmd {

__attribute__((weak)) void EnableControl(int) {}
__attribute__((weak)) void DisableControl(int) {}
__attribute__((weak)) void ShowImageInArea(int, HGLOBAL) {}

}  // namespace vmd
