// The calls of the layer: buffers, pictures, offscreen worlds, the 'raw '
// compressor, movie files, tracks and media, atom containers, flattening.

#include <cstdio>
#include <cstring>
#include <map>
#include <new>
#include <string>

#include "movie_model.h"

struct QtPictureRec {
  int width = 0, height = 0;
  std::vector<uint8_t> rgb;  ///< rows top-down, 3 bytes a pixel
};

struct QtGWorldRec {
  std::vector<uint8_t> pixels;
  QtPixMap map{};
};

namespace {

QtErr g_lastError = kQtNoErr;
int g_started = 0;

QtErr Note(QtErr e) { return g_lastError = e; }

std::string PathOf(const QtFileName* file) {
  if (!file) return std::string();
  return std::string(reinterpret_cast<const char*>(file->name + 1), file->name[0]);
}

uint32_t Le32(const uint8_t* p) { return p[0] | (p[1] << 8) | (p[2] << 16) | (uint32_t(p[3]) << 24); }

// Open movie files by reference number.
struct OpenFile {
  std::string path;
  QtMovieRec* created = nullptr;  ///< the movie made with the file, if any
};
std::map<int16_t, OpenFile>& Files() {
  static std::map<int16_t, OpenFile> files;
  return files;
}
int16_t g_nextFile = 1;

// --- buffers ----------------------------------------------------------------

QtHandle QTL_CALL NewHandle(int32_t size) {
  if (size < 0) return Note(kQtParamErr), nullptr;
  auto* h = new (std::nothrow) QtHandleRec;
  if (!h) return Note(kQtMemFull), nullptr;
  h->bytes.resize(static_cast<size_t>(size));
  return h;
}
int32_t QTL_CALL GetHandleSize(QtHandle h) { return h ? static_cast<int32_t>(h->bytes.size()) : 0; }
uint8_t* QTL_CALL HLock(QtHandle h) { return h && !h->bytes.empty() ? h->bytes.data() : nullptr; }
void QTL_CALL HUnlock(QtHandle) {}
void QTL_CALL DisposeHandle(QtHandle h) { delete h; }
void QTL_CALL BlockMove(const void* from, void* to, int32_t size) {
  if (size > 0) std::memmove(to, from, static_cast<size_t>(size));
}
QtFixed QTL_CALL FixRatio(int16_t n, int16_t d) {
  return d ? static_cast<QtFixed>((static_cast<int64_t>(n) << 16) / d) : 0x7FFFFFFF;
}

// --- pictures: uncompressed 24-bit bitmap files -------------------------------

QtErr QTL_CALL OpenPictureFile(const QtFileName* file, QtPicture* picture) {
  *picture = nullptr;
  std::FILE* f = std::fopen(PathOf(file).c_str(), "rb");
  if (!f) return Note(kQtFileNotFound);
  uint8_t head[54];
  QtErr e = kQtNoErr;
  if (std::fread(head, 1, sizeof head, f) != sizeof head || head[0] != 'B' || head[1] != 'M') e = kQtParamErr;
  const uint32_t offset = e ? 0 : Le32(head + 10);
  const int32_t width = e ? 0 : static_cast<int32_t>(Le32(head + 18));
  const int32_t height = e ? 0 : static_cast<int32_t>(Le32(head + 22));
  const int bits = head[28] | (head[29] << 8);
  if (!e && (width <= 0 || width > 32767 || height == 0 || height > 32767 || height < -32767 ||
             bits != 24 || Le32(head + 30) != 0))
    e = kQtParamErr;
  auto pic = std::make_unique<QtPictureRec>();
  if (!e) {
    const int rows = height < 0 ? -height : height;
    const size_t stride = ((static_cast<size_t>(width) * 24 + 31) / 32) * 4;
    pic->width = width;
    pic->height = rows;
    pic->rgb.resize(static_cast<size_t>(width) * 3 * rows);
    std::vector<uint8_t> row(stride);
    if (std::fseek(f, static_cast<long>(offset), SEEK_SET) != 0) e = kQtIoErr;
    for (int y = 0; !e && y < rows; ++y) {
      if (std::fread(row.data(), 1, stride, f) != stride) {
        e = kQtIoErr;
        break;
      }
      const int top = height > 0 ? rows - 1 - y : y;
      uint8_t* out = &pic->rgb[static_cast<size_t>(top) * width * 3];
      for (int x = 0; x < width; ++x) {
        out[3 * x] = row[3 * x + 2];
        out[3 * x + 1] = row[3 * x + 1];
        out[3 * x + 2] = row[3 * x];
      }
    }
  }
  std::fclose(f);
  if (e) return Note(e);
  *picture = pic.release();
  return Note(kQtNoErr);
}

void QTL_CALL GetPictureFrame(QtPicture picture, QtRect* frame) {
  *frame = QtRect{0, 0, static_cast<int16_t>(picture ? picture->height : 0),
                  static_cast<int16_t>(picture ? picture->width : 0)};
}

// Draws the picture with its top left corner at `where`'s, clipped to the world.
QtErr QTL_CALL DrawPicture(QtGWorld world, QtPicture picture, const QtRect* where) {
  if (!world || !picture || !where) return Note(kQtParamErr);
  const QtRect& b = world->map.bounds;
  for (int y = b.top; y < b.bottom; ++y) {
    const int sy = y - where->top;
    if (sy < 0 || sy >= picture->height) continue;
    uint8_t* out = world->map.base + static_cast<size_t>(y - b.top) * world->map.rowBytes;
    for (int x = b.left; x < b.right; ++x) {
      const int sx = x - where->left;
      if (sx < 0 || sx >= picture->width) continue;
      std::memcpy(out + 3 * (x - b.left), &picture->rgb[(static_cast<size_t>(sy) * picture->width + sx) * 3], 3);
    }
  }
  return Note(kQtNoErr);
}

void QTL_CALL DisposePicture(QtPicture picture) { delete picture; }

// --- offscreen worlds -----------------------------------------------------------

QtErr QTL_CALL NewGWorld(QtGWorld* world, int16_t depth, const QtRect* bounds) {
  *world = nullptr;
  const int width = bounds->right - bounds->left, height = bounds->bottom - bounds->top;
  if ((depth != 0 && depth != 24) || width <= 0 || height <= 0) return Note(kQtParamErr);
  auto* w = new (std::nothrow) QtGWorldRec;
  if (!w) return Note(kQtMemFull);
  w->map.rowBytes = width * 3;
  w->map.bounds = *bounds;
  w->pixels.assign(static_cast<size_t>(w->map.rowBytes) * height, 0xFF);
  w->map.base = w->pixels.data();
  *world = w;
  return Note(kQtNoErr);
}
QtPixMap* QTL_CALL GetGWorldPixMap(QtGWorld world) { return world ? &world->map : nullptr; }
int QTL_CALL LockPixels(QtPixMap* pixels) { return pixels != nullptr; }
void QTL_CALL UnlockPixels(QtPixMap*) {}
void QTL_CALL DisposeGWorld(QtGWorld world) { delete world; }

// --- the 'raw ' compressor: 24-bit RGB rows top-down, each padded to an even
// number of bytes ------------------------------------------------------------------

int32_t RawRowBytes(int width) { return (width * 3 + 1) & ~1; }

QtErr QTL_CALL GetMaxCompressionSize(QtPixMap* pixels, const QtRect* area, int16_t depth,
                                     int32_t, QtType codec, int32_t* size) {
  if (!pixels || !area || codec != QtFourCC("raw ") || (depth != 0 && depth != 24)) return Note(kQtParamErr);
  *size = RawRowBytes(area->right - area->left) * (area->bottom - area->top);
  return Note(kQtNoErr);
}

QtErr QTL_CALL CompressImage(QtPixMap* pixels, const QtRect* area, int32_t quality, QtType codec,
                             QtHandle description, uint8_t* data) {
  if (!pixels || !area || !description || !data || codec != QtFourCC("raw ")) return Note(kQtParamErr);
  const int width = area->right - area->left, height = area->bottom - area->top;
  const QtRect& b = pixels->bounds;
  if (area->left < b.left || area->top < b.top || area->right > b.right || area->bottom > b.bottom)
    return Note(kQtParamErr);
  const int32_t rowBytes = RawRowBytes(width);
  for (int y = 0; y < height; ++y) {
    uint8_t* out = data + static_cast<size_t>(y) * rowBytes;
    std::memcpy(out, pixels->base + static_cast<size_t>(area->top - b.top + y) * pixels->rowBytes +
                         3 * (area->left - b.left), static_cast<size_t>(width) * 3);
    if (rowBytes > width * 3) out[width * 3] = 0;
  }
  // The image description: 86 bytes, big-endian.
  std::vector<uint8_t>& d = description->bytes;
  d.assign(86, 0);
  auto put32 = [&d](size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) d[at + i] = static_cast<uint8_t>(v >> (24 - 8 * i));
  };
  auto put16 = [&d](size_t at, uint32_t v) { d[at] = static_cast<uint8_t>(v >> 8), d[at + 1] = static_cast<uint8_t>(v); };
  put32(0, 86);
  put32(4, codec);
  put16(14, 1);             // data reference index
  put32(24, static_cast<uint32_t>(quality));  // spatial quality
  put16(32, static_cast<uint32_t>(width));
  put16(34, static_cast<uint32_t>(height));
  put32(36, 72 << 16);      // horizontal resolution
  put32(40, 72 << 16);      // vertical resolution
  put32(44, static_cast<uint32_t>(rowBytes * height));
  put16(48, 1);             // frames per sample
  const char name[] = "None";
  d[50] = sizeof name - 1;
  std::memcpy(&d[51], name, sizeof name - 1);
  put16(82, 24);            // depth
  put16(84, 0xFFFF);        // no colour table
  return Note(kQtNoErr);
}

// --- movie files -------------------------------------------------------------------

QtErr QTL_CALL CreateMovieFile(const QtFileName* file, QtType, int16_t, int32_t flags,
                               int16_t* fileRef, QtMovie* movie) {
  const std::string path = PathOf(file);
  if (path.empty() || !movie) return Note(kQtParamErr);
  if (!(flags & kQtCreateDeleteExisting)) {
    if (std::FILE* f = std::fopen(path.c_str(), "rb")) {
      std::fclose(f);
      return Note(-48);  // the file exists
    }
  }
  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return Note(kQtIoErr);
  std::fclose(f);
  auto* m = new (std::nothrow) QtMovieRec;
  if (!m) return Note(kQtMemFull);
  *movie = m;
  if (fileRef) {
    *fileRef = g_nextFile++;
    Files()[*fileRef] = OpenFile{path, m};
  }
  return Note(kQtNoErr);
}

QtErr QTL_CALL OpenMovieFile(const QtFileName* file, int16_t* fileRef, int8_t) {
  const std::string path = PathOf(file);
  std::FILE* f = std::fopen(path.c_str(), "rb");
  if (!f) return Note(kQtFileNotFound);
  std::fclose(f);
  *fileRef = g_nextFile++;
  Files()[*fileRef] = OpenFile{path, nullptr};
  return Note(kQtNoErr);
}

QtErr QTL_CALL NewMovieFromFile(QtMovie* movie, int16_t fileRef, int16_t* resId, int32_t) {
  auto it = Files().find(fileRef);
  if (it == Files().end()) return Note(kQtParamErr);
  std::unique_ptr<QtMovieRec> read;
  const QtErr e = qtl::ReadMovieFile(it->second.path, &read);
  if (e) return Note(e);
  for (auto& t : read->tracks) t->movie = read.get();
  *movie = read.release();
  if (resId) *resId = 128;
  return Note(kQtNoErr);
}

QtErr QTL_CALL AddMovieResource(QtMovie movie, int16_t fileRef, int16_t* resId, const char*) {
  auto it = Files().find(fileRef);
  if (!movie || it == Files().end()) return Note(kQtParamErr);
  if (resId) *resId = 128;
  return Note(qtl::WriteMovieFile(*movie, it->second.path, false, false));
}

QtErr QTL_CALL CloseMovieFile(int16_t fileRef) {
  return Note(Files().erase(fileRef) ? kQtNoErr : kQtParamErr);
}

void QTL_CALL DisposeMovie(QtMovie movie) { delete movie; }

QtErr QTL_CALL DeleteMovieFile(const QtFileName* file) {
  return Note(std::remove(PathOf(file).c_str()) == 0 ? kQtNoErr : kQtFileNotFound);
}

// --- tracks and media ---------------------------------------------------------------

QtTrack QTL_CALL NewMovieTrack(QtMovie movie, QtFixed width, QtFixed height, int16_t volume) {
  if (!movie) return Note(kQtInvalidMovie), nullptr;
  auto track = std::make_unique<QtTrackRec>();
  track->id = movie->nextTrackId++;
  track->width = width;
  track->height = height;
  track->volume = volume;
  track->movie = movie;
  movie->tracks.push_back(std::move(track));
  Note(kQtNoErr);
  return movie->tracks.back().get();
}

QtMedia QTL_CALL NewTrackMedia(QtTrack track, QtType type, int32_t timeScale) {
  if (!track || timeScale <= 0) return Note(kQtInvalidTrack), nullptr;
  track->media = std::make_unique<QtMediaRec>();
  track->media->type = type;
  track->media->timeScale = static_cast<uint32_t>(timeScale);
  track->media->track = track;
  Note(kQtNoErr);
  return track->media.get();
}

QtErr QTL_CALL BeginMediaEdits(QtMedia media) { return Note(media ? kQtNoErr : kQtInvalidMedia); }
QtErr QTL_CALL EndMediaEdits(QtMedia media) { return Note(media ? kQtNoErr : kQtInvalidMedia); }

QtErr QTL_CALL AddMediaSample(QtMedia media, QtHandle data, int32_t offset, int32_t size,
                              int32_t duration, QtHandle description, int32_t count, int16_t,
                              int32_t* sampleTime) {
  if (!media || !data || !description || count != 1 || offset < 0 || size < 0 || duration <= 0 ||
      static_cast<size_t>(offset) + size > data->bytes.size() || description->bytes.size() < 16)
    return Note(kQtParamErr);
  uint32_t index = 0;
  for (size_t i = 0; i < media->descriptions.size(); ++i)
    if (media->descriptions[i] == description->bytes) index = static_cast<uint32_t>(i + 1);
  if (!index) {
    media->descriptions.push_back(description->bytes);
    index = static_cast<uint32_t>(media->descriptions.size());
  }
  if (sampleTime) *sampleTime = static_cast<int32_t>(qtl::MediaDuration(*media));
  QtSample s;
  s.bytes.assign(data->bytes.begin() + offset, data->bytes.begin() + offset + size);
  s.duration = static_cast<uint32_t>(duration);
  s.descriptionIndex = index;
  media->samples.push_back(std::move(s));
  return Note(kQtNoErr);
}

QtErr QTL_CALL InsertMediaIntoTrack(QtTrack track, int32_t trackStart, int32_t mediaTime,
                                    int32_t mediaDuration, QtFixed rate) {
  if (!track || !track->media || trackStart != static_cast<int32_t>(qtl::TrackDuration(*track)) ||
      rate <= 0 || mediaDuration <= 0)
    return Note(kQtParamErr);
  const uint64_t movieUnits = static_cast<uint64_t>(mediaDuration) * track->movie->timeScale * 0x10000 /
                              (static_cast<uint64_t>(track->media->timeScale) * static_cast<uint32_t>(rate));
  track->edits.push_back({static_cast<uint32_t>(movieUnits), mediaTime, rate});
  return Note(kQtNoErr);
}

int32_t QTL_CALL GetMediaDuration(QtMedia media) {
  return media ? static_cast<int32_t>(qtl::MediaDuration(*media)) : 0;
}
void QTL_CALL SetMovieTimeScale(QtMovie movie, int32_t timeScale) {
  if (!movie || timeScale <= 0) return void(Note(kQtParamErr));
  for (auto& t : movie->tracks)
    for (QtEdit& e : t->edits)
      e.duration = static_cast<uint32_t>(static_cast<uint64_t>(e.duration) * timeScale / movie->timeScale);
  movie->timeScale = static_cast<uint32_t>(timeScale);
  Note(kQtNoErr);
}

QtTrack QTL_CALL GetMovieIndTrackType(QtMovie movie, int32_t index, QtType mediaType) {
  if (!movie) return Note(kQtInvalidMovie), nullptr;
  int32_t seen = 0;
  for (auto& t : movie->tracks)
    if (t->media && t->media->type == mediaType && ++seen == index) return Note(kQtNoErr), t.get();
  return Note(kQtParamErr), nullptr;
}

void QTL_CALL GetTrackDimensions(QtTrack track, QtFixed* width, QtFixed* height) {
  *width = track ? track->width : 0;
  *height = track ? track->height : 0;
}
int16_t QTL_CALL GetTrackVolume(QtTrack track) { return track ? track->volume : 0; }
int16_t QTL_CALL GetTrackLayer(QtTrack track) { return track ? track->layer : 0; }
void QTL_CALL SetTrackLayer(QtTrack track, int16_t layer) {
  if (track) track->layer = layer;
}
QtMedia QTL_CALL GetTrackMedia(QtTrack track) { return track ? track->media.get() : nullptr; }
void QTL_CALL GetMediaHandlerDescription(QtMedia media, QtType* mediaType) {
  *mediaType = media ? media->type : 0;
}
int32_t QTL_CALL GetMediaTimeScale(QtMedia media) {
  return media ? static_cast<int32_t>(media->timeScale) : 0;
}

// Copies the whole of a track's segment: its samples join the target's media,
// and its edits follow the target's in the target movie's time scale.
QtErr QTL_CALL InsertTrackSegment(QtTrack from, QtTrack to, int32_t fromStart, int32_t fromDuration,
                                  int32_t toStart) {
  if (!from || !to || !from->media || !to->media || fromStart != 0 ||
      fromDuration != static_cast<int32_t>(qtl::TrackDuration(*from)) ||
      toStart != static_cast<int32_t>(qtl::TrackDuration(*to)) || to->media->type != from->media->type)
    return Note(kQtParamErr);
  const uint32_t base = qtl::MediaDuration(*to->media);
  const uint32_t firstDescription = static_cast<uint32_t>(to->media->descriptions.size());
  for (const auto& d : from->media->descriptions) to->media->descriptions.push_back(d);
  for (QtSample s : from->media->samples) {
    s.descriptionIndex += firstDescription;
    to->media->samples.push_back(std::move(s));
  }
  for (QtEdit e : from->edits) {
    e.duration = static_cast<uint32_t>(static_cast<uint64_t>(e.duration) * to->movie->timeScale /
                                       from->movie->timeScale);
    if (e.mediaTime >= 0) e.mediaTime += static_cast<int32_t>(base);
    to->edits.push_back(e);
  }
  return Note(kQtNoErr);
}

QtErr QTL_CALL CopyTrackSettings(QtTrack from, QtTrack to) {
  if (!from || !to) return Note(kQtInvalidTrack);
  to->layer = from->layer;
  to->volume = from->volume;
  return Note(kQtNoErr);
}
void QTL_CALL SetTrackEnabled(QtTrack track, int enabled) {
  if (track) track->enabled = enabled != 0;
}

// Stretches the whole track to `newDuration`. When every sample's duration
// scales to a whole number the samples are retimed and the edits keep rate
// 1.0, which every reader honours (many ignore an edit's rate); otherwise
// each edit plays its media at the rate that makes it fit.
QtErr QTL_CALL ScaleTrackSegment(QtTrack track, int32_t start, int32_t oldDuration, int32_t newDuration) {
  if (!track || !track->media || start != 0 || oldDuration <= 0 || newDuration <= 0 ||
      oldDuration != static_cast<int32_t>(qtl::TrackDuration(*track)))
    return Note(kQtParamErr);
  bool whole = track->edits.size() == 1 && track->edits[0].mediaTime == 0 &&
               track->edits[0].rate == 0x10000;
  for (const QtSample& s : track->media->samples)
    whole = whole && (static_cast<uint64_t>(s.duration) * newDuration) % oldDuration == 0 &&
            static_cast<uint64_t>(s.duration) * newDuration / oldDuration > 0;
  if (whole) {
    for (QtSample& s : track->media->samples)
      s.duration = static_cast<uint32_t>(static_cast<uint64_t>(s.duration) * newDuration / oldDuration);
    track->edits[0].duration = static_cast<uint32_t>(newDuration);
    return Note(kQtNoErr);
  }
  for (QtEdit& e : track->edits) {
    const uint32_t scaled = static_cast<uint32_t>(static_cast<uint64_t>(e.duration) * newDuration / oldDuration);
    e.rate = static_cast<QtFixed>(static_cast<int64_t>(e.rate) * e.duration / (scaled ? scaled : 1));
    e.duration = scaled;
  }
  return Note(kQtNoErr);
}

int32_t QTL_CALL GetTrackDuration(QtTrack track) {
  return track ? static_cast<int32_t>(qtl::TrackDuration(*track)) : 0;
}

QtErr QTL_CALL AddTrackReference(QtTrack track, QtTrack referenced, QtType type, int32_t* index) {
  if (!track || !referenced || track->movie != referenced->movie) return Note(kQtInvalidTrack);
  for (auto& ref : track->references) {
    if (ref.first != type) continue;
    ref.second.push_back(referenced->id);
    if (index) *index = static_cast<int32_t>(ref.second.size());
    return Note(kQtNoErr);
  }
  track->references.push_back({type, {referenced->id}});
  if (index) *index = 1;
  return Note(kQtNoErr);
}

// --- user data and flattening -----------------------------------------------------------

QtErr QTL_CALL SetMovieUserDataItem(QtMovie movie, QtType type, const void* data, int32_t size) {
  if (!movie || size < 0) return Note(kQtParamErr);
  const auto* bytes = static_cast<const uint8_t*>(data);
  for (auto& item : movie->userData)
    if (item.first == type) {
      item.second.assign(bytes, bytes + size);
      return Note(kQtNoErr);
    }
  movie->userData.push_back({type, std::vector<uint8_t>(bytes, bytes + size)});
  return Note(kQtNoErr);
}

void QTL_CALL SetMovieProgressProc(QtMovie movie, QtProgressProc proc, void* refCon) {
  if (!movie) return;
  movie->progress = proc;
  movie->progressRef = refCon;
}

QtMovie QTL_CALL FlattenMovieData(QtMovie movie, int32_t flattenFlags, const QtFileName* file, QtType,
                                  int16_t, int32_t) {
  if (!movie || !(flattenFlags & kQtFlattenAddMovieToDataFork)) return Note(kQtParamErr), nullptr;
  if (movie->progress && movie->progress(movie, 0, 0, movie->progressRef)) return Note(kQtUserCanceled), nullptr;
  const QtErr e = qtl::WriteMovieFile(*movie, PathOf(file),
                                      (flattenFlags & kQtFlattenForceMovieResourceBeforeMovieData) != 0,
                                      (flattenFlags & kQtFlattenCompressMovieResource) != 0);
  if (e) return Note(e), nullptr;
  if (movie->progress) movie->progress(movie, 2, 0x10000, movie->progressRef);
  std::unique_ptr<QtMovieRec> flat;
  if (Note(qtl::ReadMovieFile(PathOf(file), &flat))) return nullptr;
  return flat.release();
}

QtErr QTL_CALL GetMoviesError() { return g_lastError; }

}  // namespace

// Defined in atom_container.cpp.
QtErr QTL_CALL QtNewAtomContainer(QtHandle* container);
QtErr QTL_CALL QtInsertChild(QtHandle container, QtAtom parent, QtType type, int32_t id, int16_t index,
                             int32_t size, const void* data, QtAtom* child);
QtErr QTL_CALL QtGetAtomTypeAndID(QtHandle container, QtAtom atom, QtType* type, int32_t* id);
QtErr QTL_CALL QtDisposeAtomContainer(QtHandle container);

const QtDispatch* QtLayerDispatch() {
  static const QtDispatch table = {
      sizeof(QtDispatch), NewHandle, GetHandleSize, HLock, HUnlock, DisposeHandle, BlockMove, FixRatio,
      OpenPictureFile, GetPictureFrame, DrawPicture, DisposePicture, NewGWorld, GetGWorldPixMap,
      LockPixels, UnlockPixels, DisposeGWorld, GetMaxCompressionSize, CompressImage, CreateMovieFile,
      OpenMovieFile, NewMovieFromFile, AddMovieResource, CloseMovieFile, DisposeMovie, DeleteMovieFile,
      NewMovieTrack, NewTrackMedia, BeginMediaEdits, EndMediaEdits, AddMediaSample, InsertMediaIntoTrack,
      GetMediaDuration, SetMovieTimeScale, GetMovieIndTrackType, GetTrackDimensions, GetTrackVolume,
      GetTrackLayer, SetTrackLayer, GetTrackMedia, GetMediaHandlerDescription, GetMediaTimeScale,
      InsertTrackSegment, CopyTrackSettings, SetTrackEnabled, ScaleTrackSegment, GetTrackDuration,
      AddTrackReference, QtNewAtomContainer, QtInsertChild, QtGetAtomTypeAndID, QtDisposeAtomContainer,
      SetMovieUserDataItem, SetMovieProgressProc, FlattenMovieData, GetMoviesError};
  return &table;
}

QtErr QTL_CALL QtLayerFeature(QtType selector, int32_t* response) {
  if (!response) return kQtParamErr;
  if (selector == QtFourCC("qtim")) return *response = 0x03008000, kQtNoErr;
  if (selector == QtFourCC("qtvr")) return *response = 1, kQtNoErr;
  if (selector == QtFourCC("qtvv")) return *response = 0x0200, kQtNoErr;
  return *response = 0, -5551;  // no such feature
}

QtErr QTL_CALL QtLayerStartStop(int32_t start) {
  if (start) {
    ++g_started;
  } else if (g_started > 0) {
    --g_started;
  }
  return kQtNoErr;
}
