// A plain form to hold the controls under test.
#pragma once

#include "toolkit/Form.h"

namespace testing_support {

class THostForm : public tk::TForm {
 public:
  THostForm() : tk::TForm("Test", 400, 300) { Show(); }
};

}  // namespace testing_support
