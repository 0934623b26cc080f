// vmd3-stitch as a user runs it: generated photos on disk, the program started
// as a child process, its exit status, its one-line messages and its output.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#if !defined(_WIN32)
#include <sys/wait.h>
#endif

#include "pixio.h"
#include "test_dib.h"

namespace {

using testing_support::GlobalFreer;
using testing_support::HeaderOf;
using testing_support::MakeDib24;
using testing_support::ScratchPath;

std::string Program() {
  std::string p = VMD3_STITCH_PATH;
#if defined(_WIN32)
  // CTest hands Wine the Unix path of the build tree; Wine sees it on drive Z:.
  if (!p.empty() && p[0] == '/') {
    for (char& c : p) c = c == '/' ? '\\' : c;
    p = "Z:" + p;
  }
#endif
  return p;
}

/// A scene of soft stripes and spots; photos are crops of it.
uint32_t Scene(int x, int y) {
  const int r = (x * 7 + (y / 9) * 31) & 0xFF, g = ((x / 13) * 40 + y * 3) & 0xFF;
  const int b = ((x - 180) * (x - 180) + (y - 90) * (y - 90)) < 900 ? 250 : (x ^ y) & 0x7F;
  return uint32_t(r << 16 | g << 8 | b);
}

std::string WritePhoto(const std::string& name, int width, int height, int offsetX) {
  const std::string path = ScratchPath(name);
  GlobalFreer dib(MakeDib24(width, height, [&](int x, int y) { return Scene(x + offsetX, y); }));
  EXPECT_NE(ImgSaveFile(dib.handle, path.c_str()), 0);
  return path;
}

struct Result {
  int status;
  std::string messages;
};

Result RunStitcher(const std::vector<std::string>& args) {
  const std::string log = ScratchPath("stitch.log");
  std::string command = "\"" + Program() + "\"";
  for (const std::string& a : args) command += " \"" + a + "\"";
  command += " 2>\"" + log + "\"";
#if defined(_WIN32)
  command = "\"" + command + "\"";  // cmd.exe drops the outer quotes
#endif
  const int raw = std::system(command.c_str());
#if defined(_WIN32)
  const int status = raw;
#else
  const int status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
#endif
  Result r{status, ""};
  if (FILE* f = std::fopen(log.c_str(), "rb")) {
    char buf[4096];
    size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) r.messages.append(buf, n);
    std::fclose(f);
  }
  std::remove(log.c_str());
  return r;
}

TEST(StitchCommand, StitchesARowOfOverlappingPhotos) {
  std::vector<std::string> photos;
  for (int i = 0; i < 3; ++i) photos.push_back(WritePhoto("row" + std::to_string(i) + ".bmp", 240, 180, i * 150));
  const std::string out = ScratchPath("pano.bmp");
  std::vector<std::string> args = {"--lens", "tele", "--size", "large", "-o", out};
  args.insert(args.end(), photos.begin(), photos.end());
  const Result r = RunStitcher(args);
  ASSERT_EQ(r.status, 0) << r.messages;
  EXPECT_NE(r.messages.find("%"), std::string::npos);  // progress reached stderr
  GlobalFreer pano(ImgReadFile(nullptr, out.c_str()));
  ASSERT_NE(pano.handle, nullptr);
  const BITMAPINFOHEADER h = HeaderOf(pano.handle);
  // Three 240-pixel photos 150 pixels apart cover about 540 pixels.
  EXPECT_GT(h.biWidth, 450);
  EXPECT_LT(h.biWidth, 600);
  EXPECT_GT(h.biHeight, 140);
  EXPECT_LE(h.biHeight, 190);
  for (const std::string& p : photos) std::remove(p.c_str());
  std::remove(out.c_str());
}

long FileSize(const std::string& path) {
  FILE* f = std::fopen(path.c_str(), "rb");
  if (f == nullptr) return -1;
  std::fseek(f, 0, SEEK_END);
  const long size = std::ftell(f);
  std::fclose(f);
  return size;
}

// The same panorama written at a low and a high JPEG quality: the quality
// reaches the encoder, so the low one is much the smaller file.
TEST(StitchCommand, TheQualityOptionReachesTheJpegEncoder) {
  std::vector<std::string> photos;
  for (int i = 0; i < 2; ++i) photos.push_back(WritePhoto("q" + std::to_string(i) + ".bmp", 240, 180, i * 150));
  long sizes[2] = {};
  const char* qualities[2] = {"10", "95"};
  for (int k = 0; k < 2; ++k) {
    const std::string out = ScratchPath(std::string("q") + qualities[k] + ".jpg");
    std::vector<std::string> args = {"--lens", "tele", "--quality", qualities[k], "-o", out};
    args.insert(args.end(), photos.begin(), photos.end());
    const Result r = RunStitcher(args);
    ASSERT_EQ(r.status, 0) << r.messages;
    sizes[k] = FileSize(out);
    std::remove(out.c_str());
  }
  EXPECT_GT(sizes[0], 0);
  EXPECT_LT(sizes[0] * 2, sizes[1]);
  for (const std::string& p : photos) std::remove(p.c_str());
}

struct Refusal {
  int width, height, count;
  std::vector<std::string> extra;
  int status;
  const char* message;
};

class StitchCommandRefuses : public testing::TestWithParam<Refusal> {};

TEST_P(StitchCommandRefuses, WithItsExitStatusAndOneLine) {
  const Refusal& c = GetParam();
  std::vector<std::string> photos;
  for (int i = 0; i < c.count; ++i) photos.push_back(WritePhoto("bad" + std::to_string(i) + ".bmp", c.width, c.height, i * 50));
  const std::string out = ScratchPath("never.jpg");
  std::vector<std::string> args = c.extra;
  args.push_back("-o");
  args.push_back(out);
  args.insert(args.end(), photos.begin(), photos.end());
  const Result r = RunStitcher(args);
  EXPECT_EQ(r.status, c.status) << r.messages;
  EXPECT_NE(r.messages.find(c.message), std::string::npos) << r.messages;
  EXPECT_EQ(r.messages.find('\n'), r.messages.size() - 1) << "one line: " << r.messages;
  EXPECT_EQ(std::fopen(out.c_str(), "rb"), nullptr);
  for (const std::string& p : photos) std::remove(p.c_str());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, StitchCommandRefuses,
    testing::Values(
        Refusal{60, 60, 3, {}, 1, "Please select a photo larger than 64x64 pixels."},
        Refusal{300, 100, 3, {}, 1, "The photo's dimension must be between 1:2 and 2:1"},
        Refusal{200, 150, 1, {}, 1, "Must include at least 2 photos."},
        Refusal{200, 150, 5, {"--kind", "circle"}, 1, "Must include at least 6 photos."},
        Refusal{200, 150, 3, {"--kind", "tile", "--at", "0,0", "--at", "3,3", "--at", "0,3"}, 1,
                "Please place photos into proper space."},
        Refusal{200, 150, 2, {"--size", "giant"}, 2, "--size must be"}));

TEST(StitchCommand, AMissingPhotoIsNamed) {
  const std::string missing = ScratchPath("nowhere.jpg");
  const Result r = RunStitcher({"-o", ScratchPath("x.jpg"), missing, missing});
  EXPECT_EQ(r.status, 1);
  EXPECT_NE(r.messages.find("cannot read"), std::string::npos) << r.messages;
}

TEST(StitchCommand, HelpDocumentsTheOptions) {
  const Result r = RunStitcher({"--help"});
  EXPECT_EQ(r.status, 0);
}

}  // namespace
