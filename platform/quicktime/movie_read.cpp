// Reading back the movies this layer writes: the movie resource (plain or
// zlib-compressed in 'cmov') and the samples it points at.

#include <zlib.h>

#include <cstdio>

#include "movie_model.h"

namespace qtl {
namespace {

struct Span {
  const uint8_t* at;
  size_t size;
};

uint32_t Be32(const uint8_t* p) {
  return (uint32_t(p[0]) << 24) | (uint32_t(p[1]) << 16) | (uint32_t(p[2]) << 8) | p[3];
}
uint16_t Be16(const uint8_t* p) { return static_cast<uint16_t>((p[0] << 8) | p[1]); }

// Calls `visit(type, body)` for each atom of a span; false on a bad size.
template <typename Visit>
bool EachAtom(Span span, Visit visit) {
  size_t at = 0;
  while (at + 8 <= span.size) {
    const uint32_t size = Be32(span.at + at);
    if (size < 8 || size > span.size - at) return false;
    if (!visit(Be32(span.at + at + 4), Span{span.at + at + 8, size - 8})) return false;
    at += size;
  }
  return at == span.size;
}

// The per-sample offsets of a track from its chunk table.
struct SampleTables {
  std::vector<uint32_t> sizes, durations, chunkOffsets, descriptions;
  std::vector<std::pair<uint32_t, std::pair<uint32_t, uint32_t>>> chunkRuns;
};

bool ReadSampleTable(Span stbl, QtMediaRec* media, SampleTables* t) {
  return EachAtom(stbl, [&](uint32_t type, Span b) {
    if (b.size < 8) return true;
    const uint32_t count = Be32(b.at + 4);
    if (type == QtFourCC("stsd")) {
      Span entries{b.at + 8, b.size - 8};
      size_t at = 0;
      for (uint32_t i = 0; i < count; ++i) {
        if (at + 8 > entries.size) return false;
        const uint32_t size = Be32(entries.at + at);
        if (size < 8 || size > entries.size - at) return false;
        media->descriptions.emplace_back(entries.at + at, entries.at + at + size);
        at += size;
      }
    } else if (type == QtFourCC("stts")) {
      if (count > (b.size - 8) / 8) return false;
      for (uint32_t i = 0; i < count; ++i)
        t->durations.insert(t->durations.end(), Be32(b.at + 8 + 8 * i), Be32(b.at + 12 + 8 * i));
    } else if (type == QtFourCC("stsc")) {
      if (count > (b.size - 8) / 12) return false;
      for (uint32_t i = 0; i < count; ++i)
        t->chunkRuns.push_back({Be32(b.at + 8 + 12 * i), {Be32(b.at + 12 + 12 * i), Be32(b.at + 16 + 12 * i)}});
    } else if (type == QtFourCC("stsz")) {
      const uint32_t fixed = count;
      const uint32_t n = b.size >= 12 ? Be32(b.at + 8) : 0;
      if (!fixed && n > (b.size - 12) / 4) return false;
      for (uint32_t i = 0; i < n; ++i) t->sizes.push_back(fixed ? fixed : Be32(b.at + 12 + 4 * i));
    } else if (type == QtFourCC("stco")) {
      if (count > (b.size - 8) / 4) return false;
      for (uint32_t i = 0; i < count; ++i) t->chunkOffsets.push_back(Be32(b.at + 8 + 4 * i));
    }
    return true;
  });
}

// The most a compressed movie resource may unpack to.
constexpr uLongf kMovieResourceLimit = 16u << 20;

bool ReadTrack(Span trak, const std::vector<uint8_t>& file, QtMovieRec* movie, size_t* sampleBytes) {
  auto track = std::make_unique<QtTrackRec>();
  track->media = std::make_unique<QtMediaRec>();
  track->media->track = track.get();
  track->movie = movie;
  SampleTables tables;
  bool ok = EachAtom(trak, [&](uint32_t type, Span b) {
    if (type == QtFourCC("tkhd") && b.size >= 84) {
      track->enabled = (Be32(b.at) & 1) != 0;
      track->id = Be32(b.at + 12);
      track->layer = static_cast<int16_t>(Be16(b.at + 32));
      track->volume = static_cast<int16_t>(Be16(b.at + 36));
      track->width = static_cast<QtFixed>(Be32(b.at + 76));
      track->height = static_cast<QtFixed>(Be32(b.at + 80));
    } else if (type == QtFourCC("edts")) {
      return EachAtom(b, [&](uint32_t t, Span e) {
        if (t != QtFourCC("elst") || e.size < 8) return true;
        const uint32_t n = Be32(e.at + 4);
        if (n > (e.size - 8) / 12) return false;
        for (uint32_t i = 0; i < n; ++i) {
          const uint8_t* p = e.at + 8 + 12 * i;
          track->edits.push_back({Be32(p), static_cast<int32_t>(Be32(p + 4)), static_cast<QtFixed>(Be32(p + 8))});
        }
        return true;
      });
    } else if (type == QtFourCC("tref")) {
      return EachAtom(b, [&](uint32_t t, Span r) {
        std::vector<uint32_t> ids;
        for (size_t i = 0; i + 4 <= r.size; i += 4) ids.push_back(Be32(r.at + i));
        track->references.push_back({t, ids});
        return true;
      });
    } else if (type == QtFourCC("mdia")) {
      return EachAtom(b, [&](uint32_t t, Span m) {
        if (t == QtFourCC("mdhd") && m.size >= 20) track->media->timeScale = Be32(m.at + 12);
        if (t == QtFourCC("hdlr") && m.size >= 12 && Be32(m.at + 4) == QtFourCC("mhlr"))
          track->media->type = Be32(m.at + 8);
        if (t != QtFourCC("minf")) return true;
        return EachAtom(m, [&](uint32_t u, Span s) {
          return u != QtFourCC("stbl") || ReadSampleTable(s, track->media.get(), &tables);
        });
      });
    }
    return true;
  });
  if (!ok || tables.sizes.size() != tables.durations.size()) return false;
  // Expand the chunk runs into the sample list.
  size_t sample = 0;
  for (size_t c = 0; c < tables.chunkOffsets.size(); ++c) {
    uint32_t perChunk = 0, description = 1;
    for (const auto& run : tables.chunkRuns)
      if (run.first <= c + 1) perChunk = run.second.first, description = run.second.second;
    uint64_t at = tables.chunkOffsets[c];
    for (uint32_t k = 0; k < perChunk; ++k, ++sample) {
      if (sample >= tables.sizes.size() || at + tables.sizes[sample] > file.size()) return false;
      // Samples never add up to more than the file: they do not overlap.
      *sampleBytes += tables.sizes[sample];
      if (*sampleBytes > file.size()) return false;
      QtSample s;
      s.bytes.assign(file.begin() + at, file.begin() + at + tables.sizes[sample]);
      s.duration = tables.durations[sample];
      s.descriptionIndex = description;
      at += tables.sizes[sample];
      track->media->samples.push_back(std::move(s));
    }
  }
  if (sample != tables.sizes.size()) return false;
  movie->tracks.push_back(std::move(track));
  return true;
}

bool ReadMovieAtom(Span moov, const std::vector<uint8_t>& file, QtMovieRec* movie, size_t* sampleBytes,
                   bool compressed) {
  return EachAtom(moov, [&](uint32_t type, Span b) {
    if (type == QtFourCC("mvhd") && b.size >= 100) {
      movie->timeScale = Be32(b.at + 12);
      movie->nextTrackId = Be32(b.at + 96);
    } else if (type == QtFourCC("trak")) {
      return ReadTrack(b, file, movie, sampleBytes);
    } else if (type == QtFourCC("udta")) {
      size_t at = 0;
      while (at + 8 <= b.size) {
        const uint32_t size = Be32(b.at + at);
        if (size < 8 || size > b.size - at) break;
        movie->userData.push_back({Be32(b.at + at + 4), std::vector<uint8_t>(b.at + at + 8, b.at + at + size)});
        at += size;
      }
    } else if (type == QtFourCC("cmov") && !compressed) {
      std::vector<uint8_t> plain;
      bool unpacked = false;
      EachAtom(b, [&](uint32_t t, Span c) {
        if (t != QtFourCC("cmvd") || c.size < 4) return true;
        uLongf size = Be32(c.at);
        if (size > kMovieResourceLimit) return false;
        plain.resize(size);
        unpacked = uncompress(plain.data(), &size, c.at + 4, c.size - 4) == Z_OK && size == plain.size();
        return true;
      });
      if (!unpacked || plain.size() < 8) return false;
      if (Be32(plain.data()) != plain.size() || Be32(plain.data() + 4) != QtFourCC("moov")) return false;
      return ReadMovieAtom(Span{plain.data() + 8, plain.size() - 8}, file, movie, sampleBytes, true);
    }
    return true;
  });
}

}  // namespace

QtErr ParseMovie(const std::vector<uint8_t>& file, std::unique_ptr<QtMovieRec>* result) {
  auto movie = std::make_unique<QtMovieRec>();
  bool found = false;
  size_t sampleBytes = 0;
  const bool ok = EachAtom(Span{file.data(), file.size()}, [&](uint32_t type, Span b) {
    if (type != QtFourCC("moov")) return true;
    if (found) return false;  // one movie resource a file
    found = true;
    return ReadMovieAtom(b, file, movie.get(), &sampleBytes, false);
  });
  if (!ok) return kQtInvalidMovie;
  if (!found) return kQtNoMovieFound;
  if (!movie->timeScale) return kQtInvalidMovie;
  for (const auto& t : movie->tracks)
    if (!t->media->timeScale) return kQtInvalidMovie;
  *result = std::move(movie);
  return kQtNoErr;
}

QtErr ReadMovieFile(const std::string& path, std::unique_ptr<QtMovieRec>* result) {
  std::FILE* f = std::fopen(path.c_str(), "rb");
  if (!f) return kQtFileNotFound;
  std::vector<uint8_t> file;
  uint8_t buffer[65536];
  size_t n;
  while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0) file.insert(file.end(), buffer, buffer + n);
  std::fclose(f);
  return ParseMovie(file, result);
}

}  // namespace qtl
