// Linked into test programs that use the record tree without a file set: the file set's
// series work is installed before any test runs.
#include "fileset/stacks/FileSetSeriesWork.h"

namespace {
const bool kInstalled = (ORN_dicom::InstallFileSetSeriesWork(), true);
}  // namespace
