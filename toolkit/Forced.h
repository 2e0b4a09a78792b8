// An answer forced in place of the system's for as long as its guard lives (tests, and systems
// without the setting); the answer forced before comes back after. The window's thread only.
#pragma once

#include <optional>

namespace toolkit {

template <class T>
class TForced {
 public:
  TForced(std::optional<T>& slot, T value) : slot_(slot), previous_(slot) { slot_ = value; }
  ~TForced() { slot_ = previous_; }
  TForced(const TForced&) = delete;
  TForced& operator=(const TForced&) = delete;

 private:
  std::optional<T>& slot_;
  std::optional<T> previous_;
};

}  // namespace toolkit
