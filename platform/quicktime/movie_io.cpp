// The file form of a movie: atoms of size and type, the movie resource 'moov'
// (movie header, tracks, user data) and the media data 'mdat'. Every sample is
// its own chunk.

#include <zlib.h>

#include <cstdio>
#include <cstring>

#include "movie_model.h"

namespace qtl {
namespace {

class AtomWriter {
 public:
  std::vector<uint8_t> bytes;
  void U8(uint32_t v) { bytes.push_back(static_cast<uint8_t>(v)); }
  void U16(uint32_t v) { U8(v >> 8), U8(v); }
  void U32(uint32_t v) { U16(v >> 16), U16(v); }
  void Zeros(size_t n) { bytes.insert(bytes.end(), n, 0); }
  void Bytes(const std::vector<uint8_t>& b) { bytes.insert(bytes.end(), b.begin(), b.end()); }
  void Begin(const char (&type)[5]) {
    open_.push_back(bytes.size());
    U32(0);
    U32(QtFourCC(type));
  }
  void Full(const char (&type)[5], uint32_t flags) {
    Begin(type);
    U32(flags);  // version 0 and flags
  }
  void End() {
    const size_t at = open_.back();
    open_.pop_back();
    const uint32_t size = static_cast<uint32_t>(bytes.size() - at);
    for (int i = 0; i < 4; ++i) bytes[at + i] = static_cast<uint8_t>(size >> (24 - 8 * i));
  }
  // The unity matrix of movie and track headers.
  void Matrix() {
    const uint32_t m[9] = {0x10000, 0, 0, 0, 0x10000, 0, 0, 0, 0x40000000};
    for (uint32_t v : m) U32(v);
  }
  void PascalName(const char* name, size_t field) {
    const size_t n = std::strlen(name);
    U8(static_cast<uint32_t>(n));
    for (size_t i = 0; i < n; ++i) U8(static_cast<unsigned char>(name[i]));
    if (field > n + 1) Zeros(field - n - 1);
  }

 private:
  std::vector<size_t> open_;
};

const char* HandlerName(QtType type) {
  if (type == QtFourCC("vide")) return "Video Media Handler";
  if (type == QtFourCC("qtvr")) return "QTVR Media Handler";
  if (type == QtFourCC("pano")) return "Panorama Media Handler";
  return "Media Handler";
}

void WriteTrack(AtomWriter& w, const QtMovieRec& movie, const QtTrackRec& track, uint32_t* dataAt) {
  const QtMediaRec& media = *track.media;
  w.Begin("trak");
  w.Full("tkhd", track.enabled ? 0xF : 0xE);
  w.U32(0), w.U32(0), w.U32(track.id), w.U32(0), w.U32(TrackDuration(track));
  w.Zeros(8);
  w.U16(static_cast<uint16_t>(track.layer)), w.U16(0), w.U16(static_cast<uint16_t>(track.volume)), w.U16(0);
  w.Matrix();
  w.U32(static_cast<uint32_t>(track.width)), w.U32(static_cast<uint32_t>(track.height));
  w.End();
  if (!track.edits.empty()) {
    w.Begin("edts");
    w.Full("elst", 0);
    w.U32(static_cast<uint32_t>(track.edits.size()));
    for (const QtEdit& e : track.edits) w.U32(e.duration), w.U32(static_cast<uint32_t>(e.mediaTime)), w.U32(static_cast<uint32_t>(e.rate));
    w.End();
    w.End();
  }
  if (!track.references.empty()) {
    w.Begin("tref");
    for (const auto& ref : track.references) {
      w.U32(8 + 4 * static_cast<uint32_t>(ref.second.size()));
      w.U32(ref.first);
      for (uint32_t id : ref.second) w.U32(id);
    }
    w.End();
  }
  w.Begin("mdia");
  w.Full("mdhd", 0);
  w.U32(0), w.U32(0), w.U32(media.timeScale), w.U32(MediaDuration(media));
  w.U16(0), w.U16(0);  // language, quality
  w.End();
  w.Full("hdlr", 0);
  w.U32(QtFourCC("mhlr")), w.U32(media.type), w.U32(0), w.U32(0), w.U32(0);
  w.PascalName(HandlerName(media.type), 0);
  w.End();
  w.Begin("minf");
  if (media.type == QtFourCC("vide")) {
    w.Full("vmhd", 1);
    w.U16(0x40), w.U16(0x8000), w.U16(0x8000), w.U16(0x8000);  // dither copy, opcolor
    w.End();
  } else {
    w.Begin("gmhd");
    w.Full("gmin", 0);
    w.U16(0x40), w.U16(0x8000), w.U16(0x8000), w.U16(0x8000), w.U16(0), w.U16(0);
    w.End();
    w.End();
  }
  w.Full("hdlr", 0);
  w.U32(QtFourCC("dhlr")), w.U32(QtFourCC("alis")), w.U32(0), w.U32(0), w.U32(0);
  w.PascalName("Alias Data Handler", 0);
  w.End();
  w.Begin("dinf");
  w.Full("dref", 0);
  w.U32(1);
  w.Full("alis", 1);  // the data is in this file
  w.End();
  w.End();
  w.End();
  w.Begin("stbl");
  w.Full("stsd", 0);
  w.U32(static_cast<uint32_t>(media.descriptions.size()));
  for (const auto& d : media.descriptions) w.Bytes(d);
  w.End();
  // Runs of equal durations.
  std::vector<std::pair<uint32_t, uint32_t>> runs;
  for (const QtSample& s : media.samples) {
    if (!runs.empty() && runs.back().second == s.duration)
      ++runs.back().first;
    else
      runs.push_back({1, s.duration});
  }
  w.Full("stts", 0);
  w.U32(static_cast<uint32_t>(runs.size()));
  for (const auto& r : runs) w.U32(r.first), w.U32(r.second);
  w.End();
  w.Full("stsc", 0);
  std::vector<std::pair<uint32_t, uint32_t>> chunkRuns;  // first chunk, description
  for (size_t i = 0; i < media.samples.size(); ++i)
    if (chunkRuns.empty() || chunkRuns.back().second != media.samples[i].descriptionIndex)
      chunkRuns.push_back({static_cast<uint32_t>(i + 1), media.samples[i].descriptionIndex});
  w.U32(static_cast<uint32_t>(chunkRuns.size()));
  for (const auto& c : chunkRuns) w.U32(c.first), w.U32(1), w.U32(c.second);
  w.End();
  w.Full("stsz", 0);
  w.U32(0);
  w.U32(static_cast<uint32_t>(media.samples.size()));
  for (const QtSample& s : media.samples) w.U32(static_cast<uint32_t>(s.bytes.size()));
  w.End();
  w.Full("stco", 0);
  w.U32(static_cast<uint32_t>(media.samples.size()));
  for (const QtSample& s : media.samples) {
    w.U32(*dataAt);
    *dataAt += static_cast<uint32_t>(s.bytes.size());
  }
  w.End();
  w.End();  // stbl
  w.End();  // minf
  w.End();  // mdia
  w.End();  // trak
  (void)movie;
}

std::vector<uint8_t> MovieAtom(const QtMovieRec& movie, uint32_t dataStart) {
  AtomWriter w;
  w.Begin("moov");
  w.Full("mvhd", 0);
  uint32_t duration = 0;
  for (const auto& t : movie.tracks) duration = std::max(duration, TrackDuration(*t));
  w.U32(0), w.U32(0), w.U32(movie.timeScale), w.U32(duration);
  w.U32(0x10000), w.U16(0x100), w.Zeros(10);  // rate, volume, reserved
  w.Matrix();
  w.Zeros(24);  // preview, poster, selection, current time
  w.U32(movie.nextTrackId);
  w.End();
  uint32_t dataAt = dataStart;
  for (const auto& t : movie.tracks) WriteTrack(w, movie, *t, &dataAt);
  if (!movie.userData.empty()) {
    w.Begin("udta");
    for (const auto& item : movie.userData) {
      w.U32(8 + static_cast<uint32_t>(item.second.size()));
      w.U32(item.first);
      w.Bytes(item.second);
    }
    w.U32(0);  // the list's terminator
    w.End();
  }
  w.End();
  return w.bytes;
}

std::vector<uint8_t> CompressedMovieAtom(const std::vector<uint8_t>& moov) {
  uLongf packedSize = compressBound(moov.size());
  std::vector<uint8_t> packed(packedSize);
  if (compress2(packed.data(), &packedSize, moov.data(), moov.size(), Z_BEST_COMPRESSION) != Z_OK)
    return {};
  packed.resize(packedSize);
  AtomWriter w;
  w.Begin("moov");
  w.Begin("cmov");
  w.Begin("dcom");
  w.U32(QtFourCC("zlib"));
  w.End();
  w.Begin("cmvd");
  w.U32(static_cast<uint32_t>(moov.size()));
  w.Bytes(packed);
  w.End();
  w.End();
  w.End();
  return w.bytes;
}

bool Put(std::FILE* f, const std::vector<uint8_t>& b) {
  return b.empty() || std::fwrite(b.data(), 1, b.size(), f) == b.size();
}

std::vector<uint8_t> AtomHeader(uint32_t size, const char (&type)[5]) {
  AtomWriter w;
  w.U32(size);
  w.U32(QtFourCC(type));
  return w.bytes;
}

}  // namespace

uint32_t TrackDuration(const QtTrackRec& track) {
  uint32_t sum = 0;
  for (const QtEdit& e : track.edits) sum += e.duration;
  return sum;
}

uint32_t MediaDuration(const QtMediaRec& media) {
  uint32_t sum = 0;
  for (const QtSample& s : media.samples) sum += s.duration;
  return sum;
}

QtErr WriteMovieFile(const QtMovieRec& movie, const std::string& path, bool flatten, bool compress) {
  uint32_t dataSize = 0;
  for (const auto& t : movie.tracks)
    for (const QtSample& s : t->media->samples) dataSize += static_cast<uint32_t>(s.bytes.size());
  std::vector<uint8_t> head;
  std::vector<uint8_t> tail;
  if (!flatten) {
    head = AtomHeader(8 + dataSize, "mdat");
    tail = MovieAtom(movie, 8);
  } else {
    // The movie resource comes first, so the sample offsets depend on its
    // size, which (compressed) depends on the offsets: settle it by trying a
    // start for the data, and fill any bytes left over with a 'free' atom.
    uint32_t start = static_cast<uint32_t>(MovieAtom(movie, 0).size()) + 8;
    for (int attempt = 0; attempt < 8 && head.empty(); ++attempt) {
      std::vector<uint8_t> moov = MovieAtom(movie, start);
      if (compress) moov = CompressedMovieAtom(moov);
      if (moov.empty()) return kQtMemFull;
      const uint32_t need = static_cast<uint32_t>(moov.size()) + 8;
      if (need == start || (need < start && start - need >= 8)) {
        head = moov;
        if (need < start) {
          const std::vector<uint8_t> pad = AtomHeader(start - need, "free");
          head.insert(head.end(), pad.begin(), pad.end());
          head.resize(head.size() + (start - need - 8));
        }
        const std::vector<uint8_t> mdat = AtomHeader(8 + dataSize, "mdat");
        head.insert(head.end(), mdat.begin(), mdat.end());
      } else {
        start = need + 16;
      }
    }
    if (head.empty()) return kQtIoErr;
  }
  const std::string scratch = path + ".part";
  std::FILE* f = std::fopen(scratch.c_str(), "wb");
  if (!f) return kQtIoErr;
  bool ok = Put(f, head);
  for (const auto& t : movie.tracks)
    for (const QtSample& s : t->media->samples) ok = ok && Put(f, s.bytes);
  ok = ok && Put(f, tail);
  ok = (std::fclose(f) == 0) && ok;
  if (ok) {
    std::remove(path.c_str());
    ok = std::rename(scratch.c_str(), path.c_str()) == 0;
  }
  if (!ok) std::remove(scratch.c_str());
  return ok ? kQtNoErr : kQtIoErr;
}

}  // namespace qtl
