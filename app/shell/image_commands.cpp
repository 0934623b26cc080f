#include "image_commands.h"

#include <cctype>

#include "app_state.h"
#include "stitch_controls.h"
#include "export_handover.h"
#include "file_dialogs.h"
#include "folders.h"
#include "image_file_rules.h"
#include "image_files.h"
#include "image_messages.h"
#include "image_ops.h"
#include "pixio.h"
#include "settings.h"

namespace vmd {

namespace {

constexpr int kFileLastDir = 1;
constexpr UINT kNotSupported = 50143;
constexpr UINT kLzwNotSupported = 50144;
constexpr UINT kOpenError = 50132;
constexpr UINT kZeroSize = 50124;
constexpr UINT kSaveError = 50126;
constexpr UINT kNoQuickTime = 50102;
constexpr UINT kFileNameRefused = 11001;
constexpr int kWebStrips = 24;

bool OpenOne(HWND owner, const std::string& folder, std::string* path) {
  std::string selection;
  if (!ShowOpenImageDialog(owner, folder, 1, &selection)) return false;
  return NextSelectedFile(selection.data(), selection.size(), 0, path) >= 0;
}

ImageCommandUi g_ui = DefaultImageCommandUi();
JpegQualityBook g_quality;

void FreeCurrent() {
  if (g_app.currentImage != nullptr) GlobalFree(g_app.currentImage);
  g_app.currentImage = nullptr;
}

/// The JPEG quality goes back to 100 for all other writing, the user's choice kept.
void EndSaveDialog() { ImgSetJpgQuality(g_quality.AfterDialog(ImgGetJpgQuality())); }

void TakeAsCurrent(HGLOBAL dib) {
  if (g_app.currentImage == nullptr) {
    for (int id : {kControlViewDetail, kControlEdit, kControlPrint, kControlSave, kControlExport,
                   kControlViewPanorama})
      EnableControl(id);
  } else {
    FreeCurrent();
  }
  g_app.currentImage = dib;
  g_app.imageModified = false;
  ShowImageInArea(kControlHomeImage, dib);
}

void ExportMovie(HWND owner, const std::string& path) {
  g_imageDialogs.exportType = 1;
  if (!g_app.qtvrPresent) {
    g_ui.warn(owner, kNoQuickTime);
    return;
  }
  if (MoviePathRefused(path)) {
    g_ui.warnShared(owner, kFileNameRefused);
    return;
  }
  HGLOBAL turned = RotateDib(g_app.currentImage, 270, 0xFFFFFF, nullptr);
  if (turned == nullptr) return;
  std::string documents = SpecialFolder(SpecialFolderKind::kDocuments);
  CreateFolderChain(documents);
  std::string folder = documents + "\\";
  std::string bitmap = TemporaryExportPath(folder, "~ml.bmp");
  std::string movie = TemporaryExportPath(folder, "~ml.mov");
  bool written = ImgSaveDib(bitmap.c_str(), turned) != 0;
  GlobalFree(turned);
  if (!written) {
    if (CanCreateFileIn(folder))
      g_ui.warnShared(owner, kFileNameRefused);
    else
      g_ui.warn(owner, kSaveError);
    return;
  }
  if (g_app.mainWindow != nullptr) RedrawWindow(g_app.mainWindow, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  std::string upperBitmap = bitmap;
  CharUpperBuffA(&upperBitmap[0], static_cast<DWORD>(upperBitmap.size()));
  if (WritePanoramaMovie(owner, upperBitmap, movie)) {
    CopyFileA(movie.c_str(), path.c_str(), FALSE);
    DeleteFileA(movie.c_str());
    WriteLastFolder(path, kFileLastDir);
  }
  DeleteFileA(bitmap.c_str());
}

void ExportWebPage(HWND owner, const std::string& path) {
  if (PagePathRefused(path)) {
    g_ui.warnShared(owner, kFileNameRefused);
    return;
  }
  g_imageDialogs.exportType = 2;
  SetCursor(LoadCursor(nullptr, IDC_WAIT));
  std::string folder = StripFolderOf(path);
  CreateDirectoryA(folder.c_str(), nullptr);
  if (WriteImageStrips(g_app.currentImage, kWebStrips, folder))
    WriteWebPage(owner, path, folder, kWebStrips, g_app.currentImage);
  SetCursor(LoadCursor(nullptr, IDC_ARROW));
}

}  // namespace

ImageCommandUi DefaultImageCommandUi() {
  ImageCommandUi ui;
  ui.askSave = AskSaveImage;
  ui.warn = ShowImageWarning;
  ui.warnShared = ShowSharedWarning;
  ui.warnText = ShowTextWarning;
  ui.openDialog = OpenOne;
  ui.saveDialog = ShowSaveImageDialog;
  ui.exportDialog = ShowExportDialog;
  ui.loadPhotoCd = LoadPhotoCd;
  ui.noGif = NoGif;
  return ui;
}

void SetImageCommandUi(const ImageCommandUi& ui) { g_ui = ui; }

void ResetImageCommandState() { g_quality = JpegQualityBook(); }

bool OpenImageCommand(HWND owner) {
  if (g_app.imageModified) {
    int answer = g_ui.askSave(owner);
    if (answer == IDCANCEL) return false;
    if (answer == IDYES) SaveImageCommand(owner);
  }
  std::string folder, path;
  ReadLastFolder(&folder, kFileLastDir);
  if (!g_ui.openDialog(owner, folder, &path)) return false;
  WriteLastFolder(path, kFileLastDir);
  std::string ext = UpperExtension(path);
  if (g_ui.noGif()) {
    if (ext == "GIF") {
      g_ui.warn(owner, kNotSupported);
      return false;
    }
    if (ext == "TIF" && TiffFileUsesLzw(path.c_str())) {
      g_ui.warn(owner, kLzwNotSupported);
      return false;
    }
  }
  HGLOBAL dib = nullptr;
  if (ext == "PCD") {
    int dialogResult = 0;
    dib = g_ui.loadPhotoCd(owner, path.c_str(), &dialogResult);
    if (dialogResult <= 0) return false;
  } else {
    dib = ReadImageFile(owner, path.c_str(), nullptr);
  }
  if (dib == nullptr) {
    g_ui.warn(owner, kOpenError);
    return false;
  }
  int width = 0, height = 0;
  DibSize(dib, &width, &height);
  if (width == 0 || height == 0) {
    g_ui.warn(owner, kZeroSize);
    GlobalFree(dib);
    return false;
  }
  TakeAsCurrent(dib);
  return true;
}

bool SaveImageCommand(HWND owner) {
  if (g_app.currentImage == nullptr) return false;
  std::string folder, path;
  ReadLastFolder(&folder, kFileLastDir);
  int quality = g_quality.BeforeDialog();
  if (quality >= 0) ImgSetJpgQuality(quality);
  if (!g_ui.saveDialog(owner, folder, &path)) {
    EndSaveDialog();
    return false;
  }
  if (g_ui.noGif() && UpperExtension(path) == "GIF") {
    g_ui.warn(owner, kNotSupported);
    EndSaveDialog();
    return false;
  }
  if (SavePathTooLong(path)) {
    g_ui.warnShared(owner, kFileNameRefused);
  } else {
    const int result = ImgSaveFileResult(g_app.currentImage, path.c_str());
    if (result == kPixioSaveTooBig && g_ui.warnText != nullptr) {
      // Too big for the chosen type: say what fits instead.
      char text[512] = {};
      ImgSaveMessage(result, nullptr, g_app.currentImage, path.c_str(), text, sizeof text);
      std::string line = text;
      if (!line.empty()) line[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(line[0])));
      g_ui.warnText(owner, line + ".");
    } else if (result != kPixioSaved) {
      if (CanCreateFileIn(FolderPart(path)))
        g_ui.warnShared(owner, kFileNameRefused);
      else
        g_ui.warn(owner, kSaveError);
    }
  }
  WriteLastFolder(path, kFileLastDir);
  g_app.imageModified = false;
  EndSaveDialog();
  return true;
}

void ExportImageCommand(HWND owner) {
  if (g_app.currentImage == nullptr) return;
  int width = 0, height = 0;
  DibSize(g_app.currentImage, &width, &height);
  if (UINT refusal = ExportRefusal(width, height)) {
    g_ui.warn(owner, refusal);
    return;
  }
  std::string folder, path;
  ReadLastFolder(&folder, kFileLastDir);
  if (!g_ui.exportDialog(owner, folder, &path)) return;
  std::string ext = UpperExtension(path);
  if (ext == "MOV")
    ExportMovie(owner, path);
  else if (ext == "HTM")
    ExportWebPage(owner, path);
  else
    g_ui.warnShared(owner, kFileNameRefused);
}

}  // namespace vmd
