// Stand-ins for the two export writers until they arrive: nothing is made.
#include "export_handover.h"

namespace vmd {

bool WritePanoramaMovie(HWND, const std::string&, const std::string&) { return false; }

bool WriteWebPage(HWND, const std::string&, const std::string&, int, HGLOBAL) { return false; }

}  // namespace vmd
