#include "browser/engines/TanEngineInitSlots.h"

#include <stdexcept>

#include "platform/process/Interlocked.h"

namespace ORN_browser {
namespace {
intptr_t gSlots[TanEngineInitSlots::kCount] = {0, 0, 0};

intptr_t* Slot(int slot) {
  if (slot < 1 || slot > TanEngineInitSlots::kCount) throw std::out_of_range("init slot");
  return &gSlots[slot - 1];
}
}  // namespace

intptr_t TanEngineInitSlots::Read(int slot) { return platform::InterlockedExchangeAddPointer(Slot(slot), 0); }

intptr_t TanEngineInitSlots::Exchange(int slot, intptr_t value) {
  return platform::InterlockedExchangePointer(Slot(slot), value);
}

bool TanEngineInitSlots::ReleaseHeldBy(intptr_t tile) {
  bool released = false;
  for (int slot = 1; slot <= kCount; ++slot) {
    if (tile != 0 && Read(slot) == tile) {
      // Only the holder's own value is taken out; a slot another tile took meanwhile stays.
      if (platform::InterlockedCompareExchangePointer(Slot(slot), 0, tile) == tile) released = true;
    }
  }
  return released;
}

void TanEngineInitSlots::Reset() {
  for (int slot = 1; slot <= kCount; ++slot) Exchange(slot, 0);
}

}  // namespace ORN_browser
