#include "base/memory/TanIMalloc.h"

namespace ORN_std {

namespace {
TanIMalloc g_Process;  // made at start-up, before the program's main code runs
}

TanIMalloc::TanIMalloc() : FMalloc(platform::GetTaskAllocator()) {}

TanIMalloc::~TanIMalloc() {
  if (FMalloc != nullptr) FMalloc->Release();
}

TanIMalloc& TanIMalloc::Process() { return g_Process; }

}  // namespace ORN_std
