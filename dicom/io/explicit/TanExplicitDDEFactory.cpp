#include "dicom/io/explicit/TanExplicitDDEFactory.h"

#include <algorithm>
#include <cstring>
#include <type_traits>
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

constexpr uint16_t kOD = VRCode("OD"), kOL = VRCode("OL"), kOV = VRCode("OV"), kSV = VRCode("SV"),
                   kUV = VRCode("UV");

// The element classes of one byte order.
template <template <class> class E>
struct Classes;

template <>
struct Classes<TanLEV> {
  using Text = dde::ShortText;
  using Chars = dde::ShortChars;
  using Words = dde::ShortWords;
  using FD = dde::ShortFD;
  using FL = dde::ShortFL;
  using SL = dde::ShortSL;
  using UL = dde::ShortUL;
  using SS = dde::ShortSS;
  using US = dde::ShortUS;
  using LongBytes = dde::LongBytes;
  using LongWords = dde::LongWords;
  using LongLongs = dde::LongLongs;
  using LongChars = dde::LongChars;
  using Sequence = dde::LongSequence;
  using Item = dde::ImplicitItem;
  using Delimiter = dde::ImplicitDelimiter;
};

template <>
struct Classes<TanBEV> {
  using Text = dde::ShortTextBE;
  using Chars = dde::ShortCharsBE;
  using Words = dde::ShortWordsBE;
  using FD = dde::ShortFDBE;
  using FL = dde::ShortFLBE;
  using SL = dde::ShortSLBE;
  using UL = dde::ShortULBE;
  using SS = dde::ShortSSBE;
  using US = dde::ShortUSBE;
  using LongBytes = dde::LongBytesBE;
  using LongWords = dde::LongWordsBE;
  using LongLongs = dde::LongLongsBE;
  using LongChars = dde::LongCharsBE;
  using Sequence = dde::LongSequenceBE;
  using Item = dde::ImplicitItemBE;
  using Delimiter = dde::ImplicitDelimiterBE;
};

bool IsLongForm(uint16_t code) {
  switch (code) {
    case vr::OB: case vr::OF: case vr::OW: case vr::SQ: case vr::UN: case vr::UT: case vr::UC: case vr::UR:
    case kOD: case kOL: case kOV: case kSV: case kUV:
      return true;
    default:
      return false;
  }
}

template <template <class> class E>
uint32_t LengthOf(const unsigned char* header, bool longForm) {
  return longForm ? E<uint32_t>::Decode(header + 8) : E<uint16_t>::Decode(header + 6);
}

// Peeks n header bytes and steps back over them.
bool PeekBytes(std::istream& in, unsigned char* h, std::streamsize n) {
  std::memset(h, 0, static_cast<std::size_t>(n));
  in.read(reinterpret_cast<char*>(h), n);
  if (in.gcount() != n) return false;
  StepBack(in, n);
  return !in.fail();
}

template <class C>
iDDE* ValidOrNull(C* e) {
  if (e != nullptr && !e->IsValid()) {
    delete e;
    return nullptr;
  }
  return e;
}

}  // namespace

template <template <class> class E>
iDDE* TanExplicitDDEFactory<E>::FromRecord(uint16_t code, const unsigned char* p) {
  using K = Classes<E>;
  const bool longForm = IsLongForm(code);
  const uint32_t headerSize = longForm ? 12 : 8;
  if (Remaining(p) < headerSize) return nullptr;
  const uint32_t length = LengthOf<E>(p, longForm);
  if (code == vr::SQ) return MakeSequenceFromHeader(p);
  if (longForm && length == kUndefinedLength) return ImplicitSequenceFromRecord(p);
  if (Remaining(p) - headerSize < length) return nullptr;
  switch (code) {
    case vr::AE: case vr::CS: case vr::DA: case vr::DS: case vr::DT: case vr::IS: case vr::LO:
    case vr::PN: case vr::SH: case vr::TM: case vr::UI:
      return new typename K::Text(p);
    case vr::AS: case vr::LT: case vr::ST: return new typename K::Chars(p);
    case vr::AT: return new typename K::Words(p);
    case vr::FD: return new typename K::FD(p);
    case vr::FL: return new typename K::FL(p);
    case vr::SL: return new typename K::SL(p);
    case vr::UL: return new typename K::UL(p);
    case vr::SS: return new typename K::SS(p);
    case vr::US: return new typename K::US(p);
    case vr::OB: case vr::UN: case kOD: case kOL: case kOV: case kSV: case kUV:
      return new typename K::LongBytes(p);
    case vr::OW: return new typename K::LongWords(p);
    case vr::OF: return new typename K::LongLongs(p);
    case vr::UT: case vr::UC: case vr::UR: return new typename K::LongChars(p);
    default: return nullptr;
  }
}

template <template <class> class E>
iDDE* TanExplicitDDEFactory<E>::FromStream(uint16_t code, std::istream& in) {
  using K = Classes<E>;
  const bool longForm = IsLongForm(code);
  unsigned char h[12];
  if (!PeekBytes(in, h, longForm ? 12 : 8)) return nullptr;
  const uint32_t length = LengthOf<E>(h, longForm);
  if (code == vr::SQ) return ReadSequence(in);
  if (longForm && length == kUndefinedLength) return ImplicitSequenceFromStream(in);
  if (!StreamHolds(in, uint64_t{length} + (longForm ? 12 : 8))) return nullptr;
  switch (code) {
    case vr::AE: case vr::CS: case vr::DA: case vr::DS: case vr::DT: case vr::IS: case vr::LO:
    case vr::PN: case vr::SH: case vr::TM: case vr::UI:
      return new typename K::Text(in);
    case vr::AS: case vr::LT: case vr::ST: return new typename K::Chars(in);
    case vr::AT: return new typename K::Words(in);
    case vr::FD: return new typename K::FD(in);
    case vr::FL: return new typename K::FL(in);
    case vr::SL: return new typename K::SL(in);
    case vr::UL: return new typename K::UL(in);
    case vr::SS: return new typename K::SS(in);
    case vr::US: return new typename K::US(in);
    case vr::OB: case vr::UN: case kOD: case kOL: case kOV: case kSV: case kUV:
      return new typename K::LongBytes(in);
    case vr::OW: return new typename K::LongWords(in);
    case vr::OF: return new typename K::LongLongs(in);
    case vr::UT: case vr::UC: case vr::UR: return new typename K::LongChars(in);
    default: return nullptr;
  }
}

template <template <class> class E>
iDDE* TanExplicitDDEFactory<E>::MakeDDEFromMemory(const void* element) {
  try {
    const auto* p = static_cast<const unsigned char*>(element);
    if (Remaining(p) < 8) return nullptr;
    const uint32_t tag = TagAt(p, kBigEndian);
    iDDE* e = nullptr;
    if (tag == kItemTag) e = MakeItemFromHeader(p);
    else if (tag == kItemEndTag || tag == kSequenceEndTag) e = MakeDelimitationDDEFromHeader(p);
    else if (tag == kPixelDataTag) e = MakePixelDataFromHeader(p);
    if (e == nullptr) e = FromRecord(TanLEV<uint16_t>::Decode(p + 4), p);
    return e;
  } catch (...) {
    return nullptr;
  }
}

template <template <class> class E>
iDDE* TanExplicitDDEFactory<E>::MakeDDEFromStream(std::istream& in) {
  if (!in.good()) return nullptr;
  try {
    unsigned char h[6];
    const uint32_t tag = PeekStreamTag(in, kBigEndian);
    if (in.fail()) return nullptr;
    if (tag == kItemTag) return ReadItem(in);
    if (tag == kItemEndTag || tag == kSequenceEndTag) return ReadDelimitationDDE(in);
    if (tag == kPixelDataTag) return ReadPixelData(in);
    if (!PeekBytes(in, h, 6)) return nullptr;
    return FromStream(TanLEV<uint16_t>::Decode(h + 4), in);
  } catch (...) {
    return nullptr;
  }
}

template <template <class> class E>
iDDE* TanExplicitDDEFactory<E>::MakeItemFromHeader(const void* bytes) {
  const auto* p = static_cast<const unsigned char*>(bytes);
  DepthGuard depth(*this);
  if (!depth.Ok() || Remaining(p) < 8) return nullptr;
  auto* item = new typename Classes<E>::Item(p);
  if (item == nullptr) return nullptr;
  const bool ok = ReadSetFromMemory(*item->GetItem(), p + 8, item->Length(), kItemEndTag, kBigEndian, Remaining(p) - 8,
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

template <template <class> class E>
iDDE* TanExplicitDDEFactory<E>::MakeSequenceFromHeader(const void* bytes) {
  const auto* p = static_cast<const unsigned char*>(bytes);
  DepthGuard depth(*this);
  if (!depth.Ok() || Remaining(p) < 12) return nullptr;
  auto* sq = new typename Classes<E>::Sequence(p);
  if (sq == nullptr) return nullptr;
  const bool icon = sq->Tag() == 0x00880200u;
  if (icon) FInIconSequence = 1;
  const bool ok = ReadSetFromMemory(*sq->GetSequence(), p + 12, sq->Length(), kSequenceEndTag, kBigEndian,
                                    Remaining(p) - 12, [this](uint32_t tag, const unsigned char* at) -> iDDE* {
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

template <template <class> class E>
iDDE* TanExplicitDDEFactory<E>::MakeDelimitationDDEFromHeader(const void* bytes) {
  if (Remaining(bytes) < 8) return nullptr;
  return new typename Classes<E>::Delimiter(bytes);
}

// An undefined-length value of a long-form VR other than SQ: a sequence of items in implicit
// VR little endian, kept with the VR it was read with.
template <template <class> class E>
iDDE* TanExplicitDDEFactory<E>::ImplicitSequenceFromRecord(const unsigned char* p) {
  DepthGuard depth(*this);
  if (!depth.Ok() || Remaining(p) < 12) return nullptr;
  auto* sq = new typename Classes<E>::Sequence(p);
  if (sq == nullptr) return nullptr;
  FImplicit.InheritBounds(*this);
  const bool ok = ReadSetFromMemory(*sq->GetSequence(), p + 12, sq->Length(), kSequenceEndTag, false, Remaining(p) - 12,
                                    [this](uint32_t tag, const unsigned char* at) -> iDDE* {
                                      if (tag == kItemTag) return FImplicit.MakeItemFromHeader(at);
                                      if (tag == kSequenceEndTag) return FImplicit.MakeDelimitationDDEFromHeader(at);
                                      return nullptr;
                                    });
  if (!ok) {
    delete sq;
    return nullptr;
  }
  return sq;
}

template <template <class> class E>
iDDE* TanExplicitDDEFactory<E>::ImplicitSequenceFromStream(std::istream& in) {
  DepthGuard depth(*this);
  if (!depth.Ok()) {
    FLastMessage = "Sequences are nested too deeply.";
    return nullptr;
  }
  auto* sq = new typename Classes<E>::Sequence(in);
  if (sq == nullptr) return nullptr;
  if (!sq->IsHeaderValid()) {
    delete sq;
    return nullptr;
  }
  FImplicit.InheritBounds(*this);
  const bool ok = ReadSequenceFromStream(FLastMessage, *sq->GetSequence(), in, sq->Length(), false, sq->TagText(),
                                         [this](uint32_t tag, std::istream& s) -> iDDE* {
                                           iDDE* e = nullptr;
                                           if (tag == kItemTag) e = FImplicit.ReadItem(s);
                                           else if (tag == kSequenceEndTag) e = FImplicit.ReadDelimitationDDE(s);
                                           if (e == nullptr && FImplicit.GetLastMessage() != nullptr)
                                             FLastMessage = FImplicit.FLastMessage;
                                           return e;
                                         });
  if (!ok) {
    delete sq;
    return nullptr;
  }
  return sq;
}

template <template <class> class E>
iDDE* TanExplicitDDEFactory<E>::ReadItem(std::istream& in) {
  if (!in.good()) return nullptr;
  DepthGuard depth(*this);
  if (!depth.Ok()) {
    FLastMessage = "Sequences are nested too deeply.";
    return nullptr;
  }
  auto* item = new typename Classes<E>::Item(in);
  if (item == nullptr) return nullptr;
  if (!item->IsHeaderValid()) {
    delete item;
    return nullptr;
  }
  const bool ok = ReadItemFromStream(FLastMessage, *item->GetItem(), in, item->Length(), kBigEndian,
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

template <template <class> class E>
iDDE* TanExplicitDDEFactory<E>::ReadSequence(std::istream& in) {
  if (!in.good()) return nullptr;
  DepthGuard depth(*this);
  if (!depth.Ok()) {
    FLastMessage = "Sequences are nested too deeply.";
    return nullptr;
  }
  auto* sq = new typename Classes<E>::Sequence(in);
  if (sq == nullptr) return nullptr;
  if (!sq->IsHeaderValid()) return sq;
  const bool icon = sq->Tag() == 0x00880200u;
  if (icon) FInIconSequence = 1;
  const bool ok = ReadSequenceFromStream(FLastMessage, *sq->GetSequence(), in, sq->Length(), kBigEndian,
                                         sq->TagText(), [this](uint32_t tag, std::istream& s) -> iDDE* {
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

template <template <class> class E>
iDDE* TanExplicitDDEFactory<E>::ReadDelimitationDDE(std::istream& in) {
  if (!in.good()) return nullptr;
  try {
    return ValidOrNull(new typename Classes<E>::Delimiter(in));
  } catch (...) {
    return nullptr;
  }
}

// ---- pixel data ----

template <template <class> class E>
iDDE* TanExplicitDDEFactory<E>::MakePixelDataFromHeader(const void* bytes) {
  const auto* p = static_cast<const unsigned char*>(bytes);
  if (Remaining(p) < 12) return nullptr;
  const uint16_t code = TanLEV<uint16_t>::Decode(p + 4);
  if (code != vr::OB && code != vr::OW) return nullptr;
  const uint32_t length = LengthOf<E>(p, true);
  if (length == kUndefinedLength) return EncapsulatedFromRecord(p);
  if (Remaining(p) - 12 < length) return nullptr;
  if (code == vr::OB) return new typename Classes<E>::LongBytes(p);
  return new typename Classes<E>::LongWords(p);
}

template <template <class> class E>
iDDE* TanExplicitDDEFactory<E>::ReadPixelData(std::istream& in) {
  if (!in.good()) return nullptr;
  try {
    unsigned char h[12];
    if (!PeekBytes(in, h, 12)) return nullptr;
    const uint16_t code = TanLEV<uint16_t>::Decode(h + 4);
    if (code != vr::OB && code != vr::OW) return nullptr;
    const uint32_t length = LengthOf<E>(h, true);
    if (length == kUndefinedLength) return EncapsulatedFromStream(in);
    if (!StreamHolds(in, uint64_t{length} + 12)) return nullptr;
    if (code == vr::OB) return ValidOrNull(new typename Classes<E>::LongBytes(in));
    return ValidOrNull(new typename Classes<E>::LongWords(in));
  } catch (...) {
    return nullptr;
  }
}

// Encapsulated pixel data: the offset-table item, the fragment items and the sequence
// delimiter, as read. Big endian has no encapsulated form.
template <template <class> class E>
iDDE* TanExplicitDDEFactory<E>::EncapsulatedFromRecord(const unsigned char* p) {
  if constexpr (kBigEndian) {
    return nullptr;
  } else {
    auto* e = new dde::LongPixelData(p);
    if (e == nullptr) return nullptr;
    TanDDESet<iDDE>& set = *e->GetEncapsulatedPixelData();
    const bool ok = ReadSetFromMemory(set, p + 12, kUndefinedLength, kSequenceEndTag, false, Remaining(p) - 12,
                                      [this, &set](uint32_t tag, const unsigned char* at) -> iDDE* {
                                        if (tag == kSequenceEndTag) return MakeDelimitationDDEFromHeader(at);
                                        if (tag != kItemTag) return nullptr;
                                        const uint32_t n = TanLEV<uint32_t>::Decode(at + 4);
                                        if (n == kUndefinedLength || Remaining(at) - 8 < n) return nullptr;
                                        if (set.IsEmpty()) return new dde::ImplicitLongs(at);
                                        return new dde::ImplicitBytes(at);
                                      });
    if (!ok) {
      delete e;
      return nullptr;
    }
    return e;
  }
}

template <template <class> class E>
iDDE* TanExplicitDDEFactory<E>::EncapsulatedFromStream(std::istream& in) {
  if constexpr (kBigEndian) {
    return nullptr;
  } else {
    auto* e = new dde::LongPixelData(in);
    if (e == nullptr) return nullptr;
    TanDDESet<iDDE>& set = *e->GetEncapsulatedPixelData();
    uint32_t last = 0;
    while (last != kSequenceEndTag && in.good()) {
      unsigned char h[8];
      iDDE* f = nullptr;
      if (PeekBytes(in, h, 8)) {
        last = MakeTag(h);
        const uint32_t n = TanLEV<uint32_t>::Decode(h + 4);
        if (last == kSequenceEndTag) f = ReadDelimitationDDE(in);
        else if (last == kItemTag && n != kUndefinedLength && StreamHolds(in, uint64_t{n} + 8))
          f = set.IsEmpty() ? ValidOrNull(new dde::ImplicitLongs(in)) : ValidOrNull(new dde::ImplicitBytes(in));
      }
      if (f == nullptr || !set.Append(f)) {
        delete f;
        delete e;
        return nullptr;
      }
    }
    if (last != kSequenceEndTag) {
      delete e;
      return nullptr;
    }
    return e;
  }
}

template <template <class> class E>
iDDE* TanExplicitDDEFactory<E>::MakePixelDataFromBuffer(uint16_t code, uint32_t length, const void* data) {
  if (code == vr::OB) return new typename Classes<E>::LongBytes(0x7FE0, 0x0010, code, data, length);
  return new typename Classes<E>::LongWords(0x7FE0, 0x0010, vr::OW, data, length);
}

template <template <class> class E>
iDDE* TanExplicitDDEFactory<E>::MakePixelData(uint16_t code, uint32_t count, ...) {
  if (count == 0) return MakePixelDataFromBuffer(code, 0, nullptr);
  va_list args;
  va_start(args, count);
  const std::vector<unsigned char> joined = JoinFragmentArgs(count, args);
  va_end(args);
  return MakePixelDataFromBuffer(code, static_cast<uint32_t>(joined.size()), joined.data());
}

template <template <class> class E>
iDDE* TanExplicitDDEFactory<E>::CopyPixelData(iDDE* source) {
  if (source == nullptr) return nullptr;
  if (source->Length() == kUndefinedLength || source->ValueAs<TanEPDValue>() != nullptr)
    return DecodePixelData(source);
  return CopyNativePixelData(source);
}

template <template <class> class E>
iDDE* TanExplicitDDEFactory<E>::CopyNativePixelData(iDDE* source) {
  return CopyNativePixels<typename Classes<E>::LongBytes, typename Classes<E>::LongWords, kBigEndian>(source);
}

template <template <class> class E>
iDDE* TanExplicitDDEFactory<E>::DecodePixelData(iDDE* source) {
  TanPixelDecoder decoder(*this);
  return decoder.Decode(
      source,
      [](uint16_t code, uint32_t size) -> iDDE* {
        if (code == vr::OB) return new typename Classes<E>::LongBytes(0x7FE0, 0x0010, vr::OB, nullptr, size);
        return new typename Classes<E>::LongWords(0x7FE0, 0x0010, vr::OW, nullptr, size);
      },
      kBigEndian);
}

// ---- making elements from values ----

template <template <class> class E>
iDDE* TanExplicitDDEFactory<E>::MakeSequence(uint16_t group, uint16_t element, uint8_t undefinedLength) {
  auto* sq = new typename Classes<E>::Sequence(group, element, vr::SQ, undefinedLength ? kUndefinedLength : 0);
  if (sq == nullptr || !undefinedLength) return sq;
  iDDE* end = new typename Classes<E>::Delimiter(0xFFFE, 0xE0DD, vr::no);
  if (end == nullptr || !sq->GetSequence()->Insert(end)) {
    delete end;
    delete sq;
    return nullptr;
  }
  return sq;
}

template <template <class> class E>
iDDE* TanExplicitDDEFactory<E>::MakeItem(uint8_t undefinedLength) {
  auto* item = new typename Classes<E>::Item(0xFFFE, 0xE000, vr::no, undefinedLength ? kUndefinedLength : 0);
  if (item == nullptr || !undefinedLength) return item;
  iDDE* end = new typename Classes<E>::Delimiter(0xFFFE, 0xE00D, vr::no);
  if (end == nullptr || !item->GetItem()->Insert(end)) {
    delete end;
    delete item;
    return nullptr;
  }
  return item;
}

using namespace making;

template <template <class> class E>
iDDE* TanExplicitDDEFactory<E>::MakeDDEList(uint16_t g, uint16_t e, uint16_t code, int32_t count, va_list& args) {
  using K = Classes<E>;
  const uint32_t tag = uint32_t{g} << 16 | e;
  if (tag == kItemTag) return MakeItem(count == 0 ? 0 : static_cast<uint8_t>(va_arg(args, int)));
  if (tag == kPixelDataTag) {
    if (count == 0) return MakePixelDataFromBuffer(vr::OW, 0, nullptr);
    const uint32_t length = va_arg(args, uint32_t);
    const void* data = va_arg(args, const void*);
    return MakePixelDataFromBuffer(vr::OW, length, data);
  }
  switch (code) {
    case vr::US: return Filled<typename K::US, uint16_t>(g, e, code, count, args);
    case vr::SS: return Filled<typename K::SS, int16_t>(g, e, code, count, args);
    case vr::UL: return Filled<typename K::UL, uint32_t>(g, e, code, count, args);
    case vr::SL: return Filled<typename K::SL, int32_t>(g, e, code, count, args);
    case vr::FL: return Filled<typename K::FL, float>(g, e, code, count, args);
    case vr::FD: return Filled<typename K::FD, double>(g, e, code, count, args);
    case vr::AE: case vr::CS: case vr::DA: case vr::DS: case vr::DT: case vr::IS: case vr::LO:
    case vr::PN: case vr::SH: case vr::TM: case vr::UI:
      return Filled<typename K::Text, const char*>(g, e, code, count, args);
    case vr::AS: case vr::LT: case vr::ST: return OneText<typename K::Chars>(g, e, code, count, args);
    case vr::UT: case vr::UC: case vr::UR: return OneText<typename K::LongChars>(g, e, code, count, args);
    case vr::AT: return Bytes<typename K::Words>(g, e, code, count, args);
    case vr::OB: case vr::UN: case kOD: case kOL: case kOV: case kSV: case kUV:
      return Bytes<typename K::LongBytes>(g, e, code, count, args);
    case vr::OW: return Bytes<typename K::LongWords>(g, e, code, count, args);
    case vr::OF: return Bytes<typename K::LongLongs>(g, e, code, count, args);
    case vr::SQ: return MakeSequence(g, e, count == 0 ? 0 : static_cast<uint8_t>(va_arg(args, int)));
    default: return nullptr;
  }
}

template <template <class> class E>
iDDE* TanExplicitDDEFactory<E>::MakeDDE(uint16_t group, uint16_t element, uint32_t count, ...) {
  va_list args;
  va_start(args, count);
  iDDE* e = nullptr;
  try {
    e = MakeDDEList(group, element, DictionaryVR(group, element), static_cast<int32_t>(count), args);
  } catch (...) {
    va_end(args);
    throw;
  }
  va_end(args);
  return e;
}

template <template <class> class E>
iDDE* TanExplicitDDEFactory<E>::MakeDDEWithVR(uint16_t group, uint16_t element, const char* vrText, uint32_t count,
                                              ...) {
  va_list args;
  va_start(args, count);
  const uint16_t code = vrText != nullptr && vrText[0] != 0 ? VRCode(vrText[0], vrText[1]) : 0;
  iDDE* e = MakeDDEList(group, element, code, static_cast<int32_t>(count), args);
  va_end(args);
  return e;
}

template <template <class> class E>
iDDE* TanExplicitDDEFactory<E>::MakeDDEFromDDE(iDDE* source) {
  if (source == nullptr) return nullptr;
  iDDE* made = nullptr;
  try {
    const uint32_t tag = source->Tag();
    if (tag == kItemTag) made = MakeItemFromDDE(source);
    else if (tag == kItemEndTag || tag == kSequenceEndTag) made = MakeDelimitationDDE(source->Group(), source->Element());
    else if (tag == kPixelDataTag) made = CopyPixelData(source);
    else made = ConvertValue(source);
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
template <class C, class T, class Get>
iDDE* ConvertNumbers(iDDE* s, Get get) {
  auto* d = new C(s->Group(), s->Element(), s->VR());
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

// Words (OW, AT) and longs (OF) stored in the order of the target class T2, whatever order
// the source holds them in.
template <class C, class T, template <class> class E>
iDDE* ConvertWords(iDDE* s) {
  auto* d = new C(s->Group(), s->Element(), s->VR(), nullptr, s->GetLength());
  auto* to = d->template ValueAs<TanCVArray<T, E>>();
  if (to == nullptr) return d;
  if (auto* be = s->ValueAs<TanCVArray<T, TanBEV>>()) {
    for (uint32_t i = 0; i < be->Count(); ++i) to->Set(i, be->At(i));
  } else if (auto* le = s->ValueAs<TanCVArray<T, TanLEV>>()) {
    for (uint32_t i = 0; i < le->Count(); ++i) to->Set(i, le->At(i));
  } else {
    // A value of another class (bytes): its bytes as they are.
    if (const unsigned char* p = s->GetData()) std::memcpy(d->GetData(), p, std::min(s->GetLength(), d->GetLength()));
  }
  return d;
}

// Makes a container (item or sequence) from converted children: undefined length with its own
// delimiter only when a child has undefined length.
template <class C>
iDDE* Container(uint16_t g, uint16_t e, uint16_t code, std::vector<iDDE*>& children, iDDE* (*delimiter)(uint16_t),
                bool item) {
  bool undefined = false;
  for (iDDE* c : children) undefined = undefined || c->Length() == kUndefinedLength;
  auto* d = new C(g, e, code, undefined ? kUndefinedLength : 0);
  TanDDESet<iDDE>* set = item ? static_cast<TanDDESet<iDDE>*>(d->GetItem()) : static_cast<TanDDESet<iDDE>*>(d->GetSequence());
  bool ok = true;
  for (iDDE*& c : children) {
    if (ok && set->Insert(c)) c = nullptr;
    else ok = false;
  }
  for (iDDE* c : children) delete c;
  if (ok && undefined) {
    iDDE* end = delimiter(item ? 0xE00D : 0xE0DD);
    ok = end != nullptr && set->Insert(end);
    if (!ok) delete end;
  }
  if (!ok) {
    delete d;
    return nullptr;
  }
  return d;
}
}  // namespace

template <template <class> class E>
iDDE* TanExplicitDDEFactory<E>::MakeDelimitationDDE(uint16_t group, uint16_t element) {
  return new typename Classes<E>::Delimiter(group, element, vr::no);
}

template <template <class> class E>
iDDE* TanExplicitDDEFactory<E>::ConvertValue(iDDE* s) {
  using K = Classes<E>;
  const uint16_t g = s->Group(), e = s->Element(), code = s->VR();
  // An undefined-length UN (OB, OW, UT) was read as a sequence of items: it becomes SQ.
  if (code == vr::SQ || s->template ValueAs<TanDDESequenceValue>() != nullptr) return MakeSequenceFromDDE(s);
  const uint32_t length = s->GetLength();
  if (!IsLongForm(code) && length + (length & 1u) > 0xFFFFu) {
    FLastMessage = "Value of " + s->TagText() + " is too long for VR " + s->VRText() + " (" + std::to_string(length) +
                   " bytes).";
    return nullptr;
  }
  switch (code) {
    case vr::AE: case vr::CS: case vr::DA: case vr::DS: case vr::DT: case vr::IS: case vr::LO:
    case vr::PN: case vr::SH: case vr::TM: case vr::UI:
      return new typename K::Text(g, e, code, s->GetData(), length);
    case vr::AS: case vr::LT: case vr::ST: return new typename K::Chars(g, e, code, s->GetData(), length);
    case vr::UT: case vr::UC: case vr::UR: return new typename K::LongChars(g, e, code, s->GetData(), length);
    case vr::OB: case vr::UN: case kOD: case kOL: case kOV: case kSV: case kUV:
      return new typename K::LongBytes(g, e, code, s->GetData(), length);
    case vr::US: return ConvertNumbers<typename K::US, uint16_t>(s, &iDDE::GetUShortAt);
    case vr::SS: return ConvertNumbers<typename K::SS, int16_t>(s, &iDDE::GetShortAt);
    case vr::UL: return ConvertNumbers<typename K::UL, uint32_t>(s, &iDDE::GetULongAt);
    case vr::SL: return ConvertNumbers<typename K::SL, int32_t>(s, &iDDE::GetLongAt);
    case vr::FL: return ConvertNumbers<typename K::FL, float>(s, &iDDE::GetFloatAt);
    case vr::FD: return ConvertNumbers<typename K::FD, double>(s, &iDDE::GetDoubleAt);
    case vr::AT: return ConvertWords<typename K::Words, uint16_t, E>(s);
    case vr::OW: return ConvertWords<typename K::LongWords, uint16_t, E>(s);
    case vr::OF: return ConvertWords<typename K::LongLongs, uint32_t, E>(s);
    default: return nullptr;
  }
}

template <template <class> class E>
iDDE* TanExplicitDDEFactory<E>::MakeSequenceFromDDE(iDDE* s) {
  DepthGuard depth(*this);
  TanDDESet<iDDE>* from = s->template ValueAs<TanDDESequenceValue>();
  if (!depth.Ok() || from == nullptr) return nullptr;
  std::vector<iDDE*> children;
  bool ok = true;
  for (uint32_t i = 0; ok && i < from->Count(); ++i) {
    iDDE* c = from->At(i);
    if (c->Tag() == kSequenceEndTag) continue;
    iDDE* made = c->Tag() == kItemTag ? MakeItemFromDDE(c) : nullptr;
    if (made == nullptr) ok = false;
    else children.push_back(made);
  }
  if (!ok) {
    for (iDDE* c : children) delete c;
    return nullptr;
  }
  return Container<typename Classes<E>::Sequence>(
      s->Group(), s->Element(), vr::SQ, children,
      [](uint16_t element) -> iDDE* { return new typename Classes<E>::Delimiter(0xFFFE, element, vr::no); }, false);
}

template <template <class> class E>
iDDE* TanExplicitDDEFactory<E>::MakeItemFromDDE(iDDE* s) {
  DepthGuard depth(*this);
  TanDDESet<iDDE>* from = s->template ValueAs<TanDDEItemValue>();
  if (!depth.Ok() || from == nullptr) return nullptr;
  // The pixel data of an item reads its attributes from the converted item; they sort before
  // it, so a set of the converted children is kept as they are made.
  TanDDESet<iDDE> converted;
  bool ok = true;
  for (uint32_t i = 0; ok && i < from->Count(); ++i) {
    iDDE* c = from->At(i);
    const uint32_t tag = c->Tag();
    if (c->Element() == 0 && c->Group() > 0x0002) continue;  // group lengths are dropped inside items
    if (c->Group() % 2 == 0 && c->VR() == vr::UN) continue;
    if (tag == kItemEndTag) continue;
    if (tag == kItemTag) {
      ok = false;
      break;
    }
    iDDE* made;
    if (tag == kPixelDataTag) {
      TanDDESet<iDDE>* outer = FCurrentSet;
      FCurrentSet = &converted;
      FPixelDataInItem = 1;
      try {
        made = CopyPixelData(c);
      } catch (...) {
        made = nullptr;
      }
      FCurrentSet = outer;
      FPixelDataInItem = 0;
    } else {
      made = MakeDDEFromDDE(c);
    }
    if (made == nullptr || !converted.Insert(made)) {
      delete made;
      ok = false;
    }
  }
  std::vector<iDDE*> children;
  while (!converted.IsEmpty()) children.push_back(converted.TakeFirst());
  if (!ok) {
    for (iDDE* c : children) delete c;
    return nullptr;
  }
  return Container<typename Classes<E>::Item>(
      0xFFFE, 0xE000, vr::no, children,
      [](uint16_t element) -> iDDE* { return new typename Classes<E>::Delimiter(0xFFFE, element, vr::no); }, true);
}

template class TanExplicitDDEFactory<TanLEV>;
template class TanExplicitDDEFactory<TanBEV>;

}  // namespace ORN_dicom
