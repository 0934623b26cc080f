// Names of acquired photos: "Mmmdd" + a mark or hundreds digit + two digits.
#include "photo_naming.h"

#include <gtest/gtest.h>

#include "registry_key.h"
#include "scratch_settings.h"
#include "settings.h"

namespace vmd::test {
namespace {

SYSTEMTIME Day(WORD year, WORD month, WORD day) {
  SYSTEMTIME time = {};
  time.wYear = year;
  time.wMonth = month;
  time.wDay = day;
  return time;
}

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

class MakeAcquiredPhotoNameTest : public ScratchSettings {};

TEST_F(MakeAcquiredPhotoNameTest, CountsThroughTheRegistry) {
  SYSTEMTIME today = Day(2026, 12, 8);
  EXPECT_EQ(MakeAcquiredPhotoNameOn("C:\\Scans", today), "C:\\Scans\\Dec08$01.jpg");
  EXPECT_EQ(MakeAcquiredPhotoNameOn("C:\\Scans\\", today), "C:\\Scans\\Dec08$02.jpg");
  DWORD date = 0, number = 0;
  ASSERT_TRUE(ReadDwordValue(HKEY_CURRENT_USER, userBranch_ + "\\USER", "CAMERA_DATE", &date));
  ASSERT_TRUE(ReadDwordValue(HKEY_CURRENT_USER, userBranch_ + "\\USER", "CAMERA_NUM", &number));
  EXPECT_EQ(date, 1208u);
  EXPECT_EQ(number, 3u);
  // The next day starts again at 1.
  EXPECT_EQ(MakeAcquiredPhotoNameOn("C:\\Scans", Day(2026, 12, 9)), "C:\\Scans\\Dec09$01.jpg");
}

TEST_F(MakeAcquiredPhotoNameTest, HundredthPhotoOfTheDay) {
  ASSERT_TRUE(WriteDwordValue(HKEY_CURRENT_USER, userBranch_ + "\\USER", "CAMERA_DATE", 1208));
  ASSERT_TRUE(WriteDwordValue(HKEY_CURRENT_USER, userBranch_ + "\\USER", "CAMERA_NUM", 100));
  EXPECT_EQ(MakeAcquiredPhotoNameOn("C:\\S", Day(2026, 12, 8)), "C:\\S\\Dec08100.jpg");
}

}  // namespace
}  // namespace vmd::test
