#include "media_layer.h"

#include <windows.h>

#include "folders.h"

namespace vmd {
namespace {

struct MovieLayer {
  HMODULE module = nullptr;
  int starts = 0;
  int panoramaStarts = 0;
  const QtDispatch* calls = nullptr;
  QtFeatureQueryFn feature = nullptr;
  QtStartStopFn startStop = nullptr;
};
MovieLayer g_layer;

HMODULE LoadMovieLayer(const std::string& programFolder) {
  char path[MAX_PATH] = {};
  if (HMODULE loaded = GetModuleHandleA(kMovieLayerFile)) {
    if (GetModuleFileNameA(loaded, path, sizeof path)) return LoadLibraryA(path);
  }
  if (HMODULE own = LoadLibraryA(JoinPath(programFolder, kMovieLayerFile).c_str())) return own;
  const UINT n = GetSystemDirectoryA(path, sizeof path);
  if (n == 0 || n >= sizeof path) return nullptr;
  return LoadLibraryA(JoinPath(path, kMovieLayerFile).c_str());
}

}  // namespace

int StartMovieLayerFrom(const std::string& programFolder) {
  if (g_layer.starts > 0) {
    ++g_layer.starts;
    return 0;
  }
  HMODULE module = LoadMovieLayer(programFolder);
  if (!module) return kMovieLayerMissing;
  auto startStop = reinterpret_cast<QtStartStopFn>(
      reinterpret_cast<void*>(GetProcAddress(module, "_CallComponentFunctionWithStorage")));
  auto feature = reinterpret_cast<QtFeatureQueryFn>(
      reinterpret_cast<void*>(GetProcAddress(module, "_CallComponent")));
  auto table = reinterpret_cast<const QtDispatch* const*>(
      reinterpret_cast<void*>(GetProcAddress(module, "theQuickTimeDispatcher")));
  if (!startStop || !feature || !table || !*table || (*table)->size < sizeof(QtDispatch)) {
    FreeLibrary(module);
    return kMovieLayerEntryMissing;
  }
  if (startStop(1) != kQtNoErr) {
    FreeLibrary(module);
    return kMovieLayerEntryMissing;
  }
  g_layer.module = module;
  g_layer.startStop = startStop;
  g_layer.feature = feature;
  g_layer.calls = *table;
  g_layer.starts = 1;
  return 0;
}

int StartMovieLayer() { return StartMovieLayerFrom(ProgramFolder()); }

void StopMovieLayer() {
  if (g_layer.starts == 0 || --g_layer.starts > 0) return;
  g_layer.startStop(0);
  FreeLibrary(g_layer.module);
  g_layer = MovieLayer();
}

MediaSupport StartPanoramaSupport() {
  MediaSupport support;
  if (g_layer.starts == 0) return support;
  int32_t answer = 0;
  if (g_layer.feature(QtFourCC("qtvr"), &answer) != kQtNoErr || !(answer & 1)) return support;
  support.panoramaMovies = true;
  int32_t version = 0;
  if (g_layer.feature(QtFourCC("qtvv"), &version) == kQtNoErr) support.version = version;
  ++g_layer.panoramaStarts;
  return support;
}

void StopPanoramaSupport() {
  if (g_layer.panoramaStarts > 0) --g_layer.panoramaStarts;
}

MediaSupport StartMediaLayer() {
  if (StartMovieLayer() != 0) return MediaSupport();
  return StartPanoramaSupport();
}

void StopMediaLayer() {
  StopPanoramaSupport();
  StopMovieLayer();
}

const QtDispatch* MovieCalls() { return g_layer.starts > 0 ? g_layer.calls : nullptr; }

}  // namespace vmd
