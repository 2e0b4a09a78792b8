// Owning wrappers for handles: each frees its handle exactly once.
#pragma once

#include <windows.h>

#include <utility>

namespace runtime {

// Owns a handle that is released by Release(handle); a null handle is empty. Move-only. Live counts
// the handles of its kind that are held now: the system's own counts are not available everywhere.
template <typename Handle, auto Release>
class TUniqueHandle {
 public:
  static inline int Live = 0;

  TUniqueHandle() = default;
  explicit TUniqueHandle(Handle handle) : handle_(handle) {
    if (handle_) ++Live;
  }
  TUniqueHandle(const TUniqueHandle&) = delete;
  TUniqueHandle& operator=(const TUniqueHandle&) = delete;
  TUniqueHandle(TUniqueHandle&& other) noexcept : handle_(std::exchange(other.handle_, nullptr)) {}
  TUniqueHandle& operator=(TUniqueHandle&& other) noexcept {
    if (this != &other) {
      Reset();
      handle_ = std::exchange(other.handle_, nullptr);
    }
    return *this;
  }
  ~TUniqueHandle() { Reset(); }

  Handle Get() const { return handle_; }
  explicit operator bool() const { return handle_ != nullptr; }
  // Gives up ownership: the caller, or the system, frees the handle now.
  Handle Detach() {
    if (handle_) --Live;
    return std::exchange(handle_, nullptr);
  }
  void Reset(Handle handle = nullptr) {
    if (handle_) {
      Release(handle_);
      --Live;
    }
    handle_ = handle;
    if (handle_) ++Live;
  }

 private:
  Handle handle_ = nullptr;
};

// Events, threads, processes, pipes and files: closed by CloseHandle.
using TKernelHandle = TUniqueHandle<HANDLE, CloseHandle>;

// CreateFile fails with INVALID_HANDLE_VALUE, not null: pass its result through this, so that a
// failure leaves the owner empty instead of closing the value that also names the current process.
inline HANDLE NullIfInvalid(HANDLE handle) {
  return handle == INVALID_HANDLE_VALUE ? nullptr : handle;
}

}  // namespace runtime
