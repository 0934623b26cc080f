// The separate window images and the cursors: BMP files of the sizes their
// windows cut them at, marker strips with a transparent ground, and Windows
// cursor files with their hot spot on the drawing.
#include "ui_images.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "cursors.h"
#include "palm_container.h"
#include "skin_file.h"
#include "ui_image_layout.h"
#include "web_images.h"

namespace {

const std::string kAppFolder = VMD_SKIN_APP_FOLDER;

// Reads a BMP file through its packed DIB: false when the file header or the
// bitmap is not a 24-bit one.
bool ReadBmp(const std::string& path, vmd::SkinImage* image) {
  std::vector<uint8_t> bytes;
  if (!vmd::ReadWholeFile(path, &bytes) || bytes.size() < 14 + 40) return false;
  if (bytes[0] != 'B' || bytes[1] != 'M') return false;
  if (vmd::ReadU32(bytes.data(), 2) != bytes.size() || vmd::ReadU32(bytes.data(), 10) != 54)
    return false;
  return vmd::DecodePackedDib(std::vector<uint8_t>(bytes.begin() + 14, bytes.end()), image);
}

uint32_t PixelAt(const vmd::SkinImage& image, int x, int y) {
  const uint8_t* p = &image.pixels[size_t(image.height - 1 - y) * image.stride + 3 * x];
  return uint32_t(p[2]) << 16 | uint32_t(p[1]) << 8 | p[0];
}

TEST(UiImages, EachFileIsABitmapOfTheSizeItsWindowUses) {
  const struct {
    const char* name;
    int width, height;
  } kSizes[] = {
      {"bar.prg", 298, 17},
      {"bar.log", 322, 67},
      {"panovw.log", 544, 306},
      {"detail.log", 222, 67},
      {"pano.log", 222, 67},
      {"title1.800", 480, 32},
      {"title2.800", 480, 32},
      {"mark1.800", 62, 31},
      {"mark2.800", 62, 31},
      {"mark3.800", 62, 31},
      {"sort.log", vmd::kSortBar.width, vmd::kSortBar.height},
      {"detail.btn", 9 * vmd::kDetailBar.buttonWidth, vmd::kDetailBar.buttonHeight},
      {"pano.btn", 9 * vmd::kPanoBar.buttonWidth, vmd::kPanoBar.buttonHeight},
      {"sort.btn", 12 * vmd::kSortBar.buttonWidth, vmd::kSortBar.buttonHeight},
  };
  for (const auto& s : kSizes) {
    vmd::SkinImage image;
    ASSERT_TRUE(ReadBmp(kAppFolder + "/UI/" + s.name, &image)) << s.name;
    EXPECT_EQ(image.width, s.width) << s.name;
    EXPECT_EQ(image.height, s.height) << s.name;
  }
}

TEST(UiImages, StoryboardHeadingsFillTheHeadingPlaceOfEachSkin) {
  for (const char* size : {"800", "640"}) {
    vmd::SkinFile skin;
    std::string reason;
    ASSERT_TRUE(vmd::LoadSkinFile(kAppFolder + "/UI/button." + size, &skin, &reason)) << reason;
    ASSERT_GT(skin.panels.size(), 2u);
    const vmd::SkinControl* place = skin.panels[2].Find(640);
    ASSERT_NE(place, nullptr) << size;
    for (const char* title : {"title1.", "title2."}) {
      vmd::SkinImage image;
      ASSERT_TRUE(ReadBmp(kAppFolder + "/UI/" + title + size, &image)) << title << size;
      EXPECT_EQ(image.width, place->rect.Width()) << title << size;
      EXPECT_EQ(image.height, place->rect.Height()) << title << size;
    }
  }
}

TEST(UiImages, ButtonBarsFitTheirBar) {
  for (const vmd::ButtonBarLayout& bar : {vmd::kDetailBar, vmd::kPanoBar, vmd::kSortBar}) {
    const int lastRight = bar.firstLeft + (bar.buttons - 1) * bar.step + bar.buttonWidth;
    EXPECT_LE(lastRight, bar.width);
    EXPECT_LE(bar.top + bar.buttonHeight, bar.height);
    EXPECT_GE(bar.step, bar.buttonWidth);  // buttons do not overlap
  }
}

TEST(UiImages, MarkerFramesShowTheMarkerOnATransparentGround) {
  for (int m = 1; m <= 3; ++m) {
    vmd::SkinImage strip;
    ASSERT_TRUE(ReadBmp(kAppFolder + "/UI/mark" + std::to_string(m) + ".800", &strip)) << m;
    for (int frame = 0; frame < vmd::kMarkerFrames; ++frame) {
      const int x0 = frame * vmd::kMarkerFrame, last = vmd::kMarkerFrame - 1;
      EXPECT_EQ(PixelAt(strip, x0, 0), vmd::kMarkerKeyColor) << m << " frame " << frame;
      EXPECT_EQ(PixelAt(strip, x0 + last, 0), vmd::kMarkerKeyColor) << m << " frame " << frame;
      EXPECT_EQ(PixelAt(strip, x0, last), vmd::kMarkerKeyColor) << m << " frame " << frame;
      // The marker is drawn around its point: something opaque lies on the
      // point's row and column within a few pixels.
      int opaque = 0;
      for (int d = -6; d <= 6; ++d) {
        opaque +=
            PixelAt(strip, x0 + vmd::kMarkerHotX + d, vmd::kMarkerHotY) != vmd::kMarkerKeyColor;
        opaque +=
            PixelAt(strip, x0 + vmd::kMarkerHotX, vmd::kMarkerHotY + d) != vmd::kMarkerKeyColor;
      }
      EXPECT_GT(opaque, 4) << m << " frame " << frame;
    }
    // The active and inactive looks differ.
    std::vector<uint32_t> a, b;
    for (int y = 0; y < vmd::kMarkerFrame; ++y)
      for (int x = 0; x < vmd::kMarkerFrame; ++x) {
        a.push_back(PixelAt(strip, x, y));
        b.push_back(PixelAt(strip, x + vmd::kMarkerFrame, y));
      }
    EXPECT_NE(a, b) << m;
  }
}

// The parts of a .cur file the cursor loader reads.
struct ParsedCursor {
  int width = 0, height = 0, hotX = -1, hotY = -1, bits = 0;
  std::vector<uint8_t> alpha;  // top-down, one byte per pixel
  std::vector<bool> transparentInMask;
};

bool ParseCursor(const std::vector<uint8_t>& f, ParsedCursor* c, std::string* why) {
  auto fail = [why](const char* reason) {
    *why = reason;
    return false;
  };
  if (f.size() < 22 + 40) return fail("shorter than its headers");
  if (vmd::ReadU16(f.data(), 0) != 0 || vmd::ReadU16(f.data(), 2) != 2 ||
      vmd::ReadU16(f.data(), 4) != 1)
    return fail("not a one-image cursor directory");
  c->width = f[6] ? f[6] : 256;
  c->height = f[7] ? f[7] : 256;
  c->hotX = vmd::ReadU16(f.data(), 10);
  c->hotY = vmd::ReadU16(f.data(), 12);
  const uint32_t size = vmd::ReadU32(f.data(), 14), offset = vmd::ReadU32(f.data(), 18);
  if (offset + uint64_t(size) != f.size())
    return fail("image size and offset do not match the file");
  const uint8_t* h = f.data() + offset;
  if (vmd::ReadU32(h, 0) != 40 || int(vmd::ReadU32(h, 4)) != c->width ||
      int(vmd::ReadU32(h, 8)) != 2 * c->height || vmd::ReadU16(h, 12) != 1)
    return fail("bitmap header does not match the directory");
  c->bits = vmd::ReadU16(h, 14);
  if (c->bits != 32) return fail("not 32-bit");
  const size_t colour = size_t(c->width) * c->height * 4, maskStride = ((c->width + 31) / 32) * 4;
  if (40 + colour + maskStride * c->height != size) return fail("wrong image size");
  for (int y = 0; y < c->height; ++y)
    for (int x = 0; x < c->width; ++x) {
      const int row = c->height - 1 - y;
      c->alpha.push_back(h[40 + (size_t(row) * c->width + x) * 4 + 3]);
      const uint8_t m = h[40 + colour + row * maskStride + x / 8];
      c->transparentInMask.push_back((m & (0x80 >> (x % 8))) != 0);
    }
  return true;
}

TEST(Cursors, EveryCursorTheProgramLoadsIsAWellFormedFile) {
  const std::set<int> wanted = {180, 200, 201, 210, 211, 212, 213, 214, 215, 216, 217,
                                218, 219, 220, 221, 224, 233, 235, 237, 238, 727};
  std::set<int> found;
  for (const vmd::CursorFile& cursor : vmd::DrawCursors()) {
    found.insert(cursor.id);
    std::vector<uint8_t> bytes;
    ASSERT_TRUE(vmd::ReadWholeFile(kAppFolder + "/cursors/" + cursor.fileName, &bytes))
        << cursor.fileName;
    EXPECT_EQ(bytes, cursor.bytes) << cursor.fileName << " differs from a second drawing";
    ParsedCursor c;
    std::string why;
    ASSERT_TRUE(ParseCursor(bytes, &c, &why)) << cursor.fileName << ": " << why;
    EXPECT_EQ(c.width, 32);
    EXPECT_EQ(c.height, 32);
    ASSERT_TRUE(c.hotX >= 0 && c.hotX < 32 && c.hotY >= 0 && c.hotY < 32) << cursor.id;
    // The hot spot lies on the drawing or right beside it.
    int near = 0;
    for (int dy = -2; dy <= 2; ++dy)
      for (int dx = -2; dx <= 2; ++dx) {
        const int x = c.hotX + dx, y = c.hotY + dy;
        if (x >= 0 && x < 32 && y >= 0 && y < 32) near += c.alpha[y * 32 + x] >= 128;
      }
    EXPECT_GT(near, 0) << cursor.id << ": nothing drawn at the hot spot";
    // The mask agrees with the alpha channel.
    for (size_t i = 0; i < c.alpha.size(); ++i)
      ASSERT_EQ(c.transparentInMask[i], c.alpha[i] < 128) << cursor.id << " pixel " << i;
  }
  EXPECT_EQ(found, wanted);
}

TEST(WebImages, EveryDecorationOfThePageAtItsSize) {
  const std::vector<std::pair<std::string, std::pair<int, int>>> wanted = {
      {"vistameld.gif", {178, 56}}, {"360view.gif", {246, 56}}, {"lclogo.gif", {155, 45}},
      {"lcroll.gif", {155, 45}},    {"bglevel.gif", {64, 64}}};
  const std::vector<vmd::NamedImage> images = vmd::DrawWebImages();
  ASSERT_EQ(images.size(), wanted.size());
  for (size_t i = 0; i < wanted.size(); ++i) {
    EXPECT_EQ(images[i].name, wanted[i].first);
    EXPECT_EQ(images[i].image.width, wanted[i].second.first) << images[i].name;
    EXPECT_EQ(images[i].image.height, wanted[i].second.second) << images[i].name;
  }
  // The logo lit for the pointer differs from the plain one.
  EXPECT_NE(images[2].image.pixels, images[3].image.pixels);
}

TEST(Cursors, ParserRefusesDamagedFiles) {
  const std::vector<uint8_t> good = vmd::DrawCursors().front().bytes;
  ParsedCursor c;
  std::string why;
  ASSERT_TRUE(ParseCursor(good, &c, &why)) << why;
  // Cut short, an icon instead of a cursor, a wrong image size.
  std::vector<uint8_t> cut(good.begin(), good.end() - 1);
  EXPECT_FALSE(ParseCursor(cut, &c, &why));
  std::vector<uint8_t> icon = good;
  icon[2] = 1;
  EXPECT_FALSE(ParseCursor(icon, &c, &why));
  std::vector<uint8_t> tall = good;
  vmd::WriteU32(tall.data() + 22, 8, 32);
  EXPECT_FALSE(ParseCursor(tall, &c, &why));
}

}  // namespace
