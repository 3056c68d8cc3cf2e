// The parts of a multi-frame functional-groups element: the concatenation attributes, the frame
// content, and the functional-group macro that gathers what the shared and per-frame groups say
// about one frame. FrameOrderLess is the order in which the element sorts its macros.
#pragma once

#include <cstdint>
#include <string>

#include "dicom/modules/TanCollection.h"
#include "dicom/modules/TanImagePlane.h"
#include "dicom/modules/TanModalityLUT.h"
#include "dicom/modules/TanVOILUT.h"

namespace ndl {

class iCONCATINATION {
 public:
  virtual bool IsEmpty() const = 0;
  virtual const char* GetConcatenationUID() const = 0;
  virtual int32_t GetConcatenationFrameOffsetNumber() const = 0;
  virtual int16_t GetInConcatenationNumber() const = 0;
  virtual int16_t GetInConcatenationTotalNumber() const = 0;
  virtual bool IsEqual(const iCONCATINATION& other) const = 0;
  virtual iCONCATINATION& Clear() = 0;
  virtual iCONCATINATION& operator=(const iCONCATINATION& other) = 0;
  virtual bool Assign(const iCONCATINATION& other) = 0;
  virtual bool SetConcatenation(const char* uid, int32_t frameOffset, int16_t number, int16_t total) = 0;
  virtual ~iCONCATINATION() = default;
};

class iDICOM_FRAME_CONTENT {
 public:
  virtual bool IsEmpty() const = 0;
  virtual int32_t GetTemporalPositionIndex() const = 0;
  virtual iDICOM_FRAME_CONTENT& SetTemporalPositionIndex(int32_t value) = 0;
  virtual int32_t GetInStackPositionNumber() const = 0;
  virtual iDICOM_FRAME_CONTENT& SetInStackPositionNumber(int32_t value) = 0;
  virtual const char* GetStackID() const = 0;
  virtual iDICOM_FRAME_CONTENT& SetStackID(const char* text) = 0;
  virtual bool IsEqual(const iDICOM_FRAME_CONTENT& other) const = 0;
  virtual iDICOM_FRAME_CONTENT& Clear() = 0;
  virtual iDICOM_FRAME_CONTENT& operator=(const iDICOM_FRAME_CONTENT& other) = 0;
  virtual bool Assign(const iDICOM_FRAME_CONTENT& other) = 0;
  virtual ~iDICOM_FRAME_CONTENT() = default;
};

class iFUNCTIONAL_GROUP_MACRO {
 public:
  iFUNCTIONAL_GROUP_MACRO(iDICOM_FRAME_CONTENT& content, iIMAGE_PLANE& plane, iDICOM_MODALITY_LUT& modality,
                          iCOLLECTION<iDICOM_VOI_LUT>& vois)
      : FrameContent(content), ImagePlane(plane), ModalityLUT(modality), FrameVOILUTs(vois) {}
  iFUNCTIONAL_GROUP_MACRO(const iFUNCTIONAL_GROUP_MACRO&) = delete;

  virtual bool IsEmpty() const = 0;
  virtual char GetFrameLaterality() const = 0;
  virtual iFUNCTIONAL_GROUP_MACRO& SetFrameLaterality(char laterality) = 0;
  virtual const char* GetFrameType() const = 0;
  virtual iFUNCTIONAL_GROUP_MACRO& SetFrameType(const char* text) = 0;
  virtual int32_t GetFrameNumber() const = 0;
  virtual iFUNCTIONAL_GROUP_MACRO& SetFrameNumber(int32_t number) = 0;
  virtual bool IsEqual(const iFUNCTIONAL_GROUP_MACRO& other) const = 0;
  virtual iFUNCTIONAL_GROUP_MACRO& Clear() = 0;
  virtual iFUNCTIONAL_GROUP_MACRO& operator=(const iFUNCTIONAL_GROUP_MACRO& other) = 0;
  virtual bool Assign(const iFUNCTIONAL_GROUP_MACRO& other) = 0;
  virtual ~iFUNCTIONAL_GROUP_MACRO() = default;

  iDICOM_FRAME_CONTENT& FrameContent;
  iIMAGE_PLANE& ImagePlane;
  iDICOM_MODALITY_LUT& ModalityLUT;
  iCOLLECTION<iDICOM_VOI_LUT>& FrameVOILUTs;
};

}  // namespace ndl

namespace ndl_impl {

class TanConcatination : public ndl::iCONCATINATION {
 public:
  TanConcatination() = default;
  TanConcatination(const char* uid, int32_t frameOffset, int16_t number, int16_t total)
      : FConcatenationFrameOffsetNumber(frameOffset),
        FInConcatenationNumber(number),
        FInConcatenationTotalNumber(total),
        FConcatenationUID(uid ? uid : "") {}
  TanConcatination(const TanConcatination&) = default;
  TanConcatination& operator=(const TanConcatination& o) { return operator=(static_cast<const ndl::iCONCATINATION&>(o)); }

  bool IsEmpty() const override {
    return FConcatenationFrameOffsetNumber == -1 || FInConcatenationNumber == -1 || FConcatenationUID.empty();
  }
  const char* GetConcatenationUID() const override { return FConcatenationUID.c_str(); }
  int32_t GetConcatenationFrameOffsetNumber() const override { return FConcatenationFrameOffsetNumber; }
  int16_t GetInConcatenationNumber() const override { return FInConcatenationNumber; }
  int16_t GetInConcatenationTotalNumber() const override { return FInConcatenationTotalNumber; }
  bool IsEqual(const ndl::iCONCATINATION& other) const override;
  TanConcatination& Clear() override;
  TanConcatination& operator=(const ndl::iCONCATINATION& other) override;
  bool Assign(const ndl::iCONCATINATION& other) override;
  bool SetConcatenation(const char* uid, int32_t frameOffset, int16_t number, int16_t total) override;

 private:
  int32_t FConcatenationFrameOffsetNumber = -1;
  int16_t FInConcatenationNumber = -1;
  int16_t FInConcatenationTotalNumber = -1;
  std::string FConcatenationUID;
};

template <class A = std::allocator<void>>
class TanFrameContent : public ndl::iDICOM_FRAME_CONTENT {
 public:
  bool IsEmpty() const override { return FTemporalPositionIndex == -1 && FInStackPositionNumber == -1 && FStackID.empty(); }
  int32_t GetTemporalPositionIndex() const override { return FTemporalPositionIndex; }
  TanFrameContent& SetTemporalPositionIndex(int32_t v) override {
    FTemporalPositionIndex = v;
    return *this;
  }
  int32_t GetInStackPositionNumber() const override { return FInStackPositionNumber; }
  TanFrameContent& SetInStackPositionNumber(int32_t v) override {
    FInStackPositionNumber = v;
    return *this;
  }
  const char* GetStackID() const override { return FStackID.c_str(); }
  TanFrameContent& SetStackID(const char* text) override {
    FStackID = text;
    return *this;
  }
  bool IsEqual(const ndl::iDICOM_FRAME_CONTENT& other) const override {
    return FTemporalPositionIndex == other.GetTemporalPositionIndex() &&
           FInStackPositionNumber == other.GetInStackPositionNumber() && FStackID == other.GetStackID();
  }
  TanFrameContent& Clear() override {
    FTemporalPositionIndex = FInStackPositionNumber = -1;
    FStackID.clear();
    return *this;
  }
  TanFrameContent& operator=(const ndl::iDICOM_FRAME_CONTENT& other) override {
    if (&other != this) {
      FTemporalPositionIndex = other.GetTemporalPositionIndex();
      FInStackPositionNumber = other.GetInStackPositionNumber();
      FStackID = other.GetStackID();
    }
    return *this;
  }
  // Copies a content that is not empty; true when this one is then not empty.
  bool Assign(const ndl::iDICOM_FRAME_CONTENT& other) override {
    if (other.IsEmpty()) return false;
    operator=(other);
    return !IsEmpty();
  }

 private:
  int32_t FTemporalPositionIndex = -1;
  int32_t FInStackPositionNumber = -1;
  std::string FStackID;
};

template <class A = std::allocator<void>>
class TanFunctionalGroupMacro : public ndl::iFUNCTIONAL_GROUP_MACRO {
 public:
  TanFunctionalGroupMacro() : iFUNCTIONAL_GROUP_MACRO(FFrameContent, FImagePlane, FModalityLUT, FFrameVOILUTs) {}
  TanFunctionalGroupMacro(const TanFunctionalGroupMacro& other) : TanFunctionalGroupMacro() { CopyFrom(other); }
  TanFunctionalGroupMacro& operator=(const TanFunctionalGroupMacro& other) {
    if (&other != this) CopyFrom(other);
    return *this;
  }
  ~TanFunctionalGroupMacro() override = default;

  bool IsEmpty() const override {
    const bool lateral = FFrameLaterality == 'R' || FFrameLaterality == 'L' || FFrameLaterality == 'U' ||
                         FFrameLaterality == 'B';
    return !(lateral && !FFrameType.empty() && !FModalityLUT.IsEmpty() && !FFrameContent.IsEmpty());
  }
  char GetFrameLaterality() const override { return FFrameLaterality; }
  TanFunctionalGroupMacro& SetFrameLaterality(char c) override {
    FFrameLaterality = c;
    return *this;
  }
  const char* GetFrameType() const override { return FFrameType.c_str(); }
  TanFunctionalGroupMacro& SetFrameType(const char* text) override {
    FFrameType = text;
    return *this;
  }
  int32_t GetFrameNumber() const override { return FFrameNumber; }
  TanFunctionalGroupMacro& SetFrameNumber(int32_t n) override {
    FFrameNumber = n;
    return *this;
  }
  bool IsEqual(const ndl::iFUNCTIONAL_GROUP_MACRO& other) const override {
    if (!FImagePlane.IsEqual(other.ImagePlane) || !FModalityLUT.IsEqual(&other.ModalityLUT) ||
        !FFrameContent.IsEqual(other.FrameContent) || FFrameLaterality != other.GetFrameLaterality() ||
        FFrameType != other.GetFrameType() || FFrameNumber != other.GetFrameNumber() ||
        FFrameVOILUTs.GetCount() != other.FrameVOILUTs.GetCount())
      return false;
    if (other.FrameVOILUTs.IsEmpty()) return true;
    for (uint32_t k = 0; k < FFrameVOILUTs.GetCount(); ++k)
      if (!FFrameVOILUTs.At(k).IsEqual(&other.FrameVOILUTs.At(k))) return false;
    return true;
  }
  // The form the macro collection's Contains asks.
  bool IsEqual(const ndl::iFUNCTIONAL_GROUP_MACRO* other) const { return other != nullptr && IsEqual(*other); }
  TanFunctionalGroupMacro& Clear() override {
    FFrameContent.Clear();
    FImagePlane.Clear();
    FModalityLUT.Clear();
    FFrameVOILUTs.Clear();
    FFrameType.clear();
    FFrameLaterality = 0;
    FFrameNumber = -1;
    return *this;
  }
  TanFunctionalGroupMacro& operator=(const ndl::iFUNCTIONAL_GROUP_MACRO& other) override {
    if (&other != this) CopyFrom(other);
    return *this;
  }
  // Copies a macro that is not empty; true when this one is then not empty.
  bool Assign(const ndl::iFUNCTIONAL_GROUP_MACRO& other) override {
    if (other.IsEmpty()) return false;
    operator=(other);
    return !IsEmpty();
  }

 private:
  void CopyFrom(const ndl::iFUNCTIONAL_GROUP_MACRO& other) {
    FFrameContent = other.FrameContent;
    FImagePlane = other.ImagePlane;
    FModalityLUT = other.ModalityLUT;
    FFrameLaterality = other.GetFrameLaterality();
    FFrameType = other.GetFrameType();
    FFrameNumber = other.GetFrameNumber();
    FFrameVOILUTs.Clear();
    if (!other.FrameVOILUTs.IsEmpty())
      for (uint32_t k = 0; k < other.FrameVOILUTs.GetCount(); ++k)
        FFrameVOILUTs.InsertNew(-1).Assign(other.FrameVOILUTs.At(k));
  }

  TanFrameContent<A> FFrameContent;
  TanImagePlane FImagePlane;
  TanModalityObject<A> FModalityLUT;
  TanVOILUTCollection<> FFrameVOILUTs;
  char FFrameLaterality = 0;
  std::string FFrameType;
  int32_t FFrameNumber = -1;
};

template <class A = std::allocator<TanFunctionalGroupMacro<>>>
using TanFunctionalGroupMacroCollection = TanCollection<ndl::iFUNCTIONAL_GROUP_MACRO, TanFunctionalGroupMacro<>, A>;

// Frame order: stack ID (bytes, shorter first on a tie), then in-stack position number, then
// temporal position index, the numbers unsigned so that an absent one (-1) comes last.
bool FrameOrderLess(const ndl::iFUNCTIONAL_GROUP_MACRO& a, const ndl::iFUNCTIONAL_GROUP_MACRO& b);

}  // namespace ndl_impl
