#pragma once
// Numbers as the System Info panel and the status lines show them.
#include <cstdint>
#include <string>

namespace qm::sysinfo {

// A double as the program has always printed it: up to 15 significant digits, no trailing
// zeros, no decimal point for whole numbers, "." as the separator whatever the locale.
std::string DoubleText(double value);

// Bytes in KB, rounded to the nearest whole KB with halves going to the even neighbour.
// Exact for every 64-bit size.
std::uint64_t RoundedKilobytes(std::uint64_t bytes);

}  // namespace qm::sysinfo
