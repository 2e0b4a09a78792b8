// System colours set for a test.
#pragma once

#include <windows.h>

#include <utility>
#include <vector>

namespace testing_support {

// Sets system colours for the life of the object, and the earlier ones back at its end.
class TSystemColors {
 public:
  TSystemColors(std::vector<int> elements, std::vector<COLORREF> colors) : elements_(std::move(elements)) {
    for (int element : elements_) before_.push_back(GetSysColor(element));
    SetSysColors(static_cast<int>(elements_.size()), elements_.data(), colors.data());
  }
  ~TSystemColors() { SetSysColors(static_cast<int>(elements_.size()), elements_.data(), before_.data()); }
  TSystemColors(const TSystemColors&) = delete;
  TSystemColors& operator=(const TSystemColors&) = delete;

 private:
  std::vector<int> elements_;
  std::vector<COLORREF> before_;
};

}  // namespace testing_support
