#include "storyboard.h"

#include <cstdio>
#include <cstring>

namespace vmd {

namespace {

constexpr int kPathCompareSlots = 32;

bool OneDimensional(int kind) { return kind != PanoTile; }

bool Inside(const RECT& r, POINT p) {
  return r.left <= p.x && p.x < r.right && r.top <= p.y && p.y < r.bottom;
}

void ClearSlot(StoryboardSlot& slot) {
  slot.reserved = 0;
  slot.photo = nullptr;
  slot.selected = 0;
  slot.path[0] = '\0';
}

void FreeSlot(StoryboardSlot& slot) {
  if (slot.photo != nullptr) GlobalFree(slot.photo);
  ClearSlot(slot);
}

void StorePhoto(StoryboardSlot& slot, HGLOBAL photo, const std::string& path) {
  slot.photo = photo;
  std::snprintf(slot.path, sizeof slot.path, "%s", path.c_str());
}

void ClearSelection(Storyboard& board, int slots) {
  for (int i = 0; i < slots && i < kStoryboardSlotCount; ++i) board.slots[i].selected = 0;
}

bool PhotoSize(HGLOBAL photo, int* width, int* height) {
  const auto* header = static_cast<const BITMAPINFOHEADER*>(GlobalLock(photo));
  if (header == nullptr) return false;
  *width = static_cast<uint16_t>(header->biWidth);
  *height = static_cast<uint16_t>(header->biHeight);
  GlobalUnlock(photo);
  return true;
}

bool AlreadyPlaced(const Storyboard& board, const std::string& path) {
  for (int i = 0; i < kPathCompareSlots; ++i)
    if (board.slots[i].photo != nullptr && path == board.slots[i].path) return true;
  return false;
}

int CheckMessage(int check) {
  switch (check) {
    case 1: return kMsgSimilarHeight;
    case 2: return kMsgTooSmall;
    case 3: return kMsgAspectRatio;
  }
  return 0;
}

/// The show-once flags of one operation: the already-placed, too-small and
/// dissimilar messages share one; aspect ratio and capacity have one each.
/// A drop shows only its first rejection (`firstOnly`).
struct OnceFlags {
  bool shared = false;
  bool aspect = false;
  bool capacity = false;
  bool firstOnly = false;
  bool anyShown = false;

  void Show(StoryboardEffects& effects, int id) {
    if (firstOnly && anyShown) return;
    bool* flag = &shared;
    if (id == kMsgAspectRatio) flag = &aspect;
    if (id == kMsgStoryboardFull) flag = &capacity;
    if (id == kMsgCannotLocateImage) flag = nullptr;
    if (flag != nullptr && *flag) return;
    if (flag != nullptr) *flag = true;
    anyShown = true;
    effects.messages.push_back({id, true, false});
  }
};

void Merge(StoryboardEffects& into, const StoryboardEffects& from) {
  into.repaintAll = into.repaintAll || from.repaintAll;
  into.updateScrollBar = into.updateScrollBar || from.updateScrollBar;
  if (from.back != ButtonChange::kKeep) into.back = from.back;
  if (from.forward != ButtonChange::kKeep) into.forward = from.forward;
}

/// What reading and checking one photo gave.
enum class Intake { kTaken, kSkipped, kEndOperation, kReadFailed };

/// The checks every photo from the album passes: already placed, the
/// file-type restriction, the read and the size checks. On kTaken `photo`
/// holds the read DIB.
Intake TakePhoto(const Storyboard& board, const StoryboardSource& source, const std::string& path,
                 StoryboardEffects& effects, OnceFlags& once, HGLOBAL* photo) {
  *photo = nullptr;
  if (AlreadyPlaced(board, path)) {
    once.Show(effects, kMsgAlreadyPlaced);
    return Intake::kSkipped;
  }
  if (source.fileTypeRefusal) {
    if (int refusal = source.fileTypeRefusal(path)) {
      effects.messages.push_back({refusal, false, true});
      return Intake::kEndOperation;
    }
  }
  HGLOBAL read = source.read ? source.read(path) : nullptr;
  if (read == nullptr) return Intake::kReadFailed;
  if (int message = CheckMessage(CheckPhotoForStoryboard(board, read))) {
    GlobalFree(read);
    once.Show(effects, message);
    return Intake::kSkipped;
  }
  *photo = read;
  return Intake::kTaken;
}

int FirstEmptySlot(const Storyboard& board) {
  for (int i = 0; i < kStoryboardSlotCount; ++i)
    if (board.slots[i].photo == nullptr) return i;
  return -1;
}

}  // namespace

int StoryboardCapacity(int kind) {
  switch (kind) {
    case PanoVertical: return 8;
    case Pano360: return 32;
    default: return 16;
  }
}

int StoryboardBoxCount(int kind) {
  switch (kind) {
    case PanoVertical: return 4;
    case PanoTile: return 16;
    default: return 5;
  }
}

void LayoutStoryboard(Storyboard& board, int kind, const RECT* boxes, int boxCount) {
  board.kind = kind;
  board.boxCount = boxCount < kStoryboardMaxBoxes ? boxCount : kStoryboardMaxBoxes;
  for (int i = 0; i < board.boxCount; ++i) board.boxRects[i] = boxes[i];
  if (board.boxCount == 0) {
    board.bounds = RECT{0, 0, 0, 0};
    return;
  }
  const RECT& first = board.boxRects[0];
  const RECT& last = board.boxRects[board.boxCount - 1];
  if (kind == PanoHorizontal || kind == Pano360) {
    board.bounds = RECT{first.left, first.top, last.right, first.bottom};
  } else {
    board.bounds = RECT{first.left, first.top, last.right, last.bottom};
  }
  if (kind == PanoTile) board.firstVisible = 0;
}

int SlotOfBox(const Storyboard& board, int box) {
  return board.kind == PanoTile ? box : board.firstVisible + box;
}

std::string StoryboardTipText(const Storyboard& board, int slot) {
  if (slot < 0 || slot >= kStoryboardSlotCount || board.slots[slot].photo == nullptr) return "";
  std::string path = board.slots[slot].path;
  size_t slash = path.find_last_of("\\/");
  std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
  return "  " + std::to_string(slot + 1) + ". " + name + " ";
}

int CheckPhotoForStoryboard(const Storyboard& board, int width, int height) {
  if (width <= 64 || height <= 64) return 2;
  const double w = width, h = height;
  if (w / h > 2.0 || h / w > 2.0) return 3;
  if (board.count > 0) {
    int minW = width, maxW = width, minH = height, maxH = height;
    const int capacity = StoryboardCapacity(board.kind);
    for (int i = 0; i < capacity; ++i) {
      int pw = 0, ph = 0;
      if (board.slots[i].photo == nullptr || !PhotoSize(board.slots[i].photo, &pw, &ph)) continue;
      if (pw < minW) minW = pw;
      if (pw > maxW) maxW = pw;
      if (ph < minH) minH = ph;
      if (ph > maxH) maxH = ph;
    }
    if (double(maxH) / minH > 2.0 || double(maxW) / minW > 2.0) return 1;
  }
  return 0;
}

int CheckPhotoForStoryboard(const Storyboard& board, HGLOBAL photo) {
  int width = 0, height = 0;
  if (!PhotoSize(photo, &width, &height)) return 2;
  return CheckPhotoForStoryboard(board, width, height);
}

int StoryboardScrollRange(const Storyboard& board) {
  const int range = board.count - board.boxCount + 1;
  return range > 1 ? range : 1;
}

StoryboardEffects ScrollBack(Storyboard& board) {
  StoryboardEffects effects;
  if (board.count <= board.boxCount && board.firstVisible == 0) {
    effects.back = effects.forward = ButtonChange::kDisable;
    return effects;
  }
  --board.firstVisible;
  if (board.firstVisible >= 0) {
    effects.back = effects.forward = ButtonChange::kEnable;
    effects.repaintAll = true;
  } else {
    board.firstVisible = 0;
    effects.back = ButtonChange::kDisable;
    effects.forward = ButtonChange::kEnable;
  }
  return effects;
}

StoryboardEffects ScrollForward(Storyboard& board) {
  StoryboardEffects effects;
  if (board.count <= board.boxCount && board.firstVisible == 0) {
    effects.back = effects.forward = ButtonChange::kDisable;
    return effects;
  }
  ++board.firstVisible;
  if (board.firstVisible > board.count - board.boxCount) {
    board.firstVisible = board.count - board.boxCount;
    effects.forward = ButtonChange::kDisable;
    effects.back = ButtonChange::kEnable;
  } else {
    effects.back = effects.forward = ButtonChange::kEnable;
    if (board.firstVisible < 0) board.firstVisible = 0;
    effects.repaintAll = true;
  }
  return effects;
}

StoryboardEffects AddAlbumPhotos(Storyboard& board, const StoryboardSource& source, bool all) {
  StoryboardEffects effects;
  if (!source.albumOpen || source.paths.empty()) {
    effects.beep = true;
    return effects;
  }
  const int capacity = StoryboardCapacity(board.kind);
  OnceFlags once;
  int added = 0, lastPlace = -1;
  for (size_t i = 0; i < source.paths.size(); ++i) {
    if (!all && !(i < source.selected.size() && source.selected[i])) continue;
    if (board.count >= capacity) {
      once.Show(effects, kMsgStoryboardFull);
      continue;
    }
    HGLOBAL photo = nullptr;
    const Intake intake = TakePhoto(board, source, source.paths[i], effects, once, &photo);
    if (intake == Intake::kSkipped) continue;
    if (intake == Intake::kEndOperation) break;
    if (intake == Intake::kReadFailed) {
      if (!once.aspect) effects.messages.push_back({kMsgCannotLocateImage, true, false});
      break;
    }
    const int place = FirstEmptySlot(board);
    if (place < 0) {
      GlobalFree(photo);
      break;
    }
    StorePhoto(board.slots[place], photo, source.paths[i]);
    board.selectedIndex = board.count;
    ++board.count;
    lastPlace = place;
    ++added;
    Merge(effects, ScrollForward(board));
  }
  if (added > 0) {
    ClearSelection(board, capacity);
    if (OneDimensional(board.kind)) {
      board.slots[board.count - 1].selected = 1;
    } else {
      // The grid selects the place filled last, and points selectedIndex at
      // it so that a later move takes that photo.
      board.slots[lastPlace].selected = 1;
      board.selectedIndex = lastPlace;
      Merge(effects, ScrollForward(board));
    }
    effects.repaintAll = true;
  }
  return effects;
}

StoryboardEffects InsertDroppedPhotos(Storyboard& board, const StoryboardSource& source, int box) {
  StoryboardEffects effects;
  const int capacity = StoryboardCapacity(board.kind);
  if (board.count >= capacity) {
    effects.messages.push_back({kMsgStoryboardFull, true, false});
    return effects;
  }
  OnceFlags once;
  once.firstOnly = true;
  for (size_t n = source.paths.size(); n-- > 0;) {
    if (!(n < source.selected.size() && source.selected[n])) continue;
    if (board.count >= capacity) {
      effects.messages.push_back({kMsgStoryboardFull, true, false});
      break;
    }
    HGLOBAL photo = nullptr;
    const Intake intake = TakePhoto(board, source, source.paths[n], effects, once, &photo);
    if (intake == Intake::kSkipped) continue;
    if (intake == Intake::kEndOperation) break;
    if (intake == Intake::kReadFailed) {
      once.Show(effects, kMsgCannotLocateImage);
      continue;
    }
    int p = board.firstVisible + box;
    if (p > board.count) p = board.count;
    for (int s = board.count; s > p; --s) board.slots[s] = board.slots[s - 1];
    ClearSlot(board.slots[p]);
    ClearSelection(board, board.count + 1);
    StorePhoto(board.slots[p], photo, source.paths[n]);
    board.slots[p].selected = 1;
    board.selectedIndex = p;
    ++board.count;
  }
  effects.repaintAll = true;
  effects.updateScrollBar = true;
  return effects;
}

StoryboardEffects PlaceDroppedPhoto(Storyboard& board, const StoryboardSource& source, int box) {
  StoryboardEffects effects;
  if (board.count >= 16) {
    effects.messages.push_back({kMsgStoryboardFull, true, false});
    return effects;
  }
  if (box < 0 || box >= 16) return effects;
  if (board.slots[box].photo != nullptr) {
    effects.messages.push_back({kMsgOnlyEmptySpaces, true, false});
    return effects;
  }
  if (source.current < 0 || source.current >= static_cast<int>(source.paths.size())) return effects;
  const std::string& path = source.paths[source.current];
  OnceFlags once;
  HGLOBAL photo = nullptr;
  const Intake intake = TakePhoto(board, source, path, effects, once, &photo);
  if (intake == Intake::kReadFailed) effects.messages.push_back({kMsgCannotLocateImage, true, false});
  if (intake != Intake::kTaken) return effects;
  ClearSelection(board, 16);
  StorePhoto(board.slots[box], photo, path);
  board.slots[box].selected = 1;
  board.selectedIndex = box;
  ++board.count;
  effects.repaintAll = true;
  return effects;
}

StoryboardEffects DropAlbumPhotos(Storyboard& board, const StoryboardSource& source, int box) {
  if (board.kind == PanoTile) return PlaceDroppedPhoto(board, source, box);
  const int slot = SlotOfBox(board, box);
  if (slot >= 0 && slot < kStoryboardSlotCount && board.slots[slot].photo != nullptr) {
    StoryboardEffects effects;
    if (board.count >= board.boxCount) effects.forward = ButtonChange::kEnable;
    StoryboardEffects inserted = InsertDroppedPhotos(board, source, box);
    effects.messages = inserted.messages;
    Merge(effects, inserted);
    return effects;
  }
  return AddAlbumPhotos(board, source, false);
}

int StoryboardHitTest(const Storyboard& board, POINT point, int draggedBox, DragCursor* cursor) {
  *cursor = DragCursor::kKeep;
  for (int i = 0; i < board.boxCount; ++i) {
    if (!Inside(board.boxRects[i], point)) continue;
    if (i == draggedBox) {
      const int slot = SlotOfBox(board, i);
      if (slot >= 0 && slot < kStoryboardSlotCount && board.slots[slot].photo != nullptr)
        *cursor = DragCursor::kNoDrop;
      return kHitNothing;
    }
    *cursor = DragCursor::kDrop;
    return i;
  }
  const RECT& b = board.bounds;
  if (Inside(b, point)) {
    *cursor = DragCursor::kNoDrop;
    return kHitNothing;
  }
  if (board.kind == PanoHorizontal || board.kind == Pano360) {
    if (b.top < point.y && point.y < b.bottom) {
      if (point.x > b.right) return kHitScrollForward;
      if (point.x < b.left) return kHitScrollBack;
    }
  } else if (board.kind == PanoVertical) {
    if (b.left < point.x && point.x < b.right) {
      if (point.y > b.bottom) return kHitScrollForward;
      if (point.y < b.top) return kHitScrollBack;
    }
  }
  *cursor = DragCursor::kNoDrop;
  return kHitOutside;
}

bool CanStartDrag(const Storyboard& board, int box) {
  int slot = 0;
  HGLOBAL photo = nullptr;
  return !board.dragging && PhotoOfBox(board, box, &slot, &photo) &&
         (board.count >= 1 || board.kind == PanoTile);
}

DragTimers TimersForHit(int hit) { return {hit == kHitScrollBack, hit == kHitScrollForward}; }

bool PhotoOfBox(const Storyboard& board, int box, int* slot, HGLOBAL* photo) {
  *slot = SlotOfBox(board, box);
  *photo = nullptr;
  if (box < 0 || box >= board.boxCount || *slot < 0 || *slot >= kStoryboardSlotCount) return false;
  *photo = board.slots[*slot].photo;
  return *photo != nullptr;
}

int CheckEditedPhoto(const Storyboard& board, int slot, int width, int height) {
  Storyboard others;  // the placed photos less the one being replaced, by size only
  others.kind = board.kind;
  const HGLOBAL replaced = slot >= 0 && slot < kStoryboardSlotCount ? board.slots[slot].photo : nullptr;
  for (int i = 0; i < kStoryboardSlotCount; ++i) {
    if (board.slots[i].photo == nullptr || board.slots[i].photo == replaced) continue;
    others.slots[i].photo = board.slots[i].photo;
    ++others.count;
  }
  const int result = CheckPhotoForStoryboard(others, width, height);
  for (StoryboardSlot& borrowed : others.slots) borrowed.photo = nullptr;  // not ours to free
  return result;
}

StoryboardEffects ReplaceStoryboardPhoto(Storyboard& board, int slot, HGLOBAL photo) {
  StoryboardEffects effects;
  int width = 0, height = 0;
  if (slot < 0 || slot >= kStoryboardSlotCount || board.slots[slot].photo == nullptr ||
      !PhotoSize(photo, &width, &height) || CheckEditedPhoto(board, slot, width, height) != 0) {
    effects.messages.push_back({kMsgCropAgain, true, false});
    return effects;
  }
  if (board.slots[slot].photo != photo) GlobalFree(board.slots[slot].photo);
  board.slots[slot].photo = photo;
  effects.repaintAll = true;
  effects.result = 1;
  return effects;
}

StoryboardEffects SelectBox(Storyboard& board, int box) {
  StoryboardEffects effects;
  const int slot = SlotOfBox(board, box);
  if (slot < 0 || slot >= kStoryboardSlotCount || board.slots[slot].photo == nullptr) return effects;
  const int previous = board.selectedIndex;
  if (previous >= 0 && previous < kStoryboardSlotCount) board.slots[previous].selected = 0;
  ClearSelection(board, 16);
  board.selectedIndex = slot;
  board.slots[slot].selected = 1;
  effects.repaintBoxes.push_back(box);
  const int previousBox = board.kind == PanoTile ? previous : previous - board.firstVisible;
  if (previousBox != box && previousBox >= 0 && previousBox < board.boxCount)
    effects.repaintBoxes.push_back(previousBox);
  return effects;
}

StoryboardEffects MovePhotoInRow(Storyboard& board, int draggedBox, int target) {
  StoryboardEffects effects;
  const int sel = board.selectedIndex;
  const int to = board.firstVisible + target;
  ClearSelection(board, board.count);
  if (sel < 0 || sel >= board.count || to < 0 || to >= kStoryboardSlotCount) return effects;
  if (target <= draggedBox) {
    if (board.slots[to].photo == nullptr) return effects;
  } else if (to == sel || board.slots[to].photo == nullptr) {
    return effects;
  }
  // The photo leaves its place and the photos between close up behind it,
  // so a row stays packed whichever way the photo travels.
  const StoryboardSlot moving = board.slots[sel];
  if (to < sel) {
    for (int s = sel; s > to; --s) board.slots[s] = board.slots[s - 1];
  } else {
    for (int s = sel; s < to; ++s) board.slots[s] = board.slots[s + 1];
  }
  board.slots[to] = moving;
  board.selectedIndex = to;
  board.slots[to].selected = 1;
  effects.repaintAll = true;
  effects.result = 1;
  return effects;
}

StoryboardEffects MovePhotoInGrid(Storyboard& board, int target) {
  StoryboardEffects effects;
  if (target < 0 || target >= 16) return effects;
  if (board.slots[target].photo != nullptr) {
    effects.messages.push_back({kMsgOnlyEmptySpaces, true, false});
    return effects;
  }
  const int sel = board.selectedIndex;
  if (sel < 0 || sel >= 16 || board.slots[sel].photo == nullptr) return effects;
  board.slots[target] = board.slots[sel];
  ClearSlot(board.slots[sel]);
  board.selectedIndex = target;
  effects.repaintAll = true;
  effects.result = 1;
  return effects;
}

void ReselectAfterMove(Storyboard& board) {
  ClearSelection(board, board.count);
  const int sel = board.selectedIndex;
  if (sel >= 0 && sel < kStoryboardSlotCount && board.slots[sel].photo != nullptr)
    board.slots[sel].selected = 1;
}

StoryboardEffects DropDraggedPhoto(Storyboard& board, int draggedBox, int hit) {
  StoryboardEffects effects;
  if (hit == kHitNothing || hit == kHitScrollBack || hit == kHitScrollForward) return effects;
  if (hit == kHitOutside) return RemoveSelectedPhoto(board);
  effects = board.kind == PanoTile ? MovePhotoInGrid(board, hit)
                                    : MovePhotoInRow(board, draggedBox, hit);
  if (effects.result == 0) {
    ReselectAfterMove(board);
    effects.repaintAll = true;
  }
  return effects;
}

StoryboardEffects RemoveSelectedPhoto(Storyboard& board) {
  StoryboardEffects effects;
  if (board.count == 0) {
    effects.beep = true;
    return effects;
  }
  if (board.firstVisible > board.selectedIndex) return effects;
  if (board.kind == PanoTile) {
    int removed = -1;
    for (int i = 0; i < 16 && removed < 0; ++i)
      if (board.slots[i].selected) removed = i;
    if (removed >= 0) {
      FreeSlot(board.slots[removed]);
      if (board.count > 0) --board.count;
      int next = -1;
      for (int i = removed - 1; i >= 0 && next < 0; --i)
        if (board.slots[i].photo != nullptr) next = i;
      for (int i = 15; i >= 0 && next < 0; --i)
        if (board.slots[i].photo != nullptr) next = i;
      if (next >= 0) board.slots[next].selected = 1;
    }
    effects.repaintAll = true;
    return effects;
  }
  const int sel = board.selectedIndex;
  FreeSlot(board.slots[sel]);
  int k = board.count - sel;
  if (board.count == StoryboardCapacity(board.kind)) --k;
  if (sel < board.count - 1) {
    for (int j = 0; j < k && sel + j + 1 < kStoryboardSlotCount; ++j)
      board.slots[sel + j] = board.slots[sel + j + 1];
    ClearSlot(board.slots[board.count - 1]);  // moved down: cleared, not freed
  }
  --board.count;
  if (board.slots[sel].photo != nullptr) {
    board.slots[sel].selected = 1;
  } else if (board.count > 0 && sel > 0) {
    board.slots[sel - 1].selected = 1;
    --board.selectedIndex;
  }
  board.slots[board.count].selected = 0;
  if (board.slots[board.firstVisible].photo == nullptr && board.count > 0) --board.firstVisible;
  Merge(effects, ScrollBack(board));
  effects.repaintAll = true;
  effects.updateScrollBar = true;
  return effects;
}

StoryboardEffects ClearStoryboard(Storyboard& board, bool beep) {
  StoryboardEffects effects;
  effects.beep = beep && board.count == 0;
  for (StoryboardSlot& slot : board.slots) FreeSlot(slot);
  board.count = 0;
  board.selectedIndex = 0;
  board.firstVisible = 0;
  board.dragging = false;
  effects.repaintAll = true;
  effects.updateScrollBar = true;
  return effects;
}

}  // namespace vmd
