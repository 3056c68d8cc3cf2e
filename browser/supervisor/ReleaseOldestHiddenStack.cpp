#include "browser/supervisor/ReleaseOldestHiddenStack.h"

#include <chrono>
#include <cstdio>
#include <ctime>

namespace ORN_browser {

bool ReleaseOldestHiddenStack(const std::vector<std::vector<iSUPERVISED_STACK*>>& boxes, const std::string& now) {
  std::string oldest = now;
  iSUPERVISED_STACK* candidate = nullptr;
  for (const auto& tiles : boxes) {
    for (iSUPERVISED_STACK* tile : tiles) {
      if (tile == nullptr || !tile->IsEngineRunning() || tile->IsShown()) continue;
      const std::string stamp = tile->LastActivity();
      // Plain character-code order, as the stamps are fixed-width digits.
      if (!stamp.empty() && stamp < oldest) {
        oldest = stamp;
        candidate = tile;
      }
    }
  }
  if (candidate == nullptr) return false;
  candidate->CloseStack();
  return true;
}

std::string LocalTimeStamp() {
  const auto now = std::chrono::system_clock::now();
  const std::time_t seconds = std::chrono::system_clock::to_time_t(now);
  const int ms = int(std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch()).count() % 1000);
  std::tm local{};
  if (const std::tm* t = std::localtime(&seconds)) local = *t;
  char text[32];
  std::snprintf(text, sizeof text, "%04d%02d%02d%02d%02d%02d%03d", local.tm_year + 1900, local.tm_mon + 1,
                local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec, ms);
  return text;
}

}  // namespace ORN_browser
