#ifndef ENGINE_TWO_THREADS_H
#define ENGINE_TWO_THREADS_H

#include <thread>

namespace seam {

/// Pictures of at least this many pixels are worth a second thread: below it,
/// what a thread costs (its stack, start and join) outweighs what it saves.
constexpr long long kSecondThreadPixels = 1 << 20;

/// Splits the items [begin, end) in two halves: the upper one goes to a second
/// thread, work(middle, end, false), while the calling thread does the lower
/// one, work(begin, middle, true); returns when both are done. Without a
/// second thread (none to be had, or `worthIt` false) the caller does both
/// halves, in that order. The work must not throw, and the halves must write
/// to different places: then the result is the same however the threads run.
template <typename Work>
void SplitAcrossTwoThreads(bool worthIt, int begin, int end, Work work) {
  const int middle = begin + (end - begin) / 2;
  if (!worthIt) {
    work(begin, middle, true);
    work(middle, end, false);
    return;
  }
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
