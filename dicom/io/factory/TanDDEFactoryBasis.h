// The common base of every element factory: last message, the current data set and the two
// flags of nested reading, the filling of new elements from variable arguments, and the
// bounds every reader keeps: the end of the memory block being read, the end of the stream,
// and the nesting depth of sequences and items.
#pragma once

#include <cstdarg>
#include <cstdint>
#include <istream>
#include <string>

#include "dicom/elements/dataset/TanDDESet.h"
#include "dicom/elements/factory/iDDEFactory.h"

namespace ORN_dicom {

class TanDDEFactoryBasis : public iDDEFactory {
 public:
  // Sequences and items nest at most this deep; deeper input is refused.
  static constexpr uint32_t kMaxDepth = 64;

  TanDDEFactoryBasis() = default;
  TanDDEFactoryBasis(const TanDDEFactoryBasis&) = delete;
  TanDDEFactoryBasis& operator=(const TanDDEFactoryBasis&) = delete;
  ~TanDDEFactoryBasis() override = default;

  const char* GetLastMessage() override { return FLastMessage.empty() ? nullptr : FLastMessage.c_str(); }

  // The element at start, read without touching a byte at or after end. Readers of memory
  // blocks use this form; slot 1 alone reads within the end of an enclosing call, or
  // unbounded when there is none (the caller then guarantees the whole element).
  iDDE* MakeDDEFromRange(const void* start, const void* end);

  // The end of the stream being read, as a position; -1 when unknown. A reader that knows it
  // sets it, so that a length beyond the end is refused before anything is allocated.
  void SetStreamEnd(std::streamoff end) { FStreamEnd = end; }

  // A factory that reads part of the data for another one (an explicit factory reading the
  // implicit items of an undefined-length UN) takes over its bounds and depth.
  void InheritBounds(const TanDDEFactoryBasis& outer) {
    FMemoryEnd = outer.FMemoryEnd;
    FStreamEnd = outer.FStreamEnd;
    FDepth = outer.FDepth;
  }

  static bool IsUndefinedLength(const iDDE* e);
  uint16_t GetSamplesPerPixel();
  uint16_t GetPixelRepresentation();
  // Lossy Image Compression (0028,2110) is "01"; without it, the source kind is 7.
  bool IsLossyCompressed();
  // Pixel Padding Value and Range Limit, signed by the pixel representation; false without a
  // padding value (the outputs untouched).
  bool GetPixelPaddingRange(int32_t& value, int32_t& limit);
  // The image-pixel attributes of the current set (or, without one, of the target set through
  // FGetTargetPixelAttributes). A negative number is not wanted and left as it is; an empty
  // photometric text is read; planar gives the value to store and returns the previous one.
  // A Number of Frames that is not an integer throws std::invalid_argument.
  void GetPixelAttributes(int32_t& columns, int32_t& rows, int32_t& highBit, int32_t& bitsStored,
                          int32_t& bitsAllocated, std::string& photometric, int32_t& planar, int32_t& frames);
  // The same reading of a given set, in one forward pass from its first element.
  void PixelAttributesOf(TanDDESet<iDDE>& set, int32_t& columns, int32_t& rows, int32_t& highBit,
                         int32_t& bitsStored, int32_t& bitsAllocated, std::string& photometric, int32_t& planar,
                         int32_t& frames);

  // Fills a new element with count values of type T from a variable-argument cursor.
  template <class T>
  struct TInitDDE {
    explicit TInitDDE(iDDE* e) : FDDE(e) {}
    iDDE* AddValues(uint16_t vrCode, int32_t count, va_list& args);
    iDDE* FDDE;
  };

  std::string FLastMessage;
  TanDDESet<iDDE>* FCurrentSet = nullptr;
  uint8_t FPixelDataInItem = 0;
  uint8_t FInIconSequence = 0;

 protected:
  // Bytes that may be read from p on: SIZE_MAX without a known end, 0 when p is past it.
  uint64_t Remaining(const void* p) const;
  // False when the stream certainly holds fewer than n more bytes.
  bool StreamHolds(std::istream& in, uint64_t n);
  // A lookup of the tag in the current set, else through FFindDDE in the source set.
  iDDE* FindAttribute(uint32_t tag);

  // Counts one level of nesting for the life of the guard; Ok is false beyond kMaxDepth.
  class DepthGuard {
   public:
    explicit DepthGuard(TanDDEFactoryBasis& f) : FFactory(f) { ++FFactory.FDepth; }
    ~DepthGuard() { --FFactory.FDepth; }
    bool Ok() const { return FFactory.FDepth <= kMaxDepth; }

   private:
    TanDDEFactoryBasis& FFactory;
  };

  const unsigned char* FMemoryEnd = nullptr;
  std::streamoff FStreamEnd = -1;
  uint32_t FDepth = 0;
};

// Reads 2 + 2 bytes of tag (zeros where the stream gives none) and steps back over what was
// read, so that the element reads its tag again. Little endian unless bigEndian.
uint32_t PeekStreamTag(std::istream& in, bool bigEndian = false);
// Steps the stream back by n bytes that were just read.
void StepBack(std::istream& in, std::streamoff n);

// Byte-stream helpers of the private pixel-data index.
struct TanByteWriter {
  unsigned char* FStart = nullptr;
  uint32_t FWritten = 0;
};
struct TanByteReader {
  const unsigned char* FCursor = nullptr;
  uint32_t FRemaining = 0;
};
char* CopyCString(char* position, const char* text);
uint32_t CStringSize(const char*& text);
uint32_t TitleSize(const char*& title);
TanByteWriter& WriteCString(TanByteWriter& writer, const char* text);
// The text at the cursor, never read beyond the remaining bytes: a text without its NUL
// there is taken up to the end and the reader is left empty.
std::string ReadCString(TanByteReader& reader);

}  // namespace ORN_dicom
