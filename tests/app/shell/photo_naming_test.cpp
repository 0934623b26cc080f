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
