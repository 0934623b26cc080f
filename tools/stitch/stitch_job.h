#ifndef TOOLS_STITCH_STITCH_JOB_H
#define TOOLS_STITCH_STITCH_JOB_H

/// A command-line stitch made ready for the engine: the photos read through
/// PIXIO and checked as the program checks them, the matrix shaped, the
/// pyramids built and the options set as the program sets them.

#include <memory>
#include <string>
#include <vector>

#include "seamcore.h"
#include "stitch_arguments.h"

namespace stitch {

/// Everything a stitch allocates, freed in the right order on every path.
/// `matrix` points into `elements`, so a job stays where it was made.
struct Job {
  std::vector<HGLOBAL> photos;
  std::vector<std::unique_ptr<StitchPyramid>> pyramids;
  std::vector<StitchElement> elements;
  /// Element i holds photo photoOfElement[i] of `photos`, or none (-1).
  std::vector<int> photoOfElement;
  StitchMatrix matrix{};
  StitchOptions options{};
  HGLOBAL panorama = nullptr;

  Job() = default;
  Job(const Job&) = delete;
  Job& operator=(const Job&) = delete;
  ~Job();
  /// Frees the photos and their pyramids once the panorama is blended: the
  /// crop and the save need room for copies of the panorama.
  void ReleaseSources();
};

/// Fills `job` for `args` up to the call of Align. False with the message to
/// show: a photo that cannot be read or used, a refused count or grid, or
/// "Not enough memory.".
bool PrepareJob(const Arguments& args, Job* job, std::string* error);

}  // namespace stitch

#endif  // TOOLS_STITCH_STITCH_JOB_H
