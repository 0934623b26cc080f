// Writes small skin files for the skin reader's fuzzer to start from: one
// and two panels, controls with and without images, into the folder given.
#include <cstdio>
#include <string>

#include "palm_container.h"
#include "skin_file.h"

namespace {

vmd::SkinImage Image(int width, int height, uint8_t shade) {
  vmd::SkinImage image;
  image.width = width;
  image.height = height;
  image.stride = ((width * 24 + 31) / 32) * 4;
  image.pixels.assign(size_t(image.stride) * height, shade);
  return image;
}

void AddGroup(vmd::PalmContainer* c, int id, vmd::SkinRect rect, const vmd::SkinImage* images) {
  for (int state = 0; state < vmd::kSkinStates; ++state) {
    vmd::SkinRecordEntry entry;
    entry.id = id;
    entry.state = state;
    entry.name = "seed " + std::to_string(id);
    entry.rect = rect;
    entry.image = images && !images[state].Empty() ? &images[state] : nullptr;
    vmd::AppendSkinRecord(entry, c);
  }
}

bool Write(const std::string& path, const vmd::PalmContainer& c) {
  std::vector<uint8_t> bytes;
  return vmd::WritePalmContainer(c, &bytes) && vmd::ReplaceFileContents(path, bytes);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: skin_fuzz_seeds FOLDER\n");
    return 2;
  }
  const std::string folder = argv[1];
  const vmd::SkinImage panel[3] = {Image(8, 6, 200), {}, {}};
  const vmd::SkinImage faces[3] = {Image(3, 2, 10), Image(3, 2, 20), Image(3, 2, 30)};
  const vmd::SkinImage firstOnly[3] = {Image(5, 1, 40), {}, {}};

  vmd::PalmContainer one;
  one.pageStarts.push_back(0);
  AddGroup(&one, 0, {0, 0, 7, 5}, panel);
  AddGroup(&one, 12, {1, 1, 3, 2}, faces);
  AddGroup(&one, 13, {4, 4, 6, 5}, nullptr);

  vmd::PalmContainer two = one;
  two.pageStarts.push_back(static_cast<uint32_t>(two.records.size()));
  AddGroup(&two, 0, {0, 0, 7, 5}, panel);
  AddGroup(&two, 996, {0, 0, 4, 0}, firstOnly);

  vmd::PalmContainer bare;
  bare.pageStarts.push_back(0);
  AddGroup(&bare, 0, {0, 0, 7, 5}, panel);

  const bool ok = Write(folder + "/one-panel.skin", one) &&
                  Write(folder + "/two-panels.skin", two) &&
                  Write(folder + "/background-only.skin", bare);
  return ok ? 0 : 1;
}
