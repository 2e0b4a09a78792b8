// Work with a deadline: its answer from another thread, no answer in time and the late one, the
// work's error, and a caller that stops waiting first.
#include <gtest/gtest.h>

#include <windows.h>

#include <memory>

#include "runtime/DeadlineCall.h"
#include "runtime/Errors.h"
#include "runtime/Handles.h"

using runtime::TDeadlineCall;

namespace {

// A manual-reset event.
class TEvent {
 public:
  void Set() const { SetEvent(handle_.Get()); }
  bool Wait(DWORD milliseconds) const {
    return WaitForSingleObject(handle_.Get(), milliseconds) == WAIT_OBJECT_0;
  }

 private:
  runtime::TKernelHandle handle_{CreateEventW(nullptr, TRUE, FALSE, nullptr)};
};

}  // namespace

TEST(DeadlineCall, HandsBackTheAnswerOfAnotherThreadOnce) {
  TDeadlineCall<DWORD> call([] { return GetCurrentThreadId(); });
  const std::optional<DWORD> worker = call.Take(10000);
  ASSERT_TRUE(worker);
  EXPECT_NE(*worker, GetCurrentThreadId());
  EXPECT_FALSE(call.Take(0));
}

TEST(DeadlineCall, NoAnswerByTheDeadlineThenTheLateOne) {
  TEvent go;
  TDeadlineCall<int> call([&go] {
    go.Wait(INFINITE);
    return 7;
  });
  EXPECT_FALSE(call.Take(20));
  EXPECT_FALSE(call.Wait(0));
  go.Set();
  EXPECT_EQ(call.Take(10000), 7);
}

TEST(DeadlineCall, TheWorksErrorReachesTheCaller) {
  TDeadlineCall<int> call([]() -> int { throw runtime::Exception(L"Laufwerk C:\\ antwortet nicht"); });
  try {
    call.Take(10000);
    ADD_FAILURE() << "no error";
  } catch (const runtime::Exception& error) {
    EXPECT_STREQ(error.what(), "Laufwerk C:\\ antwortet nicht");
  }
}

TEST(DeadlineCall, ACallerThatStopsWaitingLeavesTheWorkWhatItUses) {
  const auto go = std::make_shared<TEvent>();
  const auto answered = std::make_shared<TEvent>();
  auto token = std::make_shared<int>(5);
  const std::weak_ptr<int> watch = token;
  {
    TDeadlineCall<std::shared_ptr<int>> call(
        [go, token = std::move(token)] {
          go->Wait(INFINITE);
          return token;
        },
        [answered] { answered->Set(); });
    EXPECT_FALSE(call.Take(10));
  }
  EXPECT_FALSE(watch.expired()) << "the work keeps what it captured after the caller went";
  go->Set();
  ASSERT_TRUE(answered->Wait(10000));
  // Once ended, the thread lets go of the work, its result and what they hold.
  for (int wait = 0; wait < 1000 && !watch.expired(); ++wait) Sleep(5);
  EXPECT_TRUE(watch.expired());
}
