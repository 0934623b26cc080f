#include "help.h"

#include <shellapi.h>

#include <string>
#include <vector>

#include "folders.h"
#include "settings.h"

namespace vmd {

namespace {

bool FileExists(const std::string& path) {
  DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

/// The major file version of a program, or -1 when it has no version resource.
int FileVersionMajor(const std::string& path) {
  DWORD handle = 0;
  DWORD size = GetFileVersionInfoSizeA(path.c_str(), &handle);
  if (size == 0) return -1;
  std::vector<char> data(size);
  if (!GetFileVersionInfoA(path.c_str(), 0, size, data.data())) return -1;
  VS_FIXEDFILEINFO* info = nullptr;
  UINT length = 0;
  if (!VerQueryValueA(data.data(), "\\", reinterpret_cast<void**>(&info), &length) ||
      length < sizeof(VS_FIXEDFILEINFO))
    return -1;
  return static_cast<int>(HIWORD(info->dwFileVersionMS));
}

/// The system's WinHelp viewer is "winhlp32.exe" in the Windows folder.
bool SystemViewerUsable() {
  char folder[MAX_PATH] = {};
  UINT length = GetWindowsDirectoryA(folder, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return false;
  std::string viewer = JoinPath(folder, "winhlp32.exe");
  bool exists = FileExists(viewer);
  return ViewerUsable(exists, exists ? FileVersionMajor(viewer) : -1);
}

}  // namespace

HelpRouteKind ChooseHelpRoute(bool helpFileExists, bool viewerUsable, bool htmlCopyExists) {
  if (helpFileExists && viewerUsable) return HelpRouteKind::kWinHelp;
  if (htmlCopyExists) return HelpRouteKind::kHtml;
  return HelpRouteKind::kNothing;
}

bool ViewerUsable(bool viewerExists, int fileVersionMajor) {
  return viewerExists && fileVersionMajor < 10;
}

const char* HelpPageOfRequest(UINT command, ULONG_PTR topic) {
  if (command == HELP_CONTENTS || command == HELP_FINDER || command == HELP_INDEX)
    return "index.html";
  if (command != HELP_CONTEXT) return nullptr;
  // The guide's topic names; the build gives them these context numbers.
  switch (topic) {
    case 1000:
      return "home.html";
    case 2000:
      return "kinds.html";
    case 3000:
      return "storyboard.html";
    case 4000:
      return "preview.html";
    case 5000:
      return "finetune.html";
    case 7000:
      return "print.html";
    case 9000:
      return "editor.html";
    default:
      return "index.html";
  }
}

void OpenHelp(HWND owner, UINT command, ULONG_PTR topic) {
  const std::string& folder = Settings().programFolder;
  std::string helpFile = JoinPath(folder, "vmd3.hlp");
  const char* page = HelpPageOfRequest(command, topic);
  std::string htmlPage = page != nullptr ? JoinPath(JoinPath(folder, "help"), page) : std::string();
  bool helpFileExists = FileExists(helpFile);
  switch (ChooseHelpRoute(helpFileExists, helpFileExists && SystemViewerUsable(),
                          !htmlPage.empty() && FileExists(htmlPage))) {
    case HelpRouteKind::kWinHelp:
      WinHelpA(owner, helpFile.c_str(), command, topic);
      return;
    case HelpRouteKind::kHtml:
      // No program for web pages: the same beep as without any help.
      if (reinterpret_cast<INT_PTR>(ShellExecuteA(owner, "open", htmlPage.c_str(), nullptr, nullptr,
                                                  SW_SHOWNORMAL)) <= 32)
        MessageBeep(MB_OK);
      return;
    case HelpRouteKind::kNothing:
      if (page != nullptr) MessageBeep(MB_OK);
      return;
  }
}

}  // namespace vmd
