#ifndef TOOLS_HELPMAP_HELP_FILE_H
#define TOOLS_HELPMAP_HELP_FILE_H

/// Reading and patching a WinHelp (.hlp) file held in memory: the container's
/// parts ("|SYSTEM", "|TOPIC", "|CONTEXT", "|CTXOMAP", ...), the context-name
/// index, the map of context numbers, and the titles of the topics.
///
/// The help compiler we use names its topics but leaves the map of context
/// numbers empty; the program asks for topics by number (HELP_CONTEXT), so
/// the build writes that map afterwards with WriteContextMap.
///
/// Every reader checks its bounds and fails with a result code; no input
/// makes them read outside the buffer.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace helpfile {

enum HelpResult : int {
  kHelpOk = 0,
  kHelpNotHelpFile = 1,  ///< no WinHelp container magic
  kHelpDamaged = 2,      ///< a length, offset or tree points outside the file
  kHelpNoPart = 3,       ///< the container has no part of that name
  kHelpUnsupported = 4,  ///< compressed topics, or a help format older than 3.1
  kHelpNoContext = 5,    ///< no topic carries that context name
  kHelpTooLarge = 6,     ///< more map entries than the 16-bit count can hold
};

/// A part of the container: where its 9-byte header and its data lie in the
/// file, and where the directory keeps the part's offset (for moving it).
struct HelpPart {
  size_t headerAt = 0;
  size_t dataAt = 0;
  size_t dataSize = 0;
  size_t directorySlotAt = 0;
};

/// One entry of "|CTXOMAP": a context number and the topic offset it opens.
struct ContextMapEntry {
  int32_t number = 0;
  uint32_t topicOffset = 0;
};

/// A topic as the viewer lists it: its offset (block x 0x8000 + characters
/// before it in the block) and the title of its header record.
struct TopicTitle {
  uint32_t topicOffset = 0;
  std::string title;
};

using Bytes = std::vector<uint8_t>;

/// Finds the part called `name` (for example "|CTXOMAP").
HelpResult FindPart(const Bytes& file, const char* name, HelpPart* part);

/// The hash under which "|CONTEXT" files a context name (the name given to a
/// topic by the help source). Letters count without case; characters other
/// than letters, digits, '.' and '_' do not count.
uint32_t ContextHash(const std::string& name);

/// The topic offset filed under a context name's hash in "|CONTEXT".
HelpResult LookUpContext(const Bytes& file, uint32_t hash, uint32_t* topicOffset);

/// The entries of "|CTXOMAP" in file order.
HelpResult ReadContextMap(const Bytes& file, std::vector<ContextMapEntry>* entries);

/// Replaces "|CTXOMAP" with `entries`: the new part is appended to the file,
/// the directory points at it and the file size in the header grows. The
/// rest of the file is unchanged. On failure the buffer is unchanged.
HelpResult WriteContextMap(Bytes* file, const std::vector<ContextMapEntry>& entries);

/// The topics of "|TOPIC" in file order. Needs uncompressed topic blocks of a
/// 3.1-or-later help file.
HelpResult ReadTopicTitles(const Bytes& file, std::vector<TopicTitle>* topics);

/// The topic the viewer shows for a topic offset: the last one (in offset
/// order) whose offset is not above it; null when there is none.
const TopicTitle* TopicAtOffset(const std::vector<TopicTitle>& topics, uint32_t offset);

/// A readable reason for a result code.
const char* HelpResultText(HelpResult result);

}  // namespace helpfile

#endif  // TOOLS_HELPMAP_HELP_FILE_H
