#include "skin_file.h"

#include <gtest/gtest.h>

namespace vmd {
namespace {

SkinImage Solid(int width, int height, uint8_t value) {
  SkinImage image;
  image.width = width;
  image.height = height;
  image.stride = ((width * 24 + 31) / 32) * 4;
  image.pixels.assign(static_cast<size_t>(image.stride) * height, value);
  return image;
}

/// A skin of `panels` pages: a 40 x 30 background and one 10 x 8 button at
/// (5, 6) with three faces, the disabled one missing.
struct TinySkin {
  SkinImage background = Solid(40, 30, 200);
  SkinImage normal = Solid(10, 8, 10);
  SkinImage down = Solid(10, 8, 20);
  PalmContainer container;

  explicit TinySkin(int panels) {
    for (int panel = 0; panel < panels; ++panel) {
      container.pageStarts.push_back(static_cast<uint32_t>(container.records.size()));
      const SkinRect whole{0, 0, 39, 29};
      AppendSkinRecord({0, 0, "panel", whole, &background}, &container);
      AppendSkinRecord({0, 1, "panel", whole, nullptr}, &container);
      AppendSkinRecord({0, 2, "panel", whole, nullptr}, &container);
      const SkinRect place{5, 6, 14, 13};
      AppendSkinRecord({42, 0, "button", place, &normal}, &container);
      AppendSkinRecord({42, 1, "button", place, &down}, &container);
      AppendSkinRecord({42, 2, "button", place, nullptr}, &container);
    }
  }
  std::vector<uint8_t> Bytes() const {
    std::vector<uint8_t> bytes;
    WritePalmContainer(container, &bytes);
    return bytes;
  }
};

TEST(SkinFile, ReadsBackPanelsControlsPlacesAndFaces) {
  TinySkin tiny(2);
  const std::vector<uint8_t> bytes = tiny.Bytes();
  SkinFile skin;
  std::string reason;
  ASSERT_TRUE(ParseSkinFile(bytes.data(), bytes.size(), &skin, &reason)) << reason;
  ASSERT_EQ(skin.panels.size(), 2u);
  const SkinPanel& panel = skin.panels[1];
  EXPECT_EQ(panel.width, 40);
  EXPECT_EQ(panel.height, 30);
  EXPECT_EQ(panel.background.pixels, tiny.background.pixels);
  ASSERT_EQ(panel.controls.size(), 1u);
  const SkinControl* button = panel.Find(42);
  ASSERT_NE(button, nullptr);
  EXPECT_EQ(button->name, "button");
  EXPECT_EQ(button->rect.left, 5);
  EXPECT_EQ(button->rect.bottom, 13);
  EXPECT_EQ(button->rect.Width(), 10) << "places are inclusive";
  EXPECT_EQ(button->images[1].pixels, tiny.down.pixels);
  EXPECT_TRUE(button->images[2].Empty()) << "a state without data has no image";
  EXPECT_EQ(panel.Find(43), nullptr);
}

TEST(SkinFile, RefusesDamagedFilesWithAReason) {
  struct Case {
    const char* what;
    void (*damage)(TinySkin*, std::vector<uint8_t>*);
  };
  const Case cases[] = {
      {"no container", [](TinySkin*, std::vector<uint8_t>* b) { (*b)[1] = 'X'; }},
      {"cut short", [](TinySkin*, std::vector<uint8_t>* b) { b->resize(b->size() - 100); }},
      {"no pages", [](TinySkin*, std::vector<uint8_t>* b) { WriteU32(b->data(), 32, 0); }},
      {"states out of order",
       [](TinySkin* t, std::vector<uint8_t>* b) {
         WriteU32(t->container.records[4].fields, kSkinStateField, 2);
         WritePalmContainer(t->container, b);
       }},
      {"panel without background",
       [](TinySkin* t, std::vector<uint8_t>* b) {
         t->container.records[0].data.clear();
         WritePalmContainer(t->container, b);
       }},
      {"image size differs from its record",
       [](TinySkin* t, std::vector<uint8_t>* b) {
         WriteU16(t->container.records[3].fields, kSkinWidthField, 11);
         WritePalmContainer(t->container, b);
       }},
      {"dib header lies about its depth",
       [](TinySkin* t, std::vector<uint8_t>* b) {
         WriteU16(t->container.records[3].data.data(), 14, 8);
         WritePalmContainer(t->container, b);
       }},
      {"dib rows shorter than its header says",
       [](TinySkin* t, std::vector<uint8_t>* b) {
         t->container.records[3].data.resize(60);
         WritePalmContainer(t->container, b);
       }},
      {"a page that is not whole groups",
       [](TinySkin* t, std::vector<uint8_t>* b) {
         t->container.pageStarts[1] = 5;
         WritePalmContainer(t->container, b);
       }},
      {"an empty place",
       [](TinySkin* t, std::vector<uint8_t>* b) {
         WriteU32(t->container.records[3].fields, kSkinRectField + 8, 1);
         WritePalmContainer(t->container, b);
       }},
  };
  for (const Case& c : cases) {
    TinySkin tiny(2);
    std::vector<uint8_t> bytes = tiny.Bytes();
    c.damage(&tiny, &bytes);
    SkinFile skin;
    skin.panels.resize(3);
    std::string reason;
    EXPECT_FALSE(ParseSkinFile(bytes.data(), bytes.size(), &skin, &reason)) << c.what;
    EXPECT_FALSE(reason.empty()) << c.what;
    EXPECT_TRUE(skin.panels.empty()) << c.what << ": nothing half-used";
  }
}

TEST(SkinFile, MissingFileIsRefused) {
  SkinFile skin;
  std::string reason;
  EXPECT_FALSE(LoadSkinFile(testing::TempDir() + "no-such-skin.800", &skin, &reason));
  EXPECT_EQ(reason, "cannot be read");
}

TEST(PackedDib, EncodesRowsPaddedToFourBytesAndDecodesThemBack) {
  SkinImage image = Solid(3, 2, 0);
  for (size_t i = 0; i < image.pixels.size(); ++i) image.pixels[i] = static_cast<uint8_t>(i);
  const std::vector<uint8_t> dib = EncodePackedDib(image);
  EXPECT_EQ(dib.size(), 40u + 12u * 2u) << "9 bytes a row padded to 12";
  EXPECT_EQ(ReadU32(dib.data(), 20), 24u);
  SkinImage back;
  ASSERT_TRUE(DecodePackedDib(dib, &back));
  EXPECT_EQ(back.pixels, image.pixels);
}

}  // namespace
}  // namespace vmd
