// Serving messages in a test until something has happened. The bound only keeps a broken
// build from hanging the test run; it never decides a result on timing.
#pragma once

#include <QCoreApplication>
#include <QElapsedTimer>

#include <functional>

namespace platform::testing {

inline bool PumpUntil(const std::function<bool()>& done, int boundMs = 30000) {
  QElapsedTimer t;
  t.start();
  while (!done()) {
    if (t.elapsed() > boundMs) return false;
    QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
  }
  return true;
}

}  // namespace platform::testing
