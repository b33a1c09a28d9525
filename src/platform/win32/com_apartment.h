#pragma once
// The calling thread's membership of a single-threaded COM apartment, joined on first need and
// kept for as long as this object lives. The shell's automation object shows its questions on
// the caller's thread, so the window thread joins once and stays until the program ends.
// Joining on first need keeps COM out of start-up: most runs never call the shell at all
// before the window is on screen.
#include "platform/win32/windows_api.h"

namespace qm::win32 {

class ComApartment {
  public:
    ComApartment() = default;
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;
    ~ComApartment() {
        if (joined_) ::CoUninitialize();
    }

    // S_FALSE (already a member) counts too and must be balanced as well; a thread already in
    // the multithreaded apartment keeps it and is left alone. Asked once, whatever the answer.
    void Join() {
        if (asked_) return;
        asked_ = true;
        joined_ = SUCCEEDED(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
    }

  private:
    bool asked_ = false;
    bool joined_ = false;
};

}  // namespace qm::win32
