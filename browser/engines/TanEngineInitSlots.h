// The three process-wide slots that decide which tile's engine may initialise. Each holds the
// identity (address) of one tile or 0; they are read only with an interlocked add of 0 and
// written only with an interlocked exchange. A claim writes one tile into all three and a
// release empties all three, so they always agree.
#pragma once

#include <cstdint>

namespace ORN_browser {

class TanEngineInitSlots {
 public:
  static constexpr int kCount = 3;

  // Slot 1 to 3.
  static intptr_t Read(int slot);
  // Returns the previous value.
  static intptr_t Exchange(int slot, intptr_t value);
  // Empties every slot that holds `tile`; true when one did.
  static bool ReleaseHeldBy(intptr_t tile);
  // Empties all three (tests, and a new process state).
  static void Reset();
};

}  // namespace ORN_browser
