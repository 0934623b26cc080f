#ifndef APP_ACQUIRE_SOURCE_NAMES_H
#define APP_ACQUIRE_SOURCE_NAMES_H

/// Finding the TWAIN source that a still-image device (or a second copy of
/// the program) names: names are compared with all white space removed and
/// without regard to case, since devices spell their source's name loosely.

#include <cstddef>
#include <string>
#include <vector>

namespace vmd {

/// The most source names looked through for a requested name.
constexpr size_t kMostSourceNames = 1024;

/// The name with every blank, tab and line break removed and letters in
/// upper case.
std::string SourceNameKey(const std::string& name);

/// The index of the first name of `names` (of the first kMostSourceNames)
/// that matches `wanted`, or -1. An empty request matches nothing.
int FindSourceByName(const std::vector<std::string>& names, const std::string& wanted);

}  // namespace vmd

#endif  // APP_ACQUIRE_SOURCE_NAMES_H
