#include "app_state.h"

namespace tavlo {

AppState& app_state() {
  // Never destroyed: workers may still read it while the process ends.
  static AppState* state = new AppState();
  return *state;
}

}  // namespace tavlo
