#include "story_boxes.h"

#include <windowsx.h>

#include "app_state.h"
#include "control_services.h"
#include "dib_draw.h"
#include "messages.h"
#include "program_storyboard.h"
#include "tooltip_window.h"
#include "window_class.h"

namespace vmd {

namespace {

constexpr char kBoxClass[] = "StoryBoxWnd";
constexpr COLORREF kBoxColour = RGB(201, 200, 213);
constexpr int kDropCursor = 200;
constexpr int kNoDropCursor = 201;
constexpr int kScrollBackButton = 368;
constexpr int kScrollForwardButton = 369;
constexpr int kScrollBarThumb = 341;
constexpr UINT kWarningCaption = 52388;

HWND g_parent = nullptr;
HWND g_tip = nullptr;
HWND g_boxes[kStoryboardMaxBoxes] = {};
int g_dragBox = -1;

int BoxOf(HWND box) { return GetDlgCtrlID(box) - kStoryBoxFirstId; }

void SetCursorResource(int id) {
  HCURSOR cursor = LoadCursorA(g_app.instance, MAKEINTRESOURCEA(id));
  if (cursor != nullptr) SetCursor(cursor);
}

void SetButton(int id, ButtonChange change) {
  if (change == ButtonChange::kEnable) EnableControl(id);
  if (change == ButtonChange::kDisable) DisableControl(id);
}

void Paint(HWND window) {
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(window, &paint);
  RECT client;
  GetClientRect(window, &client);
  HBRUSH brush = CreateSolidBrush(kBoxColour);
  FillRect(dc, &client, brush);
  DeleteObject(brush);
  const Storyboard& board = ProgramStoryboard();
  const int slot = SlotOfBox(board, BoxOf(window));
  if (slot >= 0 && slot < kStoryboardSlotCount) {
    const StoryboardSlot& place = board.slots[slot];
    if (place.photo != nullptr) {
      RECT area = {0, 0, client.right - 1, client.bottom - 1};
      DrawDibInArea(dc, place.photo, area);
    }
    if (place.selected != 0 && place.photo != nullptr) {
      HPEN pen = CreatePen(PS_SOLID, 3, RGB(255, 0, 0));
      HGDIOBJ old = SelectObject(dc, pen);
      const POINT frame[5] = {{client.left, client.top},
                              {client.right - 1, client.top},
                              {client.right - 1, client.bottom - 1},
                              {client.left, client.bottom - 1},
                              {client.left, client.top}};
      Polyline(dc, frame, 5);
      SelectObject(dc, old);
      DeleteObject(pen);
    }
  }
  EndPaint(window, &paint);
}

void ShowTip(HWND window, int box) {
  if (g_tip == nullptr) return;
  const Storyboard& board = ProgramStoryboard();
  const std::string text = StoryboardTipText(board, SlotOfBox(board, box));
  if (text.empty()) {
    HideToolTip(g_tip);
    return;
  }
  POINT at = {5, 60};
  ClientToScreen(window, &at);
  ShowToolTip(g_tip, text, at.x, at.y);
}

void StopTimers(HWND window) {
  KillTimer(window, kScrollBackTimer);
  KillTimer(window, kScrollForwardTimer);
}

void OnMouseMove(HWND window, int x, int y, UINT flags) {
  Storyboard& board = ProgramStoryboard();
  const int box = BoxOf(window);
  if (flags & MK_LBUTTON) {
    if (!board.dragging) {
      if (!CanStartDrag(board, box)) return;
      if (g_tip != nullptr) HideToolTip(g_tip);
      board.hovering = false;
      SetCapture(window);
      SetCursorResource(kNoDropCursor);
      board.dragging = true;
      g_dragBox = box;
    }
    POINT point = {x, y};
    ClientToScreen(window, &point);
    ScreenToClient(g_parent, &point);
    DragCursor cursor = DragCursor::kKeep;
    const int hit = StoryboardHitTest(board, point, box, &cursor);
    if (cursor == DragCursor::kDrop) SetCursorResource(kDropCursor);
    if (cursor == DragCursor::kNoDrop) SetCursorResource(kNoDropCursor);
    const DragTimers timers = TimersForHit(hit);
    if (timers.back) SetTimer(window, kScrollBackTimer, kScrollTimerMs, nullptr);
    else KillTimer(window, kScrollBackTimer);
    if (timers.forward) SetTimer(window, kScrollForwardTimer, kScrollTimerMs, nullptr);
    else KillTimer(window, kScrollForwardTimer);
    return;
  }
  if (board.dragging) return;
  RECT client;
  GetClientRect(window, &client);
  const POINT point = {x, y};
  if (PtInRect(&client, point)) {
    if (GetCapture() != window) SetCapture(window);
    board.hovering = true;
    ShowTip(window, box);
  } else {
    board.hovering = false;
    if (GetCapture() == window) ReleaseCapture();
    if (g_tip != nullptr) HideToolTip(g_tip);
  }
}

void OnButtonUp(HWND window, int x, int y) {
  Storyboard& board = ProgramStoryboard();
  board.hovering = false;
  if (GetCapture() == window) ReleaseCapture();
  StopTimers(window);
  if (!board.dragging) return;
  board.dragging = false;
  const int dragged = g_dragBox >= 0 ? g_dragBox : BoxOf(window);
  g_dragBox = -1;
  POINT point = {x, y};
  ClientToScreen(window, &point);
  ScreenToClient(g_parent, &point);
  DragCursor cursor = DragCursor::kKeep;
  const int hit = StoryboardHitTest(board, point, dragged, &cursor);
  ApplyStoryboardEffects(g_parent, DropDraggedPhoto(board, dragged, hit));
  SetCursor(LoadCursorA(nullptr, IDC_ARROW));
}

LRESULT CALLBACK BoxProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  Storyboard& board = ProgramStoryboard();
  switch (message) {
    case WM_PAINT:
      Paint(window);
      return 0;
    case WM_LBUTTONDOWN:
      if (g_tip != nullptr) HideToolTip(g_tip);
      ApplyStoryboardEffects(g_parent, SelectBox(board, BoxOf(window)));
      return 0;
    case WM_LBUTTONDBLCLK: {
      int slot = -1;
      HGLOBAL photo = nullptr;
      if (PhotoOfBox(board, BoxOf(window), &slot, &photo))
        SendMessageA(g_parent, kMsgEditStoryboardPhoto, reinterpret_cast<WPARAM>(photo), slot);
      return 0;
    }
    case WM_MOUSEMOVE:
      OnMouseMove(window, GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam), static_cast<UINT>(wParam));
      return 0;
    case WM_SETCURSOR:
      if (board.dragging) return TRUE;
      break;
    case WM_TIMER:
      if (wParam == kScrollBackTimer) ApplyStoryboardEffects(g_parent, ScrollBack(board));
      if (wParam == kScrollForwardTimer) ApplyStoryboardEffects(g_parent, ScrollForward(board));
      UpdateStoryboardScrollBar();
      return 0;
    case WM_LBUTTONUP:
      OnButtonUp(window, GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
      return 0;
    case WM_CAPTURECHANGED:
      board.hovering = false;
      return 0;
    case WM_DESTROY: {
      StopTimers(window);
      const int box = BoxOf(window);
      if (box >= 0 && box < kStoryboardMaxBoxes && g_boxes[box] == window) g_boxes[box] = nullptr;
      return 0;
    }
    default:
      break;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

bool RegisterBoxClass() {
  WindowClassLook look;
  look.style = CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS | CS_PARENTDC;
  return RegisterProgramClass(kBoxClass, BoxProc, look);
}

}  // namespace

bool CreateStoryBoxes(HWND parent) {
  if (!RegisterBoxClass()) return false;
  g_parent = parent;
  Storyboard& board = ProgramStoryboard();
  board.dragging = false;
  board.hovering = false;
  if (g_tip == nullptr) {
    ToolkitFont font;
    font.faceName = g_app.fontMetrics.faceName;
    font.height = g_app.fontMetrics.tipsPointSize;
    font.charSet = g_app.fontMetrics.charSet;
    g_tip = CreateToolTipWindow(parent, font);
  }
  bool all = true;
  for (int i = 0; i < board.boxCount; ++i) {
    const RECT& place = board.boxRects[i];
    const int side = place.right - place.left + 1;
    g_boxes[i] = CreateWindowExA(0, kBoxClass, "", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, place.left,
                                 place.top, side, side, parent,
                                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(kStoryBoxFirstId + i)),
                                 GetModuleHandleA(nullptr), nullptr);
    if (g_boxes[i] == nullptr) all = false;
  }
  StoryboardEffects effects;
  const bool scrolls = board.kind != PanoTile && board.count > board.boxCount;
  effects.back = scrolls && board.firstVisible > 0 ? ButtonChange::kEnable : ButtonChange::kDisable;
  effects.forward =
      scrolls && board.firstVisible < board.count - board.boxCount ? ButtonChange::kEnable : ButtonChange::kDisable;
  effects.updateScrollBar = true;
  ApplyStoryboardEffects(parent, effects);
  return all;
}

void CloseStoryBoxes(HWND parent) {
  if (g_tip != nullptr) HideToolTip(g_tip);
  const int count = ProgramStoryboard().boxCount;
  for (int i = 0; i < count; ++i) {
    HWND box = GetDlgItem(parent, kStoryBoxFirstId + i);
    if (box != nullptr) SendMessageA(box, WM_CLOSE, 0, 0);
    g_boxes[i] = nullptr;
  }
  ProgramStoryboard().dragging = false;
}

void RepaintBoxes(int a, int b) {
  const int count = ProgramStoryboard().boxCount;
  auto clamp = [count](int box) { return box < 0 ? 0 : box >= count ? count - 1 : box; };
  if (a == -1 && b == -1) {
    for (int i = 0; i < count; ++i)
      if (g_boxes[i] != nullptr) InvalidateRect(g_boxes[i], nullptr, FALSE);
    return;
  }
  if (count <= 0) return;
  if (g_boxes[clamp(a)] != nullptr) InvalidateRect(g_boxes[clamp(a)], nullptr, FALSE);
  if (g_boxes[clamp(b)] != nullptr) InvalidateRect(g_boxes[clamp(b)], nullptr, FALSE);
}

void UpdateStoryboardScrollBar() {
  const Storyboard& board = ProgramStoryboard();
  const int range = StoryboardScrollRange(board);
  SetSliderValue(kScrollBarThumb, range > 1 ? board.firstVisible * 100 / (range - 1) : 0);
}

void ApplyStoryboardEffects(HWND owner, const StoryboardEffects& effects) {
  if (effects.beep) MessageBeep(0);
  SetButton(kScrollBackButton, effects.back);
  SetButton(kScrollForwardButton, effects.forward);
  if (effects.repaintAll) RepaintBoxes(-1, -1);
  for (int box : effects.repaintBoxes) RepaintBoxes(box, box);
  if (effects.updateScrollBar || effects.repaintAll) UpdateStoryboardScrollBar();
  for (const StoryboardNotice& notice : effects.messages)
    MessageBoxA(owner, LoadUiString(notice.stringId).c_str(), LoadUiString(kWarningCaption).c_str(),
                MB_OK | (notice.icon ? MB_ICONEXCLAMATION : 0));
}

int StoryBoxAtScreenPoint(POINT screen) {
  const int count = ProgramStoryboard().boxCount;
  for (int i = 0; i < count; ++i) {
    RECT place;
    if (g_boxes[i] != nullptr && GetWindowRect(g_boxes[i], &place) && PtInRect(&place, screen)) return i;
  }
  return -1;
}

}  // namespace vmd
