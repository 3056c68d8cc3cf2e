#include "dicom/io/factory/TanDDEFactoryBasis.h"

#include <cstring>
#include <limits>
#include <string>
#include <utility>

#include "dicom/elements/element/iDDE.h"
#include "dicom/elements/header/VRCodes.h"
#include "dicom/elements/values/TanCharArray.h"

namespace ORN_dicom {

iDDE* TanDDEFactoryBasis::MakeDDEFromRange(const void* start, const void* end) {
  const unsigned char* saved = FMemoryEnd;
  FMemoryEnd = static_cast<const unsigned char*>(end);
  iDDE* e = nullptr;
  try {
    e = MakeDDEFromMemory(start);
  } catch (...) {
    e = nullptr;
  }
  FMemoryEnd = saved;
  return e;
}

uint64_t TanDDEFactoryBasis::Remaining(const void* p) const {
  if (FMemoryEnd == nullptr) return std::numeric_limits<uint64_t>::max();
  const auto* q = static_cast<const unsigned char*>(p);
  return q >= FMemoryEnd ? 0 : static_cast<uint64_t>(FMemoryEnd - q);
}

bool TanDDEFactoryBasis::StreamHolds(std::istream& in, uint64_t n) {
  // Small values cost no position query: a short read fails them anyway, and their room is
  // small. Large ones are checked against the end before their room is taken.
  if (n <= 0x10000) return true;
  std::streamoff end = FStreamEnd;
  const std::streamoff at = in.tellg();
  if (at < 0) return true;
  if (end < 0) {
    in.seekg(0, std::ios::end);
    end = in.tellg();
    in.seekg(at);
    if (end < 0) return true;
  }
  return end >= at && static_cast<uint64_t>(end - at) >= n;
}

bool TanDDEFactoryBasis::IsUndefinedLength(const iDDE* e) { return e != nullptr && e->Length() == kUndefinedLength; }

iDDE* TanDDEFactoryBasis::FindAttribute(uint32_t tag) {
  if (FCurrentSet != nullptr) return FCurrentSet->Find(tag);
  if (!FFindDDE) return nullptr;
  iDDE* found = nullptr;
  return FFindDDE(tag, &found, 0);
}

uint16_t TanDDEFactoryBasis::GetSamplesPerPixel() {
  iDDE* e = FindAttribute(0x00280002u);
  return e != nullptr ? e->GetUShort() : 0;
}

uint16_t TanDDEFactoryBasis::GetPixelRepresentation() {
  iDDE* e = FindAttribute(0x00280103u);
  return e != nullptr ? e->GetUShort() : 0;
}

namespace {
std::string Trimmed(const std::string& s) {
  std::size_t b = 0, e = s.size();
  while (b < e && static_cast<unsigned char>(s[b]) <= 32) ++b;
  while (e > b && static_cast<unsigned char>(s[e - 1]) <= 32) --e;
  return s.substr(b, e - b);
}

int32_t PaddingNumber(iDDE* e, bool isSigned) {
  if (isSigned) {
    int16_t v = 0;
    e->GetShortAt(v, 0);
    return v;
  }
  uint16_t v = 0;
  e->GetUShortAt(v, 0);
  return v;
}
}  // namespace

bool TanDDEFactoryBasis::IsLossyCompressed() {
  iDDE* e = FCurrentSet != nullptr ? FCurrentSet->Find(0x00282110u) : nullptr;
  if (e == nullptr && FFindDDE) {
    iDDE* found = nullptr;
    e = FFindDDE(0x00282110u, &found, 0);
  }
  if (e != nullptr) return Trimmed(e->GetString()) == "01";
  int32_t kind = -1;
  if (FGetSourceKind) FGetSourceKind(kind);
  return kind == 7;
}

bool TanDDEFactoryBasis::GetPixelPaddingRange(int32_t& value, int32_t& limit) {
  iDDE* padding = FindAttribute(0x00280120u);
  if (padding == nullptr || padding->GetCount() == 0) return false;
  const bool isSigned = GetPixelRepresentation() != 0;
  value = limit = PaddingNumber(padding, isSigned);
  iDDE* range = FindAttribute(0x00280121u);
  if (range != nullptr && range->GetCount() > 0) limit = PaddingNumber(range, isSigned);
  return true;
}

void TanDDEFactoryBasis::GetPixelAttributes(int32_t& columns, int32_t& rows, int32_t& highBit, int32_t& bitsStored,
                                            int32_t& bitsAllocated, std::string& photometric, int32_t& planar,
                                            int32_t& frames) {
  if (FCurrentSet == nullptr) {
    if (FGetTargetPixelAttributes)
      FGetTargetPixelAttributes(columns, rows, bitsStored, bitsAllocated, highBit, photometric, planar, frames);
    return;
  }
  PixelAttributesOf(*FCurrentSet, columns, rows, highBit, bitsStored, bitsAllocated, photometric, planar, frames);
}

void TanDDEFactoryBasis::PixelAttributesOf(TanDDESet<iDDE>& set, int32_t& columns, int32_t& rows, int32_t& highBit,
                                           int32_t& bitsStored, int32_t& bitsAllocated, std::string& photometric,
                                           int32_t& planar, int32_t& frames) {
  set.FCursor = 0;
  if (photometric.empty()) {
    if (iDDE* e = set.FindFromCursor(0x00280004u)) photometric = Trimmed(e->GetString());
  }
  if (planar >= 0) {
    const auto given = static_cast<uint16_t>(planar);
    if (iDDE* e = set.FindFromCursor(0x00280006u)) {
      planar = e->GetUShort();
      e->SetUShort(given);
    } else {
      planar = 0;
      if (photometric == "RGB") {
        iDDE* made = MakeDDE(0x0028, 0x0006, 1, static_cast<int>(given));
        if (made != nullptr && !set.Insert(made)) delete made;
      }
    }
  }
  if (frames >= 0) {
    iDDE* e = set.FindFromCursor(0x00280008u);
    frames = e != nullptr ? std::stoi(Trimmed(e->GetString())) : 1;
  }
  const std::pair<uint32_t, int32_t*> numbers[] = {{0x00280010u, &rows}, {0x00280011u, &columns},
                                                   {0x00280100u, &bitsAllocated}, {0x00280101u, &bitsStored},
                                                   {0x00280102u, &highBit}};
  for (const auto& [tag, out] : numbers) {
    if (*out < 0) continue;
    if (iDDE* e = set.FindFromCursor(tag)) *out = e->GetUShort();
  }
}

template <class T>
iDDE* TanDDEFactoryBasis::TInitDDE<T>::AddValues(uint16_t vrCode, int32_t count, va_list& args) {
  if (count <= 0 || FDDE == nullptr) return FDDE;
  if constexpr (std::is_same_v<T, const char*>) {
    // The texts given for PN are the component groups of one value, joined by '='.
    if (vrCode == vr::PN) {
      auto* text = FDDE->ValueAs<TanCharArray>();
      if (text != nullptr) text->FDelimiter = '=';
      std::string joined;
      for (int32_t i = 0; i < count; ++i) {
        const char* s = va_arg(args, const char*);
        if (i > 0) joined += '=';
        joined += s != nullptr ? s : "";
      }
      FDDE->AddString(joined);
      return FDDE;
    }
  }
  for (int32_t i = 0; i < count; ++i) {
    if constexpr (std::is_same_v<T, const char*>) {
      const char* s = va_arg(args, const char*);
      FDDE->AddString(s != nullptr ? s : "");
    } else if constexpr (std::is_same_v<T, float>) {
      FDDE->AddFloat(static_cast<float>(va_arg(args, double)));
    } else if constexpr (std::is_same_v<T, double>) {
      FDDE->AddDouble(va_arg(args, double));
    } else if constexpr (std::is_same_v<T, uint16_t>) {
      FDDE->AddUShort(static_cast<uint16_t>(va_arg(args, int)));
    } else if constexpr (std::is_same_v<T, int16_t>) {
      FDDE->AddShort(static_cast<int16_t>(va_arg(args, int)));
    } else if constexpr (std::is_same_v<T, uint32_t>) {
      FDDE->AddULong(static_cast<uint32_t>(va_arg(args, int)));
    } else {
      FDDE->AddLong(static_cast<int32_t>(va_arg(args, int)));
    }
  }
  return FDDE;
}

template struct TanDDEFactoryBasis::TInitDDE<uint16_t>;
template struct TanDDEFactoryBasis::TInitDDE<int16_t>;
template struct TanDDEFactoryBasis::TInitDDE<uint32_t>;
template struct TanDDEFactoryBasis::TInitDDE<int32_t>;
template struct TanDDEFactoryBasis::TInitDDE<float>;
template struct TanDDEFactoryBasis::TInitDDE<double>;
template struct TanDDEFactoryBasis::TInitDDE<const char*>;

void StepBack(std::istream& in, std::streamoff n) {
  // Within the stream's buffer a step back costs nothing; across it, a seek.
  std::streambuf* buf = in.rdbuf();
  std::streamoff done = 0;
  if (!in.fail() && buf != nullptr) {
    while (done < n && buf->sungetc() != std::char_traits<char>::eof()) ++done;
  }
  if (done < n) in.seekg(-(n - done), std::ios::cur);
}

uint32_t PeekStreamTag(std::istream& in, bool bigEndian) {
  unsigned char b[4] = {0, 0, 0, 0};
  in.read(reinterpret_cast<char*>(b), 4);
  const std::streamsize got = in.gcount();
  if (got != 4) std::memset(b, 0, 4);
  if (in.good()) StepBack(in, 4);
  uint16_t g, e;
  if (bigEndian) {
    g = static_cast<uint16_t>(b[0] << 8 | b[1]);
    e = static_cast<uint16_t>(b[2] << 8 | b[3]);
  } else {
    g = static_cast<uint16_t>(b[1] << 8 | b[0]);
    e = static_cast<uint16_t>(b[3] << 8 | b[2]);
  }
  return uint32_t{g} << 16 | e;
}

char* CopyCString(char* position, const char* text) {
  std::memcpy(position, text, std::strlen(text) + 1);
  return position;
}

uint32_t CStringSize(const char*& text) { return static_cast<uint32_t>(std::strlen(text) + 1); }
uint32_t TitleSize(const char*& title) { return CStringSize(title); }

TanByteWriter& WriteCString(TanByteWriter& writer, const char* text) {
  const uint32_t n = static_cast<uint32_t>(std::strlen(text) + 1);
  std::memcpy(writer.FStart + writer.FWritten, text, n);
  writer.FWritten += n;
  return writer;
}

std::string ReadCString(TanByteReader& reader) {
  const void* nul = std::memchr(reader.FCursor, 0, reader.FRemaining);
  const uint32_t n = nul != nullptr ? static_cast<uint32_t>(static_cast<const unsigned char*>(nul) - reader.FCursor)
                                    : reader.FRemaining;
  std::string text(reinterpret_cast<const char*>(reader.FCursor), n);
  const uint32_t step = nul != nullptr ? n + 1 : n;
  reader.FCursor += step;
  reader.FRemaining -= step;
  return text;
}

}  // namespace ORN_dicom
