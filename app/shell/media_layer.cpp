#include "media_layer.h"

namespace vmd {

MediaSupport StartMediaLayer() { return MediaSupport(); }

void StopMediaLayer() {}

}  // namespace vmd
