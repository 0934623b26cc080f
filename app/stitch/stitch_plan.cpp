#include "stitch_plan.h"

#include <algorithm>

namespace vmd {

const char* StitchPlanText(int message) {
  switch (message) {
    case kPlanNeedTwo: return "Must include at least 2 photos.";
    case kPlanBadPlaces: return "Please place photos into proper space.";
    case kPlanNeedThree: return "Must include at least 3 photos.";
    case kPlanNeedSix: return "Must include at least 6 photos.";
    case kPlanLongAndNarrow:
      return "The photo's dimension must be between 1:2 and 2:1 (cannot be long and narrow or tall and thin).";
    case kPlanTooSmall: return "Please select a photo larger than 64x64 pixels.";
    case kPlanOutOfMemory: return "Not enough memory. Quit the program.";
    default: return "";
  }
}

int CheckPhotoSizes(const std::vector<PhotoSize>& sizes) {
  for (const PhotoSize& s : sizes) {
    const double w = s.width, h = s.height;
    if (h <= 0 || w <= 0 || w / h > 2.0 || h / w > 2.0) return kPlanLongAndNarrow;
    if (s.width <= 64 || s.height <= 64) return kPlanTooSmall;
  }
  return kPlanOk;
}

int CheckPhotoCount(int kind, int count) {
  switch (kind) {
    case PanoTile: return count < 3 ? kPlanNeedThree : kPlanOk;
    case Pano360: return count < 6 ? kPlanNeedSix : kPlanOk;
    default: return count < 2 ? kPlanNeedTwo : kPlanOk;
  }
}

MatrixShape ShapeMatrix(int kind, int count, const std::vector<GridPlace>& places) {
  MatrixShape s;
  if (kind != PanoTile) {
    s.columns = kind == PanoVertical ? 1 : count;
    s.rows = kind == PanoVertical ? count : 1;
    for (int i = 0; i < count; ++i) s.photoOfElement.push_back(kind == PanoVertical ? count - 1 - i : i);
    return s;
  }
  int minC = kTileGridSide, maxC = -1, minR = kTileGridSide, maxR = -1;
  for (const GridPlace& p : places) {
    minC = std::min(minC, p.first);
    maxC = std::max(maxC, p.first);
    minR = std::min(minR, p.second);
    maxR = std::max(maxR, p.second);
  }
  if (maxC < 0) return s;
  s.columns = maxC - minC + 1;
  s.rows = maxR - minR + 1;
  s.photoOfElement.assign(static_cast<size_t>(s.columns * s.rows), -1);
  for (size_t i = 0; i < places.size(); ++i) {
    const int c = places[i].first - minC;
    const int r = s.rows - 1 - (places[i].second - minR);  // grid rows count from the top
    s.photoOfElement[static_cast<size_t>(c + r * s.columns)] = static_cast<int>(i);
  }
  return s;
}

int ReferencePhoto(int kind, const MatrixShape& shape) {
  if (kind != PanoTile) return shape.photoOfElement.empty() ? -1 : 0;
  for (int photo : shape.photoOfElement) {
    if (photo >= 0) return photo;
  }
  return -1;
}

bool TileLayoutAccepted(const MatrixShape& shape) {
  if (shape.photoOfElement.empty()) return false;
  // Only whether a cell's pyramid pointer is null matters to the check.
  StitchPyramid placeholder{};
  std::vector<StitchElement> elements(shape.photoOfElement.size(), StitchElement{});
  for (size_t i = 0; i < elements.size(); ++i)
    elements[i].pyramid = shape.photoOfElement[i] >= 0 ? &placeholder : nullptr;
  StitchMatrix matrix{};
  matrix.elements = elements.data();
  matrix.layout = PanoTile;
  matrix.columns = shape.columns;
  matrix.rows = shape.rows;
  return VerifyMatrixLayout(&matrix) != 0;
}

double EngineFocal(int kind, int lensMode, double focal, const MatrixShape& shape,
                   const std::vector<PhotoSize>& sizes) {
  if (lensMode == kLensAutomatic) return focal;
  const int ref = ReferencePhoto(kind, shape);
  if (ref < 0 || ref >= static_cast<int>(sizes.size())) return focal;
  const PhotoSize& size = sizes[static_cast<size_t>(ref)];
  return FocalInPixels(focal, std::max(size.width, size.height));
}

}  // namespace vmd
