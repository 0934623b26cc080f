#ifndef APP_EXPORT_WEB_NAMES_H
#define APP_EXPORT_WEB_NAMES_H

#include <string>

namespace vmd {

/// The names of a web-page export, all made from the page path the user chose
/// (it ends in ".htm"). Folders are joined with backslashes, as the page and
/// the world file name them.
struct WebExportNames {
  std::string base;          ///< the page path without its extension
  std::string folder;        ///< base + "_files": strips, world file, images
  std::string worldFile;     ///< base + "_files\\panorama.wrl"
  std::string tilePrefix;    ///< base + "_files\\": tile k is tilePrefix + k + ".jpg"
  std::string pageFolder;    ///< the page's own name without extension + "_files"
};

/// The page path without its extension: everything before the last dot (the
/// whole path when it has none).
std::string PathWithoutExtension(const std::string& path);

WebExportNames MakeWebExportNames(const std::string& pagePath);

}  // namespace vmd

#endif  // APP_EXPORT_WEB_NAMES_H
