#pragma once
// The windows on the desktop, as far as Quillmoss acts on them.
namespace qm::platform {

class Desktop {
  public:
    virtual ~Desktop() = default;
    // Answers a confirmation question of Quillmoss's own process with its default button (as
    // a press of Enter would), but only when such a question is the active window. Never
    // sends anything to another program's window. True when a question was answered.
    virtual bool ConfirmOwnQuestion() = 0;
};

}  // namespace qm::platform
