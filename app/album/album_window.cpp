#include "album_window.h"

#include <windowsx.h>

#include "album_grid.h"
#include "album_adding.h"
#include "album_clipboard.h"
#include "album_dialogs.h"
#include "album_item.h"
#include "album_order.h"
#include "album_items.h"
#include "album_registry.h"
#include "app_state.h"
#include "control_services.h"
#include "dialog_messages.h"
#include "dib_draw.h"
#include "path_text.h"
#include "settings.h"
#include "window_class.h"

namespace vmd {

namespace {

constexpr char kAlbumClass[] = "Vistameld AlbumWnd";
constexpr int kAlbumThumb = 310;
constexpr int kDropCursor = 200;
constexpr int kNoDropCursor = 201;
constexpr int kDragDistance = 4;
constexpr UINT kStringUntitled = 50031;  ///< "Untitled-"
constexpr UINT kStringNewAlbum = 50032;  ///< "[New Album]"
constexpr COLORREF kAlbumColour = RGB(255, 255, 255);
constexpr COLORREF kSelectedColour = RGB(49, 106, 197);

struct AlbumWindowState {
  HWND window = nullptr;
  HFONT font = nullptr;
  AlbumDropTarget target;
  AlbumGrid grid;
  int album = -1;
  std::vector<HGLOBAL> thumbnails;
  std::vector<std::string> names;
  POINT pressAt = {};
  bool pressed = false;
  bool dragging = false;
};

AlbumWindowState g_album;
AlbumClipboard g_clipboard;

void FreeThumbnails() {
  for (HGLOBAL thumb : g_album.thumbnails)
    if (thumb != nullptr) GlobalFree(thumb);
  g_album.thumbnails.clear();
  g_album.names.clear();
}

void UpdateThumb() { SetSliderValue(kAlbumThumb, AlbumScrollPosition(g_album.grid)); }

void Refresh() {
  if (g_album.window != nullptr) InvalidateRect(g_album.window, nullptr, TRUE);
  UpdateThumb();
}

void SizeGrid() {
  RECT client = {};
  if (g_album.window != nullptr) GetClientRect(g_album.window, &client);
  SizeAlbumGrid(g_album.grid, client.right, client.bottom, CurrentAlbumItems().Count());
}

/// Reads the thumbnails and names of the album in memory.
void TakeAlbum() {
  FreeThumbnails();
  AlbumItems& items = CurrentAlbumItems();
  for (int i = 0; i < items.Count(); ++i) {
    g_album.thumbnails.push_back(ItemThumbnailDib(items.Item(i)));
    g_album.names.push_back(FileNameOfPath(items.ItemPath(i)));
  }
  g_album.grid = AlbumGrid();
  SizeGrid();
}

void KeepPlace() {
  if (g_album.album < 0) return;
  SetAlbumPosition(g_album.album, AlbumPlace::kPosition, g_album.grid.current < 0 ? 0 : g_album.grid.current);
  SetAlbumPosition(g_album.album, AlbumPlace::kHeadRow, g_album.grid.headRow);
}

void LoadShownAlbum(int index) {
  g_album.album = index;
  if (index >= 0 && index < AlbumCount()) {
    LoadAlbum(AlbumPath(index));
    CurrentAlbumItems().SetSampleFolder(AlbumFolder());
  } else {
    FreeAlbum();
  }
  TakeAlbum();
  if (index >= 0 && index < AlbumCount()) {
    const int position = AlbumPosition(index, AlbumPlace::kPosition);
    if (position >= 0 && position < g_album.grid.count) {
      g_album.grid.current = position;
      g_album.grid.anchor = position;
    }
    SetAlbumHeadRow(g_album.grid, AlbumPosition(index, AlbumPlace::kHeadRow));
  }
  Refresh();
}

void PaintCell(HDC dc, int index, const RECT& cell) {
  const bool selected = index < static_cast<int>(g_album.grid.selected.size()) && g_album.grid.selected[index];
  const int nameHeight = g_app.fontMetrics.albumNameHeight + 4;
  RECT thumbArea = {cell.left + 5, cell.top + 4, cell.right - 6, cell.bottom - nameHeight - 3};
  if (selected) {
    RECT back = {cell.left + 2, cell.top + 1, cell.right - 2, cell.bottom - nameHeight - 1};
    HBRUSH brush = CreateSolidBrush(kSelectedColour);
    FillRect(dc, &back, brush);
    DeleteObject(brush);
  }
  if (index < static_cast<int>(g_album.thumbnails.size()) && g_album.thumbnails[index] != nullptr)
    DrawDibInArea(dc, g_album.thumbnails[index], thumbArea);
  RECT name = {cell.left + 1, cell.bottom - nameHeight - 1, cell.right - 1, cell.bottom - 1};
  if (selected) {
    HBRUSH brush = CreateSolidBrush(kSelectedColour);
    FillRect(dc, &name, brush);
    DeleteObject(brush);
  }
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, selected ? RGB(255, 255, 255) : RGB(0, 0, 0));
  if (index < static_cast<int>(g_album.names.size()))
    DrawTextA(dc, g_album.names[index].c_str(), -1, &name,
              DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS | DT_NOPREFIX);
  if (index == g_album.grid.current) {
    RECT focus = {cell.left + 1, cell.top, cell.right - 1, cell.bottom};
    DrawFocusRect(dc, &focus);
  }
}

void Paint(HWND window) {
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(window, &paint);
  RECT client;
  GetClientRect(window, &client);
  HBRUSH back = CreateSolidBrush(kAlbumColour);
  FillRect(dc, &client, back);
  DeleteObject(back);
  HGDIOBJ oldFont = g_album.font != nullptr ? SelectObject(dc, g_album.font) : nullptr;
  const AlbumGrid& grid = g_album.grid;
  for (int row = 0; row <= grid.rowsShown; ++row) {
    for (int column = 0; column < grid.columns; ++column) {
      const int index = (grid.headRow + row) * grid.columns + column;
      if (index >= grid.count) break;
      RECT cell = {column * kAlbumCellWidth, row * kAlbumCellHeight, (column + 1) * kAlbumCellWidth,
                   (row + 1) * kAlbumCellHeight};
      PaintCell(dc, index, cell);
    }
  }
  if (oldFont != nullptr) SelectObject(dc, oldFont);
  EndPaint(window, &paint);
}

void ShowAlbumMessage(int stringId, const std::string& detail) {
  std::string text = LoadUiString(static_cast<UINT>(stringId));
  if (!detail.empty()) text += "\n" + detail;
  MessageBoxA(GetParent(g_album.window), text.c_str(), LoadUiString(52388).c_str(), MB_OK | MB_ICONEXCLAMATION);
}

void SetCursorResource(int id) {
  HCURSOR cursor = LoadCursorA(g_app.instance, MAKEINTRESOURCEA(id));
  if (cursor != nullptr) SetCursor(cursor);
}

bool AnySelected() {
  for (bool selected : g_album.grid.selected)
    if (selected) return true;
  return false;
}

void OnButtonDown(HWND window, int x, int y, UINT flags) {
  SetFocus(window);
  const int index = AlbumPhotoAt(g_album.grid, x, y);
  const bool control = (flags & MK_CONTROL) != 0;
  const bool shift = (flags & MK_SHIFT) != 0;
  // A plain press on a photo already selected keeps the selection for a drag.
  if (!(index >= 0 && g_album.grid.selected[index] && !control && !shift))
    ClickAlbumPhoto(g_album.grid, index, control, shift);
  else
    g_album.grid.current = index;
  g_album.pressed = index >= 0;
  g_album.pressAt = POINT{x, y};
  g_album.dragging = false;
  if (g_album.pressed) SetCapture(window);
  InvalidateRect(window, nullptr, TRUE);
}

void OnMouseMove(HWND window, int x, int y, UINT flags) {
  if (!g_album.pressed || !(flags & MK_LBUTTON)) return;
  if (!g_album.dragging) {
    if (abs(x - g_album.pressAt.x) < kDragDistance && abs(y - g_album.pressAt.y) < kDragDistance) return;
    if (!AnySelected()) return;
    g_album.dragging = true;
  }
  POINT screen = {x, y};
  ClientToScreen(window, &screen);
  const bool over = g_album.target.over != nullptr && g_album.target.over(screen);
  SetCursorResource(over ? kDropCursor : kNoDropCursor);
}

void OnButtonUp(HWND window, int x, int y, UINT flags) {
  const bool dragged = g_album.dragging;
  const bool pressed = g_album.pressed;
  g_album.pressed = false;
  g_album.dragging = false;
  if (GetCapture() == window) ReleaseCapture();
  SetCursor(LoadCursorA(nullptr, IDC_ARROW));
  if (!pressed) return;
  if (!dragged) {
    // A plain click on a selected photo makes it the only one selected.
    const int index = AlbumPhotoAt(g_album.grid, x, y);
    if (index >= 0 && !(flags & (MK_CONTROL | MK_SHIFT))) {
      ClickAlbumPhoto(g_album.grid, index, false, false);
      InvalidateRect(window, nullptr, TRUE);
    }
    return;
  }
  POINT screen = {x, y};
  ClientToScreen(window, &screen);
  if (g_album.target.over != nullptr && g_album.target.over(screen) && g_album.target.drop != nullptr)
    g_album.target.drop(screen);
}

constexpr int kAlbumMenu = 102;
constexpr UINT kMenuCut = 40001, kMenuCopy = 40002, kMenuPaste = 40003, kMenuDelete = 40004,
               kMenuProperties = 40005, kMenuHelp = 40006;
constexpr WORD kHelpContextCommand = 40013;

void ShowProperties(HWND owner, int index) {
  AlbumRecord record;
  if (!CurrentAlbumItems().Record(index, &record)) return;
  PhotoProperties photo;
  const std::string path = AlbumItemPath(index);
  photo.location = FolderOfPath(path);
  photo.name = FileNameOfPath(path);
  photo.type = record.TypeText();
  photo.size = record.FileSize();
  photo.time = record.FileTime();
  photo.width = record.Width();
  photo.height = record.Height();
  photo.bits = record.BitCount();
  ShowPhotoProperties(owner, photo);
}

/// The album's context menu on a right click: the photo under the pointer
/// becomes the current one (and the selection, unless it is selected).
void OnContextMenu(HWND window, int x, int y) {
  const int index = AlbumPhotoAt(g_album.grid, x, y);
  if (index >= 0 && !g_album.grid.selected[index]) ClickAlbumPhoto(g_album.grid, index, false, false);
  if (index >= 0) g_album.grid.current = index;
  InvalidateRect(window, nullptr, TRUE);
  HMENU menu = LoadMenuA(g_app.resourceModule, MAKEINTRESOURCEA(kAlbumMenu));
  if (menu == nullptr) return;
  HMENU popup = GetSubMenu(menu, 0);
  if (!AnySelected()) {
    EnableMenuItem(popup, kMenuCut, MF_BYCOMMAND | MF_GRAYED);
    EnableMenuItem(popup, kMenuCopy, MF_BYCOMMAND | MF_GRAYED);
    EnableMenuItem(popup, kMenuDelete, MF_BYCOMMAND | MF_GRAYED);
  }
  if (g_clipboard.Empty()) EnableMenuItem(popup, kMenuPaste, MF_BYCOMMAND | MF_GRAYED);
  if (index < 0) EnableMenuItem(popup, kMenuProperties, MF_BYCOMMAND | MF_GRAYED);
  POINT at = {x, y};
  ClientToScreen(window, &at);
  const UINT chosen = static_cast<UINT>(
      TrackPopupMenu(popup, TPM_RETURNCMD | TPM_RIGHTBUTTON, at.x, at.y, 0, window, nullptr));
  DestroyMenu(menu);
  HWND owner = GetParent(window);
  if (chosen == kMenuCut || chosen == kMenuCopy) {
    TakeSelectedAlbumPhotos(chosen == kMenuCut);
  } else if (chosen == kMenuPaste) {
    PasteAlbumPhotos();
  } else if (chosen == kMenuDelete) {
    const DeleteChoice choice = AskDeleteOptions(owner);
    if (choice != DeleteChoice::kCancel) DeleteSelectedAlbumPhotos(choice == DeleteChoice::kThumbnailsAndFiles);
  } else if (chosen == kMenuProperties && index >= 0) {
    ShowProperties(owner, index);
  } else if (chosen == kMenuHelp) {
    SendMessageA(owner, WM_COMMAND, kHelpContextCommand, 0);
  }
}

void PassKeyToScreen(HWND window, UINT key) {
  HWND main = GetParent(window);
  SetFocus(main);
  PostMessageA(main, WM_KEYDOWN, key, 0);
}

/// Ctrl+A selects every photo; Ctrl+X, Ctrl+C and Ctrl+V cut, copy and
/// paste; Backspace goes on to the screen. (Enter and Escape come as IDOK and
/// IDCANCEL, Tab moves among no controls: the message loop treats this
/// window as a dialog.)
void OnKeyDown(HWND window, UINT key) {
  if (GetKeyState(VK_CONTROL) < 0) {
    if (key == 'A') {
      SelectAllAlbumPhotos(g_album.grid);
      InvalidateRect(window, nullptr, TRUE);
    } else if (key == 'X' || key == 'C') {
      TakeSelectedAlbumPhotos(key == 'X');
    } else if (key == 'V') {
      PasteAlbumPhotos();
    }
    return;
  }
  if (key == VK_BACK) PassKeyToScreen(window, key);
}

LRESULT CALLBACK AlbumProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PAINT:
      Paint(window);
      return 0;
    case WM_ERASEBKGND:
      return 1;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      OnButtonDown(window, GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam), static_cast<UINT>(wParam));
      return 0;
    case WM_MOUSEMOVE:
      OnMouseMove(window, GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam), static_cast<UINT>(wParam));
      return 0;
    case WM_LBUTTONUP:
      OnButtonUp(window, GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam), static_cast<UINT>(wParam));
      return 0;
    case WM_SETCURSOR:
      if (g_album.dragging) return TRUE;
      break;
    case WM_RBUTTONDOWN:
      SetFocus(window);
      OnContextMenu(window, GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
      return 0;
    case WM_MOUSEWHEEL:
      ScrollAlbumRows(GET_WHEEL_DELTA_WPARAM(wParam) > 0 ? -1 : 1);
      return 0;
    case WM_KEYDOWN:
      OnKeyDown(window, static_cast<UINT>(wParam));
      return 0;
    case WM_COMMAND:
      // Enter and Escape, as the message loop's dialog handling delivers
      // them, act as they do on the screen.
      if (LOWORD(wParam) == IDOK) PassKeyToScreen(window, VK_RETURN);
      if (LOWORD(wParam) == IDCANCEL) PassKeyToScreen(window, VK_ESCAPE);
      return 0;
    case WM_DESTROY:
      ClearDialogMessageWindow(window);
      if (g_album.window == window) g_album.window = nullptr;
      return 0;
    default:
      break;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

bool RegisterAlbumClass() {
  WindowClassLook look;
  look.style = CS_DBLCLKS;
  return RegisterProgramClass(kAlbumClass, AlbumProc, look);
}

}  // namespace

bool OpenAlbumWindow(HWND parent, const RECT& area, const AlbumDropTarget& target) {
  if (g_album.window != nullptr) CloseAlbumWindow();
  if (!RegisterAlbumClass()) return false;
  g_album.target = target;
  if (g_album.font == nullptr)
    g_album.font = CreateFontA(-g_app.fontMetrics.albumNameHeight, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE,
                               static_cast<BYTE>(g_app.fontMetrics.charSet), OUT_DEFAULT_PRECIS,
                               CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH,
                               g_app.fontMetrics.albumFaceName);
  g_album.window = CreateWindowExA(0, kAlbumClass, "", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, area.left,
                                   area.top, area.right - area.left + 1, area.bottom - area.top + 1, parent,
                                   nullptr, GetModuleHandleA(nullptr), nullptr);
  if (g_album.window == nullptr) return false;
  SetDialogMessageWindow(g_album.window);
  SetAlbumMessageSink(ShowAlbumMessage);
  LoadAlbumList();
  LoadShownAlbum(AlbumCount() > 0 ? CurrentAlbum() : -1);
  return true;
}

void CloseAlbumWindow() {
  KeepPlace();
  if (CurrentAlbumItems().Changed() && g_album.album >= 0) {
    SaveAlbum(AlbumPath(g_album.album));
    CurrentAlbumItems().SetChanged(false);
  }
  if (g_album.window != nullptr) DestroyWindow(g_album.window);
  g_album.window = nullptr;
  FreeThumbnails();
}

HWND AlbumWindow() { return g_album.window; }

void ShowAlbum(int index) {
  if (index < 0 || index >= AlbumCount()) return;
  KeepPlace();
  if (CurrentAlbumItems().Changed() && g_album.album >= 0) {
    SaveAlbum(AlbumPath(g_album.album));
    CurrentAlbumItems().SetChanged(false);
  }
  SetCurrentAlbum(index);
  LoadShownAlbum(index);
}

namespace {

/// Adds photos to the album shown, each the DIB given or else its file read;
/// saves the album and shows the last one added.
int AddPhotosToShownAlbum(const std::vector<std::string>& paths, HGLOBAL given,
                          HGLOBAL (*read)(const std::string& path)) {
  if (g_album.window == nullptr) {
    MessageBeep(0);
    return 0;
  }
  if (g_album.album < 0 || g_album.album >= AlbumCount()) {
    // A user without albums: the first photos start one, titled as the album
    // list titles a new album, rather than going nowhere.
    const int index = NewAlbum(LoadUiString(kStringUntitled));
    if (index >= 0) ShowAlbum(index);
    if (index < 0 || g_album.album != index) {
      MessageBeep(0);
      return 0;
    }
  }
  HCURSOR old = SetCursor(LoadCursorA(nullptr, IDC_WAIT));
  int added = 0, last = -1;
  for (const std::string& path : paths) {
    const int index = AddPhotoToAlbum(g_album.album, g_album.album, path, given, read, g_album.grid.columns,
                                      g_album.grid.rowsShown);
    if (index < 0) continue;
    ++added;
    last = index;
  }
  SetCursor(old);
  if (added == 0) return 0;
  SaveAlbum(AlbumPath(g_album.album));
  CurrentAlbumItems().SetChanged(false);
  TakeAlbum();
  last = CurrentAlbumItems().Count() - 1;
  ClickAlbumPhoto(g_album.grid, last, false, false);
  ShowAlbumPhoto(g_album.grid, last);
  Refresh();
  return added;
}

}  // namespace

int AddAlbumPhotoFiles(const std::vector<std::string>& paths, HGLOBAL (*read)(const std::string& path)) {
  return AddPhotosToShownAlbum(paths, nullptr, read);
}

bool AddAcquiredAlbumPhoto(const std::string& path, HGLOBAL photo) {
  if (g_album.window != nullptr) return AddPhotosToShownAlbum({path}, photo, nullptr) == 1;
  // No album shown: the photo goes into the current album's file.
  LoadAlbumList();
  const int album = CurrentAlbum();
  if (album < 0 || album >= AlbumCount()) return false;
  return AddPhotoToAlbum(album, -1, path, photo, nullptr, 1, 1) >= 0;
}

bool AlbumHasSelection() { return g_album.window != nullptr && AnySelected(); }

void DeleteSelectedAlbumPhotos(bool files) {
  if (g_album.album < 0 || !AnySelected()) {
    MessageBeep(0);
    return;
  }
  const std::vector<int> doomed = SelectedFromLast(g_album.grid.selected);
  for (int index : doomed) {
    if (files) DeleteFileA(AlbumItemPath(index).c_str());
    RemoveAlbumItem(index);
  }
  CurrentAlbumItems().SaveEvenWhenEmpty(AlbumPath(g_album.album));
  CurrentAlbumItems().SetChanged(false);
  const int head = g_album.grid.headRow;
  const int current = doomed.empty() ? 0 : doomed.back();
  TakeAlbum();
  SetAlbumHeadRow(g_album.grid, head);
  if (g_album.grid.count > 0) g_album.grid.current = current < g_album.grid.count ? current : g_album.grid.count - 1;
  Refresh();
}

void TakeSelectedAlbumPhotos(bool cut) {
  if (g_album.album < 0 ||
      !g_clipboard.Take(CurrentAlbumItems(), g_album.grid.selected, AlbumFileName(g_album.album), cut))
    MessageBeep(0);
}

void PasteAlbumPhotos() {
  if (g_album.window == nullptr || g_album.album < 0 || g_clipboard.Empty()) {
    MessageBeep(0);
    return;
  }
  const bool cut = g_clipboard.IsCut();
  const int source = FindAlbum(g_clipboard.SourceFile());
  AlbumItems& items = CurrentAlbumItems();
  const int before = items.Count();
  const AlbumPaste paste = g_clipboard.PasteInto(items);
  if (paste.added > 0) {
    SaveAlbum(AlbumPath(g_album.album));
    items.SetChanged(false);
  }
  // The cut photos leave their album now that they are here.
  if (cut && source >= 0 && source != g_album.album) {
    OpenSecondAlbum(AlbumPath(source));
    AlbumItems& from = CurrentAlbumItems();
    from.SetSampleFolder(AlbumFolder());
    if (RemoveAlbumPhotos(from, paste.present) > 0) from.SaveEvenWhenEmpty(AlbumPath(source));
    CloseSecondAlbum();
  }
  if (paste.added == 0) return;  // the album shown and its selection stay as they were
  // The pasted photos are selected, the last one current and in view.
  const int head = g_album.grid.headRow;
  TakeAlbum();
  SetAlbumHeadRow(g_album.grid, head);
  const int last = g_album.grid.count - 1;
  ClickAlbumPhoto(g_album.grid, before, false, false);
  ClickAlbumPhoto(g_album.grid, last, false, true);
  ShowAlbumPhoto(g_album.grid, last);
  Refresh();
}

std::vector<std::string> AlbumListEntries() {
  std::vector<std::string> entries;
  for (int i = 0; i < AlbumCount(); ++i) entries.push_back(AlbumTitle(i));
  if (AlbumCount() < kAlbumListMax) entries.push_back(LoadUiString(kStringNewAlbum));
  return entries;
}

void ChooseAlbumListEntry(HWND owner, int entry) {
  if (entry >= 0 && entry < AlbumCount()) {
    ShowAlbum(entry);
    return;
  }
  if (entry != AlbumCount() || AlbumCount() >= kAlbumListMax) return;
  // The title offered is the one the list would give an untitled album.
  const std::string untitled = LoadUiString(kStringUntitled);
  std::string title;
  if (!AskAlbumTitle(owner, untitled + std::to_string(Albums().NextNumber()), &title)) return;
  const int index = NewAlbum(untitled);
  if (index < 0) return;
  SetAlbumTitle(index, title);
  ShowAlbum(index);
}

void SortShownAlbum(int by, bool reverse) {
  if (g_album.album < 0) return;
  AlbumItems& items = CurrentAlbumItems();
  ApplyAlbumOrder(items, AlbumSortOrder(AlbumSortKeys(items), static_cast<AlbumSortBy>(by), reverse));
  SaveAlbum(AlbumPath(g_album.album));
  items.SetChanged(false);
  const int head = g_album.grid.headRow;
  TakeAlbum();
  SetAlbumHeadRow(g_album.grid, head);
  Refresh();
}

void ScrollAlbumRows(int step) {
  SetAlbumHeadRow(g_album.grid, g_album.grid.headRow + step);
  Refresh();
}

void ScrollAlbumTo(int position) {
  g_album.grid.headRow = AlbumHeadRowAt(g_album.grid, position);
  if (g_album.window != nullptr) InvalidateRect(g_album.window, nullptr, TRUE);
}

std::vector<std::string> AlbumPhotoPaths() {
  std::vector<std::string> paths;
  AlbumItems& items = CurrentAlbumItems();
  for (int i = 0; i < items.Count(); ++i) paths.push_back(items.ItemPath(i));
  return paths;
}

std::vector<bool> AlbumPhotoSelection() {
  std::vector<bool> selected = g_album.grid.selected;
  selected.resize(CurrentAlbumItems().Count(), false);
  return selected;
}

int AlbumCurrentPhoto() { return g_album.grid.current; }

}  // namespace vmd
