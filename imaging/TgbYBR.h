// YBR colour data (YBR_FULL, YBR_FULL_422, YBR_PARTIAL_422, YBR_PARTIAL_420, YBR_ICT, YBR_RCT)
// into interleaved 8-bit RGB. The kind is chosen by the exact photometric text.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

class TgbYBR {
 public:
  TgbYBR(int32_t rows, int32_t columns, int32_t planarConfiguration, const char* photometric);

  // The buffer holds the YBR data at its start and has room for 3n bytes of RGB.
  bool ConvertInPlace(uint8_t* buffer, size_t length);
  // Reads the source (length bytes) and writes 3n bytes of RGB into the destination.
  bool Convert(const uint8_t* source, size_t length, uint8_t* destination);

  int32_t Kind() const { return FKind; }
  const std::string& ErrorText() const { return FErrorText; }

 private:
  bool Run(const uint8_t* source, size_t length, uint8_t* destination, bool inPlace);
  size_t InputSize() const;

  int32_t FColumns;
  int32_t FRows;
  int32_t FPlanar;
  int32_t FKind;
  std::string FErrorText;
};
