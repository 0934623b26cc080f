#ifndef APP_SHELL_SCREEN_TABLE_H
#define APP_SHELL_SCREEN_TABLE_H

#include <cstdint>
#include <string>
#include <vector>

namespace vmd {

/// The main window shows one of 17 screens; each is a main panel of skinned
/// controls with up to four sub-panels placed at anchor controls of it.
constexpr int kScreenCount = 17;
constexpr int kPanelCount = 17;
constexpr int kMainPanelCount = 10;  ///< panels 0 to 9; 10 to 16 are sub-panels
constexpr int kControlsPerPanel = 60;

struct SubPanelAt {
  int panel;   ///< -1 = none
  int anchor;  ///< control id on the main panel; -1 = none
};

struct ScreenRow {
  int mainPanel;
  SubPanelAt subPanels[4];
};

extern const ScreenRow kScreenTable[kScreenCount];

/// Screens by use.
enum Screen {
  kScreenHome = 0,
  kScreenEdit = 1,
  kScreenStoryboardRow = 2,  ///< horizontal and 360-degree panoramas
  kScreenPrint = 3,
  kScreenKindRow = 4,
  kScreenStoryboardColumn = 5,
  kScreenStoryboardGrid = 6,
  kScreenPreview = 7,
  kScreenFineTuneRows = 8,
  kScreenFineTuneColumns = 9,
  kScreenKindColumn = 10,
  kScreenKindCircle = 11,
  kScreenKindTile = 12,
};

/// Control kinds of the control-definition table.
enum ControlKind : int32_t {
  kKindPlace = 2,   ///< placeholder area: image area, label place, storyboard cell
  kKindPush = 3,
  kKindArrow = 5,   ///< scroll arrow; parameter: the step in the high 16 bits
  kKindTrack = 6,   ///< scroll or slider track
  kKindThumb = 7,   ///< scroll or slider thumb: belongs to the track row before it
  kKindToggle = 9,  ///< two-state button; with a radio group, one of a group
};

/// Live states kept in the table's state field.
enum ControlState : int32_t { kStateNormal = 0, kStateChecked = 1, kStateDisabled = 2 };

/// What a control does when clicked; the main window maps each to a function
/// that receives the row's parameter.
enum class Command : int32_t {
  kNone = 0,
  // Home
  kOpenImage,
  kSaveImage,
  kExportImage,
  kStitchWizard,
  kEditImage,
  kViewDetail,
  kViewPanorama,
  kPrint,
  // Edit: the parameter is the photo editor's command (for sliders the
  // toolkit adds the value 0..100 in the high 16 bits)
  kPhotoEdit,
  // Storyboard screens
  kStartStitch,
  kStoryboardBack,
  kStoryboardCancel,
  kAddPhotos,
  kAcquire,
  kSortAlbum,
  kDeletePhotos,
  kSelectAlbum,
  kAlbumScroll,       ///< arrows: step in the high 16 bits; track: a page
  kAlbumScrollTo,     ///< thumb: position 0..100 in the high 16 bits
  kIncludePhotos,     ///< parameter 0 = selected, 1 = all
  kStoryboardScroll,  ///< step in the high 16 bits
  kStoryboardScrollTo,
  kRemoveAll,
  kRemovePhoto,
  // Print layout: the parameter names the print command
  kPrintLayout,
  // Kind selection
  kChooseKind,  ///< parameter: the panorama kind
  kKindNext,
  kKindCancel,
  kToggleExposure,
  kStepSize,
  kOpenLensList,
  // Preview
  kPreviewFinish,
  kPreviewBack,
  kPreviewCancel,
  kPreviewZoomIn,
  kPreviewZoomOut,
  kToggleAutoCrop,
  kTogglePickMode,
  // Fine tuning
  kApplyMarkers,
  kCancelFineTuning,
  kFineTuneZoomIn,
  kFineTuneZoomOut,
  kMatchAssistant,
  // Title band of every main panel
  kAbout,
  kHelpContents,
  kMinimize,
  kExit,
  kCount
};

/// Print layout sub-commands (the parameter of kPrintLayout rows).
enum PrintCommand : int32_t {
  kPrintTemplates = 1,
  kPrintResolution = 2,  ///< slider: position 0..100 in the high 16 bits
  kPrintFewerCopies = 3,
  kPrintMoreCopies = 4,
  kPrintSetup = 5,
  kPrintStart = 6,
  kPrintCancel = 7,
};

/// One row of the control-definition table; a row of zeros is empty.
struct ControlDef {
  Command handler;
  int32_t parameter;
  int32_t id;
  int32_t tooltip;  ///< string id in vmdres, or -1
  int32_t kind;     ///< ControlKind
  int32_t group;    ///< radio group, 0 = none
  int32_t state;    ///< start state in the table; the live state while the program runs
  int32_t extra[9];
  bool Empty() const { return id == 0 && kind == 0 && handler == Command::kNone; }
};

using ControlTable = std::vector<std::vector<ControlDef>>;  ///< [panel][row], 60 rows each

/// A fresh copy of the table with its start states.
ControlTable MakeControlTable();

/// The row of control `id` on `panel`, or nullptr.
const ControlDef* FindControlDef(const ControlTable& table, int panel, int id);
ControlDef* FindControlDef(ControlTable& table, int panel, int id);

/// The ids of the four title-band buttons of panels 0 to 9.
constexpr int kAboutButton = 996;
constexpr int kHelpButton = 997;
constexpr int kMinimizeButton = 998;
constexpr int kExitButton = 999;

/// Control ids other Parts of the program name.
constexpr int kHomeImageArea = 110;
constexpr int kEditPhotoArea = 202;
constexpr int kKindAnchor = 366;
constexpr int kFineTuneAnchor = 635;
constexpr int kLensButton = 202;
constexpr int kSizeButton = 361;
constexpr int kLensLabelPlace = 364;
constexpr int kSizeLabelPlace = 365;
constexpr int kExposureToggle = 367;
constexpr int kAlbumButton = 201;
constexpr int kTemplateButton = 204;
constexpr int kStoryboardTitlePlace = 640;
constexpr int kFirstKindRadio = 636;  ///< 636 row, 637 column, 638 circle, 639 tile
constexpr int kKindRadioGroup = 4;

/// Pop-up lists and the child windows of the kind screen.
constexpr int kAlbumList = 1000;
constexpr int kLensList = 1001;
constexpr int kTemplateList = 1002;
constexpr int kAlbumList2 = 1003;
constexpr int kLensLabelWindow = 202;
constexpr int kSizeLabelWindow = 203;

/// Key maps: what Enter, Escape, Backspace and Tab do on a screen.
enum class KeyAction {
  kNone,
  kStitchWizard,
  kEditOk,
  kEditCancel,
  kStartStitch,
  kStoryboardCancel,
  kStoryboardBack,
  kPrint,
  kPrintCancel,
  kKindNext,
  kKindCancel,
  kNextKind,
  kPreviewFinish,
  kPreviewCancel,
  kPreviewBack,
  kApplyMarkers,
  kCancelFineTuning,
};
/// `key` is a virtual-key code (VK_RETURN 13, VK_ESCAPE 27, VK_BACK 8, VK_TAB 9).
KeyAction KeyActionOf(int screen, int key);

/// A progress display that Esc stopped, as the main window's keys see it.
struct CancelKeys {
  bool pending = false;  ///< set when Esc stopped a progress display
  int heldKey = -1;      ///< the key that used up the stop, while it is held down
};

/// Whether a key-down goes to the stopped progress display instead of the
/// screen's key map: the first key after the stop, and the repeats of that
/// key while it stays down (`repeat`: the key was down before this message),
/// so that Esc held through the stop does not also leave the screen.
bool UseUpCancelKey(CancelKeys* keys, int key, bool repeat);

/// The kind screens share the first one's key map, and the fine-tuning screens
/// that highlight markers 2 and 3 share theirs: Tab keeps stepping the kind and
/// Enter keeps applying after the screen changed.
int KeyMapScreenOf(int screen);

/// Panorama kinds as the engine numbers them (0 row, 1 column, 2 tile, 3 circle).
int KindScreenOf(int kind);        ///< 0 -> 4, 1 -> 10, 2 -> 12, 3 -> 11
int StoryboardScreenOf(int kind);  ///< 0, 3 -> 2; 1 -> 5; 2 -> 6
int NextKindByTab(int kind);       ///< 0 -> 1 -> 3 -> 2 -> 0
int KindRadioOf(int kind);         ///< 636 + ..., in the order row, column, circle, tile
int KindOfRadio(int controlId);    ///< the inverse; -1 for other ids
bool IsStoryboardScreen(int screen);
bool IsKindScreen(int screen);
bool IsFineTuneScreen(int screen);
/// The fine-tuning screen for a pair direction and an active marker (1..3).
int FineTuneScreenOf(bool horizontal, int marker);

/// Output sizes: the options' detail (0 Large, 1 Medium, 2 Small).
int NextSize(int detail);     ///< Medium -> Large -> Small -> Medium
int SizeLabelString(int detail);  ///< 50117, 50122, 50121

/// The lens list: "Automatic", "%d mm Lens" per focal length, "Telephoto ".
extern const int kLensFocalTable[10];
struct LensEntry {
  int mode;      ///< 0 automatic, 1 fixed, 2 telephoto
  int focalMm;   ///< for fixed lenses
};
/// The entries offered for a kind: a 360-degree panorama offers "Automatic" alone.
std::vector<LensEntry> LensEntries(int kind);

/// The help topic of a screen (HELP_CONTEXT of "vmd3.hlp").
int HelpTopicOfScreen(int screen);

}  // namespace vmd

#endif  // APP_SHELL_SCREEN_TABLE_H
