// The skin reader refuses places beyond window coordinates (the fuzzer found
// a place from -2^31 to 0 whose width overflowed) and keeps those at the
// edges of the 16-bit range.
#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

#include "palm_container.h"
#include "skin_file.h"

namespace {

std::vector<uint8_t> SkinWithPlace(vmd::SkinRect place) {
  vmd::SkinImage background;
  background.width = 2;
  background.height = 2;
  background.stride = 8;
  background.pixels.assign(16, 90);
  vmd::PalmContainer container;
  container.pageStarts.push_back(0);
  for (int state = 0; state < vmd::kSkinStates; ++state) {
    vmd::SkinRecordEntry entry;
    entry.state = state;
    entry.rect = {0, 0, 1, 1};
    entry.image = state == 0 ? &background : nullptr;
    vmd::AppendSkinRecord(entry, &container);
  }
  for (int state = 0; state < vmd::kSkinStates; ++state) {
    vmd::SkinRecordEntry entry;
    entry.id = 7;
    entry.state = state;
    entry.rect = place;
    vmd::AppendSkinRecord(entry, &container);
  }
  std::vector<uint8_t> bytes;
  EXPECT_TRUE(vmd::WritePalmContainer(container, &bytes));
  return bytes;
}

TEST(SkinFileReader, PlacesMustLieWithinWindowCoordinates) {
  const struct {
    vmd::SkinRect place;
    bool accepted;
  } kCases[] = {
      {{INT_MIN, 0, 0, 0}, false},
      {{0, 0, INT_MAX, 0}, false},
      {{0, -32769, 5, 5}, false},
      {{0, 0, 5, 32768}, false},
      {{-32768, -32768, 32767, 32767}, true},
      {{3, 4, 3, 4}, true},
  };
  for (const auto& c : kCases) {
    const std::vector<uint8_t> bytes = SkinWithPlace(c.place);
    vmd::SkinFile skin;
    std::string reason;
    const bool ok = vmd::ParseSkinFile(bytes.data(), bytes.size(), &skin, &reason);
    EXPECT_EQ(ok, c.accepted) << c.place.left << " " << c.place.top << " " << c.place.right << " "
                              << c.place.bottom << ": " << reason;
    if (ok) {
      ASSERT_EQ(skin.panels.size(), 1u);
      ASSERT_EQ(skin.panels[0].controls.size(), 1u);
      EXPECT_EQ(skin.panels[0].controls[0].rect.Width(), c.place.right - c.place.left + 1);
    } else {
      EXPECT_TRUE(skin.panels.empty());
    }
  }
}

}  // namespace
