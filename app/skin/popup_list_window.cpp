#include "popup_list_window.h"

#include <windowsx.h>

#include <algorithm>

#include "unique_handle.h"
#include "window_class.h"

namespace vmd {

namespace {

constexpr char kListClass[] = "Vistameld PopupList";
constexpr COLORREF kListFill = RGB(248, 248, 252);
constexpr COLORREF kListBorder = RGB(84, 82, 110);
constexpr COLORREF kListText = RGB(28, 28, 40);
constexpr COLORREF kHighlight = RGB(58, 96, 160);
constexpr COLORREF kHighlightText = RGB(255, 255, 255);
constexpr int kMaxVisible = 12;

struct ListRecord {
  HWND owner = nullptr;
  int listId = 0;
  std::vector<std::string> entries;
  int highlight = 0;
  int first = 0;  ///< first entry shown
  int rowHeight = 20;
  UniqueFont font;
  bool reported = false;
};

HWND g_openList = nullptr;

ListRecord* RecordOf(HWND window) { return WindowRecordOf<ListRecord>(window); }

int VisibleRows(const ListRecord& record) {
  return std::min(kMaxVisible, static_cast<int>(record.entries.size()));
}

void Scroll(HWND window, ListRecord* record) {
  const int visible = VisibleRows(*record);
  if (record->highlight < record->first) record->first = record->highlight;
  if (record->highlight >= record->first + visible) record->first = record->highlight - visible + 1;
  record->first = std::clamp(record->first, 0, std::max(0, static_cast<int>(record->entries.size()) - visible));
  InvalidateRect(window, nullptr, FALSE);
}

void Choose(HWND window, ListRecord* record, int entry) {
  if (entry < 0 || entry >= static_cast<int>(record->entries.size())) return;
  record->reported = true;
  HWND owner = record->owner;
  const int listId = record->listId;
  PostMessageA(owner, kMsgListChoice, MAKEWPARAM(entry, 1), listId);
  DestroyWindow(window);
}

int EntryAt(const ListRecord& record, int y) {
  const int row = (y - 2) / record.rowHeight;
  if (y < 2 || row >= VisibleRows(record)) return -1;
  return record.first + row;
}

void OnPaint(HWND window) {
  PaintDC paint(window);
  ListRecord* record = RecordOf(window);
  RECT client;
  GetClientRect(window, &client);
  UniqueBrush fill(CreateSolidBrush(kListFill));
  UniquePen border(CreatePen(PS_SOLID, 1, kListBorder));
  {
    SelectedObject pen(paint.get(), border.get());
    SelectedObject brush(paint.get(), fill.get());
    Rectangle(paint.get(), client.left, client.top, client.right, client.bottom);
  }
  if (record == nullptr) return;
  SelectedObject font(paint.get(), record->font.get());
  SetBkMode(paint.get(), TRANSPARENT);
  UniqueBrush highlight(CreateSolidBrush(kHighlight));
  for (int row = 0; row < VisibleRows(*record); ++row) {
    const int entry = record->first + row;
    RECT line = {2, 2 + row * record->rowHeight, client.right - 2, 2 + (row + 1) * record->rowHeight};
    if (entry == record->highlight) FillRect(paint.get(), &line, highlight.get());
    SetTextColor(paint.get(), entry == record->highlight ? kHighlightText : kListText);
    RECT text = line;
    text.left += 8;
    DrawTextA(paint.get(), record->entries[entry].c_str(), -1, &text,
              DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
  }
}

LRESULT CALLBACK ListProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  ListRecord* record = RecordOf(window);
  switch (message) {
    case WM_NCCREATE:
      KeepCreateRecord<ListRecord>(window, lParam);
      break;
    case WM_NCDESTROY:
      if (g_openList == window) g_openList = nullptr;
      if (record != nullptr) PostMessageA(record->owner, kMsgListClosed, 0, record->listId);
      DeleteWindowRecord<ListRecord>(window);
      break;
    case WM_PAINT:
      OnPaint(window);
      return 0;
    case WM_MOUSEMOVE:
      if (record != nullptr) {
        const int entry = EntryAt(*record, GET_Y_LPARAM(lParam));
        if (entry >= 0 && entry != record->highlight) {
          record->highlight = entry;
          InvalidateRect(window, nullptr, FALSE);
        }
      }
      return 0;
    case WM_LBUTTONDOWN: {
      RECT client;
      GetClientRect(window, &client);
      POINT at = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
      if (!PtInRect(&client, at)) {
        DestroyWindow(window);
        return 0;
      }
      if (record != nullptr) Choose(window, record, EntryAt(*record, at.y));
      return 0;
    }
    case WM_RBUTTONDOWN:
      DestroyWindow(window);
      return 0;
    case WM_MOUSEWHEEL:
      if (record != nullptr) {
        const int step = GET_WHEEL_DELTA_WPARAM(wParam) > 0 ? -1 : 1;
        record->highlight = std::clamp(record->highlight + step, 0, static_cast<int>(record->entries.size()) - 1);
        Scroll(window, record);
      }
      return 0;
    case WM_KEYDOWN:
      if (record == nullptr) return 0;
      switch (wParam) {
        case VK_ESCAPE: DestroyWindow(window); return 0;
        case VK_RETURN: Choose(window, record, record->highlight); return 0;
        case VK_UP: record->highlight = std::max(0, record->highlight - 1); Scroll(window, record); return 0;
        case VK_DOWN:
          record->highlight = std::min(static_cast<int>(record->entries.size()) - 1, record->highlight + 1);
          Scroll(window, record);
          return 0;
        default: return 0;
      }
    case WM_CAPTURECHANGED:
      // Another window took the mouse (a message box, a menu): the list goes.
      if (reinterpret_cast<HWND>(lParam) != window) PostMessageA(window, WM_CLOSE, 0, 0);
      return 0;
    case WM_ACTIVATE:
      // Another program or window taking over closes the list; the owner
      // taking the focus back does not (it hands the list its keys).
      if (LOWORD(wParam) == WA_INACTIVE && (record == nullptr || reinterpret_cast<HWND>(lParam) != record->owner))
        PostMessageA(window, WM_CLOSE, 0, 0);
      return 0;
    default:
      break;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

bool EnsureListClassRegistered() {
  WindowClassLook look;
  look.style = CS_SAVEBITS;
  return RegisterProgramClass(kListClass, ListProc, look);
}

}  // namespace

HWND OpenPopupList(HWND owner, int listId, const std::vector<std::string>& entries, int selected,
                   int x, int y, int width, const ToolkitFont& font) {
  if (entries.empty()) return nullptr;
  ClosePopupList();
  if (!EnsureListClassRegistered()) return nullptr;
  auto* record = new ListRecord;
  record->owner = owner;
  record->listId = listId;
  record->entries = entries;
  record->highlight = std::clamp(selected, 0, static_cast<int>(entries.size()) - 1);
  record->rowHeight = font.height + 8;
  record->font.reset(CreateToolkitFont(font));
  POINT at = {x, y};
  ClientToScreen(owner, &at);
  const int height = VisibleRows(*record) * record->rowHeight + 4;
  HWND list = CreateWindowExA(WS_EX_TOOLWINDOW, kListClass, "", WS_POPUP, at.x, at.y, width,
                              height, owner, nullptr, GetModuleHandleA(nullptr), record);
  if (list == nullptr) {
    delete record;
    return nullptr;
  }
  Scroll(list, record);
  g_openList = list;
  ShowWindow(list, SW_SHOW);
  SetFocus(list);
  SetCapture(list);
  return list;
}

void ClosePopupList() {
  if (g_openList != nullptr) DestroyWindow(g_openList);
  g_openList = nullptr;
}

HWND OpenListWindow() { return g_openList; }

int OpenListId() {
  ListRecord* record = g_openList != nullptr ? RecordOf(g_openList) : nullptr;
  return record != nullptr ? record->listId : 0;
}

}  // namespace vmd
