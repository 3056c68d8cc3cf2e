// The file set's series work (stack building and series order) for the record tree, which
// calls it through the interface it declares. The file set and the DICOMDIR reader install it
// before they touch a tree; a program that uses the tree without them calls the installer.
#pragma once

namespace ORN_dicom {

void InstallFileSetSeriesWork();

}  // namespace ORN_dicom
