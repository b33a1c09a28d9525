#pragma once
// Runs a batch of independent calls on this thread and, where the machine has processors to
// spare, on a few of Windows' pool threads beside it. Worth it for calls that mostly wait on
// the kernel (opening files), not for work that shares state.
#include <cstddef>

namespace qm::win32 {

// Calls work(context, i) once for every i below count, in no particular order and maybe on
// several threads at once; returns when every call has returned. `work` must not throw.
void SpreadWork(std::size_t count, void (*work)(void* context, std::size_t index), void* context);

}  // namespace qm::win32
