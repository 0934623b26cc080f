#include "web_names.h"

namespace vmd {

std::string PathWithoutExtension(const std::string& path) {
  const size_t dot = path.rfind('.');
  if (dot == std::string::npos) return path;
  return path.substr(0, dot);
}

WebExportNames MakeWebExportNames(const std::string& pagePath) {
  WebExportNames names;
  names.base = PathWithoutExtension(pagePath);
  names.folder = names.base + "_files";
  names.worldFile = names.base + "_files\\panorama.wrl";
  names.tilePrefix = names.base + "_files\\";
  const size_t cut = names.base.find_last_of("\\:");
  const std::string name = cut == std::string::npos ? names.base : names.base.substr(cut + 1);
  names.pageFolder = name + "_files";
  return names;
}

}  // namespace vmd
