// Reference lines: where the plane of an image shown in another frame cuts an image of this
// stack, from the 384-byte image-plane records the engines exchange.
#pragma once

#include "engine/Measurements.h"
#include "engine/StackImage.h"
#include "viewer/engine/EngineMessages.h"

namespace ORN_engine {

// The plane record of an image (the one the engine sends as 0x801B).
ORN_image::engine_msg::ImagePlaneRecord PlaneRecordOf(const ImageHeader& header, int imageIndex);

// The segment, in image coordinates of `target`, where the plane of `source` cuts it, kept
// within both images. False when the images share no frame of reference, are parallel, or
// do not meet.
bool ReferenceLine(const ORN_image::engine_msg::ImagePlaneRecord& source, const ImageHeader& target, ImagePoint& a,
                   ImagePoint& b);

}  // namespace ORN_engine
