#pragma once
// Counts the bytes the program has on the heap through operator new, and the peak since the
// last reset: enough to show whether a walk's memory grows with what it walks.
#include <cstddef>

namespace qm::bench {

std::size_t LiveHeapBytes();
std::size_t PeakHeapBytes();
void ResetPeak();

}  // namespace qm::bench
