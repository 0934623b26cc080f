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

TEST(DesktopFolderToRecord, AllUsersDesktopOnlyWhileAComing9xVersionIsStored) {
  EXPECT_EQ(DesktopFolderToRecord(kWindowsNt, kWindowsNt), SpecialFolderKind::kDesktop);
  EXPECT_EQ(DesktopFolderToRecord(kWindowsNt, kWindows98), SpecialFolderKind::kCommonDesktop);
  EXPECT_EQ(DesktopFolderToRecord(kWindows98, kWindows98), SpecialFolderKind::kDesktop);
  EXPECT_EQ(DesktopFolderToRecord(kWindows98, kWindowsNt), SpecialFolderKind::kDesktop);
}

TEST(WindowsFamily, VersionBitsNameTheSystem) {
  EXPECT_TRUE(IsWindows9x(kWindows98));
  EXPECT_FALSE(IsWindows95(kWindows98));
  EXPECT_TRUE(IsWindows95(0xC0000004));
  EXPECT_FALSE(IsWindows9x(kWindowsNt));
  EXPECT_FALSE(IsWindows95(0x00000004)) << "NT 4.0 is not Windows 95";
}

struct RewriteCase {
  const char* stored;
  const char* expected;  // nullptr: no match
};

std::ostream& operator<<(std::ostream& out, const RewriteCase& c) { return out << c.stored; }

class RewriteTrackedPathTest : public ::testing::TestWithParam<RewriteCase> {};

TEST_P(RewriteTrackedPathTest, ReplacesTheFirstMatchingFolder) {
  TrackedFolders oldFolders{"c:\\windows\\application data", "c:\\windows", "c:\\my documents",
                            "c:\\windows\\desktop"};
  TrackedFolders newFolders{"C:\\Users\\Ann\\AppData\\Roaming", "C:\\WINNT", "C:\\Users\\Ann\\Documents",
                            "C:\\Users\\Public\\Desktop"};
  std::string rewritten;
  bool matched = RewriteTrackedPath(GetParam().stored, oldFolders, newFolders, &rewritten);
  if (GetParam().expected == nullptr) {
    EXPECT_FALSE(matched) << rewritten;
    return;
  }
  ASSERT_TRUE(matched);
  EXPECT_EQ(rewritten, GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Folders, RewriteTrackedPathTest,
    ::testing::Values(
        // Application data is tried before the Windows folder that contains it.
        RewriteCase{"c:\\windows\\application data\\x\\p.jpg", "C:\\Users\\Ann\\AppData\\Roaming\\x\\p.jpg"},
        // Desktop before Windows, too.
        RewriteCase{"C:\\WINDOWS\\Desktop\\Beach.JPG", "C:\\Users\\Public\\Desktop\\beach.jpg"},
        RewriteCase{"c:\\my documents\\trip\\a.tif", "C:\\Users\\Ann\\Documents\\trip\\a.tif"},
        RewriteCase{"c:\\windows\\media\\b.bmp", "C:\\WINNT\\media\\b.bmp"},
        // A folder only matches up to a backslash: "c:\windowsapps" is not "c:\windows".
        RewriteCase{"c:\\windowsapps\\c.jpg", nullptr},
        RewriteCase{"c:\\my documents2\\d.jpg", nullptr},
        RewriteCase{"d:\\photos\\e.jpg", nullptr},
        RewriteCase{"", nullptr}));

TEST(RewriteTrackedPath, EmptyOldFoldersNeverMatch) {
  TrackedFolders oldFolders{"", "", "", ""};
  TrackedFolders newFolders{"C:\\A", "C:\\W", "C:\\D", "C:\\K"};
  std::string rewritten;
  EXPECT_FALSE(RewriteTrackedPath("c:\\x.jpg", oldFolders, newFolders, &rewritten));
}

TEST(RewriteTrackedPath, OneBackslashAtTheJoint) {
  TrackedFolders oldFolders{"c:\\data\\", "", "", ""};
  TrackedFolders newFolders{"E:\\Data", "", "", ""};
  std::string rewritten;
  ASSERT_TRUE(RewriteTrackedPath("c:\\data\\f.jpg", oldFolders, newFolders, &rewritten));
  EXPECT_EQ(rewritten, "E:\\Data\\f.jpg");
  newFolders.appData = "E:\\";
  ASSERT_TRUE(RewriteTrackedPath("c:\\data\\f.jpg", oldFolders, newFolders, &rewritten));
  EXPECT_EQ(rewritten, "E:\\f.jpg");
}

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
