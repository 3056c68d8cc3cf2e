// The icon of a stack: the Icon Image Sequence (0088,0200) of one frame of a read file, made
// through the icon image of the imaging library. The one place the stacks reach it.
#pragma once

#include <cstdint>

namespace ORN_dicom {

class iDDE;
class TanDicomFileObject;

// True with the new sequence element in out (the caller owns it); false and null otherwise.
bool MakeStackIcon(TanDicomFileObject& file, int32_t width, int32_t height, int32_t frameNumber, iDDE*& out);

}  // namespace ORN_dicom
