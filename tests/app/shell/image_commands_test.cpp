#include "image_commands.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app_state.h"
#include "image_file_rules.h"
#include "image_ops.h"
#include "pixio.h"
#include "scratch_settings.h"
#include "test_dib.h"

using namespace vmd;
using testing_support::HeaderOf;
using testing_support::MakeDib24;

namespace {

/// What the user does and sees in one test.
struct Script {
  int answer = IDNO;
  bool dialogOk = true;
  std::string path;
  int photoCdResult = 1;
  HGLOBAL photoCdImage = nullptr;
  bool noGif = false;
  std::vector<UINT> messages;  ///< vmdres ids; "Res_Zel.DLL" ids as 100000 + id
  std::vector<std::string> texts;  ///< messages the program made itself
  int questions = 0;
  int dialogs = 0;
  int qualityAtDialog = 0;
};
Script* g_script = nullptr;

int Ask(HWND) {
  ++g_script->questions;
  return g_script->answer;
}
void Warn(HWND, UINT id) { g_script->messages.push_back(id); }
void WarnShared(HWND, UINT id) { g_script->messages.push_back(100000 + id); }
void WarnText(HWND, const std::string& text) { g_script->texts.push_back(text); }
bool Dialog(HWND, const std::string&, std::string* path) {
  ++g_script->dialogs;
  g_script->qualityAtDialog = ImgGetJpgQuality();
  if (!g_script->dialogOk) return false;
  *path = g_script->path;
  return true;
}
HGLOBAL PhotoCd(HWND, const char*, int* result) {
  *result = g_script->photoCdResult;
  return g_script->photoCdResult == 1 ? g_script->photoCdImage : nullptr;
}
bool NoGifSwitch() { return g_script->noGif; }

class ImageCommands : public test::ScratchSettings {
 protected:
  void SetUp() override {
    ScratchSettings::SetUp();
    g_script = &script_;
    ImageCommandUi ui;
    ui.askSave = Ask;
    ui.warn = Warn;
    ui.warnShared = WarnShared;
    ui.warnText = WarnText;
    ui.openDialog = ui.saveDialog = ui.exportDialog = Dialog;
    ui.loadPhotoCd = PhotoCd;
    ui.noGif = NoGifSwitch;
    SetImageCommandUi(ui);
    ResetImageCommandState();
    ImgSetJpgQuality(75);
    ImgSetCompressMode(0);
    g_app.currentImage = nullptr;
    g_app.imageModified = false;
    g_app.qtvrPresent = false;
  }
  void TearDown() override {
    if (g_app.currentImage != nullptr) GlobalFree(g_app.currentImage);
    g_app.currentImage = nullptr;
    SetImageCommandUi(DefaultImageCommandUi());
    g_script = nullptr;
    ScratchSettings::TearDown();
  }
  std::string Path(const std::string& name) const { return root_ + "\\" + name; }
  void WriteImage(const std::string& path, int w = 80, int h = 64) {
    HGLOBAL dib = MakeDib24(w, h, [](int x, int y) { return uint32_t(x * 3 + y) * 0x010101u; });
    ASSERT_NE(ImgSaveFile(dib, path.c_str()), 0);
    GlobalFree(dib);
  }
  void SetCurrent(int w, int h, bool modified) {
    g_app.currentImage = MakeDib24(w, h, [w](int x, int) { return x < w / 2 ? 0xFF0000u : 0x0000FFu; });
    g_app.imageModified = modified;
  }
  static bool Exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }
  std::vector<UINT> Messages() const { return script_.messages; }
  Script script_;
};

using Ids = std::vector<UINT>;

}  // namespace

TEST_F(ImageCommands, OpenReadsTheFileAndRemembersItsFolder) {
  script_.path = Path("photo.jpg");
  WriteImage(script_.path, 120, 90);
  SetCurrent(10, 10, false);
  EXPECT_TRUE(OpenImageCommand(nullptr));
  ASSERT_NE(g_app.currentImage, nullptr);
  EXPECT_EQ(HeaderOf(g_app.currentImage).biWidth, 120);
  EXPECT_EQ(HeaderOf(g_app.currentImage).biBitCount, 24);
  EXPECT_FALSE(g_app.imageModified);
  std::string folder;
  ASSERT_TRUE(ReadLastFolder(&folder, 1));
  EXPECT_EQ(folder, root_);
  EXPECT_EQ(script_.questions, 0);
}

TEST_F(ImageCommands, OpenWithUnsavedWorkAsksAndCancelStops) {
  SetCurrent(10, 10, true);
  HGLOBAL before = g_app.currentImage;
  script_.answer = IDCANCEL;
  EXPECT_FALSE(OpenImageCommand(nullptr));
  EXPECT_EQ(script_.questions, 1);
  EXPECT_EQ(script_.dialogs, 0);
  EXPECT_EQ(g_app.currentImage, before);
  EXPECT_TRUE(g_app.imageModified);
}

TEST_F(ImageCommands, OpenFailuresKeepTheCurrentImage) {
  SetCurrent(10, 10, false);
  HGLOBAL before = g_app.currentImage;
  script_.path = Path("missing.bmp");
  EXPECT_FALSE(OpenImageCommand(nullptr));
  EXPECT_EQ(Messages(), Ids{50132});
  // A Photo CD image of no size, then a cancelled Photo CD dialog.
  script_.messages.clear();
  script_.path = Path("disc.pcd");
  script_.photoCdImage = MakeDib24(0, 0, [](int, int) { return 0u; });
  EXPECT_FALSE(OpenImageCommand(nullptr));
  EXPECT_EQ(Messages(), Ids{50124});
  script_.messages.clear();
  script_.photoCdResult = 0;
  EXPECT_FALSE(OpenImageCommand(nullptr));
  script_.photoCdResult = -1;
  EXPECT_FALSE(OpenImageCommand(nullptr));
  EXPECT_TRUE(Messages().empty());
  EXPECT_EQ(g_app.currentImage, before);
}

TEST_F(ImageCommands, WithoutGifTheGifAndLzwTiffFilesAreRefused) {
  script_.noGif = true;
  script_.path = Path("anim.gif");
  WriteImage(script_.path);
  EXPECT_FALSE(OpenImageCommand(nullptr));
  script_.path = Path("packed.tif");
  ImgSetCompressMode(1);
  WriteImage(script_.path);
  EXPECT_FALSE(OpenImageCommand(nullptr));
  EXPECT_EQ(Messages(), (Ids{50143, 50144}));
  EXPECT_EQ(g_app.currentImage, nullptr);
  script_.noGif = false;
  EXPECT_TRUE(OpenImageCommand(nullptr));  // the same TIFF opens with GIF allowed
}

TEST_F(ImageCommands, SaveWritesAndClearsTheUnsavedMark) {
  SetCurrent(90, 70, true);
  script_.path = Path("out.bmp");
  EXPECT_TRUE(SaveImageCommand(nullptr));
  EXPECT_FALSE(g_app.imageModified);
  HGLOBAL read = ImgReadFile(nullptr, script_.path.c_str());
  ASSERT_NE(read, nullptr);
  EXPECT_EQ(HeaderOf(read).biWidth, 90);
  GlobalFree(read);
  EXPECT_TRUE(Messages().empty());
}

TEST_F(ImageCommands, CancelledSaveKeepsTheWorkUnsaved) {
  SetCurrent(90, 70, true);
  script_.dialogOk = false;
  EXPECT_FALSE(SaveImageCommand(nullptr));
  EXPECT_TRUE(g_app.imageModified);
  EXPECT_FALSE(SaveImageCommand(nullptr));
  EXPECT_EQ(script_.dialogs, 2);
}

TEST_F(ImageCommands, JpegQualityIsTheUsersInTheDialogAndHundredOtherwise) {
  SetCurrent(90, 70, true);
  script_.path = Path("q.jpg");
  EXPECT_TRUE(SaveImageCommand(nullptr));
  EXPECT_EQ(script_.qualityAtDialog, 75);  // the first save leaves the codec's own
  EXPECT_EQ(ImgGetJpgQuality(), 100);
  ImgSetJpgQuality(100);
  script_.dialogOk = false;
  SaveImageCommand(nullptr);
  EXPECT_EQ(script_.qualityAtDialog, 75);  // the quality of the last dialog comes back
  EXPECT_EQ(ImgGetJpgQuality(), 100);
}

TEST_F(ImageCommands, FailedSavesSayWhyAndStillClearTheMark) {
  SetCurrent(90, 70, true);
  script_.path = Path("no\\such\\folder\\x.bmp");  // the folder refuses new files
  EXPECT_TRUE(SaveImageCommand(nullptr));
  EXPECT_FALSE(g_app.imageModified);
  g_app.imageModified = true;
  script_.path = Path(std::string(260, 'a') + ".bmp");
  EXPECT_TRUE(SaveImageCommand(nullptr));
  EXPECT_FALSE(g_app.imageModified);
  EXPECT_EQ(Messages(), (Ids{50126, 111001}));
  script_.messages.clear();
  g_app.imageModified = true;
  script_.noGif = true;
  script_.path = Path("x.gif");
  EXPECT_FALSE(SaveImageCommand(nullptr));
  EXPECT_TRUE(g_app.imageModified);
  EXPECT_EQ(Messages(), Ids{50143});
}

TEST_F(ImageCommands, APictureTooBigForItsTypeSaysWhatFits) {
  SetCurrent(65501, 2, true);
  script_.path = Path("wide.jpg");
  WriteImage(script_.path, 33, 33);
  EXPECT_TRUE(SaveImageCommand(nullptr));
  EXPECT_FALSE(g_app.imageModified) << "the attempt ends the unsaved mark, as every save does";
  EXPECT_TRUE(Messages().empty());
  ASSERT_EQ(script_.texts.size(), 1u);
  EXPECT_EQ(script_.texts[0], "The picture is 65501 x 2 pixels; JPEG holds at most 65500 a side: save as TIFF.");
  HGLOBAL kept = ImgReadFile(nullptr, script_.path.c_str());
  ASSERT_NE(kept, nullptr);
  EXPECT_EQ(HeaderOf(kept).biWidth, 33) << "the file that was there stays";
  GlobalFree(kept);
}

TEST_F(ImageCommands, AFailedSaveLeavesTheExistingFile) {
  SetCurrent(90, 70, true);
  script_.path = Path("keep.bmp");
  WriteImage(script_.path, 33, 33);
  // Held open without sharing, the file cannot be replaced.
  HANDLE lock = CreateFileA(script_.path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(lock, INVALID_HANDLE_VALUE);
  SaveImageCommand(nullptr);
  CloseHandle(lock);
  HGLOBAL read = ImgReadFile(nullptr, script_.path.c_str());
  ASSERT_NE(read, nullptr);
  EXPECT_EQ(HeaderOf(read).biWidth, 33);
  GlobalFree(read);
}

TEST_F(ImageCommands, ExportChecksTheImageAndTheName) {
  SetCurrent(60, 100, false);
  ExportImageCommand(nullptr);
  GlobalFree(g_app.currentImage);
  SetCurrent(71, 64, false);
  ExportImageCommand(nullptr);
  EXPECT_EQ(script_.dialogs, 0);
  GlobalFree(g_app.currentImage);
  SetCurrent(72, 64, false);
  script_.path = Path("pano.png");
  ExportImageCommand(nullptr);
  script_.path = Path("pano.mov");
  ExportImageCommand(nullptr);  // no movie support
  script_.path = Path(std::string(231, 'p') + ".htm");
  ExportImageCommand(nullptr);
  EXPECT_EQ(Messages(), (Ids{50101, 50109, 111001, 50102, 111001}));
}

TEST_F(ImageCommands, ExportAsAWebPageWritesTwentyFourStrips) {
  SetCurrent(72, 64, false);
  script_.path = Path("pano.htm");
  ExportImageCommand(nullptr);
  EXPECT_TRUE(Messages().empty());
  for (int i = 0; i < 24; ++i) {
    std::string strip = StripPath(Path("pano_files"), i);
    HGLOBAL read = ImgReadFile(nullptr, strip.c_str());
    ASSERT_NE(read, nullptr) << strip;
    EXPECT_EQ(HeaderOf(read).biWidth, 2);
    GlobalFree(read);
  }
  // The web-page writer takes over: the world and the page stand beside the strips.
  EXPECT_TRUE(Exists(Path("pano_files\\panorama.wrl")));
  EXPECT_TRUE(Exists(Path("pano.htm")));
}

TEST_F(ImageCommands, ExportAsAMovieCleansUpItsTemporaryBitmap) {
  SetCurrent(96, 64, false);
  g_app.qtvrPresent = true;
  script_.path = Path("pano.mov");
  ExportImageCommand(nullptr);
  EXPECT_TRUE(Messages().empty());
  EXPECT_FALSE(Exists(s_documents + "\\~ml.bmp"));
  EXPECT_TRUE(Exists(s_documents));  // made when missing
  EXPECT_FALSE(Exists(script_.path));  // no movie writer yet
}
