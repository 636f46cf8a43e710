#include "ui.h"

namespace tavlo {

Ui& ui() {
  static Ui controls;
  return controls;
}

}  // namespace tavlo
