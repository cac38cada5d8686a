#include "platform/file_faults.h"

namespace quorix::platform {
namespace {

struct Armed {
  int countdown = -1;  // calls left before the failing one; -1: none, 0 with every: each call
  bool every = false;
  FileFault fault = FileFault::None;
};

struct Faults {
  Armed ops[kFileOpCount];
  bool any = false;
  bool fired = false;
};

Faults& State() {
  static Faults faults;
  return faults;
}

}  // namespace

void ArmFileFault(FileOp op, int nth, FileFault fault) {
  Armed& a = State().ops[static_cast<int>(op)];
  a.every = nth <= 0;
  a.countdown = a.every ? 0 : nth - 1;
  a.fault = fault;
  State().any = true;
}

void ClearFileFaults() { State() = Faults{}; }

bool FileFaultFired() { return State().fired; }

FileFault TakeFileFault(FileOp op) {
  Faults& f = State();
  if (!f.any) return FileFault::None;
  Armed& a = f.ops[static_cast<int>(op)];
  if (a.countdown < 0) return FileFault::None;
  if (a.countdown > 0) {
    --a.countdown;
    return FileFault::None;
  }
  if (!a.every) a.countdown = -1;
  f.fired = true;
  return a.fault;
}

}  // namespace quorix::platform
