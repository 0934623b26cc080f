// The compound-file reader and writer under FlashPix.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "compound_file.h"

namespace {

using pixio::ClassId;
using pixio::CompoundFileReader;
using pixio::CompoundFileWriter;

std::vector<uint8_t> Bytes(size_t n, int seed) {
  std::vector<uint8_t> v(n);
  for (size_t i = 0; i < n; ++i) v[i] = static_cast<uint8_t>((i * 31 + seed * 7 + (i >> 9)) & 0xFF);
  return v;
}

std::u16string U(const std::string& s) { return std::u16string(s.begin(), s.end()); }

TEST(CompoundFile, StreamsOfEverySizeComeBack) {
  // Sizes around the 64-byte mini sector, the 512-byte sector and the
  // 4096-byte mini-stream cutoff.
  const size_t sizes[] = {0, 1, 63, 64, 65, 511, 512, 513, 4095, 4096, 4097, 70000};
  CompoundFileWriter w;
  const uint8_t tail[8] = {1, 2, 3, 4, 5, 6, 7, 8};
  const ClassId id = ClassId::Make(0x12345678, 0x9ABC, 0xDEF0, tail);
  w.SetRootClass(id);
  const int sub = w.AddStorage(0, U("Inner"), ClassId());
  for (size_t i = 0; i < std::size(sizes); ++i) {
    w.AddStream(i % 2 ? sub : 0, U("Stream " + std::to_string(i)), Bytes(sizes[i], int(i)));
  }
  std::vector<uint8_t> file;
  ASSERT_TRUE(w.Finish(&file));
  EXPECT_EQ(file.size() % 512, 0u);
  CompoundFileReader r;
  ASSERT_TRUE(r.Open(file.data(), file.size()));
  EXPECT_TRUE(r.ClassOf(CompoundFileReader::kRoot) == id);
  uint32_t inner = 0;
  ASSERT_TRUE(r.Find(CompoundFileReader::kRoot, U("inner"), &inner));  // names ignore case
  for (size_t i = 0; i < std::size(sizes); ++i) {
    uint32_t e = 0;
    ASSERT_TRUE(r.Find(i % 2 ? inner : CompoundFileReader::kRoot, U("Stream " + std::to_string(i)), &e))
        << i;
    std::vector<uint8_t> got;
    ASSERT_TRUE(r.ReadStream(e, &got, 1 << 20)) << i;
    EXPECT_EQ(got, Bytes(sizes[i], int(i))) << "size " << sizes[i];
  }
  uint32_t missing = 0;
  EXPECT_FALSE(r.Find(CompoundFileReader::kRoot, U("Stream 1"), &missing));  // lives in Inner
}

TEST(CompoundFile, ManySiblingsAndAFileNeedingExtraAllocationSectors) {
  // 37 siblings make an unbalanced-looking tree; an 8 MB stream needs more
  // allocation-table sectors than the header can list.
  CompoundFileWriter w;
  for (int i = 0; i < 37; ++i) w.AddStream(0, U("s" + std::to_string(i * 7919 % 1000)), Bytes(100 + i, i));
  w.AddStream(0, U("big"), Bytes(8u << 20, 99));
  std::vector<uint8_t> file;
  ASSERT_TRUE(w.Finish(&file));
  CompoundFileReader r;
  ASSERT_TRUE(r.Open(file.data(), file.size()));
  for (int i = 0; i < 37; ++i) {
    uint32_t e = 0;
    ASSERT_TRUE(r.Find(0, U("s" + std::to_string(i * 7919 % 1000)), &e)) << i;
    std::vector<uint8_t> got;
    ASSERT_TRUE(r.ReadStream(e, &got, 1 << 20));
    EXPECT_EQ(got, Bytes(100 + i, i));
  }
  uint32_t e = 0;
  ASSERT_TRUE(r.Find(0, U("big"), &e));
  std::vector<uint8_t> got;
  EXPECT_FALSE(r.ReadStream(e, &got, 1 << 20));  // over the caller's limit
  ASSERT_TRUE(r.ReadStream(e, &got, 16u << 20));
  EXPECT_EQ(got, Bytes(8u << 20, 99));
}

TEST(CompoundFile, CyclicChainsAndBadHeadersAreRefused) {
  CompoundFileWriter w;
  w.AddStream(0, U("data"), Bytes(10000, 1));
  std::vector<uint8_t> file;
  ASSERT_TRUE(w.Finish(&file));
  // Point the first FAT entry of the stream back at itself.
  const uint32_t fatSector = file[76] | (file[77] << 8) | (file[78] << 16) | (uint32_t(file[79]) << 24);
  std::vector<uint8_t> looped = file;
  uint8_t* fat = &looped[(fatSector + 1) * 512];
  fat[0] = fat[1] = fat[2] = fat[3] = 0;  // sector 0 -> sector 0
  CompoundFileReader r;
  ASSERT_TRUE(r.Open(looped.data(), looped.size()));
  uint32_t e = 0;
  ASSERT_TRUE(r.Find(0, U("data"), &e));
  std::vector<uint8_t> got;
  EXPECT_FALSE(r.ReadStream(e, &got, 1 << 20));
  // Wrong byte order mark, wrong sector size, too short.
  std::vector<uint8_t> bad = file;
  bad[28] = 0;
  EXPECT_FALSE(CompoundFileReader().Open(bad.data(), bad.size()));
  bad = file;
  bad[30] = 10;
  EXPECT_FALSE(CompoundFileReader().Open(bad.data(), bad.size()));
  EXPECT_FALSE(CompoundFileReader().Open(file.data(), 511));
}

}  // namespace
