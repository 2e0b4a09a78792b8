// Drives asked apart from the caller's thread, one query per drive at a time. A drive that hangs (a
// network share whose server stalls) holds one thread however often it is asked meanwhile: a request
// of a kind already under way for that drive joins it, and the one answer answers both. The threads
// are the asker's own, at most one per drive and one that asks every letter's type in turn, and each
// ends once its drive has answered everything asked of it.
#pragma once

#include <windows.h>

#include <exception>
#include <functional>
#include <memory>
#include <optional>

#include "drive/DriveInfo.h"
#include "drive/DriveQueries.h"

namespace drive {

class TDriveAsker {
 public:
  // answered(letter) runs on the drive's thread after each of its answers is stored, until the asker
  // goes: a window posts itself a message there. It must not throw, nor may the type query: nothing on
  // those threads could report it (a probe's errors are its answer).
  TDriveAsker(const TDriveQueries& queries, std::function<void(char letter)> answered);
  // Does not wait for a drive that hangs: its thread holds what it needs, and its answer goes nowhere.
  ~TDriveAsker();
  TDriveAsker(const TDriveAsker&) = delete;
  TDriveAsker& operator=(const TDriveAsker&) = delete;

  // Asks the letter's drive type; a type query or a probe of the letter under way answers it.
  // Returns whether the request joined a query under way.
  bool AskType(char letter);
  // Asks the letter's probe (its type with it); a probe of the letter under way answers it.
  bool AskProbe(char letter);
  // Asks every letter's type, in turn on one thread of the asker's: making a thread costs more than
  // most drives take to answer. Waits at most the milliseconds for that round; the letters it has
  // not reached by then are asked apart, so that a drive that hangs holds only itself. A letter with
  // a thread of its own is left to it. While a round that has outlived its wait is under way, the
  // letters are asked apart at once.
  void AskAllTypes(DWORD patience);

  // The letter's answers so far, counted, so that a caller knows whether one came after its request.
  struct TCounts {
    unsigned Types = 0;
    unsigned Probes = 0;
  };
  TCounts Counts(char letter) const;
  // The newest answers: a type (from a type query or a probe), a probe or the error its making raised.
  struct TProbeAnswer {
    std::shared_ptr<const TDriveInfo> Probe;
    std::exception_ptr Error;
  };
  std::optional<UINT> Type(char letter) const;
  TProbeAnswer Probe(char letter) const;
  // Waits until no query of any drive is under way or waiting (true), at most the milliseconds.
  bool WaitIdle(DWORD milliseconds) const;
  // Waits until the letter has more probe answers than probes (true), at most the milliseconds.
  bool WaitForProbe(char letter, unsigned probes, DWORD milliseconds) const;
  // The drives whose thread runs now.
  int Threads() const;

 private:
  struct TShared;
  struct TWorker;
  struct TSweeper;
  bool Ask(char letter, bool probe);
  // Starts the thread of the letter (0 for A), marked running; on failure nothing stays wanted of it.
  static void StartWorker(const std::shared_ptr<TShared>& shared, int index);
  // Threads() with the lock held.
  int RunningLocked() const;
  // Waits with the lock held until done() or the milliseconds have passed.
  template <typename Done>
  bool WaitLocked(Done done, DWORD milliseconds) const;
  std::shared_ptr<TShared> shared_;
};

}  // namespace drive
