#include "album_items.h"

#include <cstdio>
#include <cstring>

#include "path_text.h"

namespace vmd {

namespace {

AlbumMessageSink g_sink = nullptr;

}  // namespace

void SetAlbumMessageSink(AlbumMessageSink sink) { g_sink = sink; }

void ReportAlbumMessage(int stringId, const std::string& detail) {
  if (g_sink != nullptr) g_sink(stringId, detail);
}

AlbumItems::AlbumItems(AlbumItems&& other) noexcept
    : items_(std::move(other.items_)), sampleFolder_(std::move(other.sampleFolder_)),
      changed_(other.changed_) {
  other.items_.clear();
}

AlbumItems& AlbumItems::operator=(AlbumItems&& other) noexcept {
  if (this != &other) {
    Free();
    items_ = std::move(other.items_);
    other.items_.clear();
    sampleFolder_ = std::move(other.sampleFolder_);
    changed_ = other.changed_;
  }
  return *this;
}

void AlbumItems::Free() {
  for (HGLOBAL item : items_) GlobalFree(item);
  items_.clear();
  changed_ = false;
}

bool AlbumItems::Load(const std::string& path) {
  Free();
  std::vector<uint8_t> bytes;
  if (!ReadWholeFile(path, &bytes)) return false;
  return LoadBytes(bytes.data(), bytes.size());
}

bool AlbumItems::LoadBytes(const uint8_t* bytes, size_t size) {
  Free();
  PalmContainer album;
  const PalmReadResult read = ReadPalmContainer(bytes, size, &album);
  if (read == PalmReadResult::kNotContainer) return false;
  for (const PalmRecord& stored : album.records) {
    AlbumRecord record;
    std::memcpy(record.bytes, stored.fields, kAlbumRecordSize);
    HGLOBAL item = MakeAlbumItemFromRecord(record, stored.data.data(), stored.data.size());
    if (item == nullptr) return false;  // out of memory: the items so far stay
    items_.push_back(item);
  }
  return read == PalmReadResult::kComplete;
}

bool AlbumItems::FileBytes(std::vector<uint8_t>* out) const {
  out->clear();
  PalmContainer album;
  album.records.resize(items_.size());
  for (size_t i = 0; i < items_.size(); ++i) {
    void* locked = GlobalLock(items_[i]);
    const size_t size = GlobalSize(items_[i]);
    if (locked == nullptr || size < kAlbumRecordSize) {
      if (locked != nullptr) GlobalUnlock(items_[i]);
      return false;
    }
    const uint8_t* bytes = static_cast<const uint8_t*>(locked);
    std::memcpy(album.records[i].fields, bytes, kAlbumRecordSize);
    size_t length = ReadU32(bytes, kPalmDataLengthField);
    if (length > size - kAlbumRecordSize) length = size - kAlbumRecordSize;
    album.records[i].data.assign(bytes + kAlbumRecordSize, bytes + kAlbumRecordSize + length);
    GlobalUnlock(items_[i]);
  }
  return WritePalmContainer(album, out);
}

int AlbumItems::Save(const std::string& path) const {
  if (items_.empty()) {
    // Nothing is written; an existing file stays as it was, a missing one is
    // made empty, and a place where neither works is reported.
    FILE* file = std::fopen(path.c_str(), "ab");
    if (file == nullptr) {
      ReportAlbumMessage(kMsgSaveAlbumError, path);
      return 0;
    }
    std::fclose(file);
    return 0;
  }
  return SaveEvenWhenEmpty(path);
}

int AlbumItems::SaveEvenWhenEmpty(const std::string& path) const {
  std::vector<uint8_t> file;
  if (!FileBytes(&file) || !ReplaceFileContents(path, file)) {
    ReportAlbumMessage(kMsgSaveAlbumError, path);
    return 0;
  }
  return 1;
}

bool AlbumItems::Add(HGLOBAL item) {
  if (item == nullptr) return false;
  if (Full()) {
    GlobalFree(item);
    return false;
  }
  items_.push_back(item);
  changed_ = true;
  return true;
}

bool AlbumItems::Remove(int index) {
  if (index < 0 || index >= Count()) return false;
  GlobalFree(items_[index]);
  items_.erase(items_.begin() + index);
  changed_ = true;
  return true;
}

bool AlbumItems::Move(int from, int to) {
  if (from < 0 || from >= Count() || to < 0 || to >= Count()) return false;
  HGLOBAL item = items_[from];
  items_.erase(items_.begin() + from);
  items_.insert(items_.begin() + to, item);
  changed_ = true;
  return true;
}

HGLOBAL AlbumItems::Item(int index) const {
  return index >= 0 && index < Count() ? items_[index] : nullptr;
}

bool AlbumItems::Record(int index, AlbumRecord* record) const {
  return ReadItemRecord(Item(index), record);
}

std::string AlbumItems::ItemPath(int index) const {
  AlbumRecord record;
  if (!Record(index, &record)) return std::string();
  return record.IsRelative() ? JoinPath(sampleFolder_, record.Path()) : record.Path();
}

std::string AlbumItems::ItemStoredPath(int index) const {
  AlbumRecord record;
  return Record(index, &record) ? LowerCase(record.Path()) : std::string();
}

int AlbumItems::Find(const std::string& path) const {
  for (int i = 0; i < Count(); ++i)
    if (SameTextIgnoringCase(ItemPath(i), path)) return i;
  return -1;
}

namespace {

struct AlbumPair {
  AlbumItems current;
  AlbumItems setAside;
  bool secondOpen = false;
};

AlbumPair& Albums() {
  static AlbumPair albums;
  return albums;
}

}  // namespace

AlbumItems& CurrentAlbumItems() { return Albums().current; }
bool LoadAlbum(const std::string& path) { return CurrentAlbumItems().Load(path); }
int SaveAlbum(const std::string& path) { return CurrentAlbumItems().Save(path); }

bool OpenSecondAlbum(const std::string& path) {
  AlbumPair& albums = Albums();
  if (albums.secondOpen) CloseSecondAlbum();
  albums.setAside = std::move(albums.current);
  albums.secondOpen = true;
  AlbumItems second;
  second.SetSampleFolder(albums.setAside.SampleFolder());
  bool loaded = second.Load(path);
  albums.current = std::move(second);
  return loaded;
}

void CloseSecondAlbum() {
  AlbumPair& albums = Albums();
  if (!albums.secondOpen) return;
  albums.current = std::move(albums.setAside);
  albums.secondOpen = false;
}

bool SecondAlbumOpen() { return Albums().secondOpen; }
bool AddAlbumItem(HGLOBAL item) { return CurrentAlbumItems().Add(item); }
bool RemoveAlbumItem(int index) { return CurrentAlbumItems().Remove(index); }
bool MoveAlbumItem(int from, int to) { return CurrentAlbumItems().Move(from, to); }
void FreeAlbum() { CurrentAlbumItems().Free(); }
std::string AlbumItemPath(int index) { return CurrentAlbumItems().ItemPath(index); }
std::string AlbumItemStoredPath(int index) { return CurrentAlbumItems().ItemStoredPath(index); }
int FindAlbumItem(const std::string& path) { return CurrentAlbumItems().Find(path); }

}  // namespace vmd
