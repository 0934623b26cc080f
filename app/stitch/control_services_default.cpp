// Stand-ins for the control panel's services until the control panel provides
// them. Weak in the native build, so a definition elsewhere takes their place;
// the MinGW linker does not find weak definitions inside an archive, so there
// they are ordinary ones, alone in this file: a program that defines the
// services itself never pulls this member in.
#include "stitch_controls.h"

#if defined(_WIN32)
#define VMD_STAND_IN
#else
#define VMD_STAND_IN __attribute__((weak))
#endif

namespace vmd {

VMD_STAND_IN void EnableControl(int) {}
VMD_STAND_IN void DisableControl(int) {}
VMD_STAND_IN void ShowImageInArea(int, HGLOBAL) {}

}  // namespace vmd
