#ifndef APP_SHELL_SINGLE_INSTANCE_H
#define APP_SHELL_SINGLE_INSTANCE_H

#include <string>

namespace vmd {

/// The single-instance check. True: this is the only copy, go on (the
/// semaphore stays open for the run). False: another copy runs; it has been
/// brought to the front and handed `pendingAcquireSource` (stored as
/// StiDeviceNAME, then command 40051), and this copy must end.
bool CheckSingleInstance(const std::string& pendingAcquireSource);

}  // namespace vmd

#endif  // APP_SHELL_SINGLE_INSTANCE_H
