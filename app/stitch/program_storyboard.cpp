#include "program_storyboard.h"

namespace vmd {

Storyboard& ProgramStoryboard() {
  static Storyboard storyboard;
  return storyboard;
}

}  // namespace vmd
