#include "platform/process/Wait.h"

#include <poll.h>

#include <cerrno>
#include <chrono>
#include <vector>

#include "platform/core/LastError.h"

namespace platform {

namespace {
constexpr size_t kMaximumWaitObjects = 64;  // as Win32's MAXIMUM_WAIT_OBJECTS
}

uint32_t WaitForObjects(std::span<WaitObject* const> objects, uint32_t timeoutMs) {
  if (objects.empty() || objects.size() > kMaximumWaitObjects) {
    SetLastError(err::InvalidParameter);
    return kWaitFailed;
  }
  std::vector<pollfd> fds(objects.size());
  for (size_t i = 0; i < objects.size(); ++i) {
    const int fd = objects[i] ? objects[i]->PollFd() : -1;
    if (fd < 0) {
      SetLastError(err::InvalidHandle);
      return kWaitFailed;
    }
    fds[i] = pollfd{fd, POLLIN, 0};
  }
  using Clock = std::chrono::steady_clock;
  const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
  for (;;) {
    int waitMs = -1;
    if (timeoutMs != kInfinite) {
      const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now()).count();
      waitMs = left > 0 ? static_cast<int>(left) : 0;
    }
    const int n = ::poll(fds.data(), fds.size(), waitMs);
    if (n < 0) {
      if (errno == EINTR) continue;
      SetLastErrorFromErrno();
      return kWaitFailed;
    }
    for (size_t i = 0; i < fds.size(); ++i) {
      if (fds[i].revents & POLLNVAL) {
        SetLastError(err::InvalidHandle);
        return kWaitFailed;
      }
      if ((fds[i].revents & (POLLIN | POLLHUP | POLLERR)) && objects[i]->TryAcquire())
        return kWaitObject0 + static_cast<uint32_t>(i);
    }
    if (n == 0 && waitMs == 0) return kWaitTimeout;
    // Every signal seen was taken by another waiter: wait again for what is left.
    if (n > 0 && timeoutMs != kInfinite && Clock::now() >= deadline) return kWaitTimeout;
  }
}

uint32_t WaitForObjects(std::initializer_list<WaitObject*> objects, uint32_t timeoutMs) {
  return WaitForObjects(std::span<WaitObject* const>(objects.begin(), objects.size()), timeoutMs);
}

uint32_t WaitForObject(WaitObject* object, uint32_t timeoutMs) {
  return WaitForObjects({object}, timeoutMs);
}

}  // namespace platform
