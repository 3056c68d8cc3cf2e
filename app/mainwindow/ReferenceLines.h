// The reference-line planes that the stack windows hand to each other through the main window
// (tool code 14). A container that arrives becomes the main window's; it is shared, so one that
// queued messages still name is freed only after those messages were served.
#pragma once

#include <cstdint>
#include <vector>

namespace ORN_image {

// One image plane from which reference lines are drawn.
struct IMAGE_PLANE_DATA {
  double Position[3] = {0, 0, 0};
  double RowDirection[3] = {0, 0, 0};
  double ColumnDirection[3] = {0, 0, 0};
  double PixelSpacing[2] = {0, 0};
  int32_t Rows = 0;
  int32_t Columns = 0;
};

}  // namespace ORN_image

namespace vistrel_main {

struct TgbReferenceLineContainer {
  int32_t Value = 0;
  std::vector<ORN_image::IMAGE_PLANE_DATA> Planes;
};

}  // namespace vistrel_main
