// The magnifier lens of a stack window, sent to its engine with the magnifier messages.
// The owner (the context menu) writes the fields directly; the window reads them.
#pragma once

#include <cstdint>

class SMagnifierOptions {
 public:
  virtual ~SMagnifierOptions() = default;

  virtual int32_t GetSize() const { return Size; }
  virtual int32_t GetShape() const { return Shape; }
  virtual double GetZoom() const { return Zoom; }
  virtual bool IsOptimized() const { return Optimized; }

  int32_t Size = 256;    // pixels
  int32_t Shape = 1;     // shape code
  double Zoom = 200.0;   // percent
  bool Optimized = true;
};
