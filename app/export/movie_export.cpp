#include "movie_export.h"

#include "app_state.h"
#include "media_layer.h"
#include "panorama_movie.h"

namespace vmd {
namespace {

constexpr UINT kWarningCaption = 52388;
constexpr UINT kLandscapeOnly = 50101;

struct Watch {
  HWND owner;
  MovieProgressFn progress;
  void* context;
};

bool OnTile(int percent, void* context) {
  const Watch& watch = *static_cast<const Watch*>(context);
  if (watch.progress) return watch.progress(percent, watch.context);
  return (GetAsyncKeyState(VK_ESCAPE) & 0x8000) != 0;
}

void OnNotLandscape(void* context) {
  const Watch& watch = *static_cast<const Watch*>(context);
  MessageBoxA(watch.owner, LoadUiString(kLandscapeOnly).c_str(), LoadUiString(kWarningCaption).c_str(), MB_OK);
}

}  // namespace

int MakePanoramaMovie(HWND owner, const char* bitmapPath, const char* moviePath, MovieProgressFn progress,
                      void* context) {
  const QtDispatch* calls = MovieCalls();
  if (!calls) return kMovieLayerMissing;
  Watch watch{owner, progress, context};
  PanoramaMovieHooks hooks;
  hooks.progress = OnTile;
  hooks.notLandscape = OnNotLandscape;
  hooks.context = &watch;
  return MakePanoramaMovie(*calls, bitmapPath, moviePath, hooks);
}

}  // namespace vmd
