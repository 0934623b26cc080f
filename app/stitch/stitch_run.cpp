#include "stitch_run.h"

#include <algorithm>
#include <cstdint>

namespace vmd {

namespace {

PhotoSize SizeOfPhoto(HGLOBAL dib) {
  PhotoSize size{0, 0};
  if (const auto* header = static_cast<const BITMAPINFOHEADER*>(GlobalLock(dib))) {
    size.width = static_cast<uint16_t>(header->biWidth);
    size.height = static_cast<uint16_t>(header->biHeight);
    GlobalUnlock(dib);
  }
  return size;
}

}  // namespace

StoryboardPhotos CollectStoryboardPhotos(const Storyboard& board) {
  StoryboardPhotos out;
  const int places = board.kind == PanoTile ? kTileGridSide * kTileGridSide : board.count;
  for (int slot = 0; slot < places && slot < kStoryboardSlotCount; ++slot) {
    HGLOBAL photo = board.slots[slot].photo;
    if (photo == nullptr) continue;
    out.photos.push_back(photo);
    out.sizes.push_back(SizeOfPhoto(photo));
    if (board.kind == PanoTile) out.places.emplace_back(slot % kTileGridSide, slot / kTileGridSide);
  }
  return out;
}

int CheckTileLayout(const Storyboard& board) {
  const StoryboardPhotos photos = CollectStoryboardPhotos(board);
  return TileLayoutAccepted(ShapeMatrix(PanoTile, static_cast<int>(photos.photos.size()), photos.places)) ? 1 : 0;
}

StitchRefusal CheckStoryboardForStitch(const Storyboard& board) {
  // Every placed photo is checked, in slot order, before the count.
  const int size = CheckPhotoSizes(CollectStoryboardPhotos(board).sizes);
  if (size != kPlanOk) return {size, true};
  const int count = CheckPhotoCount(board.kind, board.count);
  if (count != kPlanOk) return {count, false};
  if (board.kind == PanoTile && !CheckTileLayout(board)) return {kPlanBadPlaces, false};
  return {kPlanOk, false};
}

void ReleaseStitchPyramids(StitchMatrix& matrix) {
  if (matrix.elements == nullptr) return;
  const int cells = matrix.columns * matrix.rows;
  for (int i = 0; i < cells; ++i) {
    if (matrix.elements[i].pyramid != nullptr) ReleasePyramid(matrix.elements[i].pyramid);
  }
  for (int i = 0; i < cells; ++i) delete matrix.elements[i].pyramid;
  delete[] matrix.elements;
  matrix.elements = nullptr;
  matrix.columns = 0;
  matrix.rows = 0;
}

StitchOutcome StitchStoryboard(const Storyboard& board, StitchEngineState& state, StitchProgressProc progress,
                               HGLOBAL* panorama, RECT* rect) {
  *panorama = nullptr;
  ReleaseStitchPyramids(state.matrix);
  state.kind = board.kind;
  const StoryboardPhotos photos = CollectStoryboardPhotos(board);
  const int n = static_cast<int>(photos.photos.size());
  const MatrixShape shape = ShapeMatrix(board.kind, n, photos.places);
  if (shape.photoOfElement.empty()) return StitchOutcome::kFailed;

  StitchMatrix& m = state.matrix;
  m.layout = board.kind;
  m.columns = shape.columns;
  m.rows = shape.rows;
  // Cleared, as vmd3-stitch hands them over: the engine fills the rest.
  m.elements = new StitchElement[shape.photoOfElement.size()]();
  for (size_t i = 0; i < shape.photoOfElement.size(); ++i) {
    const int photo = shape.photoOfElement[i];
    if (photo < 0) continue;
    m.elements[i].pyramid = new StitchPyramid();
    BuildPyramid(photos.photos[static_cast<size_t>(photo)], m.elements[i].pyramid);
  }
  state.options.focal = EngineFocal(board.kind, state.options.lensMode, state.options.focal, shape, photos.sizes);

  const long aligned = Align(&m, &state.options, progress);
  if (state.cancelled) {
    ReleaseStitchPyramids(m);
    return StitchOutcome::kCancelled;
  }
  if (aligned == kStitchOutOfMemory) return StitchOutcome::kOutOfMemory;

  HGLOBAL image = nullptr;
  RECT crop = {};
  const long blended = Blend(&m, &state.options, &image, &crop, progress);
  if (state.cancelled) {
    ReleaseStitchPyramids(m);
    if (image != nullptr) GlobalFree(image);
    return StitchOutcome::kCancelled;
  }
  if (blended == kStitchOutOfMemory) {
    if (image != nullptr) GlobalFree(image);
    return StitchOutcome::kOutOfMemory;
  }
  if (image == nullptr) {
    ReleaseStitchPyramids(m);
    return StitchOutcome::kFailed;
  }
  *panorama = image;
  *rect = crop;
  return StitchOutcome::kStitched;
}

}  // namespace vmd
