#include "module_hooks.h"

#include "acquired_photo.h"
#include "acquisition.h"
#include "album_dialogs.h"
#include "album_registry.h"
#include "album_window.h"
#include "app_state.h"
#include "commands.h"
#include "control_panel.h"
#include "control_services.h"
#include "detail_view.h"
#include "image_commands.h"
#include "file_dialogs.h"
#include "image_file_rules.h"
#include "image_files.h"
#include "image_ops.h"
#include "pano_viewer.h"
#include "photo_edit_view.h"
#include "popup_list_window.h"
#include "print_screen.h"
#include "fine_tune_window.h"
#include "stitch_preview.h"
#include "stitch_session.h"
#include "program_storyboard.h"
#include "settings.h"
#include "story_boxes.h"

namespace vmd {

namespace {

// The photo editor's slider thumbs (brightness, contrast, hue, saturation)
// stand at 50, "no change", after opening and after Reset.
constexpr int kEditSliderThumbs[] = {532, 533, 534, 535};
constexpr int kEditCommandReset = 12;
constexpr int kEditCommandFinish = 13;
constexpr int kEditCommandCancel = 14;

void CentreEditSliders() {
  for (int thumb : kEditSliderThumbs) SetSliderValue(thumb, 50);
}

void OpenEditScreen(HWND main) {
  GoToScreen(kScreenEdit);
  CentreEditSliders();
  RECT area;
  if (!ControlRect(kEditPhotoArea, &area) || EditCurrentImage(main, area) == nullptr) GoHome();
}

// A storyboard photo in the editor: its slot and the screen to go back to.
struct StoryboardPhotoEdit {
  bool open = false;
  int slot = -1;
  int screen = kScreenStoryboardRow;
};
StoryboardPhotoEdit g_storyboardEdit;

int CheckEditedStoryboardPhoto(int width, int height) {
  return CheckEditedPhoto(ProgramStoryboard(), g_storyboardEdit.slot, width, height);
}

void EditStoryboardPhoto(HWND main, HGLOBAL photo, int slot) {
  const Storyboard& board = ProgramStoryboard();
  if (slot < 0 || slot >= kStoryboardSlotCount || board.slots[slot].photo != photo || photo == nullptr) return;
  HGLOBAL copy = DuplicateDib(photo);  // the slot keeps its photo until the edit is finished
  if (copy == nullptr) return;
  g_storyboardEdit = StoryboardPhotoEdit{true, slot, g_app.currentScreen};
  GoToScreen(kScreenEdit);
  CentreEditSliders();
  RECT area;
  if (!ControlRect(kEditPhotoArea, &area) ||
      OpenStoryboardPhotoEditor(main, area, copy, CheckEditedStoryboardPhoto) == nullptr) {
    GlobalFree(copy);
    g_storyboardEdit.open = false;
    GoToScreen(g_storyboardEdit.screen);
  }
}

/// OK or Cancel on the editor of a storyboard photo: OK puts the edited photo
/// into its place (a crop the storyboard refuses keeps the editor open).
void EndStoryboardPhotoEdit(bool apply) {
  int modified = 0;
  HGLOBAL result = PhotoEditCommand(apply ? kEditCommandFinish : kEditCommandCancel, &modified,
                                    kEditStoryboardPhoto);
  if (result == nullptr && apply) return;
  g_storyboardEdit.open = false;
  if (result != nullptr) {
    if (apply) {
      const StoryboardEffects effects = ReplaceStoryboardPhoto(ProgramStoryboard(), g_storyboardEdit.slot, result);
      if (effects.result == 0) GlobalFree(result);
      ApplyStoryboardEffects(g_app.mainWindow, effects);
    } else {
      GlobalFree(result);
    }
  }
  ClosePhotoEditor();
  GoToScreen(g_storyboardEdit.screen);
}

void PhotoEdit(int32_t parameter) {
  const int command = parameter & 0xFFFF;
  if (g_storyboardEdit.open && (command == kEditCommandFinish || command == kEditCommandCancel)) {
    EndStoryboardPhotoEdit(command == kEditCommandFinish);
    return;
  }
  if (command == kEditCommandFinish || command == kEditCommandCancel) {
    EndCurrentImageEdit(command == kEditCommandFinish);
    GoHome();
    return;
  }
  int modified = 0;
  PhotoEditCommand(static_cast<DWORD>(parameter), &modified, 0);
  if (command == kEditCommandReset) CentreEditSliders();
}

ToolkitFont PopupFont() {
  ToolkitFont font;
  font.faceName = g_app.fontMetrics.faceName;
  font.height = g_app.fontMetrics.popupHeight;
  font.charSet = g_app.fontMetrics.charSet;
  return font;
}

PrintScreenPlaces PrintPlaces() {
  RECT area = {};
  ControlRect(120, &area);
  PrintScreenPlaces places = DefaultPrintScreenPlaces(area);
  places.background = area;
  const int fields[3] = {540, 541, 542};
  RECT* targets[3] = {&places.pagesAcross, &places.pagesDown, &places.copies};
  for (int i = 0; i < 3; ++i) {
    RECT place;
    if (ControlRect(fields[i], &place)) *targets[i] = RECT{place.left, place.top, place.right + 1, place.bottom + 1};
  }
  return places;
}

void OpenPrintLayout(HWND main) {
  if (!PrintCommand(main, g_app.currentImage)) return;
  GoToScreen(kScreenPrint);
  if (!OpenPrintScreen(main, PrintPlaces(), g_app.currentImage, "Vistameld")) GoHome();
}

void OpenTemplateList(HWND main) {
  RECT button;
  if (!ControlRect(kTemplateButton, &button)) return;
  if (OpenPopupList(main, kTemplateList, PrintTemplates(), 0, button.left, button.bottom + 1,
                    button.right - button.left + 1, PopupFont()) != nullptr)
    ShowControl(kTemplateButton, false);
}

void PrintLayoutCommand(HWND main, int32_t parameter, int controlId) {
  switch (parameter & 0xFFFF) {
    case kPrintTemplates:
      OpenTemplateList(main);
      return;
    case kPrintResolution:
      // The slider delivers 0..100; the print layout counts 0..99.
      PrintSliderMoved(((parameter >> 16) & 0xFFFF) * 99 / 100);
      return;
    case kPrintFewerCopies:
    case kPrintMoreCopies:
      PrintCopyButton(controlId);
      return;
    case kPrintSetup:
      PrintSetupCommand(main);
      return;
    case kPrintStart:
      PrintBeginCommand();
      return;
    case kPrintCancel:
      GoHome();
      return;
    default:
      return;
  }
}

// The storyboard screens: the album window over its placeholder and the
// storyboard's boxes at the skin's cell places.
constexpr int kAlbumArea = 300;
constexpr int kFirstCell = 320;
constexpr int kAddPhotosMax = 100;

bool IsStoryboardScreenNumber(int screen) {
  return screen == kScreenStoryboardRow || screen == kScreenStoryboardColumn || screen == kScreenStoryboardGrid;
}

HGLOBAL ReadStoryboardPhoto(const std::string& path) {
  HCURSOR old = SetCursor(LoadCursorA(nullptr, IDC_WAIT));
  HGLOBAL photo = ReadImageFile(nullptr, path.c_str(), nullptr);
  SetCursor(old);
  return photo;
}

int FileTypeRefusal(const std::string& path) {
  if (!NoGif()) return 0;
  const size_t dot = path.find_last_of('.');
  std::string extension = dot == std::string::npos ? "" : path.substr(dot + 1);
  for (char& c : extension) c = static_cast<char>(toupper(static_cast<unsigned char>(c)));
  if (extension == "GIF") return kMsgFormatNotSupported;
  if (extension == "TIF" && TiffFileUsesLzw(path.c_str())) return kMsgLzwNotSupported;
  return 0;
}

StoryboardSource AlbumSource() {
  StoryboardSource source;
  source.albumOpen = AlbumWindow() != nullptr;
  source.paths = AlbumPhotoPaths();
  source.selected = AlbumPhotoSelection();
  source.current = AlbumCurrentPhoto();
  source.read = ReadStoryboardPhoto;
  source.fileTypeRefusal = FileTypeRefusal;
  return source;
}

bool OverStoryBox(POINT screen) { return StoryBoxAtScreenPoint(screen) >= 0; }

void DropOnStoryBox(POINT screen) {
  const int box = StoryBoxAtScreenPoint(screen);
  if (box < 0) return;
  ApplyStoryboardEffects(g_app.mainWindow, DropAlbumPhotos(ProgramStoryboard(), AlbumSource(), box));
}

int KindOfScreen(int screen) {
  if (screen == kScreenStoryboardColumn) return PanoVertical;
  if (screen == kScreenStoryboardGrid) return PanoTile;
  return g_app.panoramaKind == Pano360 ? Pano360 : PanoHorizontal;
}

void EnterStoryboard(HWND main, int screen) {
  RECT area;
  if (ControlRect(kAlbumArea, &area)) OpenAlbumWindow(main, area, AlbumDropTarget{OverStoryBox, DropOnStoryBox});
  Storyboard& board = ProgramStoryboard();
  const int kind = KindOfScreen(screen);
  if (board.kind != kind) ClearStoryboard(board, false);
  const int count = StoryboardBoxCount(kind);
  RECT boxes[kStoryboardMaxBoxes] = {};
  int placed = 0;
  while (placed < count && ControlRect(kFirstCell + placed, &boxes[placed])) ++placed;
  LayoutStoryboard(board, kind, boxes, placed);
  CreateStoryBoxes(main);
}

void LeaveStoryboard(HWND main) {
  ClosePopupList();
  CloseStoryBoxes(main);
  CloseAlbumWindow();
}

/// Add photos: the Open dialog for up to 100 files from the last album
/// folder; the files go into the album shown.
void AddPhotosCommand(HWND main) {
  if (AlbumWindow() == nullptr) return;
  std::string folder;
  ReadLastFolder(&folder, 0);
  std::string selection;
  if (!ShowOpenImageDialog(main, folder, kAddPhotosMax, &selection)) return;
  std::vector<std::string> paths;
  std::string path;
  for (int next = NextSelectedFile(selection.data(), selection.size(), 0, &path); next >= 0;
       next = NextSelectedFile(selection.data(), selection.size(), next, &path))
    paths.push_back(path);
  if (paths.empty()) return;
  WriteLastFolder(paths.front(), 0);
  AddAlbumPhotoFiles(paths, ReadStoryboardPhoto);
}

void DeletePhotosCommand(HWND main) {
  if (!AlbumHasSelection()) {
    MessageBeep(0);
    return;
  }
  const DeleteChoice choice = AskDeleteOptions(main);
  if (choice == DeleteChoice::kCancel) return;
  DeleteSelectedAlbumPhotos(choice == DeleteChoice::kThumbnailsAndFiles);
}

void SortAlbumCommand(HWND main) {
  if (AlbumWindow() == nullptr) return;
  AlbumSortBy by = AlbumSortBy::kName;
  bool reverse = false;
  if (AskSortOrder(main, &by, &reverse)) SortShownAlbum(static_cast<int>(by), reverse);
}

void OpenAlbumList(HWND main) {
  RECT button;
  if (!ControlRect(kAlbumButton, &button)) return;
  LoadAlbumList();
  if (OpenPopupList(main, kAlbumList, AlbumListEntries(), CurrentAlbum(), button.left, button.bottom + 1,
                    button.right - button.left + 1, PopupFont()) != nullptr)
    ShowControl(kAlbumButton, false);
}

void StoryboardScrollTo(int position) {
  Storyboard& board = ProgramStoryboard();
  const int range = StoryboardScrollRange(board);
  const int target = range > 1 ? (position * (range - 1) + 50) / 100 : 0;
  while (board.firstVisible < target) {
    const int before = board.firstVisible;
    ApplyStoryboardEffects(g_app.mainWindow, ScrollForward(board));
    if (board.firstVisible == before) break;
  }
  while (board.firstVisible > target) {
    const int before = board.firstVisible;
    ApplyStoryboardEffects(g_app.mainWindow, ScrollBack(board));
    if (board.firstVisible == before) break;
  }
  RepaintBoxes(-1, -1);
}

int HighValue(int32_t parameter) { return static_cast<int16_t>((parameter >> 16) & 0xFFFF); }

}  // namespace

bool RunModuleCommand(HWND main, Command command, int32_t parameter, int controlId) {
  switch (command) {
    case Command::kOpenImage:
      if (OpenImageCommand(main)) GoHome();
      return true;
    case Command::kSaveImage:
      SaveImageCommand(main);
      return true;
    case Command::kExportImage:
      ExportImageCommand(main);
      return true;
    case Command::kEditImage:
      OpenEditScreen(main);
      return true;
    case Command::kPhotoEdit:
      PhotoEdit(parameter);
      return true;
    case Command::kViewDetail:
      ShowDetailView(main, g_app.currentImage);
      return true;
    case Command::kViewPanorama:
      ViewPanoramaCommand(main, g_app.currentImage);
      return true;
    case Command::kPrint:
      OpenPrintLayout(main);
      return true;
    case Command::kPrintLayout:
      PrintLayoutCommand(main, parameter, controlId);
      return true;
    case Command::kStartStitch:
      StartStitch(main);
      return true;
    case Command::kPreviewFinish:
      FinishStitch();
      return true;
    case Command::kPreviewBack:
      BackFromPreview();
      return true;
    case Command::kPreviewCancel:
      CancelPreview();
      return true;
    case Command::kPreviewZoomIn:
      PreviewZoomIn();
      return true;
    case Command::kPreviewZoomOut:
      PreviewZoomOut();
      return true;
    case Command::kToggleAutoCrop:
      ToggleAutoCrop();
      return true;
    case Command::kTogglePickMode:
      TogglePickMode();
      return true;
    case Command::kApplyMarkers:
      ApplyFineTuning();
      return true;
    case Command::kCancelFineTuning:
      CancelFineTuning();
      return true;
    case Command::kFineTuneZoomIn:
      FineTuneZoom(true);
      return true;
    case Command::kFineTuneZoomOut:
      FineTuneZoom(false);
      return true;
    case Command::kMatchAssistant:
      MatchAssistant();
      return true;
    case Command::kAddPhotos:
      AddPhotosCommand(main);
      return true;
    case Command::kDeletePhotos:
      DeletePhotosCommand(main);
      return true;
    case Command::kSortAlbum:
      SortAlbumCommand(main);
      return true;
    case Command::kSelectAlbum:
      OpenAlbumList(main);
      return true;
    case Command::kAlbumScroll:
      ScrollAlbumRows(HighValue(parameter));
      return true;
    case Command::kAlbumScrollTo:
      ScrollAlbumTo(HighValue(parameter));
      return true;
    case Command::kIncludePhotos:
      ApplyStoryboardEffects(main, AddAlbumPhotos(ProgramStoryboard(), AlbumSource(), (parameter & 0xFFFF) != 0));
      return true;
    case Command::kStoryboardScroll:
      ApplyStoryboardEffects(main, HighValue(parameter) < 0 ? ScrollBack(ProgramStoryboard())
                                                            : ScrollForward(ProgramStoryboard()));
      UpdateStoryboardScrollBar();
      return true;
    case Command::kStoryboardScrollTo:
      StoryboardScrollTo(HighValue(parameter));
      return true;
    case Command::kRemovePhoto:
      ApplyStoryboardEffects(main, RemoveSelectedPhoto(ProgramStoryboard()));
      return true;
    case Command::kRemoveAll:
      ModuleClearStoryboard(true);
      return true;
    default:
      return false;
  }
}

bool ModuleOfferCommand(WPARAM wParam, LPARAM lParam) { return PrintEditCommand(wParam, lParam); }

void ModuleScreenEntered(HWND main, int screen) {
  if (screen == kScreenHome) ShowImageInArea(kHomeImageArea, g_app.currentImage);
  if (screen == kScreenPreview) OpenStitchPreview(main);
  if (IsStoryboardScreenNumber(screen)) EnterStoryboard(main, screen);
}

void ModuleScreenLeaving(HWND main, int screen) {
  if (IsStoryboardScreenNumber(screen)) LeaveStoryboard(main);
  if (screen == kScreenEdit && g_storyboardEdit.open) {
    // Leaving the editor any other way drops the edit; the slot keeps its photo.
    g_storyboardEdit.open = false;
    int modified = 0;
    if (HGLOBAL copy = PhotoEditCommand(kEditCommandCancel, &modified, kEditStoryboardPhoto)) GlobalFree(copy);
  }
  if (screen == kScreenEdit) ClosePhotoEditor();
  if (screen == kScreenPrint) ClosePrintScreen();
  if (screen == kScreenPreview) ClosePreview(kPreviewCloseOnly, nullptr);
}

void ModuleClearStoryboard(bool beepIfEmpty) {
  StoryboardEffects effects = ClearStoryboard(ProgramStoryboard(), beepIfEmpty);
  effects.repaintAll = true;
  effects.back = ButtonChange::kDisable;
  effects.forward = ButtonChange::kDisable;
  ApplyStoryboardEffects(g_app.mainWindow, effects);
}

bool ModuleSaveImage(HWND main) { return SaveImageCommand(main); }

/// An acquired picture: a JPEG file under the next photo name, then a
/// thumbnail in the current album.
void ModuleAcquiredImage(HWND, HGLOBAL dib) {
  if (dib == nullptr) return;
  std::string path;
  if (WriteAcquiredPhoto(dib, &path)) {
    AddAcquiredAlbumPhoto(path, dib);
  } else {
    MessageBeep(0);
  }
  GlobalFree(dib);
}

void ModuleEditStoryboardPhoto(HWND main, HGLOBAL photo, int slot) { EditStoryboardPhoto(main, photo, slot); }
void ModuleAlbumChosen(HWND main, int entry) { ChooseAlbumListEntry(main, entry); }
void ModulePrintTemplateChosen(HWND, int entry) { PrintTemplateChosen(entry); }
void ModuleAcquire(HWND main) { AcquireFromChosenSource(main); }
void ModuleAcquireNamed(HWND main, const std::string& source) { AcquireFromNamedSource(main, source); }
bool ModuleAcquisitionRunning() { return AcquisitionRunning(); }
void ModuleMainWindowCreated(HWND main) { SetUpAcquisition(main); }
bool ModuleOfferMessage(MSG* message) { return OfferMessageToSource(message); }

void ModuleShutdown() {
  EndAcquisition();
  CloseFineTuning();
  EndStitchSession();
  if (g_app.mainWindow != nullptr) CloseStoryBoxes(g_app.mainWindow);
  CloseAlbumWindow();
  ClearStoryboard(ProgramStoryboard(), false);
  CloseDetailView();
  ClosePanoramaViewer();
  ClosePrintScreen();
  ClosePhotoEditor();
}

}  // namespace vmd
