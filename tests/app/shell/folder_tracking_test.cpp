// Folder tracking: which folders are recorded, how stored photo paths follow
// them after an operating-system upgrade, and that a plain restart changes nothing.
#include "folder_tracking.h"

#include <gtest/gtest.h>

#include "registry_key.h"
#include "scratch_settings.h"
#include "settings.h"

namespace vmd::test {
namespace {

constexpr DWORD kWindows98 = 0xC0000A04;  // 9x family, 4.10
constexpr DWORD kWindowsNt = 0x0A280105;  // NT family, 5.1

class FolderTrackingTest : public ScratchSettings {
 protected:
  std::string Album() { return AlbumFolder() + "\\album1.abm"; }
};

TEST_F(FolderTrackingTest, RestartOnTheSameSystemLeavesAlbumsUntouched) {
  environment_.osVersion = kWindowsNt;
  SetSettingsEnvironment(environment_);
  LoadSettings();
  std::vector<unsigned char> album = MakeAlbumBytes({s_desktop + "\\a.jpg"});
  WriteFile(Album(), album);
  // Even changed folders are only recorded anew while the version is the same.
  s_desktop = root_ + "\\Elsewhere";
  LoadSettings();
  EXPECT_EQ(ReadFile(Album()), album);
  std::string recorded;
  ASSERT_TRUE(ReadStringValue(HKEY_CURRENT_USER, userBranch_ + "\\UPDATE", "DESKTOP", &recorded));
  EXPECT_EQ(recorded, s_desktop);
}

TEST_F(FolderTrackingTest, UpgradeFrom98MovesDesktopPhotosToTheAllUsersDesktop) {
  // Last start on Windows 98 with its own folders.
  environment_.osVersion = kWindows98;
  SetSettingsEnvironment(environment_);
  std::string oldDesktop = root_ + "\\Win98\\Desktop";
  std::string oldDocs = root_ + "\\Win98\\My Documents";
  s_desktop = oldDesktop;
  s_documents = oldDocs;
  LoadSettings();
  std::vector<unsigned char> album =
      MakeAlbumBytes({oldDesktop + "\\Sunset.JPG", oldDocs + "\\Trip\\b.jpg", "D:\\Other\\c.jpg",
                      "relative.jpg"},
                     {false, false, false, true});
  WriteFile(Album(), album);

  // Now the NT family with new folders.
  environment_.osVersion = kWindowsNt;
  SetSettingsEnvironment(environment_);
  s_desktop = root_ + "\\Users\\Ann\\Desktop";
  s_documents = root_ + "\\Users\\Ann\\Documents";
  LoadSettings();

  std::vector<unsigned char> fixed = ReadFile(Album());
  ASSERT_EQ(fixed.size(), album.size()) << "records are rewritten in place";
  EXPECT_EQ(RecordPath(fixed, 0), s_commonDesktop + "\\sunset.jpg");
  EXPECT_EQ(RecordPath(fixed, 1), s_documents + "\\trip\\b.jpg");
  EXPECT_EQ(RecordPath(fixed, 2), "D:\\Other\\c.jpg");
  EXPECT_EQ(RecordPath(fixed, 3), "relative.jpg");
  // The data area is not moved.
  EXPECT_TRUE(std::equal(album.begin() + 144 + 288 * 4, album.end(), fixed.begin() + 144 + 288 * 4));
  DWORD version = 0;
  ASSERT_TRUE(ReadDwordValue(HKEY_CURRENT_USER, userBranch_ + "\\UPDATE", "VERSION", &version));
  EXPECT_EQ(version, kWindowsNt);
  // The next start on the same system records the user's own desktop again.
  LoadSettings();
  std::string recorded;
  ASSERT_TRUE(ReadStringValue(HKEY_CURRENT_USER, userBranch_ + "\\UPDATE", "DESKTOP", &recorded));
  EXPECT_EQ(recorded, s_desktop);
  EXPECT_EQ(ReadFile(Album()), fixed);
}

TEST_F(FolderTrackingTest, PathThatWouldOverflowTheFieldStaysAsItWas) {
  environment_.osVersion = kWindows98;
  SetSettingsEnvironment(environment_);
  s_documents = root_ + "\\D";
  LoadSettings();
  std::string stored = s_documents + "\\" + std::string(120 - s_documents.size(), 'p') + ".jpg";
  ASSERT_LT(stored.size(), 128u);
  WriteFile(Album(), MakeAlbumBytes({stored}));
  environment_.osVersion = kWindowsNt;
  SetSettingsEnvironment(environment_);
  s_documents = root_ + "\\A much longer documents folder after the upgrade";
  LoadSettings();
  EXPECT_EQ(RecordPath(ReadFile(Album()), 0), stored);
}

}  // namespace
}  // namespace vmd::test
