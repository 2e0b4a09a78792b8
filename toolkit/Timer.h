// A timer: OnTimer every Interval milliseconds from Create on, on the user-interface thread. It has a
// message-only window of its own, so it needs no form.
#pragma once

#include <functional>

#include "toolkit/Window.h"

namespace toolkit {

class TTimer : public TWindow {
 public:
  explicit TTimer(UINT interval) : interval_(interval) {}
  ~TTimer() override;
  void Create();
  UINT Interval() const { return interval_; }
  std::function<void()> OnTimer;

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  UINT interval_;
};

}  // namespace toolkit
