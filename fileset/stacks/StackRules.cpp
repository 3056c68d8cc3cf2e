#include "fileset/stacks/StackRules.h"

namespace ORN_dicom {

const TanStackRules& CurrentStackRules() {
  static const TanStackRules rules;
  return rules;
}

}  // namespace ORN_dicom
