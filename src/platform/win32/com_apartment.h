#pragma once
// The calling thread's membership of a single-threaded COM apartment, for as long as this
// object lives. The shell's automation object shows its questions on the caller's thread,
// so the window thread joins once and stays until the program ends.
#include "platform/win32/windows_api.h"

namespace qm::win32 {

class ComApartment {
  public:
    // S_FALSE (already a member) counts too and must be balanced as well; a thread already in
    // the multithreaded apartment keeps it and is left alone.
    ComApartment() : joined_(SUCCEEDED(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {}
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;
    ~ComApartment() {
        if (joined_) ::CoUninitialize();
    }

  private:
    bool joined_;
};

}  // namespace qm::win32
