// Table operations on pixel buffers: the lookup table itself (TgbLUT), the modality
// transformation as rescale or table (TgbModalityLUT), the VOI table (TgVOILUT) and the palette
// colour expansion into three 8-bit planes (TgbPaletteColor).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "imaging/iSTATIC_IMAGE_OPERATION.h"

namespace ORN_image {

class TgbLUT : public iSTATIC_IMAGE_OPERATION {
 public:
  // Samples of inputBits (8 or 16) become entries of outputBits (8 or 16).
  TgbLUT(int32_t inputBits, bool signedInput) : FInputBits(inputBits), FSigned(signedInput ? 1 : 0) {}

  // A zero-filled table of entries values, the given entries copied into it (entries may be
  // null); false when there is no room.
  bool Initialize(int32_t firstMapped, uint32_t entries, int32_t outputBits, const uint16_t* table);
  // Copies at most the table's size of bytes.
  void SetEntries(const uint16_t* table, size_t lengthInBytes);

  size_t Apply(uint8_t* buffer, size_t length) override { return Lookup(buffer, length, buffer); }
  size_t Apply(const uint8_t* source, size_t length, uint8_t* destination) override {
    return Lookup(source, length, destination);
  }
  const char* GetErrorText() override { return FErrorText.c_str(); }

  int32_t FirstMapped() const { return FFirstMapped; }
  uint32_t Entries() const { return FEntries; }
  int32_t OutputBits() const { return FOutputBits; }

 protected:
  // 16 in: one output sample (16 or 8 bits) per input sample. 8 in, 8 out: byte per byte.
  // 8 in, 16 out: the entries are stretched into one byte per sample between their smallest
  // and largest value. Other combinations leave the data as they are.
  size_t Lookup(const uint8_t* source, size_t length, uint8_t* destination);
  size_t IndexOf(int64_t sample) const;

  int32_t FFirstMapped = 0;
  uint32_t FEntries = 0;
  int32_t FOutputBits = 16;
  int32_t FInputBits;
  uint8_t FSigned;
  std::vector<uint16_t> FTable;
  std::string FErrorText;
};

class TgbModalityLUT : public TgbLUT {
 public:
  // Rescale form: active unless slope and intercept are both 0.
  TgbModalityLUT(float slope, float intercept, int32_t bitsAllocated, int32_t highBit, bool signedInput);
  // Table form.
  TgbModalityLUT(int32_t firstMapped, uint32_t entries, int32_t outputBits, const uint16_t* table,
                 int32_t bitsAllocated, bool signedInput);

  size_t Apply(uint8_t* buffer, size_t length) override;
  size_t Apply(const uint8_t* source, size_t length, uint8_t* destination) override;
  size_t GetOutputSize(size_t length) override { return length; }

  // Whether the rescaled samples are signed 16-bit values.
  static bool IsOutputSigned(double slope, double intercept, int32_t bitsAllocated, int32_t highBit,
                             bool signedInput);

 private:
  size_t Rescale(const uint8_t* source, size_t length, uint8_t* destination);

  float FSlope = 1.0f;
  float FIntercept = 0.0f;
  int32_t FBitsAllocated;
  int32_t FHighBit = 0;
  uint8_t FSignedInput;
  uint8_t FRescaleActive = 0;
  uint8_t FTableActive = 0;
};

class TgVOILUT : public TgbLUT {
 public:
  // The modality slope, intercept and High Bit are kept for reference; they do not change the
  // lookup.
  TgVOILUT(int32_t firstMapped, uint32_t entries, int32_t outputBits, const uint16_t* table, int32_t bitsAllocated,
           bool signedInput, float slope, float intercept, int32_t highBit);
  size_t GetOutputSize(size_t length) override { return length; }

 private:
  int32_t FBitsAllocated;
  uint8_t FSignedFlag;
};

class TgbPaletteColor : public TgbLUT {
 public:
  // Tables of entries values each; 16-bit entries are reduced to their high byte.
  TgbPaletteColor(int32_t indexBits, bool signedIndexes, uint32_t entries, int32_t firstMapped, int32_t entryBits,
                  const uint16_t* red, const uint16_t* green, const uint16_t* blue);

  // In place: the first length / 3 bytes hold the indexes; three planes (red, green, blue) of
  // (length / 3) × 8 / index bits bytes each replace them. Returns length.
  size_t Apply(uint8_t* buffer, size_t length) override;
  // Planes at destination, destination + S / 3 and destination + 2 × (S / 3), S the output
  // size. Returns S.
  size_t Apply(const uint8_t* source, size_t length, uint8_t* destination) override;
  // Three 8-bit planes plus 8 spare bytes.
  size_t GetOutputSize(size_t length) override { return length * 24 / size_t(FIndexBits) + 8; }

  bool TablesLoaded() const { return FTablesLoaded != 0; }

 private:
  void LoadTable(const std::vector<uint16_t>& table);

  uint8_t FTablesLoaded = 0;
  int32_t FIndexBits;
  size_t FTableSize = 0;
  std::vector<uint16_t> FRed, FGreen, FBlue;
  std::vector<uint8_t> FScratch;
};

}  // namespace ORN_image
