// The data-set factory of one transfer-syntax kind, over its element factory F held by value.
// It reads a data set from memory or a stream, whole or up to a stop tag, appending elements in
// file order after an order test, and lends F its closures into the sets it works on.
#pragma once

#include <cstdint>
#include <istream>
#include <limits>
#include <new>
#include <string>
#include <type_traits>

#include "dicom/elements/dataset/TanDDESet.h"
#include "dicom/elements/dataset/TanIOD.h"
#include "dicom/elements/element/iDDE.h"
#include "dicom/elements/header/ByteOrder.h"
#include "dicom/elements/header/TagText.h"
#include "dicom/elements/header/VRCodes.h"
#include "dicom/io/factory/TanDDEFactoryBasis.h"
#include "dicom/io/iod/iIODFactory.h"
#include "dicom/io/implicit/TanImplicitDDEFactory.h"

namespace ORN_dicom {

template <class F>
class TanIODFactoryTemplate : public iIODFactory {
 public:
  explicit TanIODFactoryTemplate(uint8_t parameter) : FParameter(parameter) {
    FFactory.FReplaceDDE = [this](iDDE* e) { ReplaceDDE(e); };
    FFactory.FFindDDE = [this](uint32_t tag, iDDE** out, uint8_t inTarget) { return FindDDE(tag, out, inTarget != 0); };
    FFactory.FRemoveDDE = [this](uint32_t tag) { RemoveDDE(tag); };
    FFactory.FGetSourceKind = [this](int32_t& kind) {
      kind = FSourceSet != nullptr ? static_cast<int32_t>(static_cast<int8_t>(FSourceSet->GetTransferSyntaxKind())) : 0;
    };
    FFactory.FGetQuality = [this](uint8_t& quality) { quality = FParameter; };
    FFactory.FGetTargetPixelAttributes = [this](int32_t& columns, int32_t& rows, int32_t& bitsStored,
                                                int32_t& bitsAllocated, int32_t& highBit, std::string& photometric,
                                                int32_t& planar, int32_t& frames) {
      if (FTargetSet != nullptr)
        FFactory.PixelAttributesOf(*FTargetSet, columns, rows, highBit, bitsStored, bitsAllocated, photometric,
                                   planar, frames);
    };
  }

  bool ReadFromMemory(TanDDESet<iDDE>& target, const void* block, uint32_t& count, bool skip) override {
    return ReadMemory(target, block, count, nullptr, skip);
  }

  bool ReadFromMemoryUntilTag(TanDDESet<iDDE>& target, const void* block, uint32_t& count, uint16_t stopGroup,
                              uint16_t stopElement, bool skip) override {
    const uint32_t stop = uint32_t{stopGroup} << 16 | stopElement;
    return ReadMemory(target, block, count, &stop, skip);
  }

  bool ReadFromStream(TanDDESet<iDDE>& target, std::istream& in, uint32_t& count, bool skip) override {
    return ReadStream(target, in, count, nullptr, skip);
  }

  bool ReadFromStreamUntilTag(TanDDESet<iDDE>& target, std::istream& in, uint32_t& count, uint16_t stopGroup,
                              uint16_t stopElement, bool skip) override {
    const uint32_t stop = uint32_t{stopGroup} << 16 | stopElement;
    return ReadStream(target, in, count, &stop, skip);
  }

  const char* GetLastMessage() override { return FLastMessage.c_str(); }

  // True when the element at p lies wholly inside the remaining bytes; an undefined length
  // fits once its header does (its items are bounded by the element factory).
  bool FitsInBuffer(uint32_t tag, uint64_t remaining, const unsigned char* p) const {
    if (remaining < 8) return false;
    const bool big = BigEndian();
    uint32_t header = 8;
    uint64_t length;
    if (std::is_same_v<F, TanImplicitDDEFactory> || (tag >> 16) == 0xFFFE) {
      length = big ? TanBEV<uint32_t>::Decode(p + 4) : TanLEV<uint32_t>::Decode(p + 4);
    } else if (IsLongVR(TanLEV<uint16_t>::Decode(p + 4))) {
      header = 12;
      if (remaining < 12) return false;
      length = big ? TanBEV<uint32_t>::Decode(p + 8) : TanLEV<uint32_t>::Decode(p + 8);
    } else {
      length = big ? TanBEV<uint16_t>::Decode(p + 6) : TanLEV<uint16_t>::Decode(p + 6);
    }
    if (length == 0xFFFFFFFFu) length = 0;
    return header + length <= remaining;
  }

  // Closures of the element factory.
  iDDE* FindDDE(uint32_t tag, iDDE** out, bool inTarget) {
    TanDDESet<iDDE>* set = inTarget ? FTargetSet : FSourceSet;
    iDDE* e = set != nullptr ? set->Find(tag) : nullptr;
    if (out != nullptr) *out = e;
    return e;
  }
  void ReplaceDDE(iDDE* e) {
    if (FTargetSet == nullptr) {
      delete e;
      return;
    }
    FTargetSet->DeleteByTag(e->Tag());
    if (!FTargetSet->Insert(e)) delete e;
  }
  void RemoveDDE(uint32_t tag) {
    if (FTargetSet != nullptr) FTargetSet->DeleteByTag(tag);
  }

  F& Factory() { return FFactory; }

  TanIOD* MakeIOD() override {
    auto* iod = new (std::nothrow) TanIOD();
    if (iod == nullptr) {
      FLastMessage = "Unable to make IOD.";
      return nullptr;
    }
    iod->SetTransferSyntaxKind(FTransferSyntaxKind);
    FLastMessage.clear();
    return iod;
  }

  bool AddDDEsFromSets(TanDDESet<iDDE>* target, int32_t count, TanDDESet<iDDE>** sets) override {
    FLastMessage.clear();
    FTargetSet = target;
    bool result = true;
    for (int32_t s = 0; result && s < count; ++s) {
      FSourceSet = sets[s];
      for (uint32_t i = 0; result && i < FSourceSet->Count(); ++i) {
        iDDE* made = FFactory.MakeDDEFromDDEPtr(FSourceSet->At(i));
        if (made != nullptr && made->IsValid() && FTargetSet->Insert(made)) {
          FLastMessage.clear();
          continue;
        }
        FLastMessage = made != nullptr ? NonNull(made->GetLastError()) : "Unable to make DDE.";
        delete made;
        result = false;
      }
    }
    FTargetSet = nullptr;
    FSourceSet = nullptr;
    return result;
  }

  bool ConvertIOD(TanDDESet<iDDE>& target, TanDDESet<iDDE>& source, bool tolerate) override {
    FLastMessage.clear();
    FTargetSet = &target;
    FSourceSet = &source;
    const uint32_t n = source.Count();
    bool result = true;
    for (uint32_t i = 0; result && i < n; ++i) {
      iDDE* e = source.At(i);
      FLastMessage.clear();
      if (e->Group() > 0x0002 && e->Element() == 0) continue;  // group lengths follow the new encoding
      const bool isPrivate = (e->Group() & 1u) != 0;
      iDDE* made = nullptr;
      try {
        made = FFactory.MakeDDEFromDDEPtr(e);
      } catch (...) {
        made = nullptr;
      }
      if (made != nullptr && made->IsValid() && target.Insert(made)) continue;
      if (isPrivate && tolerate) {
        delete made;
        FLastMessage.clear();
        continue;
      }
      result = false;
      if (made != nullptr) FLastMessage = NonNull(made->GetLastError());
      else if (!FFactory.FLastMessage.empty()) FLastMessage = FFactory.FLastMessage;
      else FLastMessage = "Cannot make DDE[" + e->GroupText() + "," + e->ElementText() + "].";
      delete made;
    }
    FTargetSet = nullptr;
    FSourceSet = nullptr;
    return result;
  }

  std::string FLastMessage;
  TanDDESet<iDDE>* FTargetSet = nullptr;
  TanDDESet<iDDE>* FSourceSet = nullptr;
  uint8_t FTransferSyntaxKind = 0;
  uint8_t FParameter;

 private:
  static constexpr const char* kEndsInHeader = "The data ends inside the header of an element.";

  static bool IsLongVR(uint16_t code) {
    switch (code) {
      case VRCode("OB"): case VRCode("OF"): case VRCode("OW"): case VRCode("SQ"): case VRCode("UN"):
      case VRCode("UT"): case VRCode("UC"): case VRCode("UR"): case VRCode("OD"): case VRCode("OL"):
      case VRCode("OV"): case VRCode("SV"): case VRCode("UV"):
        return true;
      default:
        return false;
    }
  }

  static std::string NonNull(const char* text) { return text != nullptr ? text : ""; }

  bool BigEndian() const { return FTargetSet != nullptr && FTargetSet->GetTransferSyntaxKind() == 3; }
  uint32_t TagAt(const unsigned char* p) const { return BigEndian() ? MakeTagBigEndian(p) : MakeTag(p); }
  static std::string Pair(uint32_t tag) { return TagNumberText(tag).substr(1, 9); }
  static std::string ElementPair(iDDE* e) { return e->GroupText() + "," + e->ElementText(); }

  // The order test of the readers; the stream reader up to a tag also refuses a repeated tag.
  static bool InOrder(TanDDESet<iDDE>& target, uint32_t tag, bool strict) {
    if (target.IsEmpty()) return true;
    const uint32_t last = target.Last()->Tag();
    if (!strict || last == 0xFFFE0000u) return last <= tag;
    return last < tag;
  }

  void AppendOrDelete(TanDDESet<iDDE>& target, iDDE* e) {
    if (e != nullptr && !target.Append(e)) delete e;
  }

  bool ReadMemory(TanDDESet<iDDE>& target, const void* block, uint32_t& count, const uint32_t* stop, bool skip) {
    FLastMessage.clear();
    FTargetSet = &target;
    const auto* base = static_cast<const unsigned char*>(block);
    const unsigned char* end = base + count;
    uint64_t position = 0;
    bool going = true;
    while (position < count && going) {
      if (count - position < 8) {
        // Fewer bytes than the shortest element header: the data was cut off.
        FLastMessage = kEndsInHeader;
        going = false;
        break;
      }
      const unsigned char* p = base + position;
      const uint32_t tag = TagAt(p);
      if (stop != nullptr) {
        if (tag > *stop || tag < FLowestTag) break;
        if (!FitsInBuffer(tag, count - position, p)) {
          going = false;
          break;
        }
      }
      iDDE* e = FFactory.MakeDDEFromRange(p, end);
      if (e == nullptr) {
        FLastMessage = "Unable to make DDE[" + Pair(tag) + "]";
        going = false;
        if (!skip) {
          const bool hasVR = count - position >= 6;
          const char letters[3] = {hasVR ? static_cast<char>(p[4]) : '\0', hasVR ? static_cast<char>(p[5]) : '\0', 0};
          AppendOrDelete(target, stop != nullptr ? FFactory.MakeDDEWithVR(static_cast<uint16_t>(tag >> 16),
                                                                           static_cast<uint16_t>(tag), letters, 0)
                                                 : FFactory.MakeDDE(static_cast<uint16_t>(tag >> 16),
                                                                    static_cast<uint16_t>(tag), 0));
        }
      } else if (!e->IsValid()) {
        FLastMessage = "DDE[" + ElementPair(e) + "] cannot be initialized with error (" + ErrorOf(e) + ")";
        going = false;
        AppendOrDelete(target, e);
      } else if (InOrder(target, e->Tag(), false)) {
        position += e->Size();
        AppendOrDelete(target, e);
        FLastMessage.clear();
      } else {
        FLastMessage = "Unrecognized or unexpected DDE[" + ElementPair(e) + "]";
        position += e->Size();
        if (!skip) {
          AppendOrDelete(target, e);
          going = false;
        } else {
          delete e;
        }
      }
      if (stop != nullptr && tag == *stop) break;
    }
    FTargetSet = nullptr;
    count = static_cast<uint32_t>(position);
    return going;
  }

  bool ReadStream(TanDDESet<iDDE>& target, std::istream& in, uint32_t& count, const uint32_t* stop, bool skip) {
    FLastMessage.clear();
    FTargetSet = &target;
    const bool big = BigEndian();
    // The stream's end bounds every length the element factory meets.
    std::streamoff end = -1;
    const std::streamoff start = in.good() ? std::streamoff(in.tellg()) : std::streamoff(-1);
    if (start >= 0) {
      in.seekg(0, std::ios::end);
      end = in.tellg();
      in.seekg(start);
      if (count != 0xFFFFFFFFu && end >= 0 && start + std::streamoff(count) < end) end = start + count;
    }
    FFactory.SetStreamEnd(end);
    uint64_t consumed = 0;
    bool going = true;
    while (going && in.good() && consumed < count) {
      const std::streamoff left = end >= 0 ? end - std::streamoff(in.tellg()) : 8;
      if (count - consumed < 8 || (left > 0 && left < 8)) {
        FLastMessage = kEndsInHeader;
        going = false;
        break;
      }
      const uint32_t tag = PeekStreamTag(in, big);
      if (stop != nullptr) {
        if (!in.good()) {
          going = false;
          break;
        }
        if (tag > *stop || tag < FLowestTag) break;
      }
      iDDE* e = FFactory.MakeDDEFromStream(in);
      const char* message = FFactory.GetLastMessage();
      if (e == nullptr) {
        FLastMessage = message != nullptr ? std::string(message) : "Unable to make DDE[" + Pair(tag) + "]";
        going = false;
        if (!skip)
          AppendOrDelete(target, FFactory.MakeDDE(static_cast<uint16_t>(tag >> 16), static_cast<uint16_t>(tag), 0));
      } else if (!e->IsValid()) {
        FLastMessage = message != nullptr
                           ? std::string(message)
                           : "DDE[" + ElementPair(e) + "] cannot be initialized with error (" + ErrorOf(e) + ")";
        going = false;
        AppendOrDelete(target, e);
      } else if (InOrder(target, e->Tag(), stop != nullptr)) {
        consumed += e->Size();
        AppendOrDelete(target, e);
        FLastMessage.clear();
      } else {
        FLastMessage = "Unrecognized or unexpected DDE[" + ElementPair(e) + "]";
        consumed += e->Size();
        if (!skip) {
          AppendOrDelete(target, e);
          going = false;
        } else {
          delete e;
        }
      }
      if (stop != nullptr && tag == *stop) break;
    }
    FFactory.SetStreamEnd(-1);
    FTargetSet = nullptr;
    count = static_cast<uint32_t>(consumed);
    return going && !in.fail();
  }

  static std::string ErrorOf(iDDE* e) {
    const char* text = e->GetLastError();
    return text != nullptr ? text : "";
  }

  F FFactory;
};

}  // namespace ORN_dicom
