// The lines of dicom_dump: one per element in set order, two blanks per nesting level, then
// "(gggg,eeee) VR len=N" and a short value text. Items print as "(fffe,e000) na len=N";
// delimiters are left out; the fragments of encapsulated pixel data print as its items.
#pragma once

#include <ostream>

#include "dicom/elements/dataset/TanDDESet.h"

namespace dump {

void WriteSet(std::ostream& out, const ORN_dicom::TanDDESet<ORN_dicom::iDDE>& set, int level);

}  // namespace dump
