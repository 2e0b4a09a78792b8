#include "drive/DriveAsker.h"

#include <string>

#include "runtime/DeadlineCall.h"

namespace drive {

namespace {

// AcquireSRWLockExclusive / ReleaseSRWLockExclusive for the lifetime of the scope.
class TLocked {
 public:
  explicit TLocked(SRWLOCK& lock) : lock_(lock) { AcquireSRWLockExclusive(&lock_); }
  ~TLocked() { ReleaseSRWLockExclusive(&lock_); }
  TLocked(const TLocked&) = delete;
  TLocked& operator=(const TLocked&) = delete;

 private:
  SRWLOCK& lock_;
};

}  // namespace

// One letter's state, shared with its thread (named: the shared state below has external linkage).
namespace asker {

enum class TQuery { None, Type, Probe };

struct TLetter {
  bool Running = false;  // its thread runs
  TQuery Current = TQuery::None;
  bool TypeWanted = false;
  bool ProbeWanted = false;
  TDriveAsker::TCounts Counts;
  std::optional<UINT> Type;
  TDriveAsker::TProbeAnswer Probe;
};

}  // namespace asker

using asker::TLetter;
using asker::TQuery;

namespace {

int Index(char letter) {
  const char upper = UpperDriveLetter(letter);
  return upper >= 'A' && upper <= 'Z' ? upper - 'A' : -1;
}

}  // namespace

// What the asker and its threads share: a thread keeps it alive after the asker has gone.
struct TDriveAsker::TShared {
  TShared(const TDriveQueries& queries, std::function<void(char)> answered)
      : Queries(queries), Answered(std::move(answered)) {}
  const TDriveQueries& Queries;
  const std::function<void(char)> Answered;
  mutable SRWLOCK Lock = SRWLOCK_INIT;
  // Woken when a drive's thread answers or ends, and when a round ends.
  mutable CONDITION_VARIABLE Changed = CONDITION_VARIABLE_INIT;
  bool Closed = false;
  TLetter Letters[26];
  // The rounds over every letter: one runs, another is wanted after it, how many have ended, and
  // whether the one under way has outlived a caller's wait.
  bool Sweeping = false;
  bool SweepAgain = false;
  unsigned Sweeps = 0;
  bool SweepLate = false;
};

// One drive's thread: the queries asked of its drive, one after the other, until none waits.
struct TDriveAsker::TWorker final : runtime::TBackgroundWork::TTask {
  TWorker(std::shared_ptr<TShared> shared, char letter) : Shared(std::move(shared)), Letter(letter) {}

  void Run() override {
    TShared& shared = *Shared;
    TLetter& state = shared.Letters[Index(Letter)];
    const std::string root = std::string(1, Letter) + ":\\";
    for (;;) {
      TQuery query = TQuery::None;
      {
        const TLocked locked(shared.Lock);
        // A probe answers the type too.
        query = state.ProbeWanted ? TQuery::Probe : state.TypeWanted ? TQuery::Type : TQuery::None;
        state.ProbeWanted = false;
        if (query == TQuery::Probe || query == TQuery::Type) state.TypeWanted = false;
        state.Current = query;
        if (query == TQuery::None) {
          state.Running = false;
          WakeAllConditionVariable(&shared.Changed);
          return;
        }
      }
      // The answer is stored and the query ends in one step: a request that comes after the
      // answer is counted must not join the query that gave it.
      bool closed = false;
      if (query == TQuery::Type) {
        const UINT type = shared.Queries.DriveType(root);
        const TLocked locked(shared.Lock);
        state.Type = type;
        ++state.Counts.Types;
        state.Current = TQuery::None;
        closed = shared.Closed;
      } else {
        TProbeAnswer answer;
        try {
          answer.Probe = std::make_shared<const TDriveInfo>(Letter, shared.Queries);
        } catch (...) {
          answer.Error = std::current_exception();
        }
        const TLocked locked(shared.Lock);
        if (answer.Probe) {
          state.Type = answer.Probe->DriveType;
          ++state.Counts.Types;
        }
        state.Probe = std::move(answer);
        ++state.Counts.Probes;
        state.Current = TQuery::None;
        closed = shared.Closed;
      }
      WakeAllConditionVariable(&shared.Changed);
      if (!closed && shared.Answered) shared.Answered(Letter);
    }
  }

  std::shared_ptr<TShared> Shared;
  char Letter;
};

// The thread that asks every letter's type in turn, round after round while another is wanted.
struct TDriveAsker::TSweeper final : runtime::TBackgroundWork::TTask {
  explicit TSweeper(std::shared_ptr<TShared> shared) : Shared(std::move(shared)) {}

  void Run() override {
    TShared& shared = *Shared;
    for (;;) {
      unsigned before[26];
      {
        const TLocked locked(shared.Lock);
        for (int i = 0; i < 26; ++i) before[i] = shared.Letters[i].Counts.Types;
      }
      for (int i = 0; i < 26; ++i) {
        TLetter& state = shared.Letters[i];
        const char letter = static_cast<char>('A' + i);
        const std::string root = std::string(1, letter) + ":\\";
        {
          const TLocked locked(shared.Lock);
          if (shared.Closed) break;
          // A letter with a thread of its own, or answered since the round began, is not asked here.
          if (state.Running || state.Counts.Types != before[i]) {
            if (state.Running && state.Current == TQuery::None) state.TypeWanted = true;
            continue;
          }
          // Taken by the round: a query under way with no thread of the letter's own.
          state.Current = TQuery::Type;
        }
        const UINT type = shared.Queries.DriveType(root);
        bool handOver = false, closed = false;
        {
          const TLocked locked(shared.Lock);
          state.Type = type;
          ++state.Counts.Types;
          state.Current = TQuery::None;
          // What was asked of the letter meanwhile goes to a thread of its own.
          handOver = state.ProbeWanted || state.TypeWanted;
          closed = shared.Closed;
        }
        if (handOver) {
          try {
            StartWorker(Shared, i);
          } catch (...) {
            // Nobody waits on this thread: what was asked of the letter is asked again by its caller.
          }
        }
        if (!closed && shared.Answered) shared.Answered(letter);
      }
      const TLocked locked(shared.Lock);
      ++shared.Sweeps;
      shared.SweepLate = false;
      if (!shared.SweepAgain || shared.Closed) {
        shared.Sweeping = false;
        WakeAllConditionVariable(&shared.Changed);
        return;
      }
      shared.SweepAgain = false;
      WakeAllConditionVariable(&shared.Changed);
    }
  }

  std::shared_ptr<TShared> Shared;
};

TDriveAsker::TDriveAsker(const TDriveQueries& queries, std::function<void(char letter)> answered)
    : shared_(std::make_shared<TShared>(queries, std::move(answered))) {}

TDriveAsker::~TDriveAsker() {
  const TLocked locked(shared_->Lock);
  shared_->Closed = true;
}

bool TDriveAsker::AskType(char letter) {
  return Ask(letter, false);
}

bool TDriveAsker::AskProbe(char letter) {
  return Ask(letter, true);
}

bool TDriveAsker::Ask(char letter, bool probe) {
  const int index = Index(letter);
  if (index < 0) return false;
  TLetter& state = shared_->Letters[index];
  {
    const TLocked locked(shared_->Lock);
    // A query under way that answers this request: it joins.
    if (state.Current == TQuery::Probe || (!probe && state.Current == TQuery::Type)) return true;
    (probe ? state.ProbeWanted : state.TypeWanted) = true;
    // Its own thread, or (a query under way without one) the round's after its answer, takes it.
    if (state.Running || state.Current != TQuery::None) return false;
  }
  StartWorker(shared_, index);
  return false;
}

void TDriveAsker::StartWorker(const std::shared_ptr<TShared>& shared, int index) {
  TLetter& state = shared->Letters[index];
  {
    const TLocked locked(shared->Lock);
    if (state.Running) return;
    state.Running = true;
  }
  try {
    runtime::TBackgroundWork(std::make_shared<TWorker>(shared, static_cast<char>('A' + index)), {});
  } catch (...) {
    const TLocked locked(shared->Lock);
    state.Running = false;
    state.ProbeWanted = state.TypeWanted = false;
    WakeAllConditionVariable(&shared->Changed);
    throw;
  }
}

void TDriveAsker::AskAllTypes(DWORD patience) {
  unsigned before[26];
  bool late = false;
  {
    const TLocked locked(shared_->Lock);
    for (int i = 0; i < 26; ++i) before[i] = shared_->Letters[i].Counts.Types;
    late = shared_->SweepLate;
    if (!late) {
      // The round under way may have passed letters already: one more after it.
      const unsigned wanted = shared_->Sweeps + (shared_->Sweeping ? 2 : 1);
      if (shared_->Sweeping) {
        shared_->SweepAgain = true;
      } else {
        shared_->Sweeping = true;
        try {
          runtime::TBackgroundWork(std::make_shared<TSweeper>(shared_), {});
        } catch (...) {
          shared_->Sweeping = false;
          throw;
        }
      }
      // Late, the round is still under way: a round counts itself as it ends, under this lock.
      late = !WaitLocked([&] { return shared_->Sweeps >= wanted; }, patience);
      if (late) shared_->SweepLate = true;
    }
  }
  if (!late) return;
  for (int i = 0; i < 26; ++i) {
    if (Counts(static_cast<char>('A' + i)).Types == before[i]) AskType(static_cast<char>('A' + i));
  }
}

TDriveAsker::TCounts TDriveAsker::Counts(char letter) const {
  const int index = Index(letter);
  const TLocked locked(shared_->Lock);
  return index < 0 ? TCounts{} : shared_->Letters[index].Counts;
}

std::optional<UINT> TDriveAsker::Type(char letter) const {
  const int index = Index(letter);
  const TLocked locked(shared_->Lock);
  return index < 0 ? std::nullopt : shared_->Letters[index].Type;
}

TDriveAsker::TProbeAnswer TDriveAsker::Probe(char letter) const {
  const int index = Index(letter);
  const TLocked locked(shared_->Lock);
  return index < 0 ? TProbeAnswer{} : shared_->Letters[index].Probe;
}

template <typename Done>
bool TDriveAsker::WaitLocked(Done done, DWORD milliseconds) const {
  const DWORD start = GetTickCount();
  for (;;) {
    if (done()) return true;
    const DWORD waited = GetTickCount() - start;
    if (milliseconds != INFINITE && waited >= milliseconds) return false;
    SleepConditionVariableSRW(&shared_->Changed, &shared_->Lock,
                              milliseconds == INFINITE ? INFINITE : milliseconds - waited, 0);
  }
}

bool TDriveAsker::WaitIdle(DWORD milliseconds) const {
  const TLocked locked(shared_->Lock);
  return WaitLocked([this] { return RunningLocked() == 0; }, milliseconds);
}

bool TDriveAsker::WaitForProbe(char letter, unsigned probes, DWORD milliseconds) const {
  const int index = Index(letter);
  if (index < 0) return false;
  const TLocked locked(shared_->Lock);
  const TLetter& state = shared_->Letters[index];
  return WaitLocked([&] { return state.Counts.Probes > probes; }, milliseconds);
}

int TDriveAsker::Threads() const {
  const TLocked locked(shared_->Lock);
  return RunningLocked();
}

int TDriveAsker::RunningLocked() const {
  int running = shared_->Sweeping ? 1 : 0;
  for (const TLetter& state : shared_->Letters) running += state.Running;
  return running;
}

}  // namespace drive
