// Window sizes and positions are given in twips: 15 twips make one pixel at
// 96 dpi. Qt scales logical pixels for other screens, and the layouts let
// controls grow for larger fonts.
#pragma once

namespace veilbox {

constexpr int Twips(int twips) {
  return (twips + 7) / 15;
}

}  // namespace veilbox
