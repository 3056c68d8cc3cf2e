// The information overlay: short texts in the corners of the picture (patient, image number,
// window, zoom), drawn in white with a dark shadow in a small built-in 5 x 7 font.
#pragma once

#include <cstdint>
#include <string>

namespace ORN_engine {

struct OverlayTexts {
  std::string TopLeft, TopRight, BottomLeft, BottomRight;
};

// Width in pixels of a text in the overlay font.
int OverlayTextWidth(const std::string& text);
// Draws the texts into `pixels` (width x height, 0xAARRGGBB); texts that do not fit are cut.
void DrawOverlay(uint32_t* pixels, int width, int height, const OverlayTexts& texts);

}  // namespace ORN_engine
