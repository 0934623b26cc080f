#include "screen_table.h"

namespace vmd {

const ScreenRow kScreenTable[kScreenCount] = {
    {0, {{-1, -1}, {-1, -1}, {-1, -1}, {-1, -1}}},
    {1, {{-1, -1}, {-1, -1}, {-1, -1}, {-1, -1}}},
    {2, {{-1, -1}, {-1, -1}, {-1, -1}, {-1, -1}}},
    {3, {{-1, -1}, {-1, -1}, {-1, -1}, {-1, -1}}},
    {4, {{10, kKindAnchor}, {-1, -1}, {-1, -1}, {-1, -1}}},
    {5, {{-1, -1}, {-1, -1}, {-1, -1}, {-1, -1}}},
    {6, {{-1, -1}, {-1, -1}, {-1, -1}, {-1, -1}}},
    {7, {{-1, -1}, {-1, -1}, {-1, -1}, {-1, -1}}},
    {8, {{14, kFineTuneAnchor}, {-1, -1}, {-1, -1}, {-1, -1}}},
    {9, {{14, kFineTuneAnchor}, {-1, -1}, {-1, -1}, {-1, -1}}},
    {4, {{11, kKindAnchor}, {-1, -1}, {-1, -1}, {-1, -1}}},
    {4, {{12, kKindAnchor}, {-1, -1}, {-1, -1}, {-1, -1}}},
    {4, {{13, kKindAnchor}, {-1, -1}, {-1, -1}, {-1, -1}}},
    {8, {{15, kFineTuneAnchor}, {-1, -1}, {-1, -1}, {-1, -1}}},
    {8, {{16, kFineTuneAnchor}, {-1, -1}, {-1, -1}, {-1, -1}}},
    {9, {{15, kFineTuneAnchor}, {-1, -1}, {-1, -1}, {-1, -1}}},
    {9, {{16, kFineTuneAnchor}, {-1, -1}, {-1, -1}, {-1, -1}}},
};

const int kLensFocalTable[10] = {14, 15, 16, 18, 20, 24, 28, 35, 50, 75};

namespace {

using C = Command;

// The parameter of a scroll arrow: the step in the high 16 bits.
constexpr int32_t StepParameter(int step) { return static_cast<int32_t>(static_cast<uint32_t>(step) << 16); }
// The parameter of a scroll track: the toolkit's page size (low half) and range (high half).
constexpr int32_t TrackParameter(int page) { return (100 << 16) | page; }

ControlDef Row(C handler, int32_t parameter, int32_t id, int32_t tooltip, int32_t kind,
               int32_t group = 0, int32_t state = kStateNormal) {
  ControlDef row = {};
  row.handler = handler;
  row.parameter = parameter;
  row.id = id;
  row.tooltip = tooltip;
  row.kind = kind;
  row.group = group;
  row.state = state;
  return row;
}

ControlDef Place(int32_t id) { return Row(C::kNone, 0, id, -1, kKindPlace); }

void AddTitleBand(std::vector<ControlDef>* rows) {
  rows->push_back(Row(C::kAbout, 0, kAboutButton, 50021, kKindPush));
  rows->push_back(Row(C::kHelpContents, 0, kHelpButton, 50040, kKindPush));
  rows->push_back(Row(C::kMinimize, 0, kMinimizeButton, 50042, kKindPush));
  rows->push_back(Row(C::kExit, 0, kExitButton, 50041, kKindPush));
}

std::vector<ControlDef> HomePanel() {
  // Without an image the image commands start disabled.
  return {
      Place(kHomeImageArea),
      Row(C::kOpenImage, 0, 5, 50048, kKindPush),
      Row(C::kSaveImage, 0, 4, 50017, kKindPush, 0, kStateDisabled),
      Row(C::kExportImage, 0, 111, 50047, kKindPush, 0, kStateDisabled),
      Row(C::kStitchWizard, 0, 6, 50016, kKindPush),
      Row(C::kEditImage, 0, 2, 50043, kKindPush, 0, kStateDisabled),
      Row(C::kViewDetail, 0, 1, 50044, kKindPush, 0, kStateDisabled),
      Row(C::kViewPanorama, 0, 327, 50045, kKindPush, 0, kStateDisabled),
      Row(C::kPrint, 0, 3, 50018, kKindPush, 0, kStateDisabled),
  };
}

std::vector<ControlDef> EditPanel() {
  return {
      Place(kEditPhotoArea),
      Row(C::kPhotoEdit, 4, 210, 50084, kKindPush),
      Row(C::kPhotoEdit, 5, 211, 50085, kKindPush),
      Row(C::kPhotoEdit, 6, 212, 50088, kKindPush),
      Row(C::kPhotoEdit, 7, 213, 50089, kKindPush),
      Row(C::kPhotoEdit, 8, 214, 50086, kKindPush),
      Row(C::kPhotoEdit, 9, 215, 50087, kKindPush),
      Row(C::kPhotoEdit, 10, 216, 50090, kKindToggle, 0, kStateChecked),
      Row(C::kPhotoEdit, 12, 217, 50050, kKindPush),
      Row(C::kNone, TrackParameter(50), 512, 50093, kKindTrack),
      Row(C::kPhotoEdit, 0, 532, 50093, kKindThumb),
      Row(C::kNone, TrackParameter(50), 513, 50094, kKindTrack),
      Row(C::kPhotoEdit, 1, 533, 50094, kKindThumb),
      Row(C::kNone, TrackParameter(50), 514, 50092, kKindTrack),
      Row(C::kPhotoEdit, 2, 534, 50092, kKindThumb),
      Row(C::kNone, TrackParameter(50), 515, 50081, kKindTrack),
      Row(C::kPhotoEdit, 3, 535, 50081, kKindThumb),
      Row(C::kPhotoEdit, 15, 218, 50017, kKindPush),
      Row(C::kPhotoEdit, 14, 220, 50063, kKindPush),
      Row(C::kPhotoEdit, 13, 219, 50083, kKindPush),
  };
}

// The album window's controls and the storyboard's, shared by the three
// storyboard panels; `withScrollBar`: the row and column layouts have one.
std::vector<ControlDef> StoryboardPanel(int boxes, bool withScrollBar, bool withTitle) {
  std::vector<ControlDef> rows = {
      Row(C::kSelectAlbum, 0, kAlbumButton, 50060, kKindPush),
      Place(300),
      Row(C::kAlbumScroll, StepParameter(-1), 307, 50061, kKindArrow),
      Row(C::kAlbumScroll, TrackParameter(30), 309, 50082, kKindTrack),
      Row(C::kAlbumScrollTo, 0, 310, 50082, kKindThumb),
      Row(C::kAlbumScroll, StepParameter(1), 308, 50061, kKindArrow),
      Row(C::kAddPhotos, 0, 302, 50062, kKindPush),
      Row(C::kAcquire, 0, 303, 50059, kKindPush),
      Row(C::kSortAlbum, 0, 304, 50058, kKindPush),
      Row(C::kDeletePhotos, 0, 301, 50056, kKindPush),
      Row(C::kIncludePhotos, 0, 305, 50072, kKindPush),
      Row(C::kIncludePhotos, 1, 306, 50073, kKindPush),
  };
  if (withTitle) rows.push_back(Place(kStoryboardTitlePlace));
  rows.push_back(Row(C::kStoryboardScroll, StepParameter(-1), 368, 50110, kKindArrow, 0, kStateDisabled));
  for (int i = 0; i < boxes; ++i) rows.push_back(Place(320 + i));
  rows.push_back(Row(C::kStoryboardScroll, StepParameter(1), 369, 50111, kKindArrow, 0, kStateDisabled));
  if (withScrollBar) {
    rows.push_back(Row(C::kStoryboardScroll, TrackParameter(50), 340, 50066, kKindTrack));
    rows.push_back(Row(C::kStoryboardScrollTo, 0, 341, 50066, kKindThumb));
  }
  rows.push_back(Row(C::kRemovePhoto, 0, 342, 50071, kKindPush));
  rows.push_back(Row(C::kRemoveAll, 0, 343, 50112, kKindPush));
  rows.push_back(Row(C::kStoryboardCancel, 0, 346, 50063, kKindPush));
  rows.push_back(Row(C::kStoryboardBack, 0, 345, 50110, kKindPush));
  rows.push_back(Row(C::kStartStitch, 0, 344, 50046, kKindPush));
  return rows;
}

std::vector<ControlDef> PrintPanel() {
  return {
      Place(120),
      Row(C::kPrintLayout, kPrintTemplates, kTemplateButton, 50080, kKindPush),
      Place(530),
      Place(533),
      Place(534),
      Row(C::kNone, TrackParameter(50), 506, -1, kKindTrack),
      Row(C::kPrintLayout, kPrintResolution, 526, -1, kKindThumb),
      Place(540),
      Place(541),
      Place(542),
      Row(C::kPrintLayout, kPrintFewerCopies, 519, -1, kKindPush, 0, kStateDisabled),
      Row(C::kPrintLayout, kPrintMoreCopies, 520, -1, kKindPush),
      Row(C::kPrintLayout, kPrintSetup, 521, 50068, kKindPush),
      Row(C::kPrintLayout, kPrintCancel, 523, 50067, kKindPush),
      Row(C::kPrintLayout, kPrintStart, 522, 50065, kKindPush),
  };
}

std::vector<ControlDef> KindPanel() {
  return {
      Row(C::kChooseKind, 0, 636, -1, kKindToggle, kKindRadioGroup, kStateChecked),
      Row(C::kChooseKind, 1, 637, -1, kKindToggle, kKindRadioGroup),
      Row(C::kChooseKind, 3, 638, -1, kKindToggle, kKindRadioGroup),
      Row(C::kChooseKind, 2, 639, -1, kKindToggle, kKindRadioGroup),
      Place(kKindAnchor),
      Row(C::kOpenLensList, 0, kLensButton, -1, kKindPush),
      Place(kLensLabelPlace),
      Row(C::kStepSize, 0, kSizeButton, -1, kKindPush),
      Place(kSizeLabelPlace),
      Row(C::kToggleExposure, 0, kExposureToggle, -1, kKindToggle, 0, kStateChecked),
      Row(C::kKindCancel, 0, 371, 50063, kKindPush),
      Row(C::kKindNext, 0, 370, 50111, kKindPush),
  };
}

std::vector<ControlDef> PreviewPanel() {
  return {
      Place(700),
      Row(C::kPreviewZoomIn, 0, 704, 50019, kKindPush),
      Row(C::kPreviewZoomOut, 0, 705, 50020, kKindPush),
      Row(C::kToggleAutoCrop, 0, 706, 50097, kKindToggle, 0, kStateChecked),
      Row(C::kTogglePickMode, 0, 707, 50096, kKindToggle),
      Row(C::kPreviewCancel, 0, 703, 50063, kKindPush),
      Row(C::kPreviewBack, 0, 702, 50110, kKindPush),
      Row(C::kPreviewFinish, 0, 701, 50095, kKindPush),
  };
}

std::vector<ControlDef> FineTunePanel() {
  return {
      Place(800),
      Place(801),
      Place(kFineTuneAnchor),
      Row(C::kFineTuneZoomIn, 0, 804, 50086, kKindPush),
      Row(C::kFineTuneZoomOut, 0, 805, 50087, kKindPush),
      Row(C::kMatchAssistant, 0, 806, 50107, kKindPush),
      Row(C::kCancelFineTuning, 0, 803, 50063, kKindPush),
      Row(C::kApplyMarkers, 0, 802, 50083, kKindPush),
  };
}

}  // namespace

ControlTable MakeControlTable() {
  ControlTable table(kPanelCount);
  table[0] = HomePanel();
  table[1] = EditPanel();
  table[2] = StoryboardPanel(5, true, true);
  table[3] = PrintPanel();
  table[4] = KindPanel();
  table[5] = StoryboardPanel(4, true, false);
  table[6] = StoryboardPanel(16, false, false);
  table[7] = PreviewPanel();
  table[8] = FineTunePanel();
  table[9] = FineTunePanel();
  for (int panel = 0; panel < kMainPanelCount; ++panel) AddTitleBand(&table[panel]);
  for (std::vector<ControlDef>& rows : table) rows.resize(kControlsPerPanel, ControlDef{});
  return table;
}

const ControlDef* FindControlDef(const ControlTable& table, int panel, int id) {
  if (panel < 0 || panel >= static_cast<int>(table.size())) return nullptr;
  for (const ControlDef& row : table[panel])
    if (!row.Empty() && row.id == id) return &row;
  return nullptr;
}

ControlDef* FindControlDef(ControlTable& table, int panel, int id) {
  const ControlTable& constant = table;
  return const_cast<ControlDef*>(FindControlDef(constant, panel, id));
}

int KeyMapScreenOf(int screen) {
  if (IsKindScreen(screen)) return kScreenKindRow;
  if (screen == 13 || screen == 14) return kScreenFineTuneRows;
  if (screen == 15 || screen == 16) return kScreenFineTuneColumns;
  return screen;
}

bool UseUpCancelKey(CancelKeys* keys, int key, bool repeat) {
  if (keys->pending) {
    keys->pending = false;
    keys->heldKey = key;
    return true;
  }
  if (repeat && key == keys->heldKey) return true;
  keys->heldKey = -1;
  return false;
}

KeyAction KeyActionOf(int screen, int key) {
  constexpr int kEnter = 13, kEscape = 27, kBackspace = 8, kTab = 9;
  switch (KeyMapScreenOf(screen)) {
    case kScreenHome:
      return key == kEnter ? KeyAction::kStitchWizard : KeyAction::kNone;
    case kScreenEdit:
      if (key == kEnter) return KeyAction::kEditOk;
      return key == kEscape ? KeyAction::kEditCancel : KeyAction::kNone;
    case kScreenStoryboardRow:
    case kScreenStoryboardColumn:
    case kScreenStoryboardGrid:
      if (key == kEnter) return KeyAction::kStartStitch;
      if (key == kEscape) return KeyAction::kStoryboardCancel;
      return key == kBackspace ? KeyAction::kStoryboardBack : KeyAction::kNone;
    case kScreenPrint:
      if (key == kEnter) return KeyAction::kPrint;
      return key == kEscape ? KeyAction::kPrintCancel : KeyAction::kNone;
    case kScreenKindRow:
      if (key == kEnter) return KeyAction::kKindNext;
      if (key == kEscape) return KeyAction::kKindCancel;
      return key == kTab ? KeyAction::kNextKind : KeyAction::kNone;
    case kScreenPreview:
      if (key == kEnter) return KeyAction::kPreviewFinish;
      if (key == kEscape) return KeyAction::kPreviewCancel;
      return key == kBackspace ? KeyAction::kPreviewBack : KeyAction::kNone;
    case kScreenFineTuneRows:
    case kScreenFineTuneColumns:
      if (key == kEnter) return KeyAction::kApplyMarkers;
      return key == kEscape ? KeyAction::kCancelFineTuning : KeyAction::kNone;
    default:
      return KeyAction::kNone;
  }
}

int KindScreenOf(int kind) {
  switch (kind) {
    case 1: return kScreenKindColumn;
    case 2: return kScreenKindTile;
    case 3: return kScreenKindCircle;
    default: return kScreenKindRow;
  }
}

int StoryboardScreenOf(int kind) {
  if (kind == 1) return kScreenStoryboardColumn;
  if (kind == 2) return kScreenStoryboardGrid;
  return kScreenStoryboardRow;
}

int NextKindByTab(int kind) {
  switch (kind) {
    case 0: return 1;
    case 1: return 3;
    case 3: return 2;
    default: return 0;
  }
}

int KindRadioOf(int kind) {
  switch (kind) {
    case 1: return kFirstKindRadio + 1;
    case 2: return kFirstKindRadio + 3;
    case 3: return kFirstKindRadio + 2;
    default: return kFirstKindRadio;
  }
}

int KindOfRadio(int controlId) {
  for (int kind = 0; kind < 4; ++kind)
    if (KindRadioOf(kind) == controlId) return kind;
  return -1;
}

bool IsStoryboardScreen(int screen) {
  return screen == kScreenStoryboardRow || screen == kScreenStoryboardColumn ||
         screen == kScreenStoryboardGrid;
}

bool IsKindScreen(int screen) {
  return screen == kScreenKindRow || (screen >= kScreenKindColumn && screen <= kScreenKindTile);
}

bool IsFineTuneScreen(int screen) {
  return screen == kScreenFineTuneRows || screen == kScreenFineTuneColumns ||
         (screen >= 13 && screen <= 16);
}

int FineTuneScreenOf(bool horizontal, int marker) {
  if (horizontal) return marker == 2 ? 13 : marker == 3 ? 14 : kScreenFineTuneRows;
  return marker == 2 ? 15 : marker == 3 ? 16 : kScreenFineTuneColumns;
}

int NextSize(int detail) {
  if (detail == 1) return 0;  // Medium -> Large
  if (detail == 0) return 2;  // Large -> Small
  return 1;                   // Small -> Medium
}

int SizeLabelString(int detail) {
  if (detail == 0) return 50117;
  if (detail == 2) return 50121;
  return 50122;
}

std::vector<LensEntry> LensEntries(int kind) {
  std::vector<LensEntry> entries = {{0, 0}};
  if (kind == 3) return entries;
  for (int focal : kLensFocalTable) entries.push_back({1, focal});
  entries.push_back({2, 0});
  return entries;
}

int HelpTopicOfScreen(int screen) {
  switch (screen) {
    case 1: return 9000;
    case 2: case 5: case 6: return 3000;
    case 3: return 7000;
    case 4: case 10: case 11: case 12: return 2000;
    case 7: return 4000;
    case 8: case 9: case 13: case 14: case 15: case 16: return 5000;
    default: return 1000;
  }
}

}  // namespace vmd
