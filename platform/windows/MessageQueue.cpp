#include "platform/windows/MessageQueue.h"

#include <QCoreApplication>
#include <QEvent>
#include <QObject>
#include <QSocketNotifier>
#include <QThread>
#include <QTimer>

#include <fcntl.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/mman.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstring>
#include <deque>
#include <future>
#include <map>
#include <memory>
#include <mutex>
#include <unordered_map>
#include <vector>

#include "platform/core/LastError.h"
#include "platform/windows/WindowRegistry.h"

namespace platform::message_queue {

namespace {

// ---- wire format -------------------------------------------------------------------------

enum Kind : uint32_t { kPost = 1, kSend = 2, kReply = 3 };
enum Status : uint32_t { kOk = 0, kNoWindow = 1 };
constexpr uint32_t kDataInFd = 1;            // request flag: the record is in the passed fd
constexpr uint32_t kInlineLimit = 32 * 1024;  // larger WM_COPYDATA records go in a memfd

struct Frame {
  uint32_t kind;
  uint32_t message;
  uint64_t id;
  int64_t window;
  uint64_t wParam;
  int64_t lParam;  // the result in a reply
  uint64_t dataTag;
  uint32_t dataLength;
  uint32_t flags;  // the status in a reply
};
static_assert(sizeof(Frame) == 56);

std::string SocketName(uint32_t pid) {
  return std::string(1, '\0') + "vistrel-win-" + std::to_string(::getuid()) + "-" + std::to_string(pid);
}

sockaddr_un Address(uint32_t pid, socklen_t& length) {
  sockaddr_un a{};
  a.sun_family = AF_UNIX;
  const std::string name = SocketName(pid);
  std::memcpy(a.sun_path, name.data(), name.size());
  length = static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + name.size());
  return a;
}

uint32_t OwnerOf(WindowHandle window) { return static_cast<uint32_t>(static_cast<uint64_t>(window) >> 32); }

// Writes one frame with its inline bytes and an optional descriptor; waits while the
// socket is full. False when the peer is gone.
// Waits until fd can take more; on the GUI thread it serves meanwhile what other processes
// send to this one, so that two processes that flood each other cannot deadlock.
void WaitWritable(int fd);

bool WriteFrame(int fd, const Frame& f, const void* data, uint32_t inlineLength, int passFd) {
  iovec iov[2] = {{const_cast<Frame*>(&f), sizeof f}, {const_cast<void*>(data), inlineLength}};
  msghdr m{};
  m.msg_iov = iov;
  m.msg_iovlen = inlineLength ? 2 : 1;
  alignas(cmsghdr) char control[CMSG_SPACE(sizeof(int))];
  if (passFd >= 0) {
    m.msg_control = control;
    m.msg_controllen = sizeof control;
    cmsghdr* c = CMSG_FIRSTHDR(&m);
    c->cmsg_level = SOL_SOCKET;
    c->cmsg_type = SCM_RIGHTS;
    c->cmsg_len = CMSG_LEN(sizeof(int));
    std::memcpy(CMSG_DATA(c), &passFd, sizeof(int));
  }
  for (;;) {
    if (::sendmsg(fd, &m, MSG_NOSIGNAL) >= 0) return true;
    if (errno == EINTR) continue;
    if (errno == EAGAIN) {
      WaitWritable(fd);
      continue;
    }
    return false;
  }
}

struct Received {
  Frame frame{};
  std::vector<uint8_t> inlineData;
  int fd = -1;
};

// Reads one frame without blocking: 1 read, 0 nothing there, -1 the peer closed.
int ReadFrame(int fd, Received& r) {
  r.inlineData.resize(kInlineLimit);
  iovec iov[2] = {{&r.frame, sizeof r.frame}, {r.inlineData.data(), r.inlineData.size()}};
  msghdr m{};
  m.msg_iov = iov;
  m.msg_iovlen = 2;
  alignas(cmsghdr) char control[CMSG_SPACE(sizeof(int))];
  m.msg_control = control;
  m.msg_controllen = sizeof control;
  ssize_t n;
  while ((n = ::recvmsg(fd, &m, MSG_DONTWAIT | MSG_CMSG_CLOEXEC)) < 0 && errno == EINTR) {
  }
  if (n < 0) return (errno == EAGAIN || errno == EWOULDBLOCK) ? 0 : -1;
  if (n == 0) return -1;
  r.fd = -1;
  for (cmsghdr* c = CMSG_FIRSTHDR(&m); c; c = CMSG_NXTHDR(&m, c))
    if (c->cmsg_level == SOL_SOCKET && c->cmsg_type == SCM_RIGHTS) std::memcpy(&r.fd, CMSG_DATA(c), sizeof(int));
  if (static_cast<size_t>(n) < sizeof r.frame) {
    if (r.fd >= 0) ::close(r.fd);
    return -1;  // not our protocol
  }
  r.inlineData.resize(static_cast<size_t>(n) - sizeof r.frame);
  return 1;
}

// ---- outgoing connections, one set per thread ---------------------------------------------

struct Reply {
  uint32_t status;
  LResult result;
};

struct Outgoing {
  int fd = -1;
  uint64_t nextId = 0;
  std::unordered_map<uint64_t, Reply> replies;  // answers read by a nested wait
  bool closed = false;
  ~Outgoing() {
    if (fd >= 0) ::close(fd);
  }
};

struct OutgoingSet {
  std::unordered_map<uint32_t, std::shared_ptr<Outgoing>> byPid;
};
thread_local OutgoingSet t_outgoing;

std::shared_ptr<Outgoing> Connection(uint32_t pid) {
  auto it = t_outgoing.byPid.find(pid);
  if (it != t_outgoing.byPid.end() && !it->second->closed) return it->second;
  auto o = std::make_shared<Outgoing>();
  o->fd = ::socket(AF_UNIX, SOCK_SEQPACKET | SOCK_CLOEXEC, 0);
  socklen_t length;
  const sockaddr_un a = Address(pid, length);
  if (o->fd < 0 || ::connect(o->fd, reinterpret_cast<const sockaddr*>(&a), length) != 0) return nullptr;
  ::fcntl(o->fd, F_SETFL, ::fcntl(o->fd, F_GETFL) | O_NONBLOCK);
  t_outgoing.byPid[pid] = o;
  return o;
}

void DropConnection(uint32_t pid, const std::shared_ptr<Outgoing>& o) {
  o->closed = true;
  auto it = t_outgoing.byPid.find(pid);
  if (it != t_outgoing.byPid.end() && it->second == o) t_outgoing.byPid.erase(it);
}

// ---- the GUI thread's queue --------------------------------------------------------------

const QEvent::Type kPostedMessage = static_cast<QEvent::Type>(QEvent::registerEventType());

struct PostedMessage : QEvent {
  PostedMessage(WindowHandle w, uint32_t m, WParam wp, LParam lp)
      : QEvent(kPostedMessage), window(w), message(m), wParam(wp), lParam(lp) {}
  WindowHandle window;
  uint32_t message;
  WParam wParam;
  LParam lParam;
};

struct CrossThreadSend {
  WindowHandle window;
  uint32_t message;
  WParam wParam;
  LParam lParam;
  std::promise<std::pair<bool, LResult>> answer;
};

class Queue;

class Dispatcher : public QObject {
 public:
  explicit Dispatcher(Queue& q) : queue_(q) {}
  void customEvent(QEvent* e) override;

 private:
  Queue& queue_;
};

class Queue {
 public:
  Queue() {
    QCoreApplication* app = QCoreApplication::instance();
    if (!app) qFatal("windows need a QCoreApplication");
    guiThread_ = app->thread();
    dispatcher_ = new Dispatcher(*this);
    dispatcher_->moveToThread(guiThread_);

    listenFd_ = ::socket(AF_UNIX, SOCK_SEQPACKET | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    socklen_t length;
    const sockaddr_un a = Address(static_cast<uint32_t>(::getpid()), length);
    if (listenFd_ < 0 || ::bind(listenFd_, reinterpret_cast<const sockaddr*>(&a), length) != 0 ||
        ::listen(listenFd_, 128) != 0)
      qFatal("cannot listen for window messages: %s", std::strerror(errno));
    auto* n = new QSocketNotifier(listenFd_, QSocketNotifier::Read, dispatcher_);
    QObject::connect(n, &QSocketNotifier::activated, [this] { AcceptAll(); });

    wakeFd_ = ::eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
    auto* w = new QSocketNotifier(wakeFd_, QSocketNotifier::Read, dispatcher_);
    QObject::connect(w, &QSocketNotifier::activated, [this] { ServeCrossThreadSends(); });
  }

  bool OnGuiThread() const { return QThread::currentThread() == guiThread_; }

  WindowHandle Add(Window::Procedure p, const std::string& title) {
    static std::atomic<uint32_t> serial{0};
    const WindowHandle h = static_cast<WindowHandle>((static_cast<uint64_t>(::getpid()) << 32) | ++serial);
    {
      std::lock_guard<std::mutex> lock(mutex_);
      windows_[h] = std::make_shared<Window::Procedure>(std::move(p));
    }
    window_registry::Publish(h, title);
    return h;
  }

  void Remove(WindowHandle h) {
    window_registry::Withdraw(h);
    {
      std::lock_guard<std::mutex> lock(mutex_);
      windows_.erase(h);
    }
    for (auto it = timers_.begin(); it != timers_.end();) {
      if (it->first.first == h) {
        it->second->stop();
        it->second->deleteLater();
        it = timers_.erase(it);
      } else {
        ++it;
      }
    }
  }

  void SetProcedure(WindowHandle h, Window::Procedure p) {
    std::lock_guard<std::mutex> lock(mutex_);
    auto it = windows_.find(h);
    if (it != windows_.end()) it->second = std::make_shared<Window::Procedure>(std::move(p));
  }

  std::shared_ptr<Window::Procedure> Find(WindowHandle h) {
    std::lock_guard<std::mutex> lock(mutex_);
    auto it = windows_.find(h);
    return it == windows_.end() ? nullptr : it->second;
  }

  // Runs the procedure on the GUI thread; false when the window is gone.
  bool Call(WindowHandle h, uint32_t m, WParam w, LParam l, LResult& result) {
    auto p = Find(h);
    if (!p || !*p) return false;
    result = (*p)(m, w, l);
    return true;
  }

  void PostLocal(WindowHandle h, uint32_t m, WParam w, LParam l) {
    QCoreApplication::postEvent(dispatcher_, new PostedMessage(h, m, w, l));
  }

  std::pair<bool, LResult> SendFromOtherThread(WindowHandle h, uint32_t m, WParam w, LParam l) {
    auto s = std::make_shared<CrossThreadSend>();
    s->window = h;
    s->message = m;
    s->wParam = w;
    s->lParam = l;
    auto future = s->answer.get_future();
    {
      std::lock_guard<std::mutex> lock(mutex_);
      crossSends_.push_back(s);
    }
    const uint64_t one = 1;
    (void)::write(wakeFd_, &one, sizeof one);
    return future.get();
  }

  void ServeCrossThreadSends() {
    uint64_t value;
    (void)::read(wakeFd_, &value, sizeof value);
    for (;;) {
      std::shared_ptr<CrossThreadSend> s;
      {
        std::lock_guard<std::mutex> lock(mutex_);
        if (crossSends_.empty()) return;
        s = crossSends_.front();
        crossSends_.pop_front();
      }
      LResult r = 0;
      const bool ok = Call(s->window, s->message, s->wParam, s->lParam, r);
      s->answer.set_value({ok, r});
    }
  }

  void AcceptAll() {
    for (;;) {
      const int fd = ::accept4(listenFd_, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
      if (fd < 0) return;
      auto* n = new QSocketNotifier(fd, QSocketNotifier::Read, dispatcher_);
      incoming_[fd] = n;
      QObject::connect(n, &QSocketNotifier::activated, [this, fd] { ServeIncoming(fd); });
    }
  }

  // Reads what waits on one incoming connection: sent messages are served now, posted ones
  // are queued behind the events already waiting.
  void ServeIncoming(int fd) {
    for (int i = 0; i < 256; ++i) {
      if (!incoming_.count(fd)) return;
      Received r;
      const int got = ReadFrame(fd, r);
      if (got == 0) return;
      if (got < 0) {
        CloseIncoming(fd);
        return;
      }
      HandleRequest(fd, r);
    }
  }

  void CloseIncoming(int fd) {
    auto it = incoming_.find(fd);
    if (it == incoming_.end()) return;
    it->second->setEnabled(false);
    it->second->deleteLater();
    incoming_.erase(it);
    ::close(fd);
  }

  void HandleRequest(int fd, Received& r) {
    const Frame& f = r.frame;
    if (f.kind == kPost) {
      if (r.fd >= 0) ::close(r.fd);
      PostLocal(f.window, f.message, f.wParam, f.lParam);
      return;
    }
    if (f.kind != kSend) {
      if (r.fd >= 0) ::close(r.fd);
      return;
    }
    Frame reply{};
    reply.kind = kReply;
    reply.id = f.id;
    LParam lParam = f.lParam;
    CopyDataStruct cds{};
    void* mapped = nullptr;
    bool valid = true;
    if (f.message == kWmCopyData) {
      cds.dwData = f.dataTag;
      cds.cbData = f.dataLength;
      if (f.flags & kDataInFd) {
        if (r.fd >= 0 && f.dataLength > 0) {
          mapped = ::mmap(nullptr, f.dataLength, PROT_READ, MAP_PRIVATE, r.fd, 0);
          if (mapped == MAP_FAILED) mapped = nullptr;
        }
        valid = mapped != nullptr;
        cds.lpData = mapped;
      } else {
        valid = r.inlineData.size() == f.dataLength;
        cds.lpData = f.dataLength ? r.inlineData.data() : nullptr;
      }
      lParam = reinterpret_cast<LParam>(&cds);
    }
    if (r.fd >= 0) ::close(r.fd);
    LResult result = 0;
    reply.flags = valid && Call(f.window, f.message, f.wParam, lParam, result) ? kOk : kNoWindow;
    reply.lParam = result;
    if (mapped) ::munmap(mapped, f.dataLength);
    if (incoming_.count(fd) && !WriteFrame(fd, reply, nullptr, 0, -1)) CloseIncoming(fd);
  }

  // Adds the descriptors a waiting GUI thread serves: listener, wake-up, connections.
  void AddServedFds(std::vector<pollfd>& fds, std::vector<int>& served) {
    fds.push_back({listenFd_, POLLIN, 0});
    fds.push_back({wakeFd_, POLLIN, 0});
    for (const auto& [fd, n] : incoming_) {
      fds.push_back({fd, POLLIN, 0});
      served.push_back(fd);
    }
  }

  void ServePolled(const pollfd* fds, const std::vector<int>& served) {
    if (fds[0].revents) AcceptAll();
    if (fds[1].revents) ServeCrossThreadSends();
    for (size_t i = 0; i < served.size(); ++i)
      if (fds[2 + i].revents) ServeOneIncoming(served[i]);
  }

  void ServeUntilWritable(int fd) {
    std::vector<pollfd> fds{{fd, POLLOUT, 0}};
    std::vector<int> served;
    AddServedFds(fds, served);
    if (::poll(fds.data(), fds.size(), -1) > 0 && !fds[0].revents) ServePolled(fds.data() + 1, served);
  }

  void ServeOneIncoming(int fd) {
    if (!incoming_.count(fd)) return;
    Received r;
    const int got = ReadFrame(fd, r);
    if (got < 0) CloseIncoming(fd);
    else if (got > 0) HandleRequest(fd, r);
  }

  std::uintptr_t StartTimer(WindowHandle h, std::uintptr_t id, uint32_t elapse) {
    auto key = std::make_pair(h, id);
    QTimer*& t = timers_[key];
    if (!t) {
      t = new QTimer(dispatcher_);
      QObject::connect(t, &QTimer::timeout, [this, h, id] {
        LResult ignored;
        Call(h, kWmTimer, id, 0, ignored);
      });
    }
    t->start(static_cast<int>(std::min<uint32_t>(elapse, 0x7FFFFFFF)));
    return id;
  }

  bool StopTimer(WindowHandle h, std::uintptr_t id) {
    auto it = timers_.find({h, id});
    if (it == timers_.end()) return false;
    it->second->stop();
    it->second->deleteLater();
    timers_.erase(it);
    return true;
  }

  void Dispatch(PostedMessage& e) {
    LResult ignored;
    Call(e.window, e.message, e.wParam, e.lParam, ignored);
  }

 private:
  QThread* guiThread_ = nullptr;
  Dispatcher* dispatcher_ = nullptr;
  int listenFd_ = -1;
  int wakeFd_ = -1;
  std::mutex mutex_;  // windows_ and crossSends_, which other threads reach
  std::unordered_map<WindowHandle, std::shared_ptr<Window::Procedure>> windows_;
  std::deque<std::shared_ptr<CrossThreadSend>> crossSends_;
  std::map<int, QSocketNotifier*> incoming_;
  std::map<std::pair<WindowHandle, std::uintptr_t>, QTimer*> timers_;
};

void Dispatcher::customEvent(QEvent* e) {
  if (e->type() == kPostedMessage) queue_.Dispatch(*static_cast<PostedMessage*>(e));
}

bool WriteAll(int fd, const void* data, size_t length) {
  const auto* p = static_cast<const uint8_t*>(data);
  while (length) {
    const ssize_t n = ::write(fd, p, length);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    p += n;
    length -= static_cast<size_t>(n);
  }
  return true;
}

// Waits for the answer to request `id` on connection `o`; on the GUI thread it serves
// messages sent to this process meanwhile.
bool WaitReply(Queue* q, uint32_t pid, const std::shared_ptr<Outgoing>& o, uint64_t id, Reply& reply) {
  const bool gui = q && q->OnGuiThread();
  for (;;) {
    auto it = o->replies.find(id);
    if (it != o->replies.end()) {
      reply = it->second;
      o->replies.erase(it);
      return true;
    }
    if (o->closed) return false;
    std::vector<pollfd> fds{{o->fd, POLLIN, 0}};
    std::vector<int> served;
    if (gui) q->AddServedFds(fds, served);
    if (::poll(fds.data(), fds.size(), -1) < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    if (fds[0].revents) {
      Received r;
      const int got = ReadFrame(o->fd, r);
      if (r.fd >= 0) ::close(r.fd);
      if (got < 0) {
        DropConnection(pid, o);
        return false;
      }
      if (got > 0 && r.frame.kind == kReply)
        o->replies[r.frame.id] = Reply{r.frame.flags, static_cast<LResult>(r.frame.lParam)};
      continue;
    }
    if (gui) q->ServePolled(fds.data() + 1, served);
  }
}

LResult SendRemote(Queue* q, WindowHandle h, uint32_t m, WParam w, LParam l) {
  const uint32_t pid = OwnerOf(h);
  auto o = Connection(pid);
  if (!o) {
    SetLastError(err::InvalidWindowHandle);
    return 0;
  }
  Frame f{};
  f.kind = kSend;
  f.message = m;
  f.id = ++o->nextId;
  f.window = h;
  f.wParam = w;
  f.lParam = l;
  const void* data = nullptr;
  uint32_t inlineLength = 0;
  int memfd = -1;
  if (m == kWmCopyData) {
    const auto* cds = reinterpret_cast<const CopyDataStruct*>(l);
    if (!cds || (cds->cbData && !cds->lpData)) {
      SetLastError(err::InvalidParameter);
      return 0;
    }
    f.lParam = 0;
    f.dataTag = cds->dwData;
    f.dataLength = cds->cbData;
    if (cds->cbData <= kInlineLimit) {
      data = cds->lpData;
      inlineLength = cds->cbData;
    } else {
      memfd = ::memfd_create("vistrel-copydata", MFD_CLOEXEC);
      if (memfd < 0 || !WriteAll(memfd, cds->lpData, cds->cbData)) {
        if (memfd >= 0) ::close(memfd);
        SetLastError(err::NotEnoughMemory);
        return 0;
      }
      f.flags = kDataInFd;
    }
  }
  const bool sent = WriteFrame(o->fd, f, data, inlineLength, memfd);
  if (memfd >= 0) ::close(memfd);
  Reply reply{};
  if (!sent || !WaitReply(q, pid, o, f.id, reply)) {
    DropConnection(pid, o);
    SetLastError(err::InvalidWindowHandle);
    return 0;
  }
  if (reply.status != kOk) {
    SetLastError(err::InvalidWindowHandle);
    return 0;
  }
  return reply.result;
}

bool PostRemote(WindowHandle h, uint32_t m, WParam w, LParam l) {
  const uint32_t pid = OwnerOf(h);
  Frame f{};
  f.kind = kPost;
  f.message = m;
  f.window = h;
  f.wParam = w;
  f.lParam = l;
  // A connection cached from before may lead to a process that has since ended: one retry.
  for (int attempt = 0; attempt < 2; ++attempt) {
    auto o = Connection(pid);
    if (!o) break;
    if (WriteFrame(o->fd, f, nullptr, 0, -1)) return true;
    DropConnection(pid, o);
  }
  SetLastError(err::InvalidWindowHandle);
  return false;
}


// The queue lives as long as the process: Qt objects it made die with the application.
std::atomic<Queue*> g_queue{nullptr};
std::mutex g_queueMutex;

Queue* Existing() { return g_queue.load(); }

Queue& Instance() {
  if (Queue* q = g_queue.load()) return *q;
  std::lock_guard<std::mutex> lock(g_queueMutex);
  if (!g_queue.load()) g_queue.store(new Queue());
  return *g_queue.load();
}

void WaitWritable(int fd) {
  Queue* q = Existing();
  if (q && q->OnGuiThread()) {
    q->ServeUntilWritable(fd);
    return;
  }
  pollfd p{fd, POLLOUT, 0};
  ::poll(&p, 1, -1);
}

}  // namespace

WindowHandle AddWindow(Window::Procedure procedure, const std::string& title) {
  Queue& q = Instance();
  if (!q.OnGuiThread()) qFatal("windows are made on the GUI thread");
  return q.Add(std::move(procedure), title);
}

void RemoveWindow(WindowHandle window) {
  if (Queue* q = Existing()) q->Remove(window);
}

void SetTitle(WindowHandle window, const std::string& title) { window_registry::Publish(window, title); }

void SetProcedure(WindowHandle window, Window::Procedure procedure) {
  if (Queue* q = Existing()) q->SetProcedure(window, std::move(procedure));
}

bool IsLocalWindow(WindowHandle window) {
  Queue* q = Existing();
  return q && OwnerOf(window) == static_cast<uint32_t>(::getpid()) && q->Find(window);
}

bool Post(WindowHandle window, uint32_t message, WParam wParam, LParam lParam) {
  if (message == kWmCopyData) {
    SetLastError(err::InvalidParameter);
    return false;
  }
  if (window == 0 || OwnerOf(window) == 0) {
    SetLastError(err::InvalidWindowHandle);
    return false;
  }
  if (OwnerOf(window) == static_cast<uint32_t>(::getpid())) {
    if (!IsLocalWindow(window)) {
      SetLastError(err::InvalidWindowHandle);
      return false;
    }
    Existing()->PostLocal(window, message, wParam, lParam);
    return true;
  }
  if (!window_registry::IsPublished(window)) {
    SetLastError(err::InvalidWindowHandle);
    return false;
  }
  return PostRemote(window, message, wParam, lParam);
}

LResult Send(WindowHandle window, uint32_t message, WParam wParam, LParam lParam) {
  if (window == 0 || OwnerOf(window) == 0) {
    SetLastError(err::InvalidWindowHandle);
    return 0;
  }
  if (OwnerOf(window) == static_cast<uint32_t>(::getpid())) {
    Queue* q = Existing();
    if (!q || !q->Find(window)) {
      SetLastError(err::InvalidWindowHandle);
      return 0;
    }
    LResult r = 0;
    if (q->OnGuiThread()) {
      if (!q->Call(window, message, wParam, lParam, r)) SetLastError(err::InvalidWindowHandle);
      return r;
    }
    const auto [ok, result] = q->SendFromOtherThread(window, message, wParam, lParam);
    if (!ok) SetLastError(err::InvalidWindowHandle);
    return result;
  }
  if (!window_registry::IsPublished(window)) {
    SetLastError(err::InvalidWindowHandle);
    return 0;
  }
  return SendRemote(Existing(), window, message, wParam, lParam);
}

std::uintptr_t SetTimer(WindowHandle window, std::uintptr_t id, uint32_t elapseMs) {
  if (!IsLocalWindow(window) || !Existing()->OnGuiThread()) {
    SetLastError(err::InvalidWindowHandle);
    return 0;
  }
  return Existing()->StartTimer(window, id, elapseMs);
}

bool KillTimer(WindowHandle window, std::uintptr_t id) {
  Queue* q = Existing();
  return q && q->StopTimer(window, id);
}

}  // namespace platform::message_queue
