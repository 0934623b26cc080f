#include "folders.h"

#include <shlobj.h>

#include <cctype>
#include <vector>

namespace vmd {

namespace {

int CsidlOf(SpecialFolderKind kind) {
  switch (kind) {
    case SpecialFolderKind::kAppData: return CSIDL_APPDATA;
    case SpecialFolderKind::kDocuments: return CSIDL_PERSONAL;
    case SpecialFolderKind::kDesktop: return CSIDL_DESKTOPDIRECTORY;
    case SpecialFolderKind::kCommonDesktop: return CSIDL_COMMON_DESKTOPDIRECTORY;
  }
  return CSIDL_PERSONAL;
}

bool WantsCreation(SpecialFolderKind kind) {
  return kind == SpecialFolderKind::kAppData || kind == SpecialFolderKind::kDocuments;
}

using SpecialFolderPathFn = BOOL(WINAPI*)(HWND, LPSTR, int, BOOL);
using FolderPathFn = HRESULT(WINAPI*)(HWND, int, HANDLE, DWORD, LPSTR);

template <typename Fn>
Fn ProcOf(HMODULE module, const char* name) {
  return reinterpret_cast<Fn>(reinterpret_cast<void (*)()>(GetProcAddress(module, name)));
}

}  // namespace

bool ShellSpecialFolder(SpecialFolderKind kind, std::string* path) {
  char buffer[MAX_PATH] = {};
  bool found = false;
  if (HMODULE shell = LoadLibraryA("Shell32.dll")) {
    if (auto fn = ProcOf<SpecialFolderPathFn>(shell, "SHGetSpecialFolderPathA")) {
      found = fn(nullptr, buffer, CsidlOf(kind), WantsCreation(kind) ? TRUE : FALSE) != FALSE;
      FreeLibrary(shell);
      if (found && buffer[0] != '\0') *path = buffer;
      return found && buffer[0] != '\0';
    }
    FreeLibrary(shell);
  }
  if (HMODULE folders = LoadLibraryA("shfolder.dll")) {
    if (auto fn = ProcOf<FolderPathFn>(folders, "SHGetFolderPathA")) {
      int csidl = CsidlOf(kind) | (WantsCreation(kind) ? CSIDL_FLAG_CREATE : 0);
      found = SUCCEEDED(fn(nullptr, csidl, nullptr, 0, buffer)) && buffer[0] != '\0';
    }
    FreeLibrary(folders);
  }
  if (found) *path = buffer;
  return found;
}

std::string ProgramFolder() {
  char path[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  return FolderOfPath(path);
}

std::string VersionFolderName(const std::string& productVersion) {
  std::string result;
  int separators = 0;
  for (char c : productVersion) {
    bool plain = c == ' ' || std::isalnum(static_cast<unsigned char>(c));
    if (plain) {
      result.push_back(c);
      continue;
    }
    if (++separators == 2) break;
    result.push_back('.');
  }
  return result;
}

bool ReadProductVersion(HMODULE module, std::string* productName, std::string* productVersion) {
  char path[MAX_PATH] = {};
  if (GetModuleFileNameA(module, path, MAX_PATH) == 0) return false;
  DWORD handle = 0;
  DWORD size = GetFileVersionInfoSizeA(path, &handle);
  if (size == 0) return false;
  std::vector<char> data(size);
  if (!GetFileVersionInfoA(path, 0, size, data.data())) return false;
  struct Translation {
    WORD language;
    WORD codePage;
  };
  Translation* translation = nullptr;
  UINT length = 0;
  char block[64] = "\\StringFileInfo\\040904b0\\";
  if (VerQueryValueA(data.data(), "\\VarFileInfo\\Translation",
                     reinterpret_cast<void**>(&translation), &length) &&
      length >= sizeof(Translation)) {
    wsprintfA(block, "\\StringFileInfo\\%04x%04x\\", translation->language, translation->codePage);
  }
  char* value = nullptr;
  bool any = false;
  if (VerQueryValueA(data.data(), (std::string(block) + "ProductName").c_str(),
                     reinterpret_cast<void**>(&value), &length) && length > 0) {
    *productName = value;
    any = true;
  }
  if (VerQueryValueA(data.data(), (std::string(block) + "ProductVersion").c_str(),
                     reinterpret_cast<void**>(&value), &length) && length > 0) {
    *productVersion = value;
    any = true;
  }
  return any;
}

bool FolderExists(const std::string& folder) {
  DWORD attributes = GetFileAttributesA(folder.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool CreateFolderChain(const std::string& folder) {
  if (folder.empty()) return false;
  if (FolderExists(folder)) return true;
  std::string parent = FolderOfPath(folder);
  if (!parent.empty() && parent != folder && !(parent.size() == 2 && parent[1] == ':'))
    CreateFolderChain(parent);
  CreateDirectoryA(folder.c_str(), nullptr);
  return FolderExists(folder);
}

}  // namespace vmd
