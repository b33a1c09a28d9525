#pragma once
#include "platform/session_traces.h"
#include "platform/win32/com_apartment.h"

namespace qm::win32 {

class Win32SessionTraces final : public platform::SessionTraces {
  public:
    platform::Status EmptyClipboard() override;
    bool HasClipboardHistory() override;
    platform::Status ClearClipboardHistory() override;
    bool HasDnsCache() override;
    platform::Status FlushDnsCache() override;

  private:
    ComApartment apartment_;
};

}  // namespace qm::win32
