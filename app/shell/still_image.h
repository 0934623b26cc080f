#ifndef APP_SHELL_STILL_IMAGE_H
#define APP_SHELL_STILL_IMAGE_H

#include <string>

namespace vmd {

/// Asks the still-image service whether a device event launched the program;
/// on a launch, `source` receives the device's TWAIN data source name
/// ("TwainDS"). "STI.DLL" is loaded once, at run time. False: no launch.
bool QueryStillImageLaunch(std::string* source);

/// Frees "STI.DLL" if it was loaded.
void FreeStillImageLibrary();

}  // namespace vmd

#endif  // APP_SHELL_STILL_IMAGE_H
