// Work apart from the caller's thread, waited for no longer than the caller chooses: it hands back
// the answer, or nothing when none came in time. A drive that hangs (a network share whose server
// stalls) then holds up only the thread that asks it, never a window or a script.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <optional>
#include <type_traits>
#include <utility>

namespace runtime {

// Work on a thread of its own. The thread shares the ownership of the task (the work,
// what it captures and its result), so a caller that stops waiting may go at once: when the work
// returns at last it touches nothing of the caller's. A thread that never returns does not hold
// up the end of the process.
class TBackgroundWork {
 public:
  class TTask {
   public:
    virtual ~TTask() = default;
    // On the work's thread.
    virtual void Run() = 0;
  };

  // answered, when given, runs on the work's thread once the work has returned or thrown, after
  // Wait has come true (a window posts itself a message there).
  TBackgroundWork(std::shared_ptr<TTask> task, std::function<void()> answered);
  // Does not wait for the work.
  ~TBackgroundWork() = default;
  TBackgroundWork(TBackgroundWork&&) = default;
  TBackgroundWork& operator=(TBackgroundWork&&) = default;

  // Whether the work has ended within the milliseconds (0: has it ended now).
  bool Wait(DWORD milliseconds) const;
  // Once Wait came true: the error that the work threw, thrown again here.
  void RethrowError() const;

 private:
  struct TState;
  static DWORD WINAPI Run(void* state);
  std::shared_ptr<TState> state_;
};

// A call whose result the caller takes if it comes by a deadline.
template <typename T>
class TDeadlineCall {
 public:
  // The work is kept as the callable it is: a std::function around it would add type-erased
  // handling for every kind of work to the executable.
  template <typename TWork>
  requires std::is_invocable_r_v<T, TWork&>
  explicit TDeadlineCall(TWork work, std::function<void()> answered = {})
      : task_(std::make_shared<TTaskOf<TWork>>(std::move(work))), work_(task_, std::move(answered)) {}

  // Whether the work has ended within the milliseconds.
  bool Wait(DWORD milliseconds) const { return work_.Wait(milliseconds); }
  // The result if the work returns within the milliseconds, nothing otherwise; the work's error is
  // thrown here. A result is handed out once.
  std::optional<T> Take(DWORD milliseconds) {
    if (!work_.Wait(milliseconds)) return std::nullopt;
    work_.RethrowError();
    return std::exchange(task_->Result, std::nullopt);
  }

 private:
  struct TTask : TBackgroundWork::TTask {
    std::optional<T> Result;
  };
  template <typename TWork>
  struct TTaskOf final : TTask {
    explicit TTaskOf(TWork work) : Work(std::move(work)) {}
    void Run() override { this->Result.emplace(Work()); }
    TWork Work;
  };
  std::shared_ptr<TTask> task_;
  TBackgroundWork work_;
};

}  // namespace runtime
