// A plain form to hold the controls under test.
#pragma once

#include <utility>

#include "toolkit/Form.h"

namespace testing_support {

class THostForm : public toolkit::TForm {
 public:
  THostForm() : toolkit::TForm({L"Test", 400, 300}) {}
};

// A form of type Form, created and shown once it is whole.
template <typename Form>
class TShown : public Form {
 public:
  template <typename... Args>
  explicit TShown(Args&&... args) : Form(std::forward<Args>(args)...) {
    this->Create();
    this->Show();
  }
};

}  // namespace testing_support
