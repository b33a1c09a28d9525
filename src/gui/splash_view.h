#pragma once
// The update check's wait window on screen: a small bordered pop-up in the middle of the
// screen, a frame round its two-line label, following the model as it is shown, changed and
// unloaded. It never takes the focus from the window the user is in.
#include "gui/base_window.h"
#include "update/splash.h"

namespace qm::gui {

inline constexpr wchar_t kSplashClass[] = L"QuillmossSplash";

class SplashView : public BaseWindow<SplashView> {
  public:
    SplashView(HINSTANCE instance, HWND owner, update::Splash& model);
    ~SplashView();
    SplashView(const SplashView&) = delete;
    SplashView& operator=(const SplashView&) = delete;

  private:
    friend class BaseWindow<SplashView>;
    LRESULT HandleMessage(UINT message, WPARAM wparam, LPARAM lparam);
    void Follow();
    void Create();

    HINSTANCE instance_;
    HWND owner_;
    update::Splash& model_;
    HWND label_ = nullptr;
    HFONT font_ = nullptr;
};

}  // namespace qm::gui
