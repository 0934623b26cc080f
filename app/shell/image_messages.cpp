#include "image_messages.h"

#include "app_state.h"

namespace vmd {

namespace {

constexpr UINT kWarningCaption = 52388;
constexpr UINT kSaveQuestion = 50027;

}  // namespace

std::string LoadSharedString(UINT id) {
  HMODULE shared = LoadLibraryExA("Res_Zel.DLL", nullptr, LOAD_LIBRARY_AS_DATAFILE);
  if (shared == nullptr) return std::string();
  char text[1024];
  int length = LoadStringA(shared, id, text, sizeof text);
  FreeLibrary(shared);
  return std::string(text, length > 0 ? length : 0);
}

void ShowImageWarning(HWND owner, UINT textId) {
  MessageBoxA(owner, LoadUiString(textId).c_str(), LoadUiString(kWarningCaption).c_str(), MB_OK);
}

void ShowTextWarning(HWND owner, const std::string& text) {
  MessageBoxA(owner, text.c_str(), LoadUiString(kWarningCaption).c_str(), MB_OK | MB_ICONEXCLAMATION);
}

void ShowSharedWarning(HWND owner, UINT textId) {
  MessageBoxA(owner, LoadSharedString(textId).c_str(), LoadUiString(kWarningCaption).c_str(), MB_OK);
}

int AskSaveImage(HWND owner) {
  return MessageBoxA(owner, LoadUiString(kSaveQuestion).c_str(), LoadUiString(kWarningCaption).c_str(),
                     MB_YESNOCANCEL | MB_ICONQUESTION);
}

}  // namespace vmd
