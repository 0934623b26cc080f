// The Export command's hand-over to the two export writers.
#include "export_handover.h"

#include "movie_export.h"
#include "web_export.h"

namespace vmd {

bool WritePanoramaMovie(HWND owner, const std::string& bitmapPath, const std::string& moviePath) {
  return MakePanoramaMovie(owner, bitmapPath.c_str(), moviePath.c_str()) == 0;
}

bool WriteWebPage(HWND owner, const std::string& pagePath, const std::string&, int, HGLOBAL image) {
  return WritePageForStrips(owner, image, pagePath.c_str());
}

}  // namespace vmd
