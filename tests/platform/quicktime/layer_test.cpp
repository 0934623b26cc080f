#include <cstring>
#include <memory>
#include <vector>

#include <gtest/gtest.h>

#include "movie_model.h"
#include "quicktime.h"

namespace {

const QtDispatch& Qt() { return *QtLayerDispatch(); }

uint32_t Be32(const uint8_t* p) { return (uint32_t(p[0]) << 24) | (p[1] << 16) | (p[2] << 8) | p[3]; }

// Type and id of each child of the atom at `at`, in order.
std::vector<std::pair<uint32_t, uint32_t>> Children(const std::vector<uint8_t>& b, size_t at) {
  std::vector<std::pair<uint32_t, uint32_t>> list;
  const int count = (b[at + 14] << 8) | b[at + 15];
  size_t child = at + 20;
  for (int i = 0; i < count; ++i) {
    list.push_back({Be32(&b[child + 4]), Be32(&b[child + 8])});
    child += Be32(&b[child]);
  }
  return list;
}

TEST(AtomContainer, ChosenIdsAreTheLowestFreeAndIndexOnePutsAChildFirst) {
  QtHandle c = nullptr;
  ASSERT_EQ(Qt().NewAtomContainer(&c), kQtNoErr);
  QtAtom parent = 0, a = 0;
  ASSERT_EQ(Qt().InsertChild(c, 0, QtFourCC("hspa"), 1, 1, 0, nullptr, &parent), kQtNoErr);
  ASSERT_EQ(Qt().InsertChild(c, parent, QtFourCC("hots"), 2, 0, 0, nullptr, nullptr), kQtNoErr);
  ASSERT_EQ(Qt().InsertChild(c, parent, QtFourCC("hots"), 0, 0, 0, nullptr, &a), kQtNoErr);
  QtType type = 0;
  int32_t id = 0;
  ASSERT_EQ(Qt().GetAtomTypeAndID(c, a, &type, &id), kQtNoErr);
  EXPECT_EQ(id, 1);  // 1 was free
  ASSERT_EQ(Qt().InsertChild(c, parent, QtFourCC("hots"), 0, 0, 0, nullptr, &a), kQtNoErr);
  ASSERT_EQ(Qt().GetAtomTypeAndID(c, a, &type, &id), kQtNoErr);
  EXPECT_EQ(id, 3);
  ASSERT_EQ(Qt().InsertChild(c, parent, QtFourCC("hots"), 9, 1, 0, nullptr, nullptr), kQtNoErr);
  const auto order = Children(c->bytes, static_cast<size_t>(parent));
  ASSERT_EQ(order.size(), 4u);
  EXPECT_EQ(order[0].second, 9u);
  EXPECT_EQ(order[1].second, 2u);
  EXPECT_EQ(order[3].second, 3u);
  // Sizes of every ancestor grew with each insertion.
  EXPECT_EQ(Be32(&c->bytes[12]), c->bytes.size() - 12);
  EXPECT_EQ(Be32(&c->bytes[parent]), 20u + 4 * 20);
  // The same type and id twice, a child of a leaf with data, a bad offset.
  EXPECT_NE(Qt().InsertChild(c, parent, QtFourCC("hots"), 9, 0, 0, nullptr, nullptr), kQtNoErr);
  QtAtom leaf = 0;
  ASSERT_EQ(Qt().InsertChild(c, 0, QtFourCC("data"), 1, 0, 4, "abcd", &leaf), kQtNoErr);
  EXPECT_EQ(Qt().InsertChild(c, leaf, QtFourCC("more"), 1, 0, 0, nullptr, nullptr), kQtInvalidAtom);
  EXPECT_EQ(Qt().InsertChild(c, parent + 3, QtFourCC("more"), 1, 0, 0, nullptr, nullptr), kQtInvalidAtom);
  Qt().DisposeAtomContainer(c);
}

// A small movie of one video track, written flattened and compressed.
std::vector<uint8_t> SmallMovie() {
  QtMovieRec movie;
  QtTrack track = Qt().NewMovieTrack(&movie, 4 << 16, 2 << 16, 0);
  QtMedia media = Qt().NewTrackMedia(track, QtFourCC("vide"), 600);
  QtHandle data = Qt().NewHandle(24);
  QtHandle description = Qt().NewHandle(20);
  description->bytes[3] = 20;
  for (int k = 0; k < 3; ++k) {
    data->bytes.assign(24, static_cast<uint8_t>(k));
    EXPECT_EQ(Qt().AddMediaSample(media, data, 0, 24, 300, description, 1, 0, nullptr), kQtNoErr);
  }
  EXPECT_EQ(Qt().InsertMediaIntoTrack(track, 0, 0, 900, 0x10000), kQtNoErr);
  Qt().DisposeHandle(data);
  Qt().DisposeHandle(description);
  const std::string path = ::testing::TempDir() + "qtl-small.mov";
  EXPECT_EQ(qtl::WriteMovieFile(movie, path, true, true), kQtNoErr);
  std::unique_ptr<QtMovieRec> back;
  EXPECT_EQ(qtl::ReadMovieFile(path, &back), kQtNoErr);
  std::FILE* f = std::fopen(path.c_str(), "rb");
  std::vector<uint8_t> bytes(1 << 16);
  bytes.resize(std::fread(bytes.data(), 1, bytes.size(), f));
  std::fclose(f);
  std::remove(path.c_str());
  return bytes;
}

TEST(MovieFile, ReadsBackWhatItWrote) {
  std::unique_ptr<QtMovieRec> movie;
  ASSERT_EQ(qtl::ParseMovie(SmallMovie(), &movie), kQtNoErr);
  ASSERT_EQ(movie->tracks.size(), 1u);
  const QtMediaRec& media = *movie->tracks[0]->media;
  ASSERT_EQ(media.samples.size(), 3u);
  for (int k = 0; k < 3; ++k) EXPECT_EQ(media.samples[k].bytes, std::vector<uint8_t>(24, k));
  EXPECT_EQ(qtl::TrackDuration(*movie->tracks[0]), 900u);
}

TEST(MovieFile, DamagedFilesAreRefusedWithoutACrash) {
  const std::vector<uint8_t> good = SmallMovie();
  std::unique_ptr<QtMovieRec> movie;
  for (size_t n = 0; n < good.size(); ++n) {
    std::vector<uint8_t> cut(good.begin(), good.begin() + n);
    qtl::ParseMovie(cut, &movie);
  }
  for (size_t at = 0; at < good.size(); ++at) {
    for (uint8_t value : {0x00, 0xFF, 0x7F}) {
      std::vector<uint8_t> bad = good;
      bad[at] = value;
      qtl::ParseMovie(bad, &movie);
    }
  }
  EXPECT_EQ(qtl::ParseMovie({}, &movie), kQtNoMovieFound);
  const std::vector<uint8_t> huge = {0, 0, 0, 16, 'm', 'o', 'o', 'v', 0xFF, 0xFF, 0xFF, 0xFF, 'm', 'd', 'a', 't'};
  EXPECT_EQ(qtl::ParseMovie(huge, &movie), kQtInvalidMovie);
}

}  // namespace
