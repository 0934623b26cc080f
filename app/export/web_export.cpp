#include "web_export.h"

#include <cstring>
#include <string>

#include "app_state.h"
#include "folders.h"
#include "image_files.h"
#include "settings.h"
#include "vrml_world.h"
#include "web_names.h"
#include "web_page.h"

namespace vmd {
namespace {

constexpr UINT kWarningCaption = 52388;
constexpr UINT kHtmlExportError = 50123;
constexpr UINT kSharedBadName = 11001;

void ShowSharedMessage(HWND owner, UINT id) {
  char text[512] = {};
  if (HMODULE shared = LoadLibraryA("Res_Zel.DLL")) {
    LoadStringA(shared, id, text, sizeof text);
    FreeLibrary(shared);
  }
  MessageBoxA(owner, text, LoadUiString(kWarningCaption).c_str(), MB_OK);
}

WebPageOptions PageOptions() {
  WebPageOptions options;
  options.uiFolder = JoinPath(ProgramFolder(), "UI") + "\\";
  options.noLumacove = NoLumacove();
  options.url = ReadProfileSettingText(ProfileSetting::kUrl);
  if (options.url.empty()) options.url = "http://www.quorvex.com/photos/";
  return options;
}

}  // namespace

bool WritePageForStrips(HWND owner, HGLOBAL image, const char* path) {
  const WebExportNames names = MakeWebExportNames(path);
  const auto* header = static_cast<const BITMAPINFOHEADER*>(GlobalLock(image));
  if (header == nullptr) return false;
  const int width = static_cast<WORD>(header->biWidth);
  const int height = static_cast<WORD>(header->biHeight);
  GlobalUnlock(image);
  switch (WriteWebPage(path, names, width, height, PageOptions())) {
    case WebPageResult::kWritten:
      return true;
    case WebPageResult::kWorldNotWritten:
      MessageBoxA(owner, LoadUiString(kHtmlExportError).c_str(), LoadUiString(kWarningCaption).c_str(), MB_OK);
      return false;
    case WebPageResult::kPageNotWritten:
      MessageBoxA(nullptr, "Failed to create file.", nullptr, MB_OK);
      return false;
    case WebPageResult::kTailEmpty:
      MessageBoxA(nullptr, "Failed to read file.", nullptr, MB_OK);
      return true;
  }
  return false;
}

bool ExportWebPage(HWND owner, HGLOBAL image, const char* path) {
  if (std::strlen(path) > kWebPagePathLimit) {
    ShowSharedMessage(owner, kSharedBadName);
    return false;
  }
  const WebExportNames names = MakeWebExportNames(path);
  SetCursor(LoadCursor(nullptr, IDC_WAIT));
  bool written = false;
  if (!CreateFolderChain(names.folder) || !WriteImageStrips(image, kWebTileCount, names.folder)) {
    MessageBoxA(owner, LoadUiString(kHtmlExportError).c_str(), LoadUiString(kWarningCaption).c_str(),
                MB_OK);
  } else {
    written = WritePageForStrips(owner, image, path);
  }
  SetCursor(LoadCursor(nullptr, IDC_ARROW));
  return written;
}

}  // namespace vmd
