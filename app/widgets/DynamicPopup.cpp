#include "app/widgets/DynamicPopup.h"

namespace app {

int& DynamicPopupItemCounter() {
  static int counter = 0;
  return counter;
}

int& DynamicPopupGroupCounter() {
  static int counter = -1;
  return counter;
}

}  // namespace app
