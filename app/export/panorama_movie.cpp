#include "panorama_movie.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <vector>

namespace vmd {
namespace {

constexpr int kTiles = 24;
constexpr int32_t kTileQuality = 640;
constexpr int32_t kTileDuration = 300;
constexpr int32_t kTileTimeScale = 600;
constexpr int32_t kMovieTimeScale = 3600;
constexpr int32_t kNodeDuration = 7200;
constexpr int kViewWidth = 400, kViewHeight = 300;
constexpr int kHotSpots = 254;
constexpr QtFixed kRateOne = 0x10000;
constexpr int32_t kFlattenOptions = kQtFlattenAddMovieToDataFork | kQtFlattenCompressMovieResource |
                                    kQtFlattenForceMovieResourceBeforeMovieData;
constexpr int32_t kCreateOptions = kQtCreateDeleteExisting | kQtCreateDontCreateResFile;
constexpr int16_t kSystemScript = -1;
// The link of every hot spot: the media layer's home.
constexpr char kVendorAddress[] = "http://www.quorvex.com/quicktime/";

constexpr size_t kMaxMovieFileName = 255;
constexpr int kBadFileName = -37;

QtFileName FileNameOf(const std::string& path) {
  QtFileName file{};
  const size_t n = path.size() < kMaxMovieFileName ? path.size() : kMaxMovieFileName;
  file.name[0] = static_cast<unsigned char>(n);
  std::memcpy(file.name + 1, path.data(), n);
  return file;
}

// Big-endian fields of an atom's data.
class Fields {
 public:
  std::vector<uint8_t> bytes;
  Fields& U16(uint32_t v) {
    bytes.push_back(static_cast<uint8_t>(v >> 8));
    bytes.push_back(static_cast<uint8_t>(v));
    return *this;
  }
  Fields& U32(uint32_t v) { return U16(v >> 16).U16(v & 0xFFFF); }
  Fields& F32(float v) {
    uint32_t bits;
    std::memcpy(&bits, &v, 4);
    return U32(bits);
  }
  Fields& Text(const char* s) {
    bytes.insert(bytes.end(), s, s + std::strlen(s));
    return *this;
  }
  int32_t Size() const { return static_cast<int32_t>(bytes.size()); }
  const void* Data() const { return bytes.data(); }
};

Fields ImagingAtom(uint32_t mode, uint32_t quality, uint32_t directDraw) {
  Fields f;
  f.U16(2).U16(0).U32(mode).U32(7).U32(2).U32(quality).U32(directDraw);
  for (int i = 0; i < 6; ++i) f.U32(0);
  return f.U32(0).U32(0);
}

// The one export in progress: the layer, its objects and the files to remove.
struct Job {
  const QtDispatch& qt;
  QtErr error = kQtNoErr;
  bool Ok(QtErr e) {
    if (error == kQtNoErr) error = e;
    return error == kQtNoErr;
  }
  bool Check() { return Ok(qt.GetMoviesError()); }
};

QtErr WriteTileMovie(Job& job, QtPicture picture, const QtRect& frame, const QtFileName& tileFile,
                     const PanoramaMovieHooks& hooks) {
  const QtDispatch& qt = job.qt;
  const int tileHeight = (frame.bottom - frame.top) / kTiles;
  const int tileWidth = frame.right - frame.left;
  const QtRect tile{0, 0, static_cast<int16_t>(tileHeight), static_cast<int16_t>(tileWidth)};
  QtGWorld world = nullptr;
  if (!job.Ok(qt.NewGWorld(&world, 0, &tile))) return job.error;
  int16_t fileRef = 0;
  QtMovie movie = nullptr;
  QtHandle description = qt.NewHandle(0);
  if (job.Ok(qt.CreateMovieFile(&tileFile, QtFourCC("TVOD"), kSystemScript, kCreateOptions, &fileRef, &movie))) {
    QtTrack track = qt.NewMovieTrack(movie, tileWidth << 16, tileHeight << 16, 0);
    QtMedia media = job.Check() ? qt.NewTrackMedia(track, QtFourCC("vide"), kTileTimeScale) : nullptr;
    if (job.Check() && job.Ok(qt.BeginMediaEdits(media))) {
      QtPixMap* pixels = qt.GetGWorldPixMap(world);
      for (int k = 0; k < kTiles && job.error == kQtNoErr; ++k) {
        if (hooks.progress && hooks.progress((k + 1) * 100 / kTiles, hooks.context)) {
          job.Ok(kQtUserCanceled);
          break;
        }
        const QtRect where{static_cast<int16_t>(-k * tileHeight), 0,
                           static_cast<int16_t>(frame.bottom - frame.top - k * tileHeight),
                           static_cast<int16_t>(tileWidth)};
        qt.LockPixels(pixels);
        int32_t size = 0;
        if (job.Ok(qt.DrawPicture(world, picture, &where)) &&
            job.Ok(qt.GetMaxCompressionSize(pixels, &tile, 0, kTileQuality, QtFourCC("raw "), &size))) {
          QtHandle data = qt.NewHandle(size);
          if (job.Check() &&
              job.Ok(qt.CompressImage(pixels, &tile, kTileQuality, QtFourCC("raw "), description, qt.HLock(data)))) {
            const int32_t compressed = size;
            job.Ok(qt.AddMediaSample(media, data, 0, compressed, kTileDuration, description, 1, 0, nullptr));
          }
          qt.DisposeHandle(data);
        }
        qt.UnlockPixels(pixels);
      }
      if (job.error == kQtNoErr && job.Ok(qt.EndMediaEdits(media)))
        job.Ok(qt.InsertMediaIntoTrack(track, 0, 0, qt.GetMediaDuration(media), kRateOne));
    }
    int16_t resId = 0;
    if (job.error == kQtNoErr) job.Ok(qt.AddMovieResource(movie, fileRef, &resId, nullptr));
    qt.CloseMovieFile(fileRef);
    qt.DisposeMovie(movie);
  }
  qt.DisposeHandle(description);
  qt.DisposeGWorld(world);
  return job.error;
}

// The VR world: world header, imaging and the node list.
QtHandle VrWorld(Job& job) {
  const QtDispatch& qt = job.qt;
  QtHandle world = nullptr;
  if (!job.Ok(qt.NewAtomContainer(&world))) return nullptr;
  Fields header;
  header.U16(2).U16(0).U32(0).U32(1).U32(0).U32(0).U32(0);
  QtAtom imaging = 0, nodes = 0, node = 0;
  const Fields motion = ImagingAtom(2, 256, 1), still = ImagingAtom(1, 768, 0);
  Fields location;
  location.U16(2).U16(0).U32(QtFourCC("pano")).U32(0).U32(0).U32(0).U32(0);
  job.Ok(qt.InsertChild(world, 0, QtFourCC("vrsc"), 1, 1, header.Size(), header.Data(), nullptr)) &&
      job.Ok(qt.InsertChild(world, 0, QtFourCC("imgp"), 1, 1, 0, nullptr, &imaging)) &&
      job.Ok(qt.InsertChild(world, imaging, QtFourCC("impn"), 0, 0, motion.Size(), motion.Data(), nullptr)) &&
      job.Ok(qt.InsertChild(world, imaging, QtFourCC("impn"), 0, 0, still.Size(), still.Data(), nullptr)) &&
      job.Ok(qt.InsertChild(world, 0, QtFourCC("vrnp"), 1, 1, 0, nullptr, &nodes)) &&
      job.Ok(qt.InsertChild(world, nodes, QtFourCC("vrni"), 1, 0, 0, nullptr, &node)) &&
      job.Ok(qt.InsertChild(world, node, QtFourCC("nloc"), 1, 1, location.Size(), location.Data(), nullptr));
  return world;
}

// The node information: header and the hot spots with their names and links.
QtHandle NodeInformation(Job& job) {
  const QtDispatch& qt = job.qt;
  QtHandle node = nullptr;
  if (!job.Ok(qt.NewAtomContainer(&node))) return nullptr;
  Fields header;
  header.U16(2).U16(0).U32(QtFourCC("pano")).U32(1).U32(0).U32(0).U32(0).U32(0);
  QtAtom spots = 0;
  if (!job.Ok(qt.InsertChild(node, 0, QtFourCC("ndhd"), 1, 1, header.Size(), header.Data(), nullptr)) ||
      !job.Ok(qt.InsertChild(node, 0, QtFourCC("hspa"), 1, 1, 0, nullptr, &spots)))
    return node;
  for (int i = 1; i <= kHotSpots; ++i) {
    QtAtom spot = 0, name = 0;
    char text[40];
    std::snprintf(text, sizeof text, "Hot Spot Index %d", i);
    Fields nameAtom;
    nameAtom.U16(1).U16(static_cast<uint32_t>(std::strlen(text))).Text(text);
    nameAtom.bytes.push_back(0);
    if (!job.Ok(qt.InsertChild(node, spots, QtFourCC("hots"), i, 0, 0, nullptr, &spot)) ||
        !job.Ok(qt.InsertChild(node, spot, QtFourCC("vrsg"), 0, 0, nameAtom.Size(), nameAtom.Data(), &name)))
      return node;
    QtType type = 0;
    int32_t nameId = 0;
    if (!job.Ok(qt.GetAtomTypeAndID(node, name, &type, &nameId))) return node;
    Fields info;
    info.U16(2).U16(0).U32(QtFourCC("url ")).U32(static_cast<uint32_t>(nameId)).U32(0);
    info.U32(0).U32(0).U32(0);                       // cursors
    info.F32(0).F32(0).F32(0).F32(0).F32(0);         // best pan, tilt, field of view, view centre
    info.U16(0).U16(0).U16(0).U16(0);                // hot spot rectangle
    info.U32(0).U32(0).U32(0);                       // flags, reserved
    Fields link;
    link.Text(kVendorAddress);
    if (!job.Ok(qt.InsertChild(node, spot, QtFourCC("hsin"), 1, 0, info.Size(), info.Data(), nullptr)) ||
        !job.Ok(qt.InsertChild(node, spot, QtFourCC("url "), 1, 0, link.Size(), link.Data(), nullptr)))
      return node;
  }
  return node;
}

QtHandle HandleOf(const QtDispatch& qt, const void* data, int32_t size) {
  QtHandle h = qt.NewHandle(size);
  if (h && size > 0) qt.BlockMove(data, qt.HLock(h), size);
  return h;
}

// Adds one sample to a fresh media and puts it in its track.
void AddOneSample(Job& job, QtTrack track, QtMedia media, QtHandle data, QtHandle description) {
  const QtDispatch& qt = job.qt;
  if (job.Ok(qt.BeginMediaEdits(media)) &&
      job.Ok(qt.AddMediaSample(media, data, 0, qt.GetHandleSize(data), kNodeDuration, description, 1, 0, nullptr)) &&
      job.Ok(qt.EndMediaEdits(media)))
    job.Ok(qt.InsertMediaIntoTrack(track, 0, 0, qt.GetMediaDuration(media), kRateOne));
}

QtErr WritePanoramaMovie(Job& job, const QtFileName& tileFile, const QtFileName& panoFile) {
  const QtDispatch& qt = job.qt;
  int16_t fileRef = 0;
  QtMovie movie = nullptr;
  if (!job.Ok(qt.CreateMovieFile(&panoFile, QtFourCC("TVOD"), kSystemScript, kCreateOptions, &fileRef, &movie)))
    return job.error;
  QtTrack vrTrack = qt.NewMovieTrack(movie, kViewWidth << 16, kViewHeight << 16, 0x100);
  QtMedia vrMedia = job.Check() ? qt.NewTrackMedia(vrTrack, QtFourCC("qtvr"), kMovieTimeScale) : nullptr;
  if (job.Check()) qt.SetMovieTimeScale(movie, kMovieTimeScale);
  QtHandle world = job.error ? nullptr : VrWorld(job);
  QtHandle node = job.error ? nullptr : NodeInformation(job);
  QtHandle vrDescription = nullptr;
  if (job.error == kQtNoErr) {
    const int32_t worldSize = qt.GetHandleSize(world);
    Fields head;
    head.U32(static_cast<uint32_t>(16 + worldSize)).U32(QtFourCC("qtvr")).U32(0).U16(0).U16(0);
    vrDescription = qt.NewHandle(16 + worldSize);
    qt.BlockMove(head.Data(), qt.HLock(vrDescription), 16);
    qt.BlockMove(qt.HLock(world), qt.HLock(vrDescription) + 16, worldSize);
    AddOneSample(job, vrTrack, vrMedia, node, vrDescription);
  }
  QtTrack panoTrack = nullptr;
  QtMedia panoMedia = nullptr;
  if (job.error == kQtNoErr) {
    panoTrack = qt.NewMovieTrack(movie, kViewWidth << 16, kViewHeight << 16, 0);
    if (job.Check()) panoMedia = qt.NewTrackMedia(panoTrack, QtFourCC("pano"), kMovieTimeScale);
    job.Check();
  }
  // The image track: the tile movie's video track, copied whole.
  QtTrack imageTrack = nullptr;
  QtFixed tileWidth = 0, tileHeight = 0;
  if (job.error == kQtNoErr) {
    int16_t tileRef = 0;
    QtMovie tiles = nullptr;
    if (job.Ok(qt.OpenMovieFile(&tileFile, &tileRef, 1)) && job.Ok(qt.NewMovieFromFile(&tiles, tileRef, nullptr, 0))) {
      QtTrack source = qt.GetMovieIndTrackType(tiles, 1, QtFourCC("vide"));
      if (!source) {
        job.Ok(kQtParamErr);
      } else {
        qt.GetTrackDimensions(source, &tileWidth, &tileHeight);
        imageTrack = qt.NewMovieTrack(movie, tileWidth, tileHeight, qt.GetTrackVolume(source));
        QtType type = 0;
        qt.GetMediaHandlerDescription(qt.GetTrackMedia(source), &type);
        if (job.Check()) {
          qt.SetTrackLayer(imageTrack, qt.GetTrackLayer(source));
          qt.NewTrackMedia(imageTrack, type, qt.GetMediaTimeScale(qt.GetTrackMedia(source)));
        }
        if (job.Check() && job.Ok(qt.BeginMediaEdits(qt.GetTrackMedia(imageTrack))) &&
            job.Ok(qt.InsertTrackSegment(source, imageTrack, 0, qt.GetTrackDuration(source), 0)) &&
            job.Ok(qt.EndMediaEdits(qt.GetTrackMedia(imageTrack))) && job.Ok(qt.CopyTrackSettings(source, imageTrack))) {
          qt.SetTrackEnabled(imageTrack, 0);
          job.Ok(qt.ScaleTrackSegment(imageTrack, 0, qt.GetTrackDuration(imageTrack), kNodeDuration));
        }
      }
      qt.DisposeMovie(tiles);
    }
    if (tileRef) qt.CloseMovieFile(tileRef);
  }
  int32_t imageIndex = 0;
  if (job.error == kQtNoErr && job.Ok(qt.AddTrackReference(vrTrack, panoTrack, QtFourCC("pano"), nullptr)) &&
      job.Ok(qt.AddTrackReference(panoTrack, imageTrack, QtFourCC("imgt"), &imageIndex))) {
    const int w = tileWidth >> 16, h = tileHeight >> 16;
    const float t = HalfFieldOfView(w, h);
    Fields pdat;
    pdat.U16(2).U16(0).U32(static_cast<uint32_t>(imageIndex)).U32(0);
    pdat.F32(0.0f).F32(360.0f).F32(-t).F32(t).F32(0.0f).F32(2 * t).F32(0.0f).F32(0.0f).F32(0.8f * (2 * t));
    pdat.U32(static_cast<uint32_t>(w)).U32(static_cast<uint32_t>(kTiles * h)).U16(1).U16(kTiles);
    pdat.U32(static_cast<uint32_t>(w)).U32(static_cast<uint32_t>(kTiles * h)).U16(1).U16(kTiles);
    pdat.U32(0).U32(0).U32(0);
    QtHandle sample = nullptr;
    if (job.Ok(qt.NewAtomContainer(&sample)) &&
        job.Ok(qt.InsertChild(sample, 0, QtFourCC("pdat"), 1, 1, pdat.Size(), pdat.Data(), nullptr))) {
      Fields head;
      head.U32(16).U32(QtFourCC("pano")).U32(0).U32(0);
      QtHandle description = HandleOf(qt, head.Data(), head.Size());
      AddOneSample(job, panoTrack, panoMedia, sample, description);
      qt.DisposeHandle(description);
    }
    if (sample) qt.DisposeAtomContainer(sample);
  }
  if (job.error == kQtNoErr) {
    Fields controller;
    controller.U32(QtFourCC("qtvr"));
    int16_t resId = 0;
    if (job.Ok(qt.SetMovieUserDataItem(movie, QtFourCC("ctyp"), controller.Data(), controller.Size())))
      job.Ok(qt.AddMovieResource(movie, fileRef, &resId, nullptr));
  }
  if (vrDescription) qt.DisposeHandle(vrDescription);
  if (world) qt.DisposeAtomContainer(world);
  if (node) qt.DisposeAtomContainer(node);
  qt.CloseMovieFile(fileRef);
  qt.DisposeMovie(movie);
  return job.error;
}

QtErr Flatten(Job& job, const QtFileName& panoFile, const QtFileName& result) {
  const QtDispatch& qt = job.qt;
  int16_t fileRef = 0;
  QtMovie movie = nullptr;
  if (job.Ok(qt.OpenMovieFile(&panoFile, &fileRef, 1)) && job.Ok(qt.NewMovieFromFile(&movie, fileRef, nullptr, 0))) {
    qt.SetMovieProgressProc(movie, nullptr, nullptr);
    QtMovie flat = qt.FlattenMovieData(movie, kFlattenOptions, &result, QtFourCC("TVOD"), kSystemScript,
                                       kQtCreateDeleteExisting);
    job.Check();
    if (flat) qt.DisposeMovie(flat);
    qt.DisposeMovie(movie);
  }
  if (fileRef) qt.CloseMovieFile(fileRef);
  return job.error;
}

}  // namespace

std::string UnflattenedMovieName(const std::string& moviePath) {
  std::string name = moviePath;
  if (!name.empty()) name.back() = name.back() == 't' ? '@' : 't';
  return name;
}

float HalfFieldOfView(int tileWidth, int tileHeight) {
  const long double pi = 3.14159L;
  return static_cast<float>(std::atan(tileWidth * pi / (kTiles * static_cast<long double>(tileHeight))) * 180 / pi);
}

int MakePanoramaMovie(const QtDispatch& qt, const std::string& bitmapPath, const std::string& moviePath,
                      const PanoramaMovieHooks& hooks) {
  // A movie file name holds at most 255 characters: a longer name would
  // silently name another file.
  if (bitmapPath.size() + std::strlen("qzrt01.til") > kMaxMovieFileName || moviePath.size() > kMaxMovieFileName)
    return kBadFileName;
  const QtFileName source = FileNameOf(bitmapPath);
  const QtFileName tileFile = FileNameOf(bitmapPath + "qzrt01.til");
  const QtFileName result = FileNameOf(moviePath);
  const QtFileName panoFile = FileNameOf(UnflattenedMovieName(moviePath));
  Job job{qt};
  QtPicture picture = nullptr;
  if (!job.Ok(qt.OpenPictureFile(&source, &picture))) return job.error;
  QtRect frame{};
  qt.GetPictureFrame(picture, &frame);
  if (frame.bottom - frame.top < frame.right - frame.left) {
    qt.DisposePicture(picture);
    if (hooks.notLandscape) hooks.notLandscape(hooks.context);
    return 1;
  }
  WriteTileMovie(job, picture, frame, tileFile, hooks);
  qt.DisposePicture(picture);
  if (job.error == kQtNoErr) WritePanoramaMovie(job, tileFile, panoFile);
  if (job.error == kQtNoErr) Flatten(job, panoFile, result);
  // Clean up, whatever happened; there is no hot spot picture to remove.
  qt.DeleteMovieFile(&panoFile);
  qt.DeleteMovieFile(&tileFile);
  return job.error;
}

}  // namespace vmd
