// The loops that read the contents of a sequence or an item, shared by the implicit and the
// explicit factories: from memory within the block's end, and from a stream with the
// factory's messages. A child is made by the caller's function for each tag met.
#pragma once

#include <cstdint>
#include <istream>
#include <string>

#include "dicom/elements/dataset/TanDDESet.h"
#include "dicom/elements/element/iDDE.h"
#include "dicom/elements/header/ByteOrder.h"
#include "dicom/elements/header/TagText.h"
#include "dicom/io/factory/TanDDEFactoryBasis.h"

namespace ORN_dicom::nested {

constexpr uint32_t kItemTag = 0xFFFEE000u;
constexpr uint32_t kItemEndTag = 0xFFFEE00Du;
constexpr uint32_t kSequenceEndTag = 0xFFFEE0DDu;
constexpr uint32_t kPixelDataTag = 0x7FE00010u;

inline uint32_t TagAt(const unsigned char* p, bool bigEndian) {
  return bigEndian ? MakeTagBigEndian(p) : MakeTag(p);
}

// Holds back the set's length notices while its children are read and gives one at the end:
// a notice per child would sum the whole set each time, which grows with the square of the
// number of items (a DICOMDIR holds tens of thousands).
class QuietWhileRead {
 public:
  explicit QuietWhileRead(TanDDESet<iDDE>& set)
      : FSet(set), FFunction(set.GetChangeFunction()), FContext(set.GetChangeContext()) {
    set.SetChangeCallback(nullptr, nullptr);
  }
  ~QuietWhileRead() {
    FSet.SetChangeCallback(FFunction, FContext);
    if (FFunction != nullptr) FSet.NotifyChanged();
  }
  QuietWhileRead(const QuietWhileRead&) = delete;
  QuietWhileRead& operator=(const QuietWhileRead&) = delete;

 private:
  TanDDESet<iDDE>& FSet;
  TanValueBasis::ChangeFunction FFunction;
  void* FContext;
};

// Children from first (the byte after the header) until length bytes are read or endTag was
// appended. remaining: bytes that may be read from first on. True when the set ended right.
template <class MakeChild>
bool ReadSetFromMemory(TanDDESet<iDDE>& set, const unsigned char* first, uint32_t length, uint32_t endTag,
                       bool bigEndian, uint64_t remaining, MakeChild makeChild) {
  QuietWhileRead quiet(set);
  uint64_t offset = 0;
  uint32_t last = 0;
  while (offset < length && last != endTag) {
    if (remaining < offset || remaining - offset < 8) return false;
    const uint32_t tag = TagAt(first + offset, bigEndian);
    iDDE* child = makeChild(tag, first + offset);
    if (child == nullptr) return false;
    if (!set.Append(child)) {
      delete child;
      return false;
    }
    last = tag;
    offset += child->Size();
  }
  return offset == length || last == endTag;
}

// A sequence's items from a stream. The message names the failing item and the sequence;
// an item level below has already named the element that failed in it.
template <class MakeChild>
bool ReadSequenceFromStream(std::string& message, TanDDESet<iDDE>& set, std::istream& in,
                            uint32_t length, bool bigEndian, const std::string& sequenceTag, MakeChild makeChild) {
  QuietWhileRead quiet(set);
  uint64_t read = 0;
  uint32_t last = 0, index = 0;
  while (read < length && last != kSequenceEndTag && !in.fail()) {
    ++index;
    last = PeekStreamTag(in, bigEndian);
    iDDE* child = in.fail() ? nullptr : makeChild(last, in);
    if (child == nullptr || !child->IsValid() || !set.Append(child)) {
      delete child;
      message += message.empty() ? "Cannot make" : " of";
      message += " Item[" + std::to_string(index) + "] of SQ[" + sequenceTag + "]";
      return false;
    }
    read += set.Last()->Size();
    message.clear();
  }
  return !in.fail() && (read == length || last == kSequenceEndTag);
}

// An item's elements from a stream.
template <class MakeChild>
bool ReadItemFromStream(std::string& message, TanDDESet<iDDE>& set, std::istream& in, uint32_t length, bool bigEndian,
                        MakeChild makeChild) {
  QuietWhileRead quiet(set);
  uint64_t read = 0;
  uint32_t last = 0;
  while (read < length && last != kItemEndTag && !in.fail()) {
    last = PeekStreamTag(in, bigEndian);
    iDDE* child = in.fail() ? nullptr : makeChild(last, in);
    if (child == nullptr || !child->IsValid() || !set.Append(child)) {
      delete child;
      message = "Cannot make DDE[" + TagNumberText(last).substr(1, 9) + "]";
      return false;
    }
    read += set.Last()->Size();
    message.clear();
  }
  return !in.fail() && (read == length || last == kItemEndTag);
}

}  // namespace ORN_dicom::nested
