#pragma once
// The maker's public key: every update the program installs from the maker's site is signed
// with its private half, which never leaves the maker's release machine.
#include <string_view>

namespace qm::update {

inline constexpr std::string_view kMakersKey =
    "-----BEGIN PUBLIC KEY-----\n"
    "MIIBojANBgkqhkiG9w0BAQEFAAOCAY8AMIIBigKCAYEAqCbc3G9jLpV8aKQLGb8T\n"
    "7WgsQI+oLCbskPawXxv8foBC6TV+Hf8io4SWlua3NxpWC2KLgZbDb81THQDaiipa\n"
    "FIKy/COXmg75P5k12YCT7UpKGKhb86GTD2bO4ZVz2kPsCnaRvCev17Q+s6Ypd/jQ\n"
    "b2BMbVUcbEfreHAlG62B0HbnSY5EMv148PhnyfXiScuHoUMK8QZq7tDS4REnoCUD\n"
    "St+WHZ40gbOS4+ApglKXAmtS0vTbV7iqj3dUK9yUEWIVaifZUHFT3d7bpjJBt/qg\n"
    "LZYGbvd9FnDhSRAYZ68tttt+XJMzDXZK+6wroAD2b5cnzTZXB6rK2cnp5Om1vglP\n"
    "2v75JanR+4w1HfrdJN1hVUKwoSYWnzeEktjr0HU1g4nnJte2lBu4BcDQg462YZt7\n"
    "tBcTreYIDuuBPPBZhHQZPiSFQaFsQQvKHwjNO3qt0udhAiST70F1hxknc47g/3ta\n"
    "nrqsX4B/HJyWaOm2kSnkLzPCKGv8Gy2dV7rqV7mNEc+lAgMBAAE=\n"
    "-----END PUBLIC KEY-----\n";

}  // namespace qm::update
