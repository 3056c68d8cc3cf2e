#include "fileset/stacks/StackRules.h"

#include "fileset/settings/dicom_file_set_ini.h"

namespace ORN_dicom {

TanStackRules CurrentStackRules() {
  const ORN_dicomdir::dicom_file_set_ini& ini = ORN_dicomdir::GetFileSetIni();
  TanStackRules rules;
  for (const ORN_dicomdir::consition_tag& c : ini.conditions) rules.conditions.push_back({c.values, c.tag, c.index});
  rules.enhanced_spatial_stack_discernment = ini.enhanced_spatial_stack_discernment;
  rules.regular_spatial_stack_discernment = ini.regular_spatial_stack_discernment;
  return rules;
}

}  // namespace ORN_dicom
