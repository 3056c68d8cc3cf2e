// Test-only stand-ins for the series ordering and stack building that the file set defines,
// linked only while the file set does not define them. Ordering keeps the order (as with the
// series grouping below 0) and counts its calls; stack building makes one empty stack.
#include "dicom/entities/records/TanSeriesIE.h"
#include "dicom/entities/records/TanStudyIE.h"

namespace tree_test {
int gOrganizeCalls = 0;
}

namespace ORN_dicom {

void TanStudyIE::OrganizeSeries() { ++tree_test::gOrganizeCalls; }

}  // namespace ORN_dicom
