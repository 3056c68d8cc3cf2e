#include "dicom/modules/TanFunctionalGroupMacro.h"

#include <cstring>

namespace ndl_impl {

bool TanConcatination::IsEqual(const ndl::iCONCATINATION& other) const {
  const auto& o = static_cast<const TanConcatination&>(other);
  return FConcatenationFrameOffsetNumber == o.FConcatenationFrameOffsetNumber &&
         FInConcatenationNumber == o.FInConcatenationNumber &&
         FInConcatenationTotalNumber == o.FInConcatenationTotalNumber && FConcatenationUID == o.FConcatenationUID;
}

TanConcatination& TanConcatination::Clear() {
  FConcatenationFrameOffsetNumber = -1;
  FInConcatenationNumber = FInConcatenationTotalNumber = -1;
  FConcatenationUID.clear();
  return *this;
}

TanConcatination& TanConcatination::operator=(const ndl::iCONCATINATION& other) {
  if (&other != this) {
    FConcatenationFrameOffsetNumber = other.GetConcatenationFrameOffsetNumber();
    FInConcatenationNumber = other.GetInConcatenationNumber();
    FInConcatenationTotalNumber = other.GetInConcatenationTotalNumber();
    FConcatenationUID = other.GetConcatenationUID();
  }
  return *this;
}

bool TanConcatination::Assign(const ndl::iCONCATINATION& other) {
  if (other.IsEmpty()) return false;
  operator=(other);
  return !IsEmpty();
}

bool TanConcatination::SetConcatenation(const char* uid, int32_t frameOffset, int16_t number, int16_t total) {
  const TanConcatination temporary(uid, frameOffset, number, total);
  if (temporary.IsEmpty()) return false;
  *this = temporary;
  return true;
}

bool FrameOrderLess(const ndl::iFUNCTIONAL_GROUP_MACRO& a, const ndl::iFUNCTIONAL_GROUP_MACRO& b) {
  const char* sa = a.FrameContent.GetStackID();
  const char* sb = b.FrameContent.GetStackID();
  const size_t la = std::strlen(sa), lb = std::strlen(sb);
  const int c = std::memcmp(sa, sb, la < lb ? la : lb);
  if (c != 0) return c < 0;
  if (la != lb) return la < lb;
  const auto pa = static_cast<uint32_t>(a.FrameContent.GetInStackPositionNumber());
  const auto pb = static_cast<uint32_t>(b.FrameContent.GetInStackPositionNumber());
  if (pa != pb) return pa < pb;
  return static_cast<uint32_t>(a.FrameContent.GetTemporalPositionIndex()) <
         static_cast<uint32_t>(b.FrameContent.GetTemporalPositionIndex());
}

}  // namespace ndl_impl
