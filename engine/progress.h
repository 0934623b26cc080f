#ifndef ENGINE_PROGRESS_H
#define ENGINE_PROGRESS_H

#include "seamcore.h"

namespace seam {

/// True when the program has asked the running stitch to stop.
bool CancelRequested();

/// Reports whole percentages that never decrease within one stitch, and reads
/// the cancellation state right after each report.
class ProgressReporter {
 public:
  ProgressReporter(StitchProgressProc callback, int first, int last)
      : callback_(callback), first_(first), last_(last), reported_(first - 1) {}

  /// Reports first + fraction x (last - first), rounded down; a value at or
  /// below the last one reported is not sent again. Returns true when the
  /// stitch is to be cancelled.
  bool Report(double fraction);
  /// Reports a whole percentage (at most `last`) directly.
  bool Percent(int percent) { return Send(percent); }
  /// Reports `last` exactly (once). Returns true when cancelled.
  bool Finish();

 private:
  bool Send(int percent);

  StitchProgressProc callback_;
  int first_;
  int last_;
  int reported_;
};

}  // namespace seam

#endif  // ENGINE_PROGRESS_H
