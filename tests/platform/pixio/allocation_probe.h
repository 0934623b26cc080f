#ifndef TESTS_PLATFORM_PIXIO_ALLOCATION_PROBE_H
#define TESTS_PLATFORM_PIXIO_ALLOCATION_PROBE_H

#include <cstddef>

namespace pixio_test {

/// The test program replaces the global operator new to note the largest
/// single request since the last reset, so a test can tell a decoder that
/// refused a file from one that first took the memory the file claimed.
void ResetLargestAllocation();
size_t LargestAllocation();

}  // namespace pixio_test

#endif  // TESTS_PLATFORM_PIXIO_ALLOCATION_PROBE_H
