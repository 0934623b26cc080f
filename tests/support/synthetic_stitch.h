#ifndef TESTS_SUPPORT_SYNTHETIC_STITCH_H
#define TESTS_SUPPORT_SYNTHETIC_STITCH_H

/// A StitchMatrix over a SyntheticSet, ready for Align and Blend: one pyramid
/// per photo (built with BuildPyramid, released on destruction), the element
/// array cleared, the layout and grid of the set, and the options the program
/// starts from. Header-only, so it binds to whichever seamcore the test links
/// (the shared library or the internal static one).

#include <cstring>
#include <vector>

#include "seamcore.h"
#include "synthetic_scene.h"

namespace testing_support {

class SyntheticStitch {
 public:
  /// The set keeps owning the photos; it must outlive this object.
  explicit SyntheticStitch(const SyntheticSet& set) {
    const SyntheticSetup& scene = set.Setup();
    const int cells = scene.columns * scene.rows;
    elements_.resize(cells);
    std::memset(static_cast<void*>(elements_.data()), 0, sizeof(StitchElement) * cells);
    pyramids_.resize(cells);
    std::memset(static_cast<void*>(pyramids_.data()), 0, sizeof(StitchPyramid) * cells);
    built_.assign(cells, false);
    for (int r = 0; r < scene.rows; ++r)
      for (int c = 0; c < scene.columns; ++c) {
        const int i = c + r * scene.columns;
        if (!set.HasPhoto(c, r)) continue;
        const long result = BuildPyramid(set.Photo(c, r), &pyramids_[i]);
        if (result != kStitchOk && buildResult == kStitchOk) buildResult = result;
        if (result != kStitchOk) continue;
        built_[i] = true;
        elements_[i].pyramid = &pyramids_[i];
      }
    matrix.elements = elements_.data();
    matrix.layout = scene.layout;
    matrix.columns = scene.columns;
    matrix.rows = scene.rows;
    options.reserved = 1;
    options.detail = 1;
    options.exposureBalance = 1;
    options.blendPercent = 5;
    options.lensMode = kLensAutomatic;
    options.focal = 0;
    options.lensReserved = 0;
  }
  ~SyntheticStitch() {
    for (size_t i = 0; i < pyramids_.size(); ++i)
      if (built_[i]) ReleasePyramid(&pyramids_[i]);
  }
  SyntheticStitch(const SyntheticStitch&) = delete;
  SyntheticStitch& operator=(const SyntheticStitch&) = delete;

  StitchElement& Element(int column, int row) { return elements_[column + row * matrix.columns]; }

  StitchMatrix matrix{};
  StitchOptions options{};
  long buildResult = kStitchOk;  ///< the first BuildPyramid failure, if any

 private:
  std::vector<StitchElement> elements_;
  std::vector<StitchPyramid> pyramids_;
  std::vector<bool> built_;
};

}  // namespace testing_support

#endif  // TESTS_SUPPORT_SYNTHETIC_STITCH_H
