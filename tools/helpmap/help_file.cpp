#include "help_file.h"

#include <cstring>

namespace helpfile {

namespace {

constexpr uint32_t kContainerMagic = 0x00035F3F;
constexpr size_t kContainerHeaderSize = 16;
constexpr size_t kPartHeaderSize = 9;
constexpr uint16_t kTreeMagic = 0x293B;
constexpr size_t kTreeHeaderSize = 38;
constexpr uint16_t kSystemMagic = 0x036C;
constexpr size_t kTopicBlockSize = 4096;
constexpr size_t kTopicBlockHeaderSize = 12;
constexpr size_t kTopicLinkHeaderSize = 21;
constexpr uint8_t kRecordTopicHeader = 2;
constexpr uint8_t kRecordDisplay = 0x20;
constexpr uint8_t kRecordTable = 0x23;
constexpr uint32_t kNoLink = 0xFFFFFFFF;

uint16_t Get16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }

uint32_t Get32(const uint8_t* p) {
  return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
         (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24);
}

void Put32(uint8_t* p, uint32_t v) {
  for (int i = 0; i < 4; ++i) p[i] = static_cast<uint8_t>(v >> (8 * i));
}

void Append16(Bytes* out, uint16_t v) {
  out->push_back(static_cast<uint8_t>(v));
  out->push_back(static_cast<uint8_t>(v >> 8));
}

void Append32(Bytes* out, uint32_t v) {
  for (int i = 0; i < 4; ++i) out->push_back(static_cast<uint8_t>(v >> (8 * i)));
}

/// True when [at, at + size) lies inside a buffer of `total` bytes.
bool Fits(size_t at, size_t size, size_t total) { return at <= total && size <= total - at; }

/// The part whose 9-byte header starts at `at`, checked against the file.
HelpResult PartAt(const Bytes& file, size_t at, HelpPart* part) {
  if (!Fits(at, kPartHeaderSize, file.size())) return kHelpDamaged;
  uint32_t reserved = Get32(&file[at]);
  uint32_t used = Get32(&file[at + 4]);
  if (reserved < used || reserved - used < kPartHeaderSize) return kHelpDamaged;
  if (!Fits(at + kPartHeaderSize, used, file.size())) return kHelpDamaged;
  part->headerAt = at;
  part->dataAt = at + kPartHeaderSize;
  part->dataSize = used;
  return kHelpOk;
}

/// Calls `visit(entry, end)` for each leaf entry of the B-tree in `data`;
/// `visit` returns the entry's size (0 when it does not fit) and sets `stop`
/// to end the walk early.
template <typename Visit>
HelpResult WalkTree(const uint8_t* data, size_t size, Visit visit) {
  if (size < kTreeHeaderSize || Get16(data) != kTreeMagic) return kHelpDamaged;
  size_t pageSize = Get16(data + 4);
  uint32_t page = Get16(data + 26);
  size_t levels = Get16(data + 32);
  size_t totalPages = Get16(data + 30);
  const uint8_t* pages = data + kTreeHeaderSize;
  size_t pagesSize = size - kTreeHeaderSize;
  if (pageSize < 8 || levels == 0) return kHelpDamaged;
  auto pageStart = [&](uint32_t n) -> const uint8_t* {
    if (n >= totalPages || !Fits(n * pageSize, pageSize, pagesSize)) return nullptr;
    return pages + n * pageSize;
  };
  // Down the first child of each index level to the first leaf.
  for (size_t level = 1; level < levels; ++level) {
    const uint8_t* p = pageStart(page);
    if (p == nullptr) return kHelpDamaged;
    page = Get16(p + 4);
  }
  // Along the chain of leaves; a chain longer than the tree is a loop.
  for (size_t visited = 0; page != 0xFFFF; ++visited) {
    const uint8_t* p = pageStart(page);
    if (p == nullptr || visited >= totalPages) return kHelpDamaged;
    int entries = static_cast<int16_t>(Get16(p + 2));
    const uint8_t* entry = p + 8;
    const uint8_t* end = p + pageSize;
    for (int i = 0; i < entries; ++i) {
      bool stop = false;
      size_t used = visit(entry, end, &stop);
      if (used == 0) return kHelpDamaged;
      if (stop) return kHelpOk;
      entry += used;
    }
    page = Get16(p + 6);
  }
  return kHelpOk;
}

/// A compressed unsigned short of topic link data (one byte when its lowest
/// bit is clear, else two; the value is halved). False past `end`.
bool ReadPackedShort(const uint8_t** p, const uint8_t* end, uint32_t* value) {
  if (*p >= end) return false;
  if ((**p & 1) == 0) {
    *value = **p / 2u;
    *p += 1;
    return true;
  }
  if (end - *p < 2) return false;
  *value = Get16(*p) / 2u;
  *p += 2;
  return true;
}

/// Skips a compressed long (two bytes when its lowest bit is clear, else four).
bool SkipPackedLong(const uint8_t** p, const uint8_t* end) {
  if (*p >= end) return false;
  size_t size = (**p & 1) == 0 ? 2 : 4;
  if (static_cast<size_t>(end - *p) < size) return false;
  *p += size;
  return true;
}

/// The topic blocks' data without their headers, in block order, as the
/// viewer lays them out: block i's data starts at i x (4096 - 12).
HelpResult TopicData(const Bytes& file, Bytes* linear) {
  HelpPart system;
  HelpResult found = FindPart(file, "|SYSTEM", &system);
  if (found != kHelpOk) return found;
  if (system.dataSize < 12) return kHelpDamaged;
  const uint8_t* s = &file[system.dataAt];
  if (Get16(s) != kSystemMagic) return kHelpDamaged;
  uint16_t minor = Get16(s + 2);
  uint16_t flags = Get16(s + 10);
  if (minor <= 16 || flags != 0) return kHelpUnsupported;
  HelpPart topic;
  found = FindPart(file, "|TOPIC", &topic);
  if (found != kHelpOk) return found;
  linear->clear();
  for (size_t at = 0; at < topic.dataSize; at += kTopicBlockSize) {
    size_t block = topic.dataSize - at < kTopicBlockSize ? topic.dataSize - at : kTopicBlockSize;
    if (block < kTopicBlockHeaderSize) return kHelpDamaged;
    const uint8_t* b = &file[topic.dataAt + at];
    linear->insert(linear->end(), b + kTopicBlockHeaderSize, b + block);
  }
  if (topic.dataSize < kTopicBlockHeaderSize) return kHelpDamaged;
  return kHelpOk;
}

}  // namespace

HelpResult FindPart(const Bytes& file, const char* name, HelpPart* part) {
  if (file.size() < kContainerHeaderSize || Get32(file.data()) != kContainerMagic)
    return kHelpNotHelpFile;
  // The header states the whole file's size: a shorter file was cut, even
  // when what is left still holds the part asked for.
  if (Get32(&file[12]) > file.size()) return kHelpDamaged;
  HelpPart directory;
  HelpResult read = PartAt(file, Get32(&file[4]), &directory);
  if (read != kHelpOk) return read;
  size_t nameLength = std::strlen(name);
  size_t slot = 0;
  bool found = false;
  read = WalkTree(&file[directory.dataAt], directory.dataSize,
                  [&](const uint8_t* entry, const uint8_t* end, bool* stop) -> size_t {
                    const void* zero = std::memchr(entry, 0, end - entry);
                    if (zero == nullptr) return 0;
                    size_t length = static_cast<const uint8_t*>(zero) - entry;
                    if (end - entry < static_cast<ptrdiff_t>(length + 5)) return 0;
                    if (length == nameLength && std::memcmp(entry, name, length) == 0) {
                      slot = (entry + length + 1) - file.data();
                      found = true;
                      *stop = true;
                    }
                    return length + 5;
                  });
  if (read != kHelpOk) return read;
  if (!found) return kHelpNoPart;
  read = PartAt(file, Get32(&file[slot]), part);
  if (read != kHelpOk) return read;
  part->directorySlotAt = slot;
  return kHelpOk;
}

uint32_t ContextHash(const std::string& name) {
  uint32_t hash = 0;
  for (char c : name) {
    uint32_t x = 0;
    if (c >= 'A' && c <= 'Z') x = c - 'A' + 17;
    if (c >= 'a' && c <= 'z') x = c - 'a' + 17;
    if (c >= '1' && c <= '9') x = c - '0';
    if (c == '0') x = 10;
    if (c == '.') x = 12;
    if (c == '_') x = 13;
    if (x != 0) hash = hash * 43 + x;
  }
  return hash;
}

HelpResult LookUpContext(const Bytes& file, uint32_t hash, uint32_t* topicOffset) {
  HelpPart context;
  HelpResult read = FindPart(file, "|CONTEXT", &context);
  if (read != kHelpOk) return read;
  bool found = false;
  read = WalkTree(&file[context.dataAt], context.dataSize,
                  [&](const uint8_t* entry, const uint8_t* end, bool* stop) -> size_t {
                    if (end - entry < 8) return 0;
                    if (Get32(entry) == hash) {
                      *topicOffset = Get32(entry + 4);
                      found = true;
                      *stop = true;
                    }
                    return 8;
                  });
  if (read != kHelpOk) return read;
  return found ? kHelpOk : kHelpNoContext;
}

HelpResult ReadContextMap(const Bytes& file, std::vector<ContextMapEntry>* entries) {
  HelpPart map;
  HelpResult read = FindPart(file, "|CTXOMAP", &map);
  if (read != kHelpOk) return read;
  if (map.dataSize < 2) return kHelpDamaged;
  size_t count = Get16(&file[map.dataAt]);
  if ((map.dataSize - 2) / 8 < count) return kHelpDamaged;
  entries->clear();
  for (size_t i = 0; i < count; ++i) {
    const uint8_t* e = &file[map.dataAt + 2 + 8 * i];
    entries->push_back({static_cast<int32_t>(Get32(e)), Get32(e + 4)});
  }
  return kHelpOk;
}

HelpResult WriteContextMap(Bytes* file, const std::vector<ContextMapEntry>& entries) {
  if (entries.size() > 0xFFFF) return kHelpTooLarge;
  HelpPart old;
  HelpResult read = FindPart(*file, "|CTXOMAP", &old);
  if (read != kHelpOk) return read;
  uint32_t fileSize = Get32(&(*file)[12]);
  if (fileSize != file->size()) return kHelpDamaged;
  uint32_t used = static_cast<uint32_t>(2 + 8 * entries.size());
  Bytes part;
  Append32(&part, used + kPartHeaderSize);
  Append32(&part, used);
  part.push_back((*file)[old.headerAt + 8]);  // the part's flags stay as they were
  Append16(&part, static_cast<uint16_t>(entries.size()));
  for (const ContextMapEntry& e : entries) {
    Append32(&part, static_cast<uint32_t>(e.number));
    Append32(&part, e.topicOffset);
  }
  if (file->size() > 0xFFFFFFFFu - part.size()) return kHelpTooLarge;
  uint32_t newAt = static_cast<uint32_t>(file->size());
  file->insert(file->end(), part.begin(), part.end());
  Put32(&(*file)[old.directorySlotAt], newAt);
  Put32(&(*file)[12], static_cast<uint32_t>(file->size()));
  return kHelpOk;
}

HelpResult ReadTopicTitles(const Bytes& file, std::vector<TopicTitle>* topics) {
  Bytes data;
  HelpResult read = TopicData(file, &data);
  if (read != kHelpOk) return read;
  topics->clear();
  const size_t perBlock = kTopicBlockSize - kTopicBlockHeaderSize;
  HelpPart topic;
  FindPart(file, "|TOPIC", &topic);                // found by TopicData
  uint32_t link = Get32(&file[topic.dataAt + 4]);  // the first block's first topic link
  uint32_t lastBlock = kNoLink;
  uint32_t characters = 0;  // displayable characters before this link in its block
  // Each link is at least a header long, so a longer chain is a loop.
  for (size_t steps = 0; link != kNoLink; ++steps) {
    if (steps > data.size() / kTopicLinkHeaderSize || link < kTopicBlockHeaderSize)
      return kHelpDamaged;
    uint32_t block = (link - kTopicBlockHeaderSize) >> 14;
    size_t at = block * perBlock + ((link - kTopicBlockHeaderSize) & 0x3FFF);
    if (!Fits(at, kTopicLinkHeaderSize, data.size())) return kHelpDamaged;
    const uint8_t* h = &data[at];
    uint32_t size = Get32(h);
    uint32_t data1 = Get32(h + 16);
    uint8_t type = h[20];
    if (data1 < kTopicLinkHeaderSize || size < data1 || !Fits(at, size, data.size()))
      return kHelpDamaged;
    if (block != lastBlock) {
      characters = 0;
      lastBlock = block;
    }
    const uint8_t* end = h + size;
    if (type == kRecordTopicHeader) {
      const uint8_t* title = h + data1;
      const void* zero = std::memchr(title, 0, end - title);
      const uint8_t* titleEnd = zero != nullptr ? static_cast<const uint8_t*>(zero) : end;
      topics->push_back({block * 0x8000 + characters, std::string(title, titleEnd)});
    } else if (type == kRecordDisplay || type == kRecordTable) {
      const uint8_t* p = h + kTopicLinkHeaderSize;
      uint32_t length = 0;
      if (!SkipPackedLong(&p, end) || !ReadPackedShort(&p, end, &length)) return kHelpDamaged;
      characters += length;
    }
    link = Get32(h + 12);
  }
  return kHelpOk;
}

const TopicTitle* TopicAtOffset(const std::vector<TopicTitle>& topics, uint32_t offset) {
  const TopicTitle* found = nullptr;
  for (const TopicTitle& t : topics)
    if (t.topicOffset <= offset && (found == nullptr || found->topicOffset < t.topicOffset))
      found = &t;
  return found;
}

const char* HelpResultText(HelpResult result) {
  switch (result) {
    case kHelpOk:
      return "ok";
    case kHelpNotHelpFile:
      return "not a WinHelp file";
    case kHelpDamaged:
      return "damaged help file";
    case kHelpNoPart:
      return "the help file lacks a part";
    case kHelpUnsupported:
      return "compressed or pre-3.1 help file";
    case kHelpNoContext:
      return "no topic has that context name";
    case kHelpTooLarge:
      return "too many entries";
  }
  return "unknown result";
}

}  // namespace helpfile
