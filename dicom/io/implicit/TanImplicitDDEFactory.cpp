#include "dicom/io/implicit/TanImplicitDDEFactory.h"

#include <cstring>
#include <vector>

#include "dicom/elements/element/ElementClasses.h"
#include "dicom/elements/header/DictionaryVR.h"
#include "dicom/io/factory/NestedReading.h"
#include "dicom/io/pixel/NativePixelCopy.h"
#include "dicom/io/pixel/TanPixelDecoder.h"
#include "dicom/io/factory/ElementMaking.h"

namespace ORN_dicom {

using namespace nested;

namespace {

// VRs newer than the classic 27: kept with their own VR, as text or as bytes.
constexpr uint16_t kOD = VRCode("OD"), kOL = VRCode("OL"), kOV = VRCode("OV"), kSV = VRCode("SV"),
                   kUV = VRCode("UV"), kLowerUN = VRCode("un");

uint32_t LengthAt(const unsigned char* p) { return TanLEV<uint32_t>::Decode(p + 4); }

template <class C>
iDDE* NewFromRecord(const unsigned char* p) {
  return new C(p);
}

template <class C>
iDDE* NewFromStream(std::istream& in) {
  return new C(in);
}

// Peeks the 8-byte implicit header: group, element, length.
bool PeekHeader(std::istream& in, unsigned char (&h)[8]) {
  std::memset(h, 0, 8);
  in.read(reinterpret_cast<char*>(h), 8);
  if (in.gcount() != 8) return false;
  StepBack(in, 8);
  return !in.fail();
}

}  // namespace

iDDE* TanImplicitDDEFactory::FromRecord(uint16_t code, const unsigned char* p) {
  const uint32_t length = LengthAt(p);
  // Whatever is not a sequence of items has a defined length that lies inside the block.
  if (length == kUndefinedLength || code == vr::SQ) return MakeSequenceFromHeader(p);
  if (Remaining(p) - 8 < length) return nullptr;
  switch (code) {
    case vr::DA: case vr::AE: case vr::SH: case vr::UI: case vr::TM: case vr::PN: case vr::LO:
    case vr::CS: case vr::DS: case vr::IS: case vr::DT:
      return NewFromRecord<dde::ImplicitText>(p);
    case vr::AS: case vr::LT: case vr::ST: case vr::UT: case vr::UC: case vr::UR:
      return NewFromRecord<dde::ImplicitChars>(p);
    case vr::FD: return NewFromRecord<dde::ImplicitFD>(p);
    case vr::FL: return NewFromRecord<dde::ImplicitFL>(p);
    case vr::SL: return NewFromRecord<dde::ImplicitSL>(p);
    case vr::UL: return NewFromRecord<dde::ImplicitUL>(p);
    case vr::SS: return NewFromRecord<dde::ImplicitSS>(p);
    case vr::US: return NewFromRecord<dde::ImplicitUS>(p);
    case vr::UN: case kLowerUN: return MakeUNFromHeader(p);
    case vr::OB: case kOD: case kOL: case kOV: case kSV: case kUV:
      return NewFromRecord<dde::ImplicitBytes>(p);
    case vr::OW: case vr::AT: return NewFromRecord<dde::ImplicitWords>(p);
    case vr::OF: return NewFromRecord<dde::ImplicitLongs>(p);
    default: return nullptr;
  }
}

iDDE* TanImplicitDDEFactory::FromStream(uint16_t code, std::istream& in) {
  unsigned char h[8];
  if (!PeekHeader(in, h)) return nullptr;
  const uint32_t length = LengthAt(h);
  if (length == kUndefinedLength || code == vr::SQ) return ReadSequence(in);
  if (!StreamHolds(in, uint64_t{length} + 8)) return nullptr;
  switch (code) {
    case vr::DA: case vr::AE: case vr::SH: case vr::UI: case vr::TM: case vr::PN: case vr::LO:
    case vr::CS: case vr::DS: case vr::IS: case vr::DT:
      return NewFromStream<dde::ImplicitText>(in);
    case vr::AS: case vr::LT: case vr::ST: case vr::UT: case vr::UC: case vr::UR:
      return NewFromStream<dde::ImplicitChars>(in);
    case vr::FD: return NewFromStream<dde::ImplicitFD>(in);
    case vr::FL: return NewFromStream<dde::ImplicitFL>(in);
    case vr::SL: return NewFromStream<dde::ImplicitSL>(in);
    case vr::UL: return NewFromStream<dde::ImplicitUL>(in);
    case vr::SS: return NewFromStream<dde::ImplicitSS>(in);
    case vr::US: return NewFromStream<dde::ImplicitUS>(in);
    case vr::UN: case kLowerUN: return ReadUN(in);
    case vr::OB: case kOD: case kOL: case kOV: case kSV: case kUV:
      return NewFromStream<dde::ImplicitBytes>(in);
    case vr::OW: case vr::AT: return NewFromStream<dde::ImplicitWords>(in);
    case vr::OF: return NewFromStream<dde::ImplicitLongs>(in);
    default: return nullptr;
  }
}

iDDE* TanImplicitDDEFactory::MakeDDEFromMemory(const void* element) {
  try {
    const auto* p = static_cast<const unsigned char*>(element);
    if (Remaining(p) < 8) return nullptr;
    const uint32_t tag = MakeTag(p);
    iDDE* e = nullptr;
    if (tag == kItemTag) e = MakeItemFromHeader(p);
    else if (tag == kPixelDataTag) e = MakePixelDataFromHeader(p);
    if (e == nullptr && tag != kPixelDataTag)
      e = FromRecord(DictionaryVR(static_cast<uint16_t>(tag >> 16), static_cast<uint16_t>(tag)), p);
    return e;
  } catch (...) {
    return nullptr;
  }
}

iDDE* TanImplicitDDEFactory::MakeDDEFromStream(std::istream& in) {
  if (!in.good()) return nullptr;
  iDDE* e = nullptr;
  try {
    const uint32_t tag = PeekStreamTag(in);
    if (in.fail()) return nullptr;
    if (tag == kItemTag) e = ReadItem(in);
    else if (tag == kPixelDataTag) e = ReadPixelData(in);
    else e = FromStream(DictionaryVR(static_cast<uint16_t>(tag >> 16), static_cast<uint16_t>(tag)), in);
  } catch (...) {
    delete e;
    return nullptr;
  }
  if (e != nullptr && !e->IsValid()) {
    delete e;
    return nullptr;
  }
  return e;
}

iDDE* TanImplicitDDEFactory::MakeSequenceFromHeader(const void* bytes) {
  const auto* p = static_cast<const unsigned char*>(bytes);
  DepthGuard depth(*this);
  if (!depth.Ok() || Remaining(p) < 8) return nullptr;
  auto* sq = new dde::ImplicitSequence(p);
  if (sq == nullptr) return nullptr;
  const bool icon = sq->Tag() == 0x00880200u;
  if (icon) FInIconSequence = 1;
  const bool ok = ReadSetFromMemory(*sq->GetSequence(), p + 8, sq->Length(), kSequenceEndTag, false, Remaining(p) - 8,
                                    [this](uint32_t tag, const unsigned char* at) -> iDDE* {
                                      if (tag == kItemTag) return MakeItemFromHeader(at);
                                      if (tag == kSequenceEndTag) return MakeDelimitationDDEFromHeader(at);
                                      return nullptr;
                                    });
  if (icon) FInIconSequence = 0;
  if (!ok) {
    delete sq;
    return nullptr;
  }
  return sq;
}

iDDE* TanImplicitDDEFactory::MakeItemFromHeader(const void* bytes) {
  const auto* p = static_cast<const unsigned char*>(bytes);
  DepthGuard depth(*this);
  if (!depth.Ok() || Remaining(p) < 8) return nullptr;
  auto* item = new dde::ImplicitItem(p);
  if (item == nullptr) return nullptr;
  const bool ok = ReadSetFromMemory(*item->GetItem(), p + 8, item->Length(), kItemEndTag, false, Remaining(p) - 8,
                                    [this](uint32_t tag, const unsigned char* at) -> iDDE* {
                                      if (tag == kItemTag) return nullptr;
                                      if (tag == kItemEndTag) return MakeDelimitationDDEFromHeader(at);
                                      if (tag != kPixelDataTag) return MakeDDEFromMemory(at);
                                      FPixelDataInItem = 1;
                                      iDDE* e = MakeDDEFromMemory(at);
                                      FPixelDataInItem = 0;
                                      return e;
                                    });
  if (!ok) {
    delete item;
    return nullptr;
  }
  return item;
}

iDDE* TanImplicitDDEFactory::ReadSequence(std::istream& in) {
  if (!in.good()) return nullptr;
  DepthGuard depth(*this);
  if (!depth.Ok()) {
    FLastMessage = "Sequences are nested too deeply.";
    return nullptr;
  }
  auto* sq = new dde::ImplicitSequence(in);
  if (sq == nullptr) return nullptr;
  if (!sq->IsHeaderValid()) return sq;
  const bool icon = sq->Tag() == 0x00880200u;
  if (icon) FInIconSequence = 1;
  const bool ok = ReadSequenceFromStream(FLastMessage, *sq->GetSequence(), in, sq->Length(), false, sq->TagText(),
                                         [this](uint32_t tag, std::istream& s) -> iDDE* {
                                           if (tag == kItemTag) return ReadItem(s);
                                           if (tag == kSequenceEndTag) return ReadDelimitationDDE(s);
                                           return nullptr;
                                         });
  if (icon) FInIconSequence = 0;
  if (!ok) {
    delete sq;
    return nullptr;
  }
  return sq;
}

iDDE* TanImplicitDDEFactory::ReadItem(std::istream& in) {
  if (!in.good()) return nullptr;
  DepthGuard depth(*this);
  if (!depth.Ok()) {
    FLastMessage = "Sequences are nested too deeply.";
    return nullptr;
  }
  auto* item = new dde::ImplicitItem(in);
  if (item == nullptr) return nullptr;
  if (!item->IsHeaderValid()) {
    delete item;
    return nullptr;
  }
  const bool ok = ReadItemFromStream(FLastMessage, *item->GetItem(), in, item->Length(), false,
                                     [this](uint32_t tag, std::istream& s) -> iDDE* {
                                       if (tag == kItemEndTag) return ReadDelimitationDDE(s);
                                       if (tag != kPixelDataTag) return MakeDDEFromStream(s);
                                       FPixelDataInItem = 1;
                                       iDDE* e = MakeDDEFromStream(s);
                                       FPixelDataInItem = 0;
                                       return e;
                                     });
  if (!ok) {
    delete item;
    return nullptr;
  }
  return item;
}

iDDE* TanImplicitDDEFactory::MakeDelimitationDDEFromHeader(const void* bytes) {
  if (Remaining(bytes) < 8) return nullptr;
  return new dde::ImplicitDelimiter(bytes);
}

iDDE* TanImplicitDDEFactory::ReadDelimitationDDE(std::istream& in) {
  if (!in.good()) return nullptr;
  try {
    auto* e = new dde::ImplicitDelimiter(in);
    if (e != nullptr && !e->IsValid()) {
      delete e;
      return nullptr;
    }
    return e;
  } catch (...) {
    return nullptr;
  }
}

// UN of undefined length holds a sequence in implicit VR little endian whatever its group;
// otherwise its bytes.
iDDE* TanImplicitDDEFactory::MakeUNFromHeader(const void* bytes) {
  const auto* p = static_cast<const unsigned char*>(bytes);
  if (Remaining(p) < 8) return nullptr;
  const uint32_t length = LengthAt(p);
  if (length == kUndefinedLength) return MakeSequenceFromHeader(p);
  if (Remaining(p) - 8 < length) return nullptr;
  return new dde::ImplicitBytes(p);
}

iDDE* TanImplicitDDEFactory::ReadUN(std::istream& in) {
  if (!in.good()) return nullptr;
  try {
    unsigned char h[8];
    if (!PeekHeader(in, h)) return nullptr;
    const uint32_t length = LengthAt(h);
    if (length == kUndefinedLength) return ReadSequence(in);
    if (!StreamHolds(in, uint64_t{length} + 8)) return nullptr;
    return new dde::ImplicitBytes(in);
  } catch (...) {
    return nullptr;
  }
}

// Native pixel data as OW. Implicit VR has no encapsulated form: an undefined length is
// refused rather than read as an empty value followed by fragments.
iDDE* TanImplicitDDEFactory::MakePixelDataFromHeader(const void* bytes) {
  const auto* p = static_cast<const unsigned char*>(bytes);
  if (Remaining(p) < 8) return nullptr;
  const uint32_t length = LengthAt(p);
  if (length == kUndefinedLength || Remaining(p) - 8 < length) return nullptr;
  return new dde::ImplicitWords(p);
}

iDDE* TanImplicitDDEFactory::ReadPixelData(std::istream& in) {
  if (!in.good()) return nullptr;
  try {
    unsigned char h[8];
    if (!PeekHeader(in, h)) return nullptr;
    const uint32_t length = LengthAt(h);
    if (length == kUndefinedLength || !StreamHolds(in, uint64_t{length} + 8)) return nullptr;
    auto* e = new dde::ImplicitWords(in);
    if (e != nullptr && !e->IsValid()) {
      delete e;
      return nullptr;
    }
    return e;
  } catch (...) {
    return nullptr;
  }
}

iDDE* TanImplicitDDEFactory::MakeDelimitationDDE(uint16_t group, uint16_t element) {
  return new dde::ImplicitDelimiter(group, element, vr::no);
}

iDDE* TanImplicitDDEFactory::MakeSequence(uint16_t group, uint16_t element, uint8_t undefinedLength) {
  auto* sq = new dde::ImplicitSequence(group, element, vr::SQ, undefinedLength ? kUndefinedLength : 0);
  if (sq == nullptr || !undefinedLength) return sq;
  iDDE* end = MakeDelimitationDDE(0xFFFE, 0xE0DD);
  if (end == nullptr || !sq->GetSequence()->Insert(end)) {
    delete end;
    delete sq;
    return nullptr;
  }
  return sq;
}

iDDE* TanImplicitDDEFactory::MakeItem(uint8_t undefinedLength) {
  auto* item = new dde::ImplicitItem(0xFFFE, 0xE000, vr::no, undefinedLength ? kUndefinedLength : 0);
  if (item == nullptr || !undefinedLength) return item;
  iDDE* end = MakeDelimitationDDE(0xFFFE, 0xE00D);
  if (end == nullptr || !item->GetItem()->Insert(end)) {
    delete end;
    delete item;
    return nullptr;
  }
  return item;
}

iDDE* TanImplicitDDEFactory::MakePixelData(uint16_t code, uint32_t count, ...) {
  if (count == 0) return MakePixelDataFromBuffer(code, 0, nullptr);
  va_list args;
  va_start(args, count);
  const std::vector<unsigned char> joined = JoinFragmentArgs(count, args);
  va_end(args);
  return MakePixelDataFromBuffer(code, static_cast<uint32_t>(joined.size()), joined.data());
}

iDDE* TanImplicitDDEFactory::MakePixelDataFromBuffer(uint16_t, uint32_t length, const void* data) {
  if (length == 0) return new dde::ImplicitWords(0x7FE0, 0x0010, vr::OW);
  // The value is made even; bytes beyond the data (none given: all) stay zero.
  return new dde::ImplicitWords(0x7FE0, 0x0010, vr::OW, data, length);
}

iDDE* TanImplicitDDEFactory::CopyPixelData(iDDE* source) {
  if (source == nullptr) return nullptr;
  if (source->Length() == kUndefinedLength || source->ValueAs<TanEPDValue>() != nullptr)
    return DecodePixelData(source);
  return CopyNativePixelData(source);
}

iDDE* TanImplicitDDEFactory::CopyNativePixelData(iDDE* source) {
  return CopyNativePixels<dde::ImplicitBytes, dde::ImplicitWords, false>(source);
}

iDDE* TanImplicitDDEFactory::DecodePixelData(iDDE* source) {
  TanPixelDecoder decoder(*this);
  return decoder.Decode(
      source,
      [](uint16_t code, uint32_t size) -> iDDE* {
        if (code == vr::OB) return new dde::ImplicitBytes(0x7FE0, 0x0010, vr::OB, nullptr, size);
        return new dde::ImplicitWords(0x7FE0, 0x0010, vr::OW, nullptr, size);
      },
      false);
}

iDDE* TanImplicitDDEFactory::MakeDDE(uint16_t group, uint16_t element, uint32_t count, ...) {
  va_list args;
  va_start(args, count);
  iDDE* e = MakeDDEList(group, element, static_cast<int32_t>(count), args);
  va_end(args);
  return e;
}

iDDE* TanImplicitDDEFactory::MakeDDEWithVR(uint16_t group, uint16_t element, const char*, uint32_t count, ...) {
  va_list args;
  va_start(args, count);
  iDDE* e = MakeDDEList(group, element, static_cast<int32_t>(count), args);
  va_end(args);
  return e;
}

using namespace making;

iDDE* TanImplicitDDEFactory::MakeDDEList(uint16_t g, uint16_t e, int32_t count, va_list& args) {
  const uint32_t tag = uint32_t{g} << 16 | e;
  if (tag == kItemTag) return MakeItem(count == 0 ? 0 : static_cast<uint8_t>(va_arg(args, int)));
  if (tag == kPixelDataTag) {
    if (count == 0) return MakePixelData(vr::OW, 0);
    const uint32_t length = va_arg(args, uint32_t);
    const void* data = va_arg(args, const void*);
    return MakePixelData(vr::OW, 1, length, data);
  }
  const uint16_t code = DictionaryVR(g, e);
  switch (code) {
    case vr::US: return Filled<dde::ImplicitUS, uint16_t>(g, e, code, count, args);
    case vr::SS: return Filled<dde::ImplicitSS, int16_t>(g, e, code, count, args);
    case vr::UL: return Filled<dde::ImplicitUL, uint32_t>(g, e, code, count, args);
    case vr::SL: return Filled<dde::ImplicitSL, int32_t>(g, e, code, count, args);
    case vr::FL: return Filled<dde::ImplicitFL, float>(g, e, code, count, args);
    case vr::FD: return Filled<dde::ImplicitFD, double>(g, e, code, count, args);
    case vr::AE: case vr::CS: case vr::DA: case vr::DS: case vr::DT: case vr::IS: case vr::LO:
    case vr::PN: case vr::SH: case vr::TM: case vr::UI:
      return Filled<dde::ImplicitText, const char*>(g, e, code, count, args);
    case vr::AS: case vr::LT: case vr::ST: case vr::UT:
      return OneText<dde::ImplicitChars>(g, e, code, count, args);
    case vr::UC: case vr::UR: return OneText<dde::ImplicitChars>(g, e, code, count, args);
    case vr::OB: case vr::UN: case kOD: case kOL: case kOV: case kSV: case kUV:
      return Bytes<dde::ImplicitBytes>(g, e, code, count, args);
    case vr::OW: case vr::AT: return Bytes<dde::ImplicitWords>(g, e, code, count, args);
    case vr::OF: return Bytes<dde::ImplicitLongs>(g, e, code, count, args);
    case vr::SQ: return MakeSequence(g, e, count == 0 ? 0 : static_cast<uint8_t>(va_arg(args, int)));
    default: return nullptr;
  }
}

// ---- conversion of an element of any encoding ----

namespace {
template <class C, class T, class Get>
iDDE* Numbers(iDDE* s, Get get) {
  auto* d = new C(s->Group(), s->Element(), s->VR());
  if (d == nullptr) return nullptr;
  T v{};
  for (uint32_t i = 0; (s->*get)(v, i); ++i) {
    if constexpr (std::is_same_v<T, uint16_t>) d->AddUShort(v);
    else if constexpr (std::is_same_v<T, int16_t>) d->AddShort(v);
    else if constexpr (std::is_same_v<T, uint32_t>) d->AddULong(v);
    else if constexpr (std::is_same_v<T, int32_t>) d->AddLong(v);
    else if constexpr (std::is_same_v<T, float>) d->AddFloat(v);
    else d->AddDouble(v);
  }
  return d;
}

// Words (OW, AT) and longs (OF) in little endian, whatever order the source holds them in.
template <class C, class T>
iDDE* Words(iDDE* s) {
  const uint32_t n = s->GetLength();
  auto* d = new C(s->Group(), s->Element(), s->VR(), nullptr, n);
  if (d == nullptr) return nullptr;
  auto* to = d->template ValueAs<TanCVArray<T, TanLEV>>();
  if (auto* be = s->ValueAs<TanCVArray<T, TanBEV>>()) {
    for (uint32_t i = 0; i < be->Count(); ++i) to->Set(i, be->At(i));
  } else if (auto* le = s->ValueAs<TanCVArray<T, TanLEV>>()) {
    for (uint32_t i = 0; i < le->Count(); ++i) to->Set(i, le->At(i));
  }
  return d;
}
}  // namespace

iDDE* TanImplicitDDEFactory::ConvertValue(iDDE* s) {
  const uint16_t g = s->Group(), e = s->Element(), code = s->VR();
  switch (code) {
    case vr::DA: case vr::AE: case vr::SH: case vr::UI: case vr::TM: case vr::PN: case vr::LO:
    case vr::CS: case vr::DS: case vr::IS: case vr::DT:
      return new dde::ImplicitText(g, e, code, s->GetData(), s->GetLength());
    case vr::AS: case vr::LT: case vr::ST: case vr::UT:
      return new dde::ImplicitChars(g, e, code, s->GetData(), s->GetLength());
    case vr::UC: case vr::UR:
      return new dde::ImplicitChars(g, e, code, s->GetData(), s->GetLength());
    case vr::OB: case vr::UN: case kOD: case kOL: case kOV: case kSV: case kUV:
      return new dde::ImplicitBytes(g, e, code, s->GetData(), s->GetLength());
    case vr::US: return Numbers<dde::ImplicitUS, uint16_t>(s, &iDDE::GetUShortAt);
    case vr::SS: return Numbers<dde::ImplicitSS, int16_t>(s, &iDDE::GetShortAt);
    case vr::UL: return Numbers<dde::ImplicitUL, uint32_t>(s, &iDDE::GetULongAt);
    case vr::SL: return Numbers<dde::ImplicitSL, int32_t>(s, &iDDE::GetLongAt);
    case vr::FL: return Numbers<dde::ImplicitFL, float>(s, &iDDE::GetFloatAt);
    case vr::FD: return Numbers<dde::ImplicitFD, double>(s, &iDDE::GetDoubleAt);
    case vr::OW: case vr::AT: return Words<dde::ImplicitWords, uint16_t>(s);
    case vr::OF: return Words<dde::ImplicitLongs, uint32_t>(s);
    case vr::SQ: return MakeSequenceFromDDE(s);
    default: return nullptr;
  }
}

iDDE* TanImplicitDDEFactory::MakeDDEFromDDE(iDDE* source) {
  if (source == nullptr) return nullptr;
  iDDE* made = nullptr;
  try {
    const uint32_t tag = source->Tag();
    if (tag == kItemTag) made = MakeItemFromDDE(source);
    else if (tag == kItemEndTag || tag == kSequenceEndTag) made = MakeDelimitationDDE(source->Group(), source->Element());
    else if (tag == kPixelDataTag) made = CopyPixelData(source);
    else {
      made = ConvertValue(source);
    }
  } catch (...) {
    delete made;
    return nullptr;
  }
  if (made != nullptr && !made->IsValid()) {
    delete made;
    return nullptr;
  }
  return made;
}

namespace {
template <class C, class Convert>
iDDE* ConvertSet(C* d, TanDDESet<iDDE>* from, TanDDESet<iDDE>* to, Convert convert) {
  if (d == nullptr || from == nullptr) {
    delete d;
    return nullptr;
  }
  for (uint32_t i = 0; i < from->Count(); ++i) {
    iDDE* c = convert(from->At(i));
    if (c == nullptr || !to->Append(c)) {
      delete c;
      delete d;
      return nullptr;
    }
  }
  return d;
}
}  // namespace

iDDE* TanImplicitDDEFactory::MakeSequenceFromDDE(iDDE* s) {
  DepthGuard depth(*this);
  if (!depth.Ok()) return nullptr;
  auto* d = new dde::ImplicitSequence(s->Group(), s->Element(), vr::SQ, IsUndefinedLength(s) ? kUndefinedLength : 0);
  if (d == nullptr) return nullptr;
  return ConvertSet(d, s->GetSequence(), d->GetSequence(), [this](iDDE* c) { return MakeDDEFromDDE(c); });
}

iDDE* TanImplicitDDEFactory::MakeItemFromDDE(iDDE* s) {
  DepthGuard depth(*this);
  if (!depth.Ok()) return nullptr;
  auto* d = new dde::ImplicitItem(0xFFFE, 0xE000, vr::no, IsUndefinedLength(s) ? kUndefinedLength : 0);
  if (d == nullptr) return nullptr;
  TanDDESet<iDDE>* to = d->GetItem();
  return ConvertSet(d, s->GetItem(), to, [this, to](iDDE* c) -> iDDE* {
    if (c->Tag() != kPixelDataTag) return MakeDDEFromDDE(c);
    FPixelDataInItem = 1;
    FCurrentSet = to;
    iDDE* made = MakeDDEFromDDE(c);
    FCurrentSet = nullptr;
    FPixelDataInItem = 0;
    return made;
  });
}

}  // namespace ORN_dicom
