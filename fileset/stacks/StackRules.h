// The rules the temporary stacks apply: the ignore-stack-ID conditions and the two spatial
// switches of the file-set settings, copied once into this plain form. Tests pass their own.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace ORN_dicom {

struct TanStackCondition {
  std::vector<std::string> values;
  uint32_t tag = 0;
  int32_t index = 0;
};

struct TanStackRules {
  std::vector<TanStackCondition> conditions;
  bool enhanced_spatial_stack_discernment = false;
  bool regular_spatial_stack_discernment = true;
};

// The rules of the process's file-set settings.
TanStackRules CurrentStackRules();

}  // namespace ORN_dicom
