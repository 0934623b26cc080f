// The skin the build draws: the files parse, every panel has the size its
// place on the screen needs, controls stay inside their panel and apart, each
// state looks different, the small skin matches the large one, and drawing
// again gives the same bytes.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

#include "palm_container.h"
#include "skin_file.h"
#include "skin_layout.h"
#include "skin_writer.h"

// The skin drawing loads its two fonts once per process and fontconfig keeps
// what it made of them until the process ends; the sanitizer build's leak
// checker is told that this is no leak of ours.
extern "C" const char* __lsan_default_suppressions() { return "leak:libfontconfig.so\n"; }

namespace {

using vmd::SkinControl;
using vmd::SkinFile;
using vmd::SkinImage;
using vmd::SkinPanel;
using vmd::SkinRect;

const std::string kUiFolder = VMD_SKIN_UI_FOLDER;

const SkinFile& Skin(const std::string& name) {
  static std::map<std::string, SkinFile> skins;
  auto found = skins.find(name);
  if (found != skins.end()) return found->second;
  SkinFile& skin = skins[name];
  std::string reason;
  EXPECT_TRUE(vmd::LoadSkinFile(kUiFolder + "/" + name, &skin, &reason)) << name << ": " << reason;
  return skin;
}

bool Overlap(const SkinRect& a, const SkinRect& b) {
  return a.left <= b.right && b.left <= a.right && a.top <= b.bottom && b.top <= a.bottom;
}

bool IsThumbOnTrack(const vmd::LayoutPanel& layout, int a, int b) {
  vmd::FaceKind fa = vmd::FaceKind::kPlace, fb = vmd::FaceKind::kPlace;
  for (const vmd::LayoutControl& c : layout.controls) {
    if (c.id == a) fa = c.face;
    if (c.id == b) fb = c.face;
  }
  return (fa == vmd::FaceKind::kThumb && fb == vmd::FaceKind::kTrack) ||
         (fb == vmd::FaceKind::kThumb && fa == vmd::FaceKind::kTrack);
}

uint32_t PixelAt(const SkinImage& image, int x, int y) {
  const uint8_t* p = &image.pixels[size_t(image.height - 1 - y) * image.stride + 3 * x];
  return uint32_t(p[2]) << 16 | uint32_t(p[1]) << 8 | p[0];
}

// Largest minus smallest luminance: how much contrast a face has.
int LuminanceRange(const SkinImage& image) {
  int low = 255, high = 0;
  for (int y = 0; y < image.height; ++y)
    for (int x = 0; x < image.width; ++x) {
      const uint32_t p = PixelAt(image, x, y);
      const int l = (299 * int(p >> 16) + 587 * int((p >> 8) & 0xFF) + 114 * int(p & 0xFF)) / 1000;
      low = std::min(low, l);
      high = std::max(high, l);
    }
  return high - low;
}

TEST(GeneratedSkin, BothSkinsParseWithSeventeenPanels) {
  for (const char* name : {"button.800", "button.640"}) {
    const SkinFile& skin = Skin(name);
    EXPECT_EQ(skin.panels.size(), 17u) << name;
  }
}

TEST(GeneratedSkin, MainPanelsFillTheWindowAndSubPanelsTheirAnchors) {
  const SkinFile& skin = Skin("button.800");
  ASSERT_EQ(skin.panels.size(), 17u);
  for (int p = 0; p <= 9; ++p) {
    EXPECT_EQ(skin.panels[p].width, 800) << p;
    EXPECT_EQ(skin.panels[p].height, 600) << p;
  }
  // Kind pages stand on control 366 of the kind screen, marker bars on
  // control 635 of both fine-tuning panels.
  const struct {
    int first, last, mainPanel, anchor;
  } kAnchors[] = {{10, 13, 4, 366}, {14, 16, 8, 635}, {14, 16, 9, 635}};
  for (const auto& a : kAnchors) {
    const SkinControl* anchor = skin.panels[a.mainPanel].Find(a.anchor);
    ASSERT_NE(anchor, nullptr) << a.anchor;
    for (int p = a.first; p <= a.last; ++p) {
      EXPECT_EQ(skin.panels[p].width, anchor->rect.Width()) << p;
      EXPECT_EQ(skin.panels[p].height, anchor->rect.Height()) << p;
    }
  }
  const SkinFile& small = Skin("button.640");
  ASSERT_EQ(small.panels.size(), 17u);
  EXPECT_EQ(small.panels[0].width, 640);
  EXPECT_EQ(small.panels[0].height, 480);
}

TEST(GeneratedSkin, ControlsLieInsideTheirPanelAndApart) {
  const std::vector<vmd::LayoutPanel>& layout = vmd::SkinLayout();
  for (const char* name : {"button.800", "button.640"}) {
    const SkinFile& skin = Skin(name);
    ASSERT_EQ(skin.panels.size(), layout.size());
    for (size_t p = 0; p < skin.panels.size(); ++p) {
      const SkinPanel& panel = skin.panels[p];
      for (size_t i = 0; i < panel.controls.size(); ++i) {
        const SkinRect& r = panel.controls[i].rect;
        EXPECT_TRUE(r.left >= 0 && r.top >= 0 && r.right < panel.width && r.bottom < panel.height)
            << name << " panel " << p << " control " << panel.controls[i].id;
        for (size_t j = i + 1; j < panel.controls.size(); ++j) {
          const int a = panel.controls[i].id, b = panel.controls[j].id;
          EXPECT_NE(a, b) << name << " panel " << p << " repeats control " << a;
          if (IsThumbOnTrack(layout[p], a, b)) continue;
          EXPECT_FALSE(Overlap(r, panel.controls[j].rect))
              << name << " panel " << p << ": controls " << a << " and " << b << " overlap";
        }
      }
    }
  }
}

TEST(GeneratedSkin, TheFourCommonButtonsStandAlikeOnEveryMainPanel) {
  const SkinFile& skin = Skin("button.800");
  ASSERT_EQ(skin.panels.size(), 17u);
  for (int id = 996; id <= 999; ++id) {
    const SkinControl* first = skin.panels[0].Find(id);
    ASSERT_NE(first, nullptr) << id;
    for (int p = 1; p <= 9; ++p) {
      const SkinControl* c = skin.panels[p].Find(id);
      ASSERT_NE(c, nullptr) << "panel " << p << " lacks " << id;
      EXPECT_EQ(c->rect.left, first->rect.left);
      EXPECT_EQ(c->rect.top, first->rect.top);
      EXPECT_EQ(c->rect.right, first->rect.right);
      EXPECT_EQ(c->rect.bottom, first->rect.bottom);
    }
    for (int p = 10; p <= 16; ++p) EXPECT_EQ(skin.panels[p].Find(id), nullptr) << p;
  }
}

TEST(GeneratedSkin, EveryFaceHasThreeDistinctStatesOfItsPlaceSize) {
  for (const char* name : {"button.800", "button.640"}) {
    const SkinFile& skin = Skin(name);
    for (size_t p = 0; p < skin.panels.size(); ++p) {
      for (const SkinControl& c : skin.panels[p].controls) {
        if (c.images[0].Empty()) {
          // A place: no image in any state.
          EXPECT_TRUE(c.images[1].Empty() && c.images[2].Empty()) << name << " " << c.id;
          continue;
        }
        for (int s = 0; s < 3; ++s) {
          ASSERT_EQ(c.images[s].width, c.rect.Width()) << name << " " << c.id << " state " << s;
          ASSERT_EQ(c.images[s].height, c.rect.Height()) << name << " " << c.id << " state " << s;
        }
        EXPECT_NE(c.images[0].pixels, c.images[1].pixels)
            << name << " panel " << p << " " << c.id << " down";
        EXPECT_NE(c.images[0].pixels, c.images[2].pixels)
            << name << " panel " << p << " " << c.id << " disabled";
        EXPECT_NE(c.images[1].pixels, c.images[2].pixels) << name << " panel " << p << " " << c.id;
      }
    }
  }
}

TEST(GeneratedSkin, DisabledFacesHaveLessContrastThanNormalOnes) {
  const SkinFile& skin = Skin("button.800");
  int compared = 0;
  for (size_t p = 0; p <= 9 && p < skin.panels.size(); ++p)
    for (const SkinControl& c : skin.panels[p].controls) {
      if (c.images[0].Empty() || c.id >= 996) continue;  // title-band buttons sit on the dark band
      EXPECT_LT(LuminanceRange(c.images[2]), LuminanceRange(c.images[0]))
          << "panel " << p << " " << c.id;
      ++compared;
    }
  EXPECT_GT(compared, 50);
}

TEST(GeneratedSkin, SmallSkinHasTheSameControlsScaledByFourFifths) {
  const SkinFile& large = Skin("button.800");
  const SkinFile& small = Skin("button.640");
  ASSERT_EQ(large.panels.size(), small.panels.size());
  for (size_t p = 0; p < large.panels.size(); ++p) {
    ASSERT_EQ(large.panels[p].controls.size(), small.panels[p].controls.size()) << p;
    EXPECT_NEAR(small.panels[p].width, large.panels[p].width * 0.8, 0.5) << p;
    EXPECT_NEAR(small.panels[p].height, large.panels[p].height * 0.8, 0.5) << p;
    for (size_t i = 0; i < large.panels[p].controls.size(); ++i) {
      const SkinControl& a = large.panels[p].controls[i];
      const SkinControl& b = small.panels[p].controls[i];
      EXPECT_EQ(a.id, b.id) << p;
      EXPECT_NEAR(b.rect.left, a.rect.left * 0.8, 0.5) << p << " " << a.id;
      EXPECT_NEAR(b.rect.top, a.rect.top * 0.8, 0.5) << p << " " << a.id;
      EXPECT_NEAR(b.rect.right + 1, (a.rect.right + 1) * 0.8, 0.5) << p << " " << a.id;
      EXPECT_NEAR(b.rect.bottom + 1, (a.rect.bottom + 1) * 0.8, 0.5) << p << " " << a.id;
    }
  }
}

TEST(GeneratedSkin, DrawingAgainGivesTheSameBytes) {
  std::vector<uint8_t> again;
  ASSERT_TRUE(vmd::BuildSkinFile(vmd::SkinLayout(), 1.0, "", &again));
  std::vector<uint8_t> built;
  ASSERT_TRUE(vmd::ReadWholeFile(kUiFolder + "/button.800", &built));
  EXPECT_TRUE(again == built) << "button.800 differs from a second drawing";
}

TEST(ScaledRect, TouchingControlsStillTouchAfterScaling) {
  // Two controls side by side with no gap: the first's right edge + 1 is the
  // second's left at every scale, so nothing overlaps or opens a seam.
  for (int left = 0; left < 50; ++left)
    for (int width = 1; width < 40; ++width) {
      const vmd::LayoutControl a{1, vmd::FaceKind::kPush, left, 0, width, 10, nullptr, nullptr};
      const vmd::LayoutControl b{2, vmd::FaceKind::kPush, left + width, 0, 7, 10, nullptr, nullptr};
      const SkinRect ra = vmd::ScaledRect(a, 0.8), rb = vmd::ScaledRect(b, 0.8);
      ASSERT_EQ(ra.right + 1, rb.left) << left << " " << width;
    }
}

}  // namespace
