#ifndef APP_STITCH_PROGRAM_STORYBOARD_H
#define APP_STITCH_PROGRAM_STORYBOARD_H

#include "storyboard.h"

namespace vmd {

/// The main window's storyboard: its 64 slots live from start-up to exit
/// (the photos in them are owned by the slots).
Storyboard& ProgramStoryboard();

}  // namespace vmd

#endif  // APP_STITCH_PROGRAM_STORYBOARD_H
