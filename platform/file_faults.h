// The test seam of the file services: a test arms a fault, and a chosen call
// of one file operation then fails the way a full disk, a failing device, a
// refused permission or a read-only medium makes it fail. Every file the
// library writes goes through these operations on both builds, so the tests
// can prove what each failure leaves behind. Nothing is armed in normal use;
// the check is one load per operation.
#pragma once

namespace quorix::platform {

enum class FileOp : int { Create, Write, Sync, Close, Rename, Delete };
inline constexpr int kFileOpCount = 6;

enum class FileFault : int { None, DiskFull, IoError, AccessDenied, ReadOnly };

// The nth call of op from now on (1 = the next) fails with fault; with nth 0
// every call does until the faults are cleared.
void ArmFileFault(FileOp op, int nth, FileFault fault);
void ClearFileFaults();
// An armed fault has made a call fail since the last ClearFileFaults.
bool FileFaultFired();

// For the implementations: the fault this call of op must fail with.
FileFault TakeFileFault(FileOp op);

}  // namespace quorix::platform
