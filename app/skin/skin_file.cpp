#include "skin_file.h"

#include <cstring>

namespace vmd {

namespace {

constexpr size_t kDibHeaderSize = 40;

int32_t ReadI32(const uint8_t* bytes, size_t offset) {
  return static_cast<int32_t>(ReadU32(bytes, offset));
}

bool InWindowRange(int32_t value) { return value >= -32768 && value <= 32767; }

int StrideOf(int width) { return ((width * 24 + 31) / 32) * 4; }

bool ReadRecordImage(const PalmRecord& record, SkinImage* image, std::string* reason) {
  *image = SkinImage();
  if (record.data.empty()) return true;
  if (!DecodePackedDib(record.data, image)) {
    *reason = "an image is not a 24-bit bitmap of the size its header gives";
    return false;
  }
  if (image->width != ReadU16(record.fields, kSkinWidthField) ||
      image->height != ReadU16(record.fields, kSkinHeightField)) {
    *reason = "an image's size differs from its record";
    return false;
  }
  return true;
}

}  // namespace

const SkinControl* SkinPanel::Find(int id) const {
  for (const SkinControl& control : controls)
    if (control.id == id) return &control;
  return nullptr;
}

bool DecodePackedDib(const std::vector<uint8_t>& dib, SkinImage* image) {
  if (dib.size() < kDibHeaderSize) return false;
  const uint8_t* header = dib.data();
  const int32_t width = ReadI32(header, 4);
  const int32_t height = ReadI32(header, 8);
  if (ReadU32(header, 0) != kDibHeaderSize || ReadU16(header, 12) != 1 ||
      ReadU16(header, 14) != 24 || ReadU32(header, 16) != 0)
    return false;
  if (width <= 0 || height <= 0 || width > 16384 || height > 16384) return false;
  const int stride = StrideOf(width);
  const uint64_t bytes = uint64_t(stride) * uint64_t(height);
  if (dib.size() - kDibHeaderSize < bytes) return false;
  image->width = width;
  image->height = height;
  image->stride = stride;
  image->pixels.assign(dib.begin() + kDibHeaderSize, dib.begin() + kDibHeaderSize + bytes);
  return true;
}

std::vector<uint8_t> EncodePackedDib(const SkinImage& image) {
  std::vector<uint8_t> dib(kDibHeaderSize, 0);
  WriteU32(dib.data(), 0, kDibHeaderSize);
  WriteU32(dib.data(), 4, static_cast<uint32_t>(image.width));
  WriteU32(dib.data(), 8, static_cast<uint32_t>(image.height));
  WriteU16(dib.data(), 12, 1);
  WriteU16(dib.data(), 14, 24);
  const size_t bytes = size_t(StrideOf(image.width)) * size_t(image.height);
  WriteU32(dib.data(), 20, static_cast<uint32_t>(bytes));
  WriteU32(dib.data(), 24, 2835);  // 72 dots per inch
  WriteU32(dib.data(), 28, 2835);
  dib.insert(dib.end(), image.pixels.begin(), image.pixels.begin() + bytes);
  return dib;
}

bool ParseSkinFile(const uint8_t* bytes, size_t size, SkinFile* skin, std::string* reason) {
  skin->panels.clear();
  PalmContainer container;
  const PalmReadResult read = ReadPalmContainer(bytes, size, &container);
  if (read == PalmReadResult::kNotContainer) {
    *reason = "not a skin file (no \"PALM\" header)";
    return false;
  }
  if (read == PalmReadResult::kPartial) {
    *reason = "the file is cut short";
    return false;
  }
  if (container.pageStarts.empty()) {
    *reason = "the file has no panels";
    return false;
  }
  std::vector<SkinPanel> panels;
  for (size_t page = 0; page < container.pageStarts.size(); ++page) {
    size_t first = 0;
    size_t end = 0;
    PalmPageRange(container, page, &first, &end);
    if (end <= first || (end - first) % kSkinStates != 0) {
      *reason = "panel " + std::to_string(page) + " is not made of whole groups of three images";
      return false;
    }
    SkinPanel panel;
    for (size_t group = first; group < end; group += kSkinStates) {
      SkinControl control;
      const uint8_t* fields = container.records[group].fields;
      control.id = ReadI32(fields, kSkinIdField);
      char name[kSkinNameSize + 1] = {};
      std::memcpy(name, fields + kSkinNameField, kSkinNameSize);
      control.name = name;
      control.rect.left = ReadI32(fields, kSkinRectField);
      control.rect.top = ReadI32(fields, kSkinRectField + 4);
      control.rect.right = ReadI32(fields, kSkinRectField + 8);
      control.rect.bottom = ReadI32(fields, kSkinRectField + 12);
      for (int state = 0; state < kSkinStates; ++state) {
        const PalmRecord& record = container.records[group + state];
        if (ReadI32(record.fields, kSkinIdField) != control.id ||
            ReadI32(record.fields, kSkinStateField) != state) {
          *reason = "panel " + std::to_string(page) + " has a group out of order";
          return false;
        }
        if (!ReadRecordImage(record, &control.images[state], reason)) return false;
      }
      if (group == first) {
        if (control.id != 0 || control.images[0].Empty()) {
          *reason = "panel " + std::to_string(page) + " lacks its background";
          return false;
        }
        panel.width = control.images[0].width;
        panel.height = control.images[0].height;
        panel.background = std::move(control.images[0]);
        continue;
      }
      if (control.rect.right < control.rect.left || control.rect.bottom < control.rect.top) {
        *reason = "control " + std::to_string(control.id) + " has an empty place";
        return false;
      }
      // Window coordinates are 16-bit; beyond them a place's width would not
      // even fit an int.
      if (!InWindowRange(control.rect.left) || !InWindowRange(control.rect.top) ||
          !InWindowRange(control.rect.right) || !InWindowRange(control.rect.bottom)) {
        *reason = "control " + std::to_string(control.id) + " lies outside any window";
        return false;
      }
      panel.controls.push_back(std::move(control));
    }
    panels.push_back(std::move(panel));
  }
  skin->panels = std::move(panels);
  return true;
}

bool LoadSkinFile(const std::string& path, SkinFile* skin, std::string* reason) {
  std::vector<uint8_t> bytes;
  if (!ReadWholeFile(path, &bytes)) {
    *reason = "cannot be read";
    return false;
  }
  return ParseSkinFile(bytes.data(), bytes.size(), skin, reason);
}

void AppendSkinRecord(const SkinRecordEntry& entry, PalmContainer* container) {
  PalmRecord record;
  WriteU32(record.fields, kSkinIdField, static_cast<uint32_t>(entry.id));
  WriteU32(record.fields, kSkinStateField, static_cast<uint32_t>(entry.state));
  std::strncpy(reinterpret_cast<char*>(record.fields + kSkinNameField), entry.name.c_str(),
               kSkinNameSize - 1);
  WriteU32(record.fields, kSkinRectField, static_cast<uint32_t>(entry.rect.left));
  WriteU32(record.fields, kSkinRectField + 4, static_cast<uint32_t>(entry.rect.top));
  WriteU32(record.fields, kSkinRectField + 8, static_cast<uint32_t>(entry.rect.right));
  WriteU32(record.fields, kSkinRectField + 12, static_cast<uint32_t>(entry.rect.bottom));
  if (entry.image != nullptr && !entry.image->Empty()) {
    WriteU16(record.fields, kSkinBitsField, 24);
    WriteU16(record.fields, kSkinWidthField, static_cast<uint16_t>(entry.image->width));
    WriteU16(record.fields, kSkinHeightField, static_cast<uint16_t>(entry.image->height));
    WriteU16(record.fields, 276, static_cast<uint16_t>(entry.image->width));
    WriteU16(record.fields, 278, static_cast<uint16_t>(entry.image->height));
    record.data = EncodePackedDib(*entry.image);
  }
  container->records.push_back(std::move(record));
}

}  // namespace vmd
