#include "platform/windows/SharedSurface.h"

#include <unistd.h>

#include <atomic>
#include <cstring>
#include <string>
#include <thread>

#include "platform/core/LastError.h"
#include "platform/process/NamedFileMapping.h"

namespace platform {

struct SharedSurface::Header {
  uint32_t magic;
  int32_t width;
  int32_t height;
  std::atomic<uint32_t> sequence;  // odd while a frame is being drawn
};
static_assert(std::atomic<uint32_t>::is_always_lock_free);

namespace {
constexpr uint32_t kMagic = 0x56535246;  // "VSRF"
constexpr size_t kHeaderSize = 64;

std::string SurfaceName(WindowHandle window, uint64_t generation) {
  return "surface-" + std::to_string(window) + "-" + std::to_string(generation);
}
}  // namespace

SharedSurface::SharedSurface(std::unique_ptr<NamedFileMapping> mapping, std::unique_ptr<MappedView> view,
                             uint64_t generation)
    : mapping_(std::move(mapping)), view_(std::move(view)), generation_(generation) {}

SharedSurface::~SharedSurface() = default;

SharedSurface::Header* SharedSurface::header() const { return reinterpret_cast<Header*>(view_->Data()); }

std::unique_ptr<SharedSurface> SharedSurface::Create(WindowHandle window, int width, int height) {
  if (width < 1 || height < 1 || width > 16384 || height > 16384) {
    SetLastError(err::InvalidParameter);
    return nullptr;
  }
  static std::atomic<uint32_t> counter{0};
  const uint64_t generation = (static_cast<uint64_t>(::getpid()) << 32) | ++counter;
  const uint64_t size = kHeaderSize + uint64_t(width) * uint64_t(height) * 4;
  auto mapping = NamedFileMapping::Create(SurfaceName(window, generation), size);
  if (!mapping) return nullptr;
  auto view = mapping->Map();
  if (!view) return nullptr;
  auto* h = new (view->Data()) Header{kMagic, width, height, {0}};
  (void)h;
  return std::unique_ptr<SharedSurface>(new SharedSurface(std::move(mapping), std::move(view), generation));
}

std::unique_ptr<SharedSurface> SharedSurface::Open(WindowHandle window, uint64_t generation) {
  auto mapping = NamedFileMapping::Open(SurfaceName(window, generation));
  if (!mapping) return nullptr;
  if (mapping->Size() < kHeaderSize) {
    SetLastError(err::InvalidParameter);
    return nullptr;
  }
  auto view = mapping->Map();
  if (!view) return nullptr;
  const auto* h = reinterpret_cast<const Header*>(view->Data());
  if (h->magic != kMagic || h->width < 1 || h->height < 1 ||
      kHeaderSize + uint64_t(h->width) * uint64_t(h->height) * 4 > mapping->Size()) {
    SetLastError(err::InvalidParameter);
    return nullptr;
  }
  return std::unique_ptr<SharedSurface>(new SharedSurface(std::move(mapping), std::move(view), generation));
}

int SharedSurface::Width() const { return header()->width; }
int SharedSurface::Height() const { return header()->height; }
uint32_t* SharedSurface::Pixels() { return reinterpret_cast<uint32_t*>(view_->Data() + kHeaderSize); }

void SharedSurface::BeginDraw() { header()->sequence.fetch_add(1, std::memory_order_acq_rel); }
void SharedSurface::EndDraw() { header()->sequence.fetch_add(1, std::memory_order_release); }

bool SharedSurface::CopyFrame(uint32_t* out) const {
  const size_t count = size_t(Width()) * size_t(Height());
  const auto* pixels = reinterpret_cast<const uint32_t*>(view_->Data() + kHeaderSize);
  for (int attempt = 0; attempt < 100; ++attempt) {
    const uint32_t before = header()->sequence.load(std::memory_order_acquire);
    if (before & 1) {
      std::this_thread::yield();
      continue;
    }
    std::memcpy(out, pixels, count * 4);
    std::atomic_thread_fence(std::memory_order_acquire);
    if (header()->sequence.load(std::memory_order_relaxed) == before) return true;
  }
  return false;
}

LParam SharedSurface::NoticeSize() const { return (LParam(Height()) << 16) | LParam(Width()); }

}  // namespace platform
