#include "progress.h"

namespace seam {

namespace {
// The one piece of state the engine keeps between calls. Set and read on the
// program's single UI thread, from inside the progress callback.
volatile int g_progressState = 0;
}  // namespace

bool CancelRequested() { return g_progressState != 0; }

bool ProgressReporter::Send(int percent) {
  if (percent > last_) percent = last_;
  if (percent > reported_) {
    reported_ = percent;
    if (callback_) callback_(percent);
  }
  return CancelRequested();
}

bool ProgressReporter::Report(double fraction) {
  if (fraction < 0) fraction = 0;
  if (fraction > 1) fraction = 1;
  return Send(first_ + static_cast<int>(fraction * (last_ - first_)));
}

bool ProgressReporter::Finish() { return Send(last_); }

}  // namespace seam

extern "C" SEAMCORE_API void SetProgressState(int state) { seam::g_progressState = state; }
