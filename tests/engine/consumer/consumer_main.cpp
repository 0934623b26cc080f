// A third-party caller of the engine: it includes the public header alone and
// links the library alone, then fills a matrix and builds and frees pyramids.
#include <seamcore.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

HGLOBAL MakePhoto(int width, int height) {
  const int stride = ((width * 24 + 31) / 32) * 4;
  HGLOBAL h = GlobalAlloc(GMEM_MOVEABLE, 40 + static_cast<size_t>(stride) * height);
  auto* header = static_cast<BITMAPINFOHEADER*>(GlobalLock(h));
  std::memset(header, 0, 40);
  header->biSize = 40;
  header->biWidth = width;
  header->biHeight = height;
  header->biPlanes = 1;
  header->biBitCount = 24;
  auto* bits = reinterpret_cast<unsigned char*>(header) + 40;
  for (int i = 0; i < stride * height; ++i) bits[i] = static_cast<unsigned char>(i * 31);
  GlobalUnlock(h);
  return h;
}

int Fail(const char* what) {
  std::printf("consumer: FAILED %s\n", what);
  return 1;
}

}  // namespace

int main() {
  const int photos = 3;
  StitchMatrix matrix;
  matrix.layout = kLayoutRow;
  matrix.columns = photos;
  matrix.rows = 1;
  matrix.elements = static_cast<StitchElement*>(std::calloc(photos, sizeof(StitchElement)));
  StitchPyramid pyramids[photos];
  HGLOBAL images[photos];
  SetProgressState(0);
  for (int i = 0; i < photos; ++i) {
    images[i] = MakePhoto(320 + i, 240);
    matrix.elements[i].pyramid = &pyramids[i];
    if (BuildPyramid(images[i], &pyramids[i]) != kStitchOk) return Fail("BuildPyramid");
    if (pyramids[i].levels != 3) return Fail("levels");
  }
  if (matrix.GetElement(photos, 0) != nullptr) return Fail("GetElement");
  if (matrix.GetImage(1, 0, 0) != images[1]) return Fail("GetImage");
  if (StitchPyramid::ZoomRatio(2) != 4) return Fail("ZoomRatio");
  for (int i = 0; i < photos; ++i) {
    if (ReleasePyramid(&pyramids[i]) != kStitchOk) return Fail("ReleasePyramid");
    GlobalFree(images[i]);
  }
  std::free(matrix.elements);
  std::printf("consumer: ok\n");
  return 0;
}
