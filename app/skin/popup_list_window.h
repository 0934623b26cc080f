#ifndef APP_SKIN_POPUP_LIST_WINDOW_H
#define APP_SKIN_POPUP_LIST_WINDOW_H

#include <windows.h>

#include <string>
#include <vector>

#include "control_panel.h"
#include "messages.h"

namespace vmd {

/// Opens the skinned pop-up list ("Vistameld PopupList") `listId` with its
/// top-left corner at (x, y) in the owner's client coordinates, `width` wide,
/// `selected` highlighted. A click or Enter reports the entry and closes the
/// list; Escape, a click outside or losing the focus closes it. Returns the
/// list window, or nullptr. The list reports with kMsgListChoice and
/// kMsgListClosed.
HWND OpenPopupList(HWND owner, int listId, const std::vector<std::string>& entries, int selected,
                   int x, int y, int width, const ToolkitFont& font);
/// Closes the open list, if any (the closed message is sent as usual).
void ClosePopupList();
/// The list open now, or nullptr.
HWND OpenListWindow();
/// The open list's id, or 0.
int OpenListId();

}  // namespace vmd

#endif  // APP_SKIN_POPUP_LIST_WINDOW_H
