// The studies panel's overload handler: closes the engine of the hidden stack whose tile has
// been idle longest. The panel hands in its boxes' tiles in panel order, each box's tiles in
// its tile-set order.
#pragma once

#include <string>
#include <vector>

namespace ORN_browser {

// What the handler needs of a stack tile.
class iSUPERVISED_STACK {
 public:
  virtual ~iSUPERVISED_STACK() = default;
  virtual bool IsEngineRunning() const = 0;
  virtual bool IsShown() const = 0;
  // Local time of the last activity, "yyyymmddhhnnsszzz"; empty when none.
  virtual std::string LastActivity() const = 0;
  // Stops the engine and destroys the stack window.
  virtual void CloseStack() = 0;
};

// Among the tiles whose engine runs, that are not shown and whose stamp is not empty and
// lies before `now`, closes the one with the smallest stamp (the first of equal ones). True
// when it closed one.
bool ReleaseOldestHiddenStack(const std::vector<std::vector<iSUPERVISED_STACK*>>& boxes, const std::string& now);

// The current local time as "yyyymmddhhnnsszzz".
std::string LocalTimeStamp();

}  // namespace ORN_browser
