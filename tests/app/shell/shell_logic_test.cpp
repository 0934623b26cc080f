// The shell's plain logic, natively and under Wine: names of acquired photos
// ("Mmmdd" + a mark or hundreds digit + two digits), the desktop folder to
// record, and stored photo paths following their folders.
#include <gtest/gtest.h>

#include "folder_tracking.h"
#include "photo_naming.h"

namespace vmd::test {
namespace {

SYSTEMTIME Day(WORD year, WORD month, WORD day) {
  SYSTEMTIME time = {};
  time.wYear = year;
  time.wMonth = month;
  time.wDay = day;
  return time;
}

constexpr DWORD kWindows98 = 0xC0000A04;  // 9x family, 4.10
constexpr DWORD kWindowsNt = 0x0A280105;  // NT family, 5.1

struct NamingCase {
  const char* label;
  CameraCounter stored;
  SYSTEMTIME today;
  const char* fileName;
  bool storesDate;
  DWORD next;
};

std::ostream& operator<<(std::ostream& out, const NamingCase& c) { return out << c.label; }

class NameAcquiredPhotoTest : public ::testing::TestWithParam<NamingCase> {};

TEST_P(NameAcquiredPhotoTest, FollowsTheTemplate) {
  const NamingCase& c = GetParam();
  AcquiredPhotoName name = NameAcquiredPhoto(c.stored, c.today);
  EXPECT_EQ(name.fileName, c.fileName);
  EXPECT_EQ(name.storeDate, c.storesDate);
  EXPECT_EQ(name.nextNumber, c.next);
  EXPECT_EQ(name.date, static_cast<DWORD>(c.today.wDay + 100 * c.today.wMonth));
}

// 2026 is 126 years after 1900: mark (126 + 3) % 5 = 4 -> '$'; 2027 -> '_'.
INSTANTIATE_TEST_SUITE_P(
    Counter, NameAcquiredPhotoTest,
    ::testing::Values(
        NamingCase{"first ever", {false, 0, false, 0}, Day(2026, 1, 5), "Jan05$01.jpg", true, 2},
        NamingCase{"same day continues", {true, 105, true, 7}, Day(2026, 1, 5), "Jan05$07.jpg", false, 8},
        NamingCase{"another day restarts", {true, 104, true, 7}, Day(2026, 1, 5), "Jan05$01.jpg", true, 2},
        NamingCase{"same day of another month", {true, 205, true, 7}, Day(2026, 1, 5), "Jan05$01.jpg", true, 2},
        NamingCase{"99th keeps the mark", {true, 1231, true, 99}, Day(2027, 12, 31), "Dec31_99.jpg", false, 100},
        NamingCase{"100th has hundreds digit", {true, 1231, true, 100}, Day(2027, 12, 31), "Dec31100.jpg", false, 101},
        NamingCase{"999th", {true, 715, true, 999}, Day(2026, 7, 15), "Jul15999.jpg", false, 1000},
        NamingCase{"1000th restarts", {true, 715, true, 1000}, Day(2026, 7, 15), "Jul15$01.jpg", true, 2},
        NamingCase{"zero restarts", {true, 715, true, 0}, Day(2026, 7, 15), "Jul15$01.jpg", true, 2},
        NamingCase{"number without date restarts", {false, 0, true, 5}, Day(2026, 7, 15), "Jul15$01.jpg", true, 2},
        NamingCase{"year mark cycles", {false, 0, false, 0}, Day(2028, 3, 9), "Mar09#01.jpg", true, 2}));

TEST(NameAcquiredPhoto, YearMarksCycleThroughFiveCharacters) {
  std::string marks;
  for (WORD year = 2027; year < 2032; ++year)
    marks.push_back(NameAcquiredPhoto(CameraCounter(), Day(year, 6, 1)).fileName[5]);
  EXPECT_EQ(marks, "_#-^$");
}

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

}  // namespace
}  // namespace vmd::test
