#ifndef APP_STITCH_STORYBOARD_H
#define APP_STITCH_STORYBOARD_H

/// The storyboard's decisions, apart from any window: where photos go, which
/// are refused and why, how they move, are removed and scroll. Every
/// operation returns what the window side has to do (messages to show,
/// boxes to repaint, scroll buttons to set); the box windows only translate
/// mouse and timer messages into these calls.

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "panorama_kind.h"
#include "win32_api.h"

namespace vmd {

/// String ids of the storyboard's messages.
enum StoryboardMessageId : int {
  kMsgCannotLocateImage = 50008,   ///< "Cannot locate image file."
  kMsgAlreadyPlaced = 50015,       ///< "The photo is already in the storyboard."
  kMsgStoryboardFull = 50025,      ///< "Cannot add more photos to storyboard."
  kMsgSimilarHeight = 50028,       ///< "Please select photos with similar height."
  kMsgTooSmall = 50034,            ///< "Please select a photo larger than 64x64 pixels."
  kMsgOnlyEmptySpaces = 50076,     ///< "Photos can only be moved into empty spaces."
  kMsgAspectRatio = 50136,         ///< "The photo's dimension must be between 1:2 and 2:1 ..."
  kMsgFormatNotSupported = 50143,  ///< "This file format is not supported in this version."
  kMsgLzwNotSupported = 50144,     ///< "LZW Compression is not supported in this version."
};

constexpr int kStoryboardSlotCount = 64;
constexpr int kStoryboardMaxBoxes = 16;
constexpr int kStoryboardPathBytes = 256;
/// Control id of box 0; box b has kStoryBoxFirstId + b.
constexpr int kStoryBoxFirstId = 500;

/// One place of the storyboard.
struct StoryboardSlot {
  uint32_t reserved = 0;
  HGLOBAL photo = nullptr;  ///< owned; null = empty place
  uint32_t selected = 0;    ///< drawn with a red frame
  char path[kStoryboardPathBytes] = {};
};

/// The storyboard of the main window.
struct Storyboard {
  int kind = PanoHorizontal;
  StoryboardSlot slots[kStoryboardSlotCount];
  int count = 0;
  int selectedIndex = 0;
  int firstVisible = 0;  ///< always 0 for a tile grid
  int boxCount = 0;
  RECT boxRects[kStoryboardMaxBoxes] = {};
  RECT bounds = {};
  bool dragging = false;
  bool hovering = false;
};

int StoryboardCapacity(int kind);  ///< 16, 8, 16, 32
int StoryboardBoxCount(int kind);  ///< 5, 4, 16, 5

/// Sets the kind and the box rectangles (main window client coordinates, as
/// the skin places them) and the bounds around them.
void LayoutStoryboard(Storyboard& board, int kind, const RECT* boxes, int boxCount);

/// The slot shown in box `box` (firstVisible + box; for a grid, the box).
int SlotOfBox(const Storyboard& board, int box);

/// The tool tip of a slot: "  <slot + 1>. <file name> ", empty for an empty slot.
std::string StoryboardTipText(const Storyboard& board, int slot);

/// 0 acceptable, 1 size too different from the placed photos, 2 too small,
/// 3 aspect ratio out of range.
int CheckPhotoForStoryboard(const Storyboard& board, int width, int height);
int CheckPhotoForStoryboard(const Storyboard& board, HGLOBAL photo);

/// What a button should become; kKeep leaves it.
enum class ButtonChange { kKeep, kEnable, kDisable };

struct StoryboardNotice {
  int stringId;
  bool icon;         ///< exclamation icon (else none)
  bool fromBrowser;  ///< owned by the photo browser's window (file-type messages)
};

/// What the window side does after an operation.
struct StoryboardEffects {
  std::vector<StoryboardNotice> messages;  ///< in order
  bool beep = false;                       ///< MessageBeep(0)
  bool repaintAll = false;
  std::vector<int> repaintBoxes;  ///< single boxes to repaint
  bool updateScrollBar = false;
  ButtonChange back = ButtonChange::kKeep;
  ButtonChange forward = ButtonChange::kKeep;
  int result = 0;  ///< the move functions' result
};

/// The photo browser as the storyboard sees it, and the file services.
struct StoryboardSource {
  bool albumOpen = true;
  std::vector<std::string> paths;  ///< album photos in album order (full paths)
  std::vector<bool> selected;      ///< one per photo
  int current = -1;                ///< the browser's current photo
  /// Reads a photo as a 24-bit DIB the caller then owns; null on failure.
  std::function<HGLOBAL(const std::string&)> read;
  /// The file-type restriction (only when NOGIF is set): 0, or the message
  /// that ends the operation.
  std::function<int(const std::string&)> fileTypeRefusal;
};

/// The range and position of the storyboard's scroll bar.
int StoryboardScrollRange(const Storyboard& board);

StoryboardEffects ScrollBack(Storyboard& board);
StoryboardEffects ScrollForward(Storyboard& board);

/// Adds the album's selected photos (all = false) or all its photos.
StoryboardEffects AddAlbumPhotos(Storyboard& board, const StoryboardSource& source, bool all);
/// Inserts the selected photos at box `box` of a row or column.
StoryboardEffects InsertDroppedPhotos(Storyboard& board, const StoryboardSource& source, int box);
/// Puts the browser's current photo into grid place `box`.
StoryboardEffects PlaceDroppedPhoto(Storyboard& board, const StoryboardSource& source, int box);
/// Album thumbnails released over box `box`: the grid, a row's photo, or a
/// row's empty box.
StoryboardEffects DropAlbumPhotos(Storyboard& board, const StoryboardSource& source, int box);

/// Hit test of a point (main window client coordinates) while box
/// `draggedBox` drags: a box index, -2 (nothing: the dragged box itself or
/// between boxes), 100 / 101 (just before or after a row or column: scroll
/// back or forward), -1 (outside: the photo is removed).
enum class DragCursor { kKeep, kDrop, kNoDrop };
int StoryboardHitTest(const Storyboard& board, POINT point, int draggedBox, DragCursor* cursor);
constexpr int kHitNothing = -2;
constexpr int kHitOutside = -1;
constexpr int kHitScrollBack = 100;
constexpr int kHitScrollForward = 101;

/// Whether a mouse move with the left button down on box `box` starts a drag:
/// no drag running, and the box shows a photo.
bool CanStartDrag(const Storyboard& board, int box);

/// The auto-scroll timers while dragging over hit-test result `hit`: timer
/// 197 (scroll back) runs over 100, timer 198 (scroll forward) over 101, and
/// neither elsewhere. Both run every 100 ms.
constexpr int kScrollBackTimer = 197;
constexpr int kScrollForwardTimer = 198;
constexpr int kScrollTimerMs = 100;
struct DragTimers {
  bool back;
  bool forward;
};
DragTimers TimersForHit(int hit);

/// The slot and photo shown in box `box`; false for an empty box. A double
/// click sends these to the main window (WM_USER + 6) to edit the photo.
bool PhotoOfBox(const Storyboard& board, int box, int* slot, HGLOBAL* photo);

/// The check of an edited storyboard photo of `width` x `height` that is to
/// replace the photo of `slot`: as CheckPhotoForStoryboard, with the other
/// placed photos only.
int CheckEditedPhoto(const Storyboard& board, int slot, int width, int height);
/// Puts an edited photo back into its slot (the old one is freed); refused
/// with "Please change the crop box again to match the photos you have
/// selected." when it fails that check, the photo then staying the caller's.
constexpr int kMsgCropAgain = 50140;
StoryboardEffects ReplaceStoryboardPhoto(Storyboard& board, int slot, HGLOBAL photo);

/// A click on a box: selects its photo.
StoryboardEffects SelectBox(Storyboard& board, int box);
/// Moves the selected photo within a row or column onto box `target`.
StoryboardEffects MovePhotoInRow(Storyboard& board, int draggedBox, int target);
/// Moves the selected photo to an empty grid place.
StoryboardEffects MovePhotoInGrid(Storyboard& board, int target);
/// After a move that did nothing: only the slot at selectedIndex stays selected.
void ReselectAfterMove(Storyboard& board);
/// The end of a drag released at hit-test result `hit`.
StoryboardEffects DropDraggedPhoto(Storyboard& board, int draggedBox, int hit);

StoryboardEffects RemoveSelectedPhoto(Storyboard& board);
/// Frees every photo; beeps first when asked and the storyboard is empty.
StoryboardEffects ClearStoryboard(Storyboard& board, bool beep);

}  // namespace vmd

#endif  // APP_STITCH_STORYBOARD_H
