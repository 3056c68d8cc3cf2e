#include "dicom/elements/values/TanValueBuffer.h"

#include <algorithm>
#include <cstring>
#include <mutex>
#include <vector>

#include "base/memory/TanFileMappingView.h"
#include "base/memory/TanMSMemoryHeapAllocator.h"
#include "dicom/elements/header/VRCodes.h"

namespace ORN_dicom {

namespace {
using SmallHeap = nalloc::TanMSMemoryHeapAllocator<0>;

// Mappings of freed large values, kept for reuse: at most kSpareCount, kSpareBytes in all.
struct SpareMapping {
  ORN_std::TanFileMappingView* pool;
  unsigned char* data;
  uint64_t size;  // the mapping's size, a multiple of 64 KiB, all of it mapped at data
};
constexpr std::size_t kSpareCount = 8;
constexpr uint64_t kSpareBytes = 64ull << 20;
constexpr uint64_t kMappingStep = 0x10000;

std::mutex g_spareLock;
std::vector<SpareMapping>& Spares() {
  static auto* spares = new std::vector<SpareMapping>();  // outlives static destructors
  return *spares;
}

uint64_t MappingSize(uint32_t length) { return (uint64_t{length} + kMappingStep - 1) / kMappingStep * kMappingStep; }

bool TakeSpare(uint64_t size, SpareMapping& out) {
  std::lock_guard<std::mutex> guard(g_spareLock);
  auto& spares = Spares();
  for (std::size_t i = spares.size(); i-- > 0;) {
    if (spares[i].size != size) continue;
    out = spares[i];
    spares.erase(spares.begin() + static_cast<std::ptrdiff_t>(i));
    return true;
  }
  return false;
}

// Keeps the mapping as a spare when there is room; false when the caller must free it.
bool KeepSpare(const SpareMapping& spare) {
  std::lock_guard<std::mutex> guard(g_spareLock);
  auto& spares = Spares();
  uint64_t held = spare.size;
  for (const SpareMapping& s : spares) held += s.size;
  if (spares.size() >= kSpareCount || held > kSpareBytes) return false;
  try {
    spares.push_back(spare);
  } catch (...) {
    return false;
  }
  return true;
}

void CopyInPieces(unsigned char* to, const unsigned char* from, uint32_t n) {
  for (uint32_t done = 0; done < n;) {
    const uint32_t step = std::min(n - done, TanValueBuffer::kPiece);
    std::memcpy(to + done, from + done, step);
    done += step;
  }
}
}  // namespace

TanValueBuffer::Storage TanValueBuffer::Allocate(uint32_t length, uint8_t padding, bool overwritten) {
  Storage s;
  if (length == 0) return s;
  if (length < kMappingThreshold) {
    SmallHeap heap;
    s.data = static_cast<unsigned char*>(heap.Allocate(length));
  } else if (SpareMapping spare{}; TakeSpare(MappingSize(length), spare)) {
    s.pool = spare.pool;
    s.data = spare.data;
    if (!overwritten) std::memset(s.data, 0, length);
  } else {
    const uint64_t size = MappingSize(length);
    s.pool = new ORN_std::TanFileMappingView("");
    s.pool->Reserve(size, nullptr);
    if (s.pool->IsValid()) s.data = static_cast<unsigned char*>(s.pool->Map(0, size));
    if (s.data == nullptr) {
      delete s.pool;
      s.pool = nullptr;
    }
  }
  if (s.data != nullptr) s.data[length - 1] = padding;
  return s;
}

void TanValueBuffer::Free(Storage& s) {
  if (s.pool != nullptr) {
    if (KeepSpare({s.pool, s.data, s.pool->GetSize()})) {
      s.pool = nullptr;
      s.data = nullptr;
      return;
    }
    s.pool->Unmap(s.data);
    delete s.pool;
    s.pool = nullptr;
  } else if (s.data != nullptr) {
    SmallHeap heap;
    heap.Deallocate(s.data);
  }
  s.data = nullptr;
}

uint32_t TanValueBuffer::EvenLength(uint32_t size) const {
  if (FVR == vr::no || (size & 1) == 0) return size;
  return size == 0xFFFFFFFFu ? size : size + 1;  // an odd 0xFFFFFFFF cannot grow: refused later
}

void TanValueBuffer::Release() {
  Storage s{FData, FPool};
  Free(s);
  FData = nullptr;
  FPool = nullptr;
}

bool TanValueBuffer::Fill(const void* data, uint32_t length) {
  try {
    if (data != nullptr) CopyInPieces(FData, static_cast<const unsigned char*>(data), length);
    return true;
  } catch (...) {
    Release();
    FLength = 0;
    Fail("Incorrect memory operation.");
    return false;
  }
}

TanValueBuffer::TanValueBuffer(uint16_t vr, const void* data, uint32_t length)
    : TanValueBasis(vr), FPadding(ORN_dicom::PaddingByte(vr)) {
  if (length == 0) return;
  Storage s;
  try {
    s = Allocate(length, FPadding, data != nullptr);
  } catch (...) {
  }
  if (s.data == nullptr) {
    Fail("Unable to allocate memory.");
    return;
  }
  FData = s.data;
  FPool = s.pool;
  FLength = length;
  Fill(data, length);
}

TanValueBuffer::TanValueBuffer(uint16_t vr, uint32_t size, const void* initial)
    : TanValueBasis(vr), FPadding(ORN_dicom::PaddingByte(vr)) {
  const uint32_t length = EvenLength(size);
  if (length == 0) return;
  Storage s;
  try {
    if ((length & 1) == 0 || FVR == vr::no) s = Allocate(length, FPadding);
  } catch (...) {
  }
  if (s.data == nullptr) {
    Fail("Unable to allocate memory.");
    return;
  }
  FData = s.data;
  FPool = s.pool;
  FLength = length;
  Fill(initial, size);
}

TanValueBuffer::TanValueBuffer(uint16_t vr, uint32_t length, std::istream& in)
    : TanValueBasis(vr), FPadding(ORN_dicom::PaddingByte(vr)) {
  if (length == 0) return;
  Storage s;
  try {
    s = Allocate(length, FPadding, true);
  } catch (...) {
  }
  if (s.data == nullptr) {
    Fail("Unable to allocate memory.");
    return;
  }
  FData = s.data;
  FPool = s.pool;
  FLength = length;
  try {
    for (uint32_t done = 0; done < length && in.good();) {
      const uint32_t step = std::min(length - done, kPiece);
      in.read(reinterpret_cast<char*>(FData + done), step);
      done += step;
    }
    if (in.fail() || in.bad()) {
      Release();
      FLength = 0;
      Fail("Incorrect file stream operation.");
    }
  } catch (...) {
    Release();
    FLength = 0;
    Fail("Incorrect memory operation.");
  }
}

TanValueBuffer::TanValueBuffer(const TanValueBuffer& other)
    : TanValueBasis(other), FPadding(other.FPadding) {
  FLengthLimit = other.FLengthLimit;
  if (!other.FSuccess || other.FLength == 0) return;
  Storage s;
  try {
    s = Allocate(other.FLength, FPadding, true);
  } catch (...) {
  }
  if (s.data == nullptr) {
    Fail("Unable to allocate memory.");
    return;
  }
  FData = s.data;
  FPool = s.pool;
  FLength = other.FLength;
  Fill(other.FData, other.FLength);
}

TanValueBuffer::~TanValueBuffer() { Release(); }

unsigned char* TanValueBuffer::GetData(uint32_t offset, uint32_t count) {
  if (FData == nullptr || FLength == 0 || offset >= FLength) return nullptr;
  if (count != 0xFFFFFFFFu && uint64_t{offset} + count > FLength) return nullptr;
  return FData + offset;
}

const unsigned char* TanValueBuffer::GetData(uint32_t offset, uint32_t count) const {
  return const_cast<TanValueBuffer*>(this)->GetData(offset, count);
}

bool TanValueBuffer::Resize(uint32_t length, bool discard) {
  FLastError.clear();
  if (length == 0) {
    FSuccess = true;
    if (FLength == 0) return true;
    Release();
    FLength = 0;
    ReportLength(0);
    return true;
  }
  const uint32_t even = EvenLength(length);
  if ((even & 1) != 0 && FVR != vr::no) {
    Fail("Unable to reallocate memory.");
    return false;
  }
  if (even > FLengthLimit) {
    Fail(kTooLongText);
    return false;
  }
  // The new bytes are made before the old ones go, so that a failure keeps the old content.
  Storage s;
  try {
    s = Allocate(even, FPadding);
  } catch (...) {
  }
  if (s.data == nullptr) {
    Fail("Unable to reallocate memory.");
    return false;
  }
  if (!discard && FData != nullptr) CopyInPieces(s.data, FData, std::min(FLength, even));
  Release();
  FData = s.data;
  FPool = s.pool;
  FLength = even;
  FSuccess = true;
  ReportLength(FLength);
  return true;
}

void TanValueBuffer::CopyTo(void* destination) const {
  if (FLength == 0 || FData == nullptr) return;
  CopyInPieces(static_cast<unsigned char*>(destination), FData, FLength);
}

void TanValueBuffer::WriteTo(std::ostream& out) const {
  if (FLength == 0 || FData == nullptr) return;
  for (uint32_t done = 0; done < FLength && out.good();) {
    const uint32_t step = std::min(FLength - done, kPiece);
    out.write(reinterpret_cast<const char*>(FData + done), step);
    done += step;
  }
}

std::string TanValueBuffer::TrimmedText(uint32_t maxBytes) const {
  const uint32_t n = std::min(FLength, maxBytes);
  if (n == 0 || FData == nullptr) return {};
  uint32_t b = 0, e = n;
  while (b < e && FData[b] <= 0x20) ++b;
  while (e > b && FData[e - 1] <= 0x20) --e;
  return std::string(reinterpret_cast<const char*>(FData + b), e - b);
}

}  // namespace ORN_dicom
