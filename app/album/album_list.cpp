#include "album_list.h"

#include <cctype>
#include <cstdlib>
#include <map>

#include "path_text.h"

namespace vmd {

namespace {

std::string MakeEntry(const std::string& fileName, const std::string& title) {
  std::string entry = fileName + "=" + title;
  if (entry.size() >= kAlbumEntryBytes) entry.resize(kAlbumEntryBytes - 1);
  return entry;
}

}  // namespace

int AlbumSlotOfName(const std::string& valueName) {
  const std::string lower = LowerCase(valueName);
  size_t at = lower.rfind("album", lower.find('.'));
  const char* digits = at == std::string::npos ? "" : valueName.c_str() + at + 5;
  long n = std::strtol(digits, nullptr, 10);
  if (n < 0) n = 0;
  return n > kAlbumListMax - 1 ? kAlbumListMax - 1 : static_cast<int>(n);
}

void AlbumList::Place(const std::vector<AlbumListValue>& values) {
  std::map<int, std::string> slots;
  for (size_t i = 0; i < values.size() && i < static_cast<size_t>(kAlbumListMax); ++i)
    slots[AlbumSlotOfName(values[i].first)] = MakeEntry(values[i].first, values[i].second);
  entries_.clear();
  for (const auto& slot : slots) entries_.push_back(slot.second);
}

std::vector<AlbumListValue> AlbumList::Values() const {
  std::vector<AlbumListValue> values;
  for (const std::string& entry : entries_) {
    size_t equals = entry.find('=');
    if (equals == std::string::npos) {
      values.emplace_back(entry, std::string());
    } else {
      values.emplace_back(entry.substr(0, equals), entry.substr(equals + 1));
    }
  }
  return values;
}

std::string AlbumList::FileName(int index) const {
  if (index < 0 || index >= Count()) return std::string();
  return entries_[index].substr(0, entries_[index].find('='));
}

std::string AlbumList::Title(int index) const {
  if (index < 0 || index >= Count()) return std::string();
  size_t equals = entries_[index].find('=');
  return equals == std::string::npos ? std::string() : entries_[index].substr(equals + 1);
}

bool AlbumList::SetTitle(int index, const std::string& title) {
  if (index < 0 || index >= Count()) return false;
  entries_[index] = MakeEntry(FileName(index), title);
  return true;
}

int AlbumList::Find(const std::string& fileName) const {
  for (int i = 0; i < Count(); ++i)
    if (SameTextIgnoringCase(FileName(i), fileName)) return i;
  return -1;
}

int AlbumList::NextNumber() const {
  long largest = 0;
  for (int i = 0; i < Count(); ++i) {
    const std::string name = FileName(i);
    size_t dot = name.find('.');
    if (dot == std::string::npos) dot = name.size();
    size_t first = dot;
    while (first > 0 && std::isdigit(static_cast<unsigned char>(name[first - 1]))) --first;
    if (first == dot) continue;
    long n = std::strtol(name.substr(first, dot - first).c_str(), nullptr, 10);
    if (n > largest) largest = n;
  }
  return static_cast<int>(largest) + 1;
}

int AlbumList::Append(const std::string& title,
                      const std::function<bool(const std::string& fileName)>& fileTaken) {
  if (Count() >= kAlbumListMax) return -1;
  int n = NextNumber();
  while (fileTaken && fileTaken("album" + std::to_string(n) + ".abm")) ++n;
  entries_.push_back(MakeEntry("album" + std::to_string(n) + ".abm", title + std::to_string(n)));
  return Count() - 1;
}

bool AlbumList::Remove(int index) {
  if (index < 0 || index >= Count()) return false;
  entries_.erase(entries_.begin() + index);
  return true;
}

AlbumTitleCheck CheckNewAlbumTitle(const AlbumList& list, const std::string& typed, std::string* title) {
  const size_t first = typed.find_first_not_of(' ');
  title->clear();
  if (first == std::string::npos) return AlbumTitleCheck::kEmpty;
  *title = typed.substr(first, typed.find_last_not_of(' ') - first + 1);
  if (title->size() > kAlbumTitleMax) title->resize(kAlbumTitleMax);
  for (int i = 0; i < list.Count(); ++i)
    if (SameTextIgnoringCase(list.Title(i), *title)) return AlbumTitleCheck::kTaken;
  return AlbumTitleCheck::kFine;
}

}  // namespace vmd
