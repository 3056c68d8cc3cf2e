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
// Line height of the overlay font (glyph and gap).
constexpr int kOverlayLineHeight = 9;
// One text in a colour with its dark shadow, its top-left corner at (x, y); cut at the edges.
void DrawOverlayText(uint32_t* pixels, int width, int height, int x, int y, const std::string& text,
                     uint32_t colour);
// Draws the texts into `pixels` (width x height, 0xAARRGGBB); texts that do not fit are cut.
void DrawOverlay(uint32_t* pixels, int width, int height, const OverlayTexts& texts);

}  // namespace ORN_engine
