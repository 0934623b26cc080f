#include "stitch_job.h"

#include "pixio.h"
#include "stitch_plan.h"

namespace stitch {

namespace {

vmd::PhotoSize SizeOf(HGLOBAL dib) {
  vmd::PhotoSize size{0, 0};
  if (auto* bih = static_cast<BITMAPINFOHEADER*>(GlobalLock(dib))) {
    size = {bih->biWidth, bih->biHeight};
    GlobalUnlock(dib);
  }
  return size;
}

}  // namespace

Job::~Job() {
  for (auto& p : pyramids) {
    if (p) ReleasePyramid(p.get());
  }
  if (panorama) GlobalFree(panorama);
  for (HGLOBAL h : photos) {
    if (h) GlobalFree(h);
  }
}

void Job::ReleaseSources() {
  for (auto& p : pyramids) {
    if (p) ReleasePyramid(p.get());
    p.reset();
  }
  for (HGLOBAL& h : photos) {
    if (h) GlobalFree(h);
    h = nullptr;
  }
  elements.clear();
}

bool PrepareJob(const Arguments& args, Job* job, std::string* error) {
  std::vector<vmd::PhotoSize> sizes;
  for (const std::string& path : args.photos) {
    HGLOBAL dib = ImgReadFile(nullptr, path.c_str());
    if (!dib) {
      *error = "cannot read \"" + path + "\" as an image";
      return false;
    }
    job->photos.push_back(dib);
    const vmd::PhotoSize size = SizeOf(dib);
    if (size.width <= 0 || size.height <= 0) {
      *error = "\"" + path + "\": The photo size is zero.";
      return false;
    }
    sizes.push_back(size);
  }
  int problem = vmd::CheckPhotoSizes(sizes);
  if (problem == vmd::kPlanOk) problem = vmd::CheckPhotoCount(args.kind, static_cast<int>(sizes.size()));
  if (problem != vmd::kPlanOk) {
    *error = vmd::StitchPlanText(problem);
    return false;
  }

  const int n = static_cast<int>(job->photos.size());
  const std::vector<vmd::GridPlace> places =
      args.kind == vmd::PanoTile ? TilePlaces(args, n) : std::vector<vmd::GridPlace>();
  const vmd::MatrixShape shape = vmd::ShapeMatrix(args.kind, n, places);
  job->photoOfElement = shape.photoOfElement;
  job->elements.assign(shape.photoOfElement.size(), StitchElement{});
  job->matrix.elements = job->elements.data();
  job->matrix.layout = args.kind;
  job->matrix.columns = shape.columns;
  job->matrix.rows = shape.rows;
  if (args.kind == vmd::PanoTile && !vmd::TileLayoutAccepted(shape)) {
    *error = vmd::StitchPlanText(vmd::kPlanBadPlaces);
    return false;
  }
  for (size_t i = 0; i < job->elements.size(); ++i) {
    const int photo = shape.photoOfElement[i];
    if (photo < 0) continue;
    job->pyramids.push_back(std::make_unique<StitchPyramid>());
    StitchPyramid* p = job->pyramids.back().get();
    const long rc = BuildPyramid(job->photos[static_cast<size_t>(photo)], p);
    if (rc == kStitchOutOfMemory) {
      *error = "Not enough memory.";
      return false;
    }
    if (rc != kStitchOk) {
      *error = "cannot use \"" + args.photos[static_cast<size_t>(photo)] + "\"";
      return false;
    }
    job->elements[i].pyramid = p;
  }

  StitchOptions& options = job->options;
  options = StitchOptions{};
  options.reserved = 1;
  options.detail = args.detail;
  options.exposureBalance = args.exposure ? 1 : 0;
  options.blendPercent = 5;
  options.lensMode = args.lensMode;
  options.focal = vmd::EngineFocal(args.kind, args.lensMode, args.focalMm, shape, sizes);
  return true;
}

}  // namespace stitch
