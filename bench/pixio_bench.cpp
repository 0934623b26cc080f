// Decode and encode throughput of every PIXIO format on one 4000 x 3000 photo,
// beside libjpeg-turbo's own cjpeg and djpeg on the same picture (the floor:
// the same library with no layer of ours around it, though paying for a
// process start and file output).
//   bench/pixio_bench [--benchmark_filter=Jpeg]
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "formats.h"
#include "pixio.h"

namespace {

constexpr int kWidth = 4000, kHeight = 3000;

/// A photo-like picture: soft gradients, a few shapes and fine texture, so
/// that the compressed sizes (and times) resemble a camera's.
const pixio::Image& Photo() {
  static const pixio::Image image = [] {
    pixio::Image p;
    p.Allocate(kWidth, kHeight, 24);
    uint32_t seed = 12345;
    for (int y = 0; y < kHeight; ++y) {
      uint8_t* row = p.Row(y);
      for (int x = 0; x < kWidth; ++x) {
        seed = seed * 1664525u + 1013904223u;
        const int noise = static_cast<int>((seed >> 24) & 15) - 8;
        const double u = double(x) / kWidth, v = double(y) / kHeight;
        const double wave = 40 * std::sin(u * 23 + std::sin(v * 7) * 3) * std::cos(v * 17);
        const bool disc = (x - 2600) * (x - 2600) + (y - 1200) * (y - 1200) < 500 * 500;
        auto clamp = [](double c) { return static_cast<uint8_t>(c < 0 ? 0 : (c > 255 ? 255 : c)); };
        row[3 * x] = clamp(60 + 120 * v + wave + noise + (disc ? 60 : 0));
        row[3 * x + 1] = clamp(90 + 80 * u + wave * 0.5 + noise);
        row[3 * x + 2] = clamp(200 - 110 * u + noise - (disc ? 40 : 0));
      }
    }
    return p;
  }();
  return image;
}

extern const char* const kNames[];

enum Kind { kBmp, kTiff, kTiffLzw, kPcx, kGif, kTga, kTgaRle, kJpeg75, kJpeg95, kFpx };

bool Encode(Kind kind, const pixio::Image& image, std::vector<uint8_t>* out) {
  pixio::EncodeSettings s;
  s.jpegQuality = kind == kJpeg95 ? 95 : 75;
  s.compress = kind == kTiffLzw || kind == kTgaRle;
  switch (kind) {
    case kBmp: return pixio::EncodeBmp(image, out);
    case kTiff:
    case kTiffLzw: return pixio::EncodeTiff(image, s, out);
    case kPcx: return pixio::EncodePcx(image, out);
    case kGif: return pixio::EncodeGif(image, out);
    case kTga:
    case kTgaRle: return pixio::EncodeTga(image, s, out);
    case kJpeg75:
    case kJpeg95: return pixio::EncodeJpeg(image, s, out);
    case kFpx: return pixio::EncodeFpx(image, s, out);
  }
  return false;
}

void BM_Encode(benchmark::State& state) {
  const Kind kind = static_cast<Kind>(state.range(0));
  const pixio::Image& photo = Photo();
  state.SetLabel(kNames[kind]);
  size_t bytes = 0;
  for (auto _ : state) {
    std::vector<uint8_t> out;
    if (!Encode(kind, photo, &out)) state.SkipWithError("encode failed");
    bytes = out.size();
    benchmark::DoNotOptimize(out.data());
  }
  state.SetBytesProcessed(int64_t(state.iterations()) * kWidth * kHeight * 3);
  state.counters["file_MB"] = double(bytes) / 1e6;
}

void BM_Decode(benchmark::State& state) {
  const Kind kind = static_cast<Kind>(state.range(0));
  state.SetLabel(kNames[kind]);
  std::vector<uint8_t> file;
  if (!Encode(kind, Photo(), &file)) {
    state.SkipWithError("encode failed");
    return;
  }
  for (auto _ : state) {
    pixio::Image image;
    if (!pixio::DecodeAny(file.data(), file.size(), &image)) state.SkipWithError("decode failed");
    benchmark::DoNotOptimize(image.pixels.data());
  }
  state.SetBytesProcessed(int64_t(state.iterations()) * kWidth * kHeight * 3);
}

const char* const kNames[] = {"bmp", "tiff", "tiff-lzw", "pcx", "gif", "tga", "tga-rle",
                              "jpeg-q75", "jpeg-q95", "fpx-q75"};

void Formats(benchmark::internal::Benchmark* b) {
  for (int k = kBmp; k <= kFpx; ++k) b->Arg(k);
  b->Unit(benchmark::kMillisecond)->UseRealTime();
}

BENCHMARK(BM_Encode)->Apply(Formats);
BENCHMARK(BM_Decode)->Apply(Formats);

std::string TempPath(const char* name) {
  const char* dir = std::getenv("TMPDIR");
  return std::string(dir ? dir : "/tmp") + "/pixio-bench-" + name;
}

/// The photo as a JPEG file at quality 75 in the scratch folder; its path.
std::string WritePhotoJpeg(const char* name) {
  std::vector<uint8_t> file;
  pixio::EncodeJpeg(Photo(), pixio::EncodeSettings{75, false}, &file);
  const std::string path = TempPath(name);
  if (FILE* f = std::fopen(path.c_str(), "wb")) {
    std::fwrite(file.data(), 1, file.size(), f);
    std::fclose(f);
  }
  return path;
}

/// The exports the program and vmd3-stitch use, file to DIB and DIB to file:
/// a photo is decoded straight into its DIB block and a 24-bit DIB written
/// from its own rows, so each should cost about what the codec alone does
/// (BM_Decode and BM_Encode jpeg-q75) plus the file.
void BM_ReadJpegFile(benchmark::State& state) {
  const std::string jpg = WritePhotoJpeg("read.jpg");
  for (auto _ : state) {
    HGLOBAL dib = ImgReadFile(nullptr, jpg.c_str());
    if (!dib) state.SkipWithError("read failed");
    GlobalFree(dib);
  }
  state.SetBytesProcessed(int64_t(state.iterations()) * kWidth * kHeight * 3);
  std::remove(jpg.c_str());
}
BENCHMARK(BM_ReadJpegFile)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_SaveJpegFile(benchmark::State& state) {
  HGLOBAL dib = pixio::ToDib(Photo(), false);
  const std::string jpg = TempPath("save.jpg");
  ImgSetJpgQuality(75);
  for (auto _ : state) {
    if (ImgSaveFileResult(dib, jpg.c_str()) != kPixioSaved) state.SkipWithError("save failed");
  }
  state.SetBytesProcessed(int64_t(state.iterations()) * kWidth * kHeight * 3);
  GlobalFree(dib);
  std::remove(jpg.c_str());
}
BENCHMARK(BM_SaveJpegFile)->Unit(benchmark::kMillisecond)->UseRealTime();

/// The floor: libjpeg-turbo's djpeg and cjpeg on the same picture at quality 75.
void BM_DjpegTool(benchmark::State& state) {
  const std::string jpg = WritePhotoJpeg("photo.jpg");
  const std::string command = "djpeg -bmp -outfile /dev/null " + jpg;
  for (auto _ : state) {
    if (std::system(command.c_str()) != 0) state.SkipWithError("djpeg failed (libjpeg-turbo-progs)");
  }
  state.SetBytesProcessed(int64_t(state.iterations()) * kWidth * kHeight * 3);
  std::remove(jpg.c_str());
}
BENCHMARK(BM_DjpegTool)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_CjpegTool(benchmark::State& state) {
  const pixio::Image& p = Photo();
  const std::string ppm = TempPath("photo.ppm");
  FILE* f = std::fopen(ppm.c_str(), "wb");
  std::fprintf(f, "P6\n%d %d\n255\n", kWidth, kHeight);
  std::vector<uint8_t> row(size_t(kWidth) * 3);
  for (int y = 0; y < kHeight; ++y) {
    const uint8_t* src = p.TopRow(y);
    for (int x = 0; x < kWidth; ++x) {
      row[3 * x] = src[3 * x + 2];
      row[3 * x + 1] = src[3 * x + 1];
      row[3 * x + 2] = src[3 * x];
    }
    std::fwrite(row.data(), 1, row.size(), f);
  }
  std::fclose(f);
  const std::string command = "cjpeg -quality 75 -outfile /dev/null " + ppm;
  for (auto _ : state) {
    if (std::system(command.c_str()) != 0) state.SkipWithError("cjpeg failed (libjpeg-turbo-progs)");
  }
  state.SetBytesProcessed(int64_t(state.iterations()) * kWidth * kHeight * 3);
  std::remove(ppm.c_str());
}
BENCHMARK(BM_CjpegTool)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
