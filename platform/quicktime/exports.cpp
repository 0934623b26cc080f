// The exports of QuickTime.qts: the call table, the feature query and the
// start and stop of the layer.

#include "quicktime.h"

extern "C" {

__declspec(dllexport) const QtDispatch* theQuickTimeDispatcher = QtLayerDispatch();

__declspec(dllexport) QtErr __cdecl _CallComponent(QtType selector, int32_t* response) {
  return QtLayerFeature(selector, response);
}

__declspec(dllexport) QtErr __cdecl _CallComponentFunctionWithStorage(int32_t start) {
  return QtLayerStartStop(start);
}

}  // extern "C"
