#ifndef ENGINE_TWO_THREADS_H
#define ENGINE_TWO_THREADS_H

#include <thread>

namespace seam {

/// Splits the items [begin, end) in two halves: the upper one goes to a second
/// thread, work(middle, end, false), while the calling thread does the lower
/// one, work(begin, middle, true); returns when both are done. Without a
/// second thread the caller does both halves, in that order. The work must
/// not throw, and the halves must write to different places: then the result
/// is the same however the threads run.
template <typename Work>
void SplitAcrossTwoThreads(int begin, int end, Work work) {
  const int middle = begin + (end - begin) / 2;
  std::thread helper;
  try {
    helper = std::thread([&work, middle, end]() { work(middle, end, false); });
  } catch (...) {
    work(begin, middle, true);
    work(middle, end, false);
    return;
  }
  work(begin, middle, true);
  helper.join();
}

}  // namespace seam

#endif  // ENGINE_TWO_THREADS_H
