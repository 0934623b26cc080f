// The export as the program runs it: the movie layer loaded at run time, the
// movie written through it, and the web page from the program's UI folder.

#include <windows.h>

#include <cstdio>
#include <string>

#include <gtest/gtest.h>

#include "folders.h"
#include "media_layer.h"
#include "movie_export.h"
#include "pixio.h"
#include "test_dib.h"
#include "web_export.h"

namespace vmd {
namespace {

using testing_support::GlobalFreer;

std::string ScratchFolder(const char* name) {
  const std::string folder = testing_support::ScratchPath(name);
  CreateFolderChain(folder);
  return folder;
}

bool FileExists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

std::string FileStart(const std::string& path, size_t n) {
  std::string bytes(n, '\0');
  std::FILE* f = std::fopen(path.c_str(), "rb");
  if (!f) return std::string();
  bytes.resize(std::fread(&bytes[0], 1, n, f));
  std::fclose(f);
  return bytes;
}

TEST(MovieLayer, MissingLibraryAndMissingExportsGiveTheirCodes) {
  EXPECT_EQ(StartMovieLayerFrom(ScratchFolder("no-layer")), kMovieLayerMissing);
  EXPECT_EQ(MovieCalls(), nullptr);
  // A library of that name without the layer's exports is refused and freed.
  const std::string impostor = ScratchFolder("impostor");
  ASSERT_TRUE(CopyFileA(JoinPath(ProgramFolder(), "pixio.dll").c_str(),
                        JoinPath(impostor, kMovieLayerFile).c_str(), FALSE));
  EXPECT_EQ(StartMovieLayerFrom(impostor), kMovieLayerEntryMissing);
  EXPECT_EQ(GetModuleHandleA(kMovieLayerFile), nullptr);
  const MediaSupport none = StartPanoramaSupport();
  EXPECT_FALSE(none.panoramaMovies);
}

TEST(MovieLayer, StartsNestAndReportPanoramaSupport) {
  ASSERT_EQ(StartMovieLayer(), 0);
  ASSERT_EQ(StartMovieLayer(), 0);
  EXPECT_NE(GetModuleHandleA(kMovieLayerFile), nullptr);
  const MediaSupport support = StartPanoramaSupport();
  EXPECT_TRUE(support.panoramaMovies);
  EXPECT_EQ(support.version, 0x200);
  StopPanoramaSupport();
  StopMovieLayer();
  EXPECT_NE(MovieCalls(), nullptr);
  StopMovieLayer();
  EXPECT_EQ(MovieCalls(), nullptr);
  EXPECT_EQ(GetModuleHandleA(kMovieLayerFile), nullptr);
}

TEST(MovieExport, WritesAFlattenedMovieThroughTheLoadedLayer) {
  const MediaSupport support = StartMediaLayer();
  ASSERT_TRUE(support.panoramaMovies);
  const std::string folder = ScratchFolder("movie");
  const std::string bitmap = JoinPath(folder, "~ML.BMP"), movie = JoinPath(folder, "~ml.mov");
  GlobalFreer picture(testing_support::MakeDib24(40, 240, [](int x, int y) { return uint32_t(x * 5 + y); }));
  ASSERT_NE(ImgSaveDib(bitmap.c_str(), picture.handle), 0);
  EXPECT_EQ(MakePanoramaMovie(nullptr, bitmap.c_str(), movie.c_str()), 0);
  const std::string start = FileStart(movie, 16);
  EXPECT_EQ(start.substr(4, 4), "moov");
  EXPECT_EQ(start.substr(12, 4), "cmov");
  EXPECT_FALSE(FileExists(bitmap + "qzrt01.til"));
  EXPECT_FALSE(FileExists(JoinPath(folder, "~ml.mot")));
  StopMediaLayer();
  // Without the layer the writer fails quietly and leaves no file.
  DeleteFileA(movie.c_str());
  EXPECT_EQ(MakePanoramaMovie(nullptr, bitmap.c_str(), movie.c_str()), kMovieLayerMissing);
  EXPECT_FALSE(FileExists(movie));
}

TEST(WebExport, WritesStripsWorldAndPageFromTheProgramsTemplates) {
  const std::string page = JoinPath(ScratchFolder("web"), "lake.htm");
  GlobalFreer picture(testing_support::MakeDib24(2400, 300, [](int x, int) { return uint32_t(x / 100) * 0x0A0B0C; }));
  ASSERT_TRUE(ExportWebPage(nullptr, picture.handle, page.c_str()));
  const std::string files = page.substr(0, page.size() - 4) + "_files";
  for (int k : {0, 23}) EXPECT_TRUE(FileExists(files + "\\" + std::to_string(k) + ".jpg")) << k;
  const std::string world = FileStart(files + "\\panorama.wrl", 100000);
  EXPECT_NE(world.find("url \"" + files + "\\23.jpg\""), std::string::npos);
  const std::string text = FileStart(page, 100000);
  EXPECT_EQ(text.substr(0, 6), "<html>");
  EXPECT_NE(text.find("<EMBED height=288 width=436 name=vrml src=\"" + files + "\\panorama.wrl\""),
            std::string::npos);
  EXPECT_NE(text.find("</html>"), std::string::npos);
}

}  // namespace
}  // namespace vmd
