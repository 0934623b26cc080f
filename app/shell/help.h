#ifndef APP_SHELL_HELP_H
#define APP_SHELL_HELP_H

/// The program's help: the guide "vmd3.hlp" beside the program, opened in the
/// WinHelp viewer, or its HTML copy "help\" beside the program, opened in the
/// web browser when the system has no WinHelp viewer.

#include <windows.h>

namespace vmd {

/// How a help request is answered.
enum class HelpRouteKind { kWinHelp, kHtml, kNothing };

/// The choice: the WinHelp viewer when the help file exists and a viewer is
/// usable; otherwise the HTML copy when it exists; otherwise nothing (never
/// the viewer's "Cannot find" box).
HelpRouteKind ChooseHelpRoute(bool helpFileExists, bool viewerUsable, bool htmlCopyExists);

/// Whether the system's "winhlp32.exe" is a WinHelp viewer: present, and not
/// the stub of Windows 10 and later (file version 10 or higher), which only
/// says that WinHelp is no longer shipped. `fileVersionMajor` < 0: the file
/// has no version resource.
bool ViewerUsable(bool viewerExists, int fileVersionMajor);

/// The page of the HTML copy for a WinHelp request: "index.html" for the
/// contents, the screen's page for the context numbers of HELP_CONTEXT, and
/// null for requests the HTML copy cannot answer (closing the viewer, say).
const char* HelpPageOfRequest(UINT command, ULONG_PTR topic);

/// Opens the help: `command` and `topic` as for WinHelp (HELP_CONTENTS, or
/// HELP_CONTEXT with a context number). When neither the help file nor the
/// HTML copy is there, a beep.
void OpenHelp(HWND owner, UINT command, ULONG_PTR topic);

}  // namespace vmd

#endif  // APP_SHELL_HELP_H
