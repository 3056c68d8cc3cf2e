#include "platform/process/Thread.h"

#include <sys/eventfd.h>
#include <unistd.h>

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <system_error>
#include <thread>

#include "platform/core/LastError.h"

namespace platform {

struct Thread::State {
  std::function<uint32_t()> body;
  std::mutex mutex;
  std::condition_variable cv;
  bool go = false;
  bool cancelled = false;
  uint32_t tid = 0;
  std::atomic<uint32_t> exitCode{kStillActive};
  int done = -1;  // eventfd, signalled when the thread has ended

  ~State() {
    if (done >= 0) ::close(done);
  }
};

std::unique_ptr<Thread> Thread::Create(std::function<uint32_t()> body, bool suspended) {
  auto state = std::make_shared<State>();
  state->body = std::move(body);
  state->go = !suspended;
  state->done = ::eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
  if (state->done < 0) {
    SetLastErrorFromErrno();
    return nullptr;
  }
  try {
    std::thread([state] {
      {
        std::unique_lock<std::mutex> lock(state->mutex);
        state->tid = static_cast<uint32_t>(::gettid());
        state->cv.notify_all();
        state->cv.wait(lock, [&] { return state->go || state->cancelled; });
      }
      uint32_t code = 0;
      if (!state->cancelled) code = state->body();
      state->body = nullptr;
      state->exitCode.store(code);
      const uint64_t one = 1;
      (void)::write(state->done, &one, sizeof one);
    }).detach();
  } catch (const std::system_error& e) {
    SetLastError(err::NotEnoughMemory);
    return nullptr;
  }
  std::unique_lock<std::mutex> lock(state->mutex);
  state->cv.wait(lock, [&] { return state->tid != 0; });
  return std::unique_ptr<Thread>(new Thread(state));
}

Thread::~Thread() {
  std::lock_guard<std::mutex> lock(state_->mutex);
  if (!state_->go) {
    state_->cancelled = true;
    state_->cv.notify_all();
  }
}

uint32_t Thread::Id() const { return state_->tid; }

int32_t Thread::Resume() {
  std::lock_guard<std::mutex> lock(state_->mutex);
  if (state_->go) return 0;
  state_->go = true;
  state_->cv.notify_all();
  return 1;
}

uint32_t Thread::ExitCode() const { return state_->exitCode.load(); }

int Thread::PollFd() const { return state_->done; }

uint32_t CurrentThreadId() { return static_cast<uint32_t>(::gettid()); }

}  // namespace platform
