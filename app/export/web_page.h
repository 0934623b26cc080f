#ifndef APP_EXPORT_WEB_PAGE_H
#define APP_EXPORT_WEB_PAGE_H

#include <string>

#include "web_names.h"

namespace vmd {

/// The most of a tail template that goes into a page.
constexpr size_t kTailTemplateLimit = 600;

/// What a web-page export needs besides the names.
struct WebPageOptions {
  std::string uiFolder;     ///< the program's UI folder, with its trailing separator
  bool noLumacove = false;  ///< the NOLUMACOVE switch: no photo-service links
  std::string url;          ///< the photo-service link (used when noLumacove is false)
};

enum class WebPageResult {
  kWritten,          ///< world file and page written
  kWorldNotWritten,  ///< the world file could not be created; no page written
  kPageNotWritten,   ///< the head or tail template could not be read; the page is untouched
  kTailEmpty,        ///< the tail template is empty; the page ends after the EMBED line
};

/// The page body from the body tag to the EMBED line, with CR LF line ends.
/// `pageFolder` is the companion folder as the page names it (relative);
/// `worldFile` the world file's path as the EMBED's source.
std::string WebPageBody(const std::string& pageFolder, const std::string& worldFile,
                        bool noLumacove, const std::string& url);

/// The tail of a page: at most kTailTemplateLimit bytes of the template, up to
/// its first zero byte.
std::string PageTail(const std::string& tailTemplate);

/// Writes the world file, copies the decoration images from the UI folder into
/// the companion folder (missing images are skipped), then the page: the head
/// template, the body and the tail template. The page replaces `pagePath` only
/// once complete. `width` and `height` are the panorama's, in pixels.
WebPageResult WriteWebPage(const std::string& pagePath, const WebExportNames& names, int width,
                           int height, const WebPageOptions& options);

}  // namespace vmd

#endif  // APP_EXPORT_WEB_PAGE_H
