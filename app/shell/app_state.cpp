#include "app_state.h"

#include "folders.h"
#include "pixio.h"

namespace vmd {

AppState g_app;

int LoadUiString(UINT id, char* buffer, int size) {
  if (buffer == nullptr || size <= 0) return 0;
  buffer[0] = '\0';
  if (g_app.resourceModule == nullptr) return 0;
  return LoadStringA(g_app.resourceModule, id, buffer, size);
}

std::string LoadUiString(UINT id) {
  char buffer[1024];
  int length = LoadUiString(id, buffer, sizeof buffer);
  return std::string(buffer, length > 0 ? length : 0);
}

HGLOBAL ReadUiImage(UINT nameId) {
  const std::string name = LoadUiString(nameId);
  if (name.empty()) return nullptr;
  const std::string path = ProgramFolder() + "\\UI\\" + name;
  return ImgReadDib(nullptr, path.c_str());
}

StitchOptions StartStitchOptions() {
  StitchOptions options = {};
  options.reserved = 1;
  options.detail = 1;
  options.exposureBalance = 1;
  options.blendPercent = 5;
  options.lensMode = 0;
  options.focal = 1200.0;
  return options;
}

std::vector<std::string> PhotoFileTypes(bool noGif) {
  std::vector<std::string> types = {"BMP", "TIF", "PCX"};
  if (!noGif) types.push_back("GIF");
  for (const char* type : {"TGA", "JPG", "JPEG", "FPX"}) types.push_back(type);
  return types;
}

}  // namespace vmd
