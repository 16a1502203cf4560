// The textures and sounds of the gallery's second screen (buttons, check and
// radio boxes, scroll sliders, list and text box frames), kept apart from the
// first screen's so that each screen's art can be read on its own.
#pragma once

#include <string>

#include "tools/gen_gallery/canvas.h"

namespace gallery {

// Button faces 128 x 32 (three-part bars with 16-texel ends) per state.
Canvas buttonNormal();
Canvas buttonSelected();
Canvas buttonPressed();
Canvas buttonDisabled();
// 32 x 32 boxes: square check boxes and round radio boxes, unchecked and checked.
Canvas checkOff();
Canvas checkOn();
Canvas checkOnSelected();
Canvas radioOff();
Canvas radioOn();
// A slider knob (8-texel corners of 32 x 32, either axis) and its pressed look.
Canvas slider();
Canvas sliderPressed();
// An input field: 8-texel borders of a 32 x 32 texture.
Canvas field();

// Writes the short sounds (16-bit mono WAV) into dir; false when one cannot be written.
bool writeControlSounds(const std::string& dir);

} // namespace gallery
