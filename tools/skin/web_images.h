#ifndef TOOLS_SKIN_WEB_IMAGES_H
#define TOOLS_SKIN_WEB_IMAGES_H

#include <vector>

#include "ui_images.h"

namespace vmd {

/// The decoration images of an exported web page, named as the page names
/// them ("vistameld.gif", "360view.gif", "lclogo.gif", "lcroll.gif",
/// "bglevel.gif"). The build writes them as BMP files and turns them into GIF
/// files through the program's own codec library.
std::vector<NamedImage> DrawWebImages();

}  // namespace vmd

#endif  // TOOLS_SKIN_WEB_IMAGES_H
