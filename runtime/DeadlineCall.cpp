#include "runtime/DeadlineCall.h"

#include <exception>

#include "runtime/Errors.h"
#include "runtime/Handles.h"

namespace runtime {

struct TBackgroundWork::TState {
  TState(std::shared_ptr<TTask> task, std::function<void()> answered)
      : Task(std::move(task)), Answered(std::move(answered)) {}

  // Manual reset: set once, when the work has ended.
  const TKernelHandle Done{CreateEventW(nullptr, TRUE, FALSE, nullptr)};
  std::shared_ptr<TTask> Task;
  std::function<void()> Answered;
  std::exception_ptr Error;
};

TBackgroundWork::TBackgroundWork(std::shared_ptr<TTask> task, std::function<void()> answered)
    : state_(std::make_shared<TState>(std::move(task), std::move(answered))) {
  // The work thread's own share of the state, handed over with it.
  auto share = std::make_unique<std::shared_ptr<TState>>(state_);
  // A thread of its own, not one of the system's pool: it is gone once the work has returned, while
  // the pool keeps idle threads that Wine has been seen to crash on when the process ends.
  // Never the caller's thread instead: it may be a window's, which must not wait on a drive.
  if (!state_->Done) runtime::ThrowLastError(L"Die Abfrage kann nicht beginnen");
  // The thread runs on without its handle.
  const TKernelHandle thread{CreateThread(nullptr, 0, &TBackgroundWork::Run, share.get(), 0, nullptr)};
  if (!thread) runtime::ThrowLastError(L"Die Abfrage kann nicht beginnen: kein Thread frei");
  share.release();
}

DWORD WINAPI TBackgroundWork::Run(void* state) {
  const std::unique_ptr<std::shared_ptr<TState>> share(static_cast<std::shared_ptr<TState>*>(state));
  TState& self = **share;
  try {
    self.Task->Run();
  } catch (...) {
    self.Error = std::current_exception();
  }
  SetEvent(self.Done.Get());
  if (self.Answered) {
    try {
      self.Answered();
    } catch (...) {
      // Nobody on this thread to tell: the caller still finds the answer through Wait.
    }
  }
  return 0;
}

bool TBackgroundWork::Wait(DWORD milliseconds) const {
  return WaitForSingleObject(state_->Done.Get(), milliseconds) == WAIT_OBJECT_0;
}

void TBackgroundWork::RethrowError() const {
  if (state_->Error) std::rethrow_exception(state_->Error);
}

}  // namespace runtime
