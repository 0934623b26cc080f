#include "button_bar.h"

#include <gtest/gtest.h>

namespace vmd {
namespace {

// The full-screen views' bars: buttons 60 x 36 at (12 + 69b, 24), a strip
// of 60-pixel frames, normal, down and disabled for each button in turn.
TEST(ButtonBar, StandsAtTheBottomCentreOfTheScreen) {
  struct Case {
    int screenWidth, screenHeight, left, top, right, bottom;
  } const cases[] = {{1024, 768, 401, 701, 623, 768}, {800, 600, 289, 533, 511, 600},
                     {640, 480, 209, 413, 431, 480}};
  for (const Case& c : cases) {
    const BarRect r = BarPlaceOnScreen(kPanoBar, c.screenWidth, c.screenHeight);
    EXPECT_EQ(r.left, c.left) << c.screenWidth;
    EXPECT_EQ(r.top, c.top) << c.screenWidth;
    EXPECT_EQ(r.right, c.right) << c.screenWidth;
    EXPECT_EQ(r.bottom, c.bottom) << c.screenWidth;
  }
}

TEST(ButtonBar, PointsOnTheBarFindTheirButton) {
  struct Case {
    int x, y, button;
  } const cases[] = {
      {12, 24, 0},  {71, 59, 0},  {72, 40, -1}, {80, 40, -1}, {81, 24, 1},
      {140, 59, 1}, {141, 40, -1}, {150, 24, 2}, {209, 59, 2}, {210, 40, -1},
      {11, 40, -1}, {40, 23, -1}, {40, 60, -1}, {5, 5, -1},   {221, 66, -1},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(BarButtonAt(kDetailBar, c.x, c.y), c.button) << c.x << "," << c.y;
    EXPECT_EQ(BarButtonAt(kPanoBar, c.x, c.y), c.button) << c.x << "," << c.y;
  }
}

TEST(ButtonBar, EveryButtonOfEveryBarIsHitOnlyInsideItsPlace) {
  for (const ButtonBarLayout& bar : {kDetailBar, kPanoBar, kSortBar}) {
    for (int b = 0; b < bar.buttons; ++b) {
      const BarRect r = BarButtonPlace(bar, b);
      EXPECT_GE(r.left, 0);
      EXPECT_LE(r.right, bar.width);
      EXPECT_LE(r.bottom, bar.height);
      EXPECT_EQ(BarButtonAt(bar, r.left, r.top), b);
      EXPECT_EQ(BarButtonAt(bar, r.right - 1, r.bottom - 1), b);
      EXPECT_NE(BarButtonAt(bar, r.right, r.top), b);
      EXPECT_NE(BarButtonAt(bar, r.left, r.bottom), b);
      EXPECT_EQ(BarButtonAt(bar, r.left - 1, r.top), -1);  // buttons stand apart
    }
  }
}

TEST(ButtonBar, FacesComeFromTheStripInButtonThenStateOrder) {
  EXPECT_EQ(BarFaceOf(false, false), kFaceNormal);
  EXPECT_EQ(BarFaceOf(false, true), kFaceDown);
  EXPECT_EQ(BarFaceOf(true, false), kFaceDisabled);
  EXPECT_EQ(BarFaceOf(true, true), kFaceDisabled);  // a disabled button never looks pressed

  struct Case {
    int button;
    ButtonFace face;
    int left;
  } const cases[] = {{0, kFaceNormal, 0},    {0, kFaceDown, 60},   {0, kFaceDisabled, 120},
                     {1, kFaceNormal, 180},  {2, kFaceDown, 420},  {2, kFaceDisabled, 480}};
  for (const Case& c : cases) {
    const BarRect r = BarFaceInStrip(kPanoBar, c.button, c.face);
    EXPECT_EQ(r.left, c.left) << c.button << " " << c.face;
    EXPECT_EQ(r.right, c.left + 60);
    EXPECT_EQ(r.top, 0);
    EXPECT_EQ(r.bottom, 36);
  }
  // The last face ends at the strip's right edge: nothing is cut past it.
  EXPECT_EQ(BarFaceInStrip(kSortBar, kSortBar.buttons - 1, kFaceDisabled).right,
            kSortBar.buttons * 3 * kSortBar.buttonWidth);
}

TEST(ButtonBar, OnlyImagesOfTheLayoutsSizesAreCut) {
  EXPECT_TRUE(BarImagesFit(kPanoBar, 222, 67, 540, 36));
  EXPECT_FALSE(BarImagesFit(kPanoBar, 221, 67, 540, 36));
  EXPECT_FALSE(BarImagesFit(kPanoBar, 222, 66, 540, 36));
  EXPECT_FALSE(BarImagesFit(kPanoBar, 222, 67, 480, 36));  // a strip of one state fewer
  EXPECT_FALSE(BarImagesFit(kPanoBar, 222, 67, 540, 35));
  EXPECT_FALSE(BarImagesFit(kPanoBar, 0, 0, 0, 0));
  EXPECT_TRUE(BarImagesFit(kSortBar, 264, 92, 684, 32));
}

}  // namespace
}  // namespace vmd
