#include <zlib.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <unistd.h>

#include "panorama_movie.h"
#include "quicktime.h"

namespace vmd {
namespace {

// --- a walker of our own over the file's atoms ---------------------------------

uint32_t Be32(const uint8_t* p) { return (uint32_t(p[0]) << 24) | (p[1] << 16) | (p[2] << 8) | p[3]; }
uint16_t Be16(const uint8_t* p) { return static_cast<uint16_t>((p[0] << 8) | p[1]); }
float BeFloat(const uint8_t* p) {
  const uint32_t bits = Be32(p);
  float f;
  std::memcpy(&f, &bits, 4);
  return f;
}
std::string Code(uint32_t v) {
  return std::string{char(v >> 24), char(v >> 16), char(v >> 8), char(v)};
}

struct Atom {
  std::string type;
  std::vector<uint8_t> body;
  std::vector<Atom> children;
  uint32_t id = 0;  // QT atoms only
  const Atom* Find(const std::string& t, int nth = 0) const {
    for (const Atom& c : children)
      if (c.type == t && nth-- == 0) return &c;
    return nullptr;
  }
  int Count(const std::string& t) const {
    int n = 0;
    for (const Atom& c : children) n += c.type == t;
    return n;
  }
};

// Classic atoms: the containers among them are listed.
bool IsContainer(const std::string& t) {
  static const char* const kContainers[] = {"moov", "trak", "mdia", "minf", "stbl", "edts", "dinf", "gmhd", "cmov"};
  for (const char* c : kContainers)
    if (t == c) return true;
  return false;
}

std::vector<Atom> ParseAtoms(const uint8_t* at, size_t size) {
  std::vector<Atom> atoms;
  size_t pos = 0;
  while (pos + 8 <= size) {
    const uint32_t n = Be32(at + pos);
    EXPECT_GE(n, 8u);
    EXPECT_LE(n, size - pos);
    if (n < 8 || n > size - pos) break;
    Atom a;
    a.type = Code(Be32(at + pos + 4));
    a.body.assign(at + pos + 8, at + pos + n);
    if (IsContainer(a.type)) a.children = ParseAtoms(a.body.data(), a.body.size());
    atoms.push_back(std::move(a));
    pos += n;
  }
  EXPECT_EQ(pos, size) << "atoms do not fill their parent";
  return atoms;
}

// QT atoms: a 20-byte header with id and child count.
Atom ParseQtAtom(const uint8_t* at, size_t size) {
  Atom a;
  const uint32_t n = Be32(at);
  EXPECT_LE(n, size);
  a.type = Code(Be32(at + 4));
  a.id = Be32(at + 8);
  const uint16_t children = Be16(at + 14);
  size_t pos = 20;
  for (uint16_t i = 0; i < children; ++i) {
    a.children.push_back(ParseQtAtom(at + pos, n - pos));
    pos += Be32(at + pos);
  }
  if (!children) a.body.assign(at + 20, at + n);
  EXPECT_EQ(children ? pos : n, n);
  return a;
}

// An atom container: a 12-byte header of zeros, then the root 'sean' atom.
Atom ParseContainer(const std::vector<uint8_t>& bytes, size_t offset) {
  for (size_t i = 0; i < 12; ++i) EXPECT_EQ(bytes[offset + i], 0) << "container header byte " << i;
  Atom root = ParseQtAtom(bytes.data() + offset + 12, bytes.size() - offset - 12);
  EXPECT_EQ(root.type, "sean");
  EXPECT_EQ(root.id, 1u);
  return root;
}

std::vector<uint8_t> Inflate(const std::vector<uint8_t>& cmvd) {
  uLongf size = Be32(cmvd.data());
  std::vector<uint8_t> out(size);
  EXPECT_EQ(uncompress(out.data(), &size, cmvd.data() + 4, cmvd.size() - 4), Z_OK);
  return out;
}

struct Track {
  const Atom* trak;
  std::string handler;
  std::vector<std::vector<uint8_t>> samples;
  std::vector<uint8_t> description;
};

// --- test pictures -------------------------------------------------------------

uint32_t PixelOf(int x, int y) {
  return ((x * 37 + y * 11) & 0xFF) | (((y * 5) & 0xFF) << 8) | (((x ^ y) & 0xFF) << 16);
}

// A 24-bit bitmap file, rows bottom-up; pixel (x, y) counts y from the top.
void WriteBitmap(const std::string& path, int width, int height) {
  const int stride = ((width * 24 + 31) / 32) * 4;
  std::vector<uint8_t> file(54 + static_cast<size_t>(stride) * height, 0);
  auto le32 = [&file](size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) file[at + i] = static_cast<uint8_t>(v >> (8 * i));
  };
  file[0] = 'B', file[1] = 'M';
  le32(2, static_cast<uint32_t>(file.size()));
  le32(10, 54), le32(14, 40), le32(18, width), le32(22, height);
  file[26] = 1, file[28] = 24;
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      const uint32_t c = PixelOf(x, y);
      uint8_t* p = &file[54 + static_cast<size_t>(height - 1 - y) * stride + 3 * x];
      p[0] = c & 0xFF, p[1] = (c >> 8) & 0xFF, p[2] = (c >> 16) & 0xFF;
    }
  std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(file.data()), file.size());
}

std::vector<uint8_t> ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<uint8_t>((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}
bool Exists(const std::string& path) { return std::ifstream(path).good(); }

class PanoramaMovie : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/vmd-movie-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    root_ = pattern;
    bitmap_ = root_ + "/~ML.BMP";
    movie_ = root_ + "/~ml.mov";
  }
  void TearDown() override { EXPECT_EQ(std::system(("rm -rf " + root_).c_str()), 0); }

  // Walks the written movie into its tracks.
  void Load() {
    file_ = ReadAll(movie_);
    top_ = ParseAtoms(file_.data(), file_.size());
    ASSERT_FALSE(top_.empty());
    ASSERT_EQ(top_[0].type, "moov") << "the movie resource comes before the data";
    const Atom* cmov = top_[0].Find("cmov");
    ASSERT_NE(cmov, nullptr);
    ASSERT_EQ(Code(Be32(cmov->Find("dcom")->body.data())), "zlib");
    plain_ = Inflate(cmov->Find("cmvd")->body);
    inner_ = ParseAtoms(plain_.data(), plain_.size());
    ASSERT_EQ(inner_.size(), 1u);
    moov_ = &inner_[0];
    for (int i = 0; i < moov_->Count("trak"); ++i) {
      const Atom* trak = moov_->Find("trak", i);
      Track t{trak, {}, {}, {}};
      const Atom* mdia = trak->Find("mdia");
      t.handler = Code(Be32(mdia->Find("hdlr")->body.data() + 8));
      const Atom* stbl = mdia->Find("minf")->Find("stbl");
      const std::vector<uint8_t>& stsd = stbl->Find("stsd")->body;
      t.description.assign(stsd.begin() + 8, stsd.end());
      const std::vector<uint8_t>& stsz = stbl->Find("stsz")->body;
      const std::vector<uint8_t>& stco = stbl->Find("stco")->body;
      for (uint32_t k = 0; k < Be32(stsz.data() + 8); ++k) {
        const uint32_t size = Be32(stsz.data() + 12 + 4 * k), at = Be32(stco.data() + 8 + 4 * k);
        EXPECT_LE(at + size, file_.size());
        t.samples.emplace_back(file_.begin() + at, file_.begin() + at + size);
      }
      tracks_.push_back(t);
    }
  }

  std::string root_, bitmap_, movie_;
  std::vector<uint8_t> file_, plain_;
  std::vector<Atom> top_, inner_;
  const Atom* moov_ = nullptr;
  std::vector<Track> tracks_;
};

const QtDispatch& Layer() { return *QtLayerDispatch(); }

// The output of a checking tool; anything it says on stderr beyond `expected`
// fails the test.
std::string RunTool(const std::string& command, const std::string& expected = "") {
  char pattern[] = "/tmp/vmd-probe-XXXXXX";
  const int fd = mkstemp(pattern);
  EXPECT_GE(fd, 0);
  close(fd);
  const std::string err = std::string(pattern) + ".err";
  const int status = std::system((command + " >" + pattern + " 2>" + err).c_str());
  EXPECT_EQ(status, 0) << command << " (the checking tools come with scripts/setup.sh)";
  const std::vector<uint8_t> out = ReadAll(pattern), warnings = ReadAll(err);
  EXPECT_EQ(std::string(warnings.begin(), warnings.end()), expected) << command;
  std::remove(pattern);
  std::remove(err.c_str());
  return std::string(out.begin(), out.end());
}

TEST(PanoramaMovieNames, UnflattenedNameReplacesTheLastLetter) {
  EXPECT_EQ(UnflattenedMovieName("C:\\D\\~ml.mov"), "C:\\D\\~ml.mot");
  EXPECT_EQ(UnflattenedMovieName("C:\\D\\pano.mot"), "C:\\D\\pano.mo@");
}

TEST(PanoramaMovieNames, HalfFieldOfViewOfAThousandByHundredTile) {
  EXPECT_NEAR(HalfFieldOfView(1000, 100), 52.62, 0.01);
}

TEST_F(PanoramaMovie, VrWorldNodeAndPanoramaAtomsHoldTheirValues) {
  WriteBitmap(bitmap_, 40, 24 * 10);
  ASSERT_EQ(MakePanoramaMovie(Layer(), bitmap_, movie_, {}), 0);
  Load();
  ASSERT_EQ(tracks_.size(), 3u);
  EXPECT_EQ(Be32(moov_->Find("mvhd")->body.data() + 12), 3600u);
  // The controller type.
  const std::vector<uint8_t>& udta = moov_->Find("udta")->body;
  EXPECT_EQ(Code(Be32(udta.data() + 4)), "ctyp");
  EXPECT_EQ(Code(Be32(udta.data() + 8)), "qtvr");

  // The VR track and its world.
  const Track& vr = tracks_[0];
  EXPECT_EQ(vr.handler, "qtvr");
  const std::vector<uint8_t>& tkhd = vr.trak->Find("tkhd")->body;
  EXPECT_EQ(Be16(tkhd.data() + 36), 0x100);                 // volume 1.0
  EXPECT_EQ(Be32(tkhd.data() + 76), 400u << 16);
  EXPECT_EQ(Be32(tkhd.data() + 80), 300u << 16);
  EXPECT_EQ(Be32(vr.trak->Find("mdia")->Find("mdhd")->body.data() + 12), 3600u);
  ASSERT_EQ(vr.samples.size(), 1u);
  EXPECT_EQ(Code(Be32(vr.description.data() + 4)), "qtvr");
  EXPECT_EQ(Be32(vr.description.data()), vr.description.size());
  for (int i = 8; i < 16; ++i) EXPECT_EQ(vr.description[i], 0);
  const Atom world = ParseContainer(vr.description, 16);
  const Atom* vrsc = world.Find("vrsc");
  ASSERT_NE(vrsc, nullptr);
  EXPECT_EQ(vrsc->id, 1u);
  const uint8_t kVrsc[24] = {0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
  EXPECT_EQ(vrsc->body, std::vector<uint8_t>(kVrsc, kVrsc + 24));
  const Atom* imgp = world.Find("imgp");
  ASSERT_EQ(imgp->Count("impn"), 2);
  const uint32_t kImaging[2][5] = {{2, 7, 2, 256, 1}, {1, 7, 2, 768, 0}};
  for (int k = 0; k < 2; ++k) {
    const Atom* impn = imgp->Find("impn", k);
    ASSERT_EQ(impn->body.size(), 56u);
    EXPECT_EQ(impn->id, static_cast<uint32_t>(k + 1));
    EXPECT_EQ(Be16(impn->body.data()), 2);
    for (int f = 0; f < 5; ++f) EXPECT_EQ(Be32(impn->body.data() + 4 + 4 * f), kImaging[k][f]) << k << " " << f;
    for (size_t b = 24; b < 56; ++b) EXPECT_EQ(impn->body[b], 0);
  }
  const Atom* nloc = world.Find("vrnp")->Find("vrni")->Find("nloc");
  ASSERT_NE(nloc, nullptr);
  const uint8_t kNloc[24] = {0, 2, 0, 0, 'p', 'a', 'n', 'o'};
  EXPECT_EQ(nloc->body, std::vector<uint8_t>(kNloc, kNloc + 24));
  EXPECT_EQ(world.Find("vrnp")->Find("vrni")->id, 1u);

  // The node information: its header and 254 hot spots.
  const Atom node = ParseContainer(vr.samples[0], 0);
  const Atom* ndhd = node.Find("ndhd");
  const uint8_t kNdhd[28] = {0, 2, 0, 0, 'p', 'a', 'n', 'o', 0, 0, 0, 1};
  EXPECT_EQ(ndhd->body, std::vector<uint8_t>(kNdhd, kNdhd + 28));
  const Atom* hspa = node.Find("hspa");
  ASSERT_EQ(hspa->Count("hots"), 254);
  for (int i = 0; i < 254; ++i) {
    const Atom* hots = hspa->Find("hots", i);
    EXPECT_EQ(hots->id, static_cast<uint32_t>(i + 1));
    const Atom* name = hots->Find("vrsg");
    const std::string text = "Hot Spot Index " + std::to_string(i + 1);
    ASSERT_EQ(name->body.size(), 4 + text.size() + 1);
    EXPECT_EQ(Be16(name->body.data()), 1);
    EXPECT_EQ(Be16(name->body.data() + 2), text.size());
    EXPECT_EQ(std::string(name->body.begin() + 4, name->body.end() - 1), text);
    const Atom* hsin = hots->Find("hsin");
    ASSERT_EQ(hsin->body.size(), 68u);
    EXPECT_EQ(Code(Be32(hsin->body.data() + 4)), "url ");
    EXPECT_EQ(Be32(hsin->body.data() + 8), name->id);
    EXPECT_EQ(Be16(hsin->body.data()), 2);
    for (size_t b = 12; b < 68; ++b) ASSERT_EQ(hsin->body[b], 0) << "hot spot " << i + 1 << " byte " << b;
    const std::vector<uint8_t>& url = hots->Find("url ")->body;
    EXPECT_EQ(std::string(url.begin(), url.begin() + 7), "http://");
    EXPECT_NE(url.back(), 0);
  }
  // References: VR -> 'pano' -> track 2; panorama -> 'imgt' -> track 3.
  const std::vector<uint8_t>& vrRef = vr.trak->Find("tref")->body;
  EXPECT_EQ(Code(Be32(vrRef.data() + 4)), "pano");
  EXPECT_EQ(Be32(vrRef.data() + 8), Be32(tracks_[1].trak->Find("tkhd")->body.data() + 12));
  const std::vector<uint8_t>& panoRef = tracks_[1].trak->Find("tref")->body;
  EXPECT_EQ(Code(Be32(panoRef.data() + 4)), "imgt");
  EXPECT_EQ(Be32(panoRef.data() + 8), Be32(tracks_[2].trak->Find("tkhd")->body.data() + 12));

  // The panorama track and its sample.
  const Track& pano = tracks_[1];
  EXPECT_EQ(pano.handler, "pano");
  EXPECT_EQ(Be16(pano.trak->Find("tkhd")->body.data() + 36), 0);
  const uint8_t kPanoDescription[16] = {0, 0, 0, 16, 'p', 'a', 'n', 'o', 0, 0, 0, 0, 0, 0, 0, 0};
  EXPECT_EQ(pano.description, std::vector<uint8_t>(kPanoDescription, kPanoDescription + 16));
  const Atom panoSample = ParseContainer(pano.samples[0], 0);
  const Atom* pdat = panoSample.Find("pdat");
  ASSERT_EQ(pdat->body.size(), 84u);
  const uint8_t* p = pdat->body.data();
  const float t = static_cast<float>(std::atan(40 * 3.14159 / (24 * 10)) * 180 / 3.14159);
  EXPECT_EQ(Be16(p), 2);
  EXPECT_EQ(Be32(p + 4), 1u);  // the 'imgt' reference's index
  EXPECT_EQ(Be32(p + 8), 0u);
  const float angles[9] = {0, 360, -t, t, 0, 2 * t, 0, 0, 0.8f * 2 * t};
  for (int k = 0; k < 9; ++k) EXPECT_NEAR(BeFloat(p + 12 + 4 * k), angles[k], 1e-4) << k;
  EXPECT_EQ(Be32(p + 48), 40u);
  EXPECT_EQ(Be32(p + 52), 240u);
  EXPECT_EQ(Be16(p + 56), 1);
  EXPECT_EQ(Be16(p + 58), 24);
  EXPECT_EQ(Be32(p + 60), 40u);
  EXPECT_EQ(Be32(p + 64), 240u);
  EXPECT_EQ(Be16(p + 68), 1);
  EXPECT_EQ(Be16(p + 70), 24);
  for (int k = 72; k < 84; ++k) EXPECT_EQ(p[k], 0);

  // One sample of 7200 in each panorama track, inserted at time 0.
  for (int k = 0; k < 2; ++k) {
    const Atom* stbl = tracks_[k].trak->Find("mdia")->Find("minf")->Find("stbl");
    const uint8_t kOneSample[16] = {0, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0, 1, 0, 0, 0x1C, 0x20};
    EXPECT_EQ(stbl->Find("stts")->body, std::vector<uint8_t>(kOneSample, kOneSample + 16)) << k;
    const std::vector<uint8_t>& elst = tracks_[k].trak->Find("edts")->Find("elst")->body;
    EXPECT_EQ(Be32(elst.data() + 4), 1u);
    EXPECT_EQ(Be32(elst.data() + 8), 7200u);
    EXPECT_EQ(Be32(elst.data() + 12), 0u);
    EXPECT_EQ(Be32(elst.data() + 16), 0x10000u);
  }
  EXPECT_EQ(Be32(tracks_[1].trak->Find("mdia")->Find("mdhd")->body.data() + 12), 3600u);
  // The image track: disabled, scaled to the node's duration.
  const Track& image = tracks_[2];
  EXPECT_EQ(image.handler, "vide");
  EXPECT_EQ(Be32(image.trak->Find("tkhd")->body.data()) & 1, 0u);
  EXPECT_EQ(Be32(image.trak->Find("tkhd")->body.data() + 20), 7200u);
  EXPECT_EQ(Code(Be32(image.description.data() + 4)), "raw ");
  EXPECT_EQ(Be16(image.description.data() + 32), 40);
  EXPECT_EQ(Be16(image.description.data() + 34), 10);
}

TEST_F(PanoramaMovie, TilesAreTheRowsOfThePictureAndLeftoverRowsAreDropped) {
  WriteBitmap(bitmap_, 16, 2410);
  ASSERT_EQ(MakePanoramaMovie(Layer(), bitmap_, movie_, {}), 0);
  Load();
  const Track& image = tracks_[2];
  ASSERT_EQ(image.samples.size(), 24u);
  EXPECT_EQ(Be16(image.description.data() + 34), 100);
  for (int k = 0; k < 24; ++k) {
    ASSERT_EQ(image.samples[k].size(), 16u * 3 * 100);
    for (int y = 0; y < 100; ++y)
      for (int x = 0; x < 16; ++x) {
        const uint8_t* px = &image.samples[k][(y * 16 + x) * 3];
        const uint32_t c = PixelOf(x, k * 100 + y);
        ASSERT_EQ((uint32_t(px[0]) << 16) | (px[1] << 8) | px[2], c) << "tile " << k << " at " << x << "," << y;
      }
  }
}

TEST_F(PanoramaMovie, FfprobeFindsThreeTracksAnd24RawFrames) {
  WriteBitmap(bitmap_, 40, 240);
  ASSERT_EQ(MakePanoramaMovie(Layer(), bitmap_, movie_, {}), 0);
  // Every stream, then the frames of the video stream. ffprobe has no decoder
  // for the two panorama data tracks and always says so, for any such movie;
  // that is the one thing it may say.
  const std::string probe = "ffprobe -v warning -of compact -show_entries ";
  const std::string noDecoder =
      "Unsupported codec with id 0 for input stream 0\n"
      "Unsupported codec with id 0 for input stream 1\n";
  const std::string streams =
      RunTool(probe + "stream=index,codec_type,codec_tag_string '" + movie_ + "'", noDecoder);
  int count = 0;
  for (size_t at = 0; (at = streams.find("stream|", at)) != std::string::npos; ++at) ++count;
  EXPECT_EQ(count, 3) << streams;
  const std::string video =
      RunTool(probe + "stream=codec_tag_string,width,height,nb_read_frames -select_streams v -count_frames '" +
          movie_ + "'",
          noDecoder);
  EXPECT_EQ(video, "stream|codec_tag_string=raw |width=40|height=10|nb_read_frames=24\n");
}

TEST_F(PanoramaMovie, CancelLeavesNoFilesAndKeepsAnEarlierMovie) {
  WriteBitmap(bitmap_, 40, 240);
  std::ofstream(movie_) << "earlier movie";
  PanoramaMovieHooks hooks;
  int calls = 0;
  hooks.context = &calls;
  hooks.progress = [](int percent, void* context) {
    ++*static_cast<int*>(context);
    return percent >= 25;
  };
  EXPECT_EQ(MakePanoramaMovie(Layer(), bitmap_, movie_, hooks), kQtUserCanceled);
  EXPECT_EQ(calls, 6);  // 4, 8, 12, 16, 20, 25 percent
  const std::vector<uint8_t> kept = ReadAll(movie_);
  EXPECT_EQ(std::string(kept.begin(), kept.end()), "earlier movie");
  EXPECT_FALSE(Exists(bitmap_ + "qzrt01.til"));
  EXPECT_FALSE(Exists(UnflattenedMovieName(movie_)));
}

TEST_F(PanoramaMovie, NamesTooLongForAMovieFileNameAreRefused) {
  WriteBitmap(bitmap_, 40, 240);
  const std::string folder = root_ + "/" + std::string(200, 'f');
  ASSERT_EQ(std::system(("mkdir " + folder).c_str()), 0);
  const std::string longMovie = folder + "/" + std::string(60, 'm') + ".mov";  // over 255 in all
  EXPECT_NE(MakePanoramaMovie(Layer(), bitmap_, longMovie, {}), 0);
  EXPECT_FALSE(Exists(longMovie));
  EXPECT_FALSE(Exists(bitmap_ + "qzrt01.til"));
}

TEST_F(PanoramaMovie, PortraitPictureIsRefusedWithItsMessage) {
  WriteBitmap(bitmap_, 240, 100);
  bool told = false;
  PanoramaMovieHooks hooks;
  hooks.context = &told;
  hooks.notLandscape = [](void* context) { *static_cast<bool*>(context) = true; };
  EXPECT_EQ(MakePanoramaMovie(Layer(), bitmap_, movie_, hooks), 1);
  EXPECT_TRUE(told);
  EXPECT_FALSE(Exists(movie_));
}

}  // namespace
}  // namespace vmd
