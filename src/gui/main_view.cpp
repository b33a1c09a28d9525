#include "gui/main_view.h"

#include <commctrl.h>

#include <string_view>

#include "gui/control_ids.h"
#include "gui/layout.h"
#include "platform/win32/wide_text.h"
#include "platform/win32/win32_desktop.h"
#include "platform/win32/win32_http.h"
#include "resource.h"

namespace qm::gui {
namespace {

using win32::ToWide;

bool StartsWith(std::string_view text, std::string_view prefix) {
    return text.substr(0, prefix.size()) == prefix;
}

// The top panels and the item panels are overlapping frames without a window of their own:
// only the front one of each set shows its controls.
bool IsPanelArray(const controls::Control& control) {
    return control.name() == "frmone" || control.name() == "frmPopularFolders";
}

bool IsFrame(const controls::Control& control) {
    return StartsWith(control.name(), "Frame");
}

// Tab strips and group boxes lie beneath the controls drawn on them.
bool LiesUnder(const controls::Control& control) {
    return IsFrame(control) || dynamic_cast<const controls::TabStrip*>(&control) != nullptr;
}

// The reason shown while the session waits for the clean; looked up at run time because
// Windows XP has no such call.
class ShutdownBlock {
  public:
    ShutdownBlock(HWND window, bool blocking) : window_(blocking ? window : nullptr) {
        if (!window_) return;
        HMODULE user32 = GetModuleHandleW(L"user32.dll");
        create_ = reinterpret_cast<Create>(
            reinterpret_cast<void (*)()>(GetProcAddress(user32, "ShutdownBlockReasonCreate")));
        destroy_ = reinterpret_cast<Destroy>(
            reinterpret_cast<void (*)()>(GetProcAddress(user32, "ShutdownBlockReasonDestroy")));
        if (create_ && destroy_)
            create_(window_, L"Quillmoss is cleaning before the session ends.");
    }
    ~ShutdownBlock() {
        if (window_ && create_ && destroy_) destroy_(window_);
    }
    ShutdownBlock(const ShutdownBlock&) = delete;
    ShutdownBlock& operator=(const ShutdownBlock&) = delete;

  private:
    using Create = BOOL(WINAPI*)(HWND, LPCWSTR);
    using Destroy = BOOL(WINAPI*)(HWND);
    HWND window_;
    Create create_ = nullptr;
    Destroy destroy_ = nullptr;
};

int ScaleForDpi(int value, int dpi) {
    return MulDiv(value, dpi, 96);
}

}  // namespace

MainView::MainView(app::MainWindow& model, const app::MainMenu& menu, win32::Win32Platform& machine)
    : model_(model), machine_(machine), menus_(menu) {}

MainView::~MainView() {
    for (Native& native : natives_) native.model->Unsubscribe(native.subscription);
    if (font_) DeleteObject(font_);
}

bool MainView::Create(HINSTANCE instance) {
    HICON icon = LoadIconW(instance, MAKEINTRESOURCEW(IDI_QUILLMOSS));
    if (!Register(instance, win32::kMainWindowClass, icon)) return false;

    HDC screen = GetDC(nullptr);
    dpi_ = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
    RECT frame{0, 0, ScaleForDpi(kClientWidth, dpi_), ScaleForDpi(kClientHeight, dpi_)};
    AdjustWindowRectEx(&frame, style, TRUE, 0);

    // Created hidden: start-up places it and may end the program before it is ever seen.
    CreateWindowExW(0, win32::kMainWindowClass, ToWide(model_.caption()).c_str(), style,
                    CW_USEDEFAULT, CW_USEDEFAULT, frame.right - frame.left,
                    frame.bottom - frame.top, nullptr, menus_.bar(), instance, this);
    if (!hwnd_) return false;
    menus_.BarAttached();
    machine_.SetDialogOwner(hwnd_);  // the desktop's main window as well
    CreateControls(instance);
    return true;
}

void MainView::Show(int show) {
    // The panels in front are known now that start-up has run: their controls are made, the
    // others wait until they first come to the front.
    showing_ = true;
    UpdateVisibility();
    ShowWindow(hwnd_, show);
    UpdateWindow(hwnd_);
}

void MainView::CreateControls(HINSTANCE instance) {
    instance_ = instance;
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
    font_ = CreateFontIndirectW(&metrics.lfMessageFont);

    int next_id = kFirstPanelControl;
    for (controls::Control* control : model_.AllControls()) {
        int id = control->name() == "TabStrip1"   ? kTabStrip1
                 : control->name() == "TabStrip2" ? kTabStrip2
                 : control->name() == "List1"     ? kList1
                                                  : next_id++;
        if (!PlaceOf(control->name(), control->index())) continue;
        auto* label = dynamic_cast<controls::Label*>(control);
        const bool link = label && label->has_click_handler();
        natives_.push_back(Native{control, nullptr, id, 0, LiesUnder(*control), link});
    }
    // Subscribe only once the vector no longer moves: listeners keep the element's index.
    for (std::size_t i = 0; i < natives_.size(); ++i) {
        natives_[i].subscription = natives_[i].model->Subscribe(
            [this, i](controls::Change change) { Mirror(natives_[i], change); });
    }
    // Visibility depends on the whole panel tree, so the frames report to the view as well.
    for (controls::Control* control : model_.AllControls()) {
        if (IsPanelArray(*control)) {
            control->Subscribe([this](controls::Change) { UpdateVisibility(); });
        }
    }
}

void MainView::MakeNative(Native& native) {
    native.hwnd = CreateNative(*native.model, native.id);
    if (!native.hwnd) return;
    SendMessageW(native.hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
    Mirror(native, controls::Change::Lines);
    Mirror(native, controls::Change::Selection);
    Mirror(native, controls::Change::Value);
    Mirror(native, controls::Change::Enabled);
}

HWND MainView::CreateNative(controls::Control& control, int id) {
    std::optional<Rect> place = PlaceOf(control.name(), control.index());
    if (!place) return nullptr;
    const int dpi = dpi_;
    const wchar_t* window_class = WC_STATICW;
    DWORD style = WS_CHILD | WS_CLIPSIBLINGS;
    std::wstring text = ToWide(control.caption());
    if (dynamic_cast<controls::TabStrip*>(&control)) {
        window_class = WC_TABCONTROLW;
        style |= WS_TABSTOP;
        text.clear();
    } else if (dynamic_cast<controls::ListBox*>(&control)) {
        window_class = WC_LISTBOXW;
        style |= WS_VSCROLL | WS_BORDER | LBS_NOINTEGRALHEIGHT | WS_TABSTOP;
    } else if (dynamic_cast<controls::CheckBox*>(&control)) {
        window_class = WC_BUTTONW;
        style |= BS_AUTOCHECKBOX | WS_TABSTOP;
    } else if (dynamic_cast<controls::Button*>(&control)) {
        window_class = WC_BUTTONW;
        style |= BS_PUSHBUTTON | WS_TABSTOP;
    } else if (IsFrame(control)) {
        window_class = WC_BUTTONW;
        style |= BS_GROUPBOX;
    } else if (control.caption().empty()) {
        // Value and hint labels show whatever text they are given, "&" included.
        style |= SS_NOPREFIX;
    }
    if (auto* label = dynamic_cast<controls::Label*>(&control);
        label && label->has_click_handler()) {
        style |= SS_NOTIFY;  // a link: its clicks come back as STN_CLICKED
    }
    HWND hwnd = CreateWindowExW(
        0, window_class, text.c_str(), style, ScaleForDpi(place->x, dpi),
        ScaleForDpi(place->y, dpi), ScaleForDpi(place->width, dpi), ScaleForDpi(place->height, dpi),
        hwnd_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance_, nullptr);
    if (auto* tabs = dynamic_cast<controls::TabStrip*>(&control); tabs && hwnd) {
        for (std::size_t i = 0; i < tabs->tab_count(); ++i) {
            std::wstring caption = ToWide(tabs->tab_captions()[i]);
            TCITEMW item{};
            item.mask = TCIF_TEXT;
            item.pszText = caption.data();
            SendMessageW(hwnd, TCM_INSERTITEMW, i, reinterpret_cast<LPARAM>(&item));
        }
    }
    return hwnd;
}

// Tab strips first (the top strip lowest), then group boxes, then everything drawn on them:
// each call puts its window on top, so the last raised ends highest.
void MainView::StackControls() {
    auto raise = [](HWND hwnd) {
        SetWindowPos(hwnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    };
    for (int pass = 0; pass < 3; ++pass) {
        for (const Native& native : natives_) {
            if (!native.hwnd) continue;
            const bool tab = dynamic_cast<controls::TabStrip*>(native.model) != nullptr;
            const bool under = native.lies_under;
            if ((pass == 0 && tab) || (pass == 1 && under && !tab) || (pass == 2 && !under)) {
                raise(native.hwnd);
            }
        }
    }
}

void MainView::Mirror(Native& native, controls::Change change) {
    // A control not made yet takes the model's state when it is.
    if (!native.hwnd && change != controls::Change::Visibility &&
        change != controls::Change::ZOrder)
        return;
    controls::Control& control = *native.model;
    switch (change) {
        case controls::Change::Caption:
            if (!dynamic_cast<controls::TabStrip*>(&control)) {
                SetWindowTextW(native.hwnd, ToWide(control.caption()).c_str());
            }
            break;
        case controls::Change::Visibility:
        case controls::Change::ZOrder:
            UpdateVisibility();
            break;
        case controls::Change::Value:
            if (auto* box = dynamic_cast<controls::CheckBox*>(&control)) {
                SendMessageW(native.hwnd, BM_SETCHECK,
                             box->value() == 1 ? BST_CHECKED : BST_UNCHECKED, 0);
            }
            break;
        case controls::Change::Lines:
            MirrorLines(native);
            break;
        case controls::Change::Selection:
            if (auto* list = dynamic_cast<controls::ListBox*>(&control)) {
                SendMessageW(native.hwnd, LB_SETCURSEL, static_cast<WPARAM>(list->selected_index()),
                             0);
            } else if (auto* tabs = dynamic_cast<controls::TabStrip*>(&control)) {
                SendMessageW(native.hwnd, TCM_SETCURSEL, tabs->selected_index(), 0);
            }
            break;
        case controls::Change::Text:  // the main window has no edit fields
            break;
        case controls::Change::Enabled:
            EnableWindow(native.hwnd, control.enabled() ? TRUE : FALSE);
            break;
    }
}

// Lines are only ever appended or cleared, so appending the missing tail is enough unless the
// list became shorter.
void MainView::MirrorLines(Native& native) {
    auto* list = dynamic_cast<controls::ListBox*>(native.model);
    if (!list) return;
    auto shown = static_cast<std::size_t>(SendMessageW(native.hwnd, LB_GETCOUNT, 0, 0));
    if (shown > list->count()) {
        SendMessageW(native.hwnd, LB_RESETCONTENT, 0, 0);
        shown = 0;
    }
    for (std::size_t i = shown; i < list->count(); ++i) {
        SendMessageW(native.hwnd, LB_ADDSTRING, 0,
                     reinterpret_cast<LPARAM>(ToWide(list->lines()[i]).c_str()));
    }
}

bool MainView::Shown(const controls::Control& control) const {
    if (!control.visible()) return false;
    if (IsPanelArray(control)) {
        // Behind another visible panel of the same set: covered.
        for (const controls::Control* other : model_.AllControls()) {
            if (other != &control && other->name() == control.name() && other->visible() &&
                other->z_order() > control.z_order()) {
                return false;
            }
        }
    }
    return control.parent() == nullptr || Shown(*control.parent());
}

void MainView::UpdateVisibility() {
    if (!showing_) return;
    bool made = false;
    for (Native& native : natives_) {
        if (!native.hwnd && Shown(*native.model)) {
            MakeNative(native);
            made = true;
        }
    }
    if (made) StackControls();
    for (Native& native : natives_) {
        if (!native.hwnd) continue;
        const bool show = Shown(*native.model);
        if ((IsWindowVisible(native.hwnd) != FALSE) != show) {
            ShowWindow(native.hwnd, show ? SW_SHOWNA : SW_HIDE);
        }
    }
}

// Windows ends the process once this returns, so the clean runs here, to its end; Vista and
// later show the user why the session waits. A Restart Manager request only closes the
// program, and a restart that Clean and Reboot asked for has cleaned already.
void MainView::OnSessionEnd(LPARAM reason) {
    const int mode = model_.SessionEndUnloadMode((reason & ENDSESSION_CLOSEAPP) != 0);
    ShutdownBlock block(hwnd_, mode == app::kUnloadSessionEnding);
    model_.Form_QueryUnload(mode);
    // A transfer still waited for beneath this handler would hold the session's end back.
    win32::CancelAllTransfers();
    DestroyWindow(hwnd_);
}

MainView::Native* MainView::FindById(int id) {
    for (Native& native : natives_) {
        if (native.id == id) return &native;
    }
    return nullptr;
}

void MainView::OnCommand(int id, int code) {
    Native* native = FindById(id);
    // A button's BN_CLICKED and a link's STN_CLICKED are the same code.
    if (!native || code != BN_CLICKED) return;
    if (auto* box = dynamic_cast<controls::CheckBox*>(native->model)) {
        box->SetValue(SendMessageW(native->hwnd, BM_GETCHECK, 0, 0) == BST_CHECKED ? 1 : 0);
    } else if (auto* clickable = dynamic_cast<controls::Clickable*>(native->model)) {
        clickable->Click();
    }
}

void MainView::OnTabChanged(int id) {
    Native* native = FindById(id);
    if (!native) return;
    if (auto* tabs = dynamic_cast<controls::TabStrip*>(native->model)) {
        const LRESULT selected = SendMessageW(native->hwnd, TCM_GETCURSEL, 0, 0);
        if (selected >= 0) tabs->SelectTab(static_cast<std::size_t>(selected));
    }
}

bool MainView::IsLink(HWND hwnd) const {
    for (const Native& native : natives_) {
        if (native.hwnd == hwnd) return native.link;
    }
    return false;
}

LRESULT MainView::HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
        case WM_COMMAND:
            // Menus send no window and code 0; controls send their window.
            if (lparam == 0 && HIWORD(wparam) == 0) {
                menus_.OnCommand(LOWORD(wparam));
            } else {
                OnCommand(LOWORD(wparam), HIWORD(wparam));
            }
            return 0;
        case WM_CTLCOLORSTATIC:
            if (IsLink(reinterpret_cast<HWND>(lparam))) {
                // Links look like links: blue text on the window's own background.
                auto dc = reinterpret_cast<HDC>(wparam);
                SetTextColor(dc, RGB(0, 0, 255));
                SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
                return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
            }
            return DefWindowProcW(hwnd_, message, wparam, lparam);
        case WM_SETCURSOR:
            if (IsLink(reinterpret_cast<HWND>(wparam))) {
                SetCursor(LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_HAND)));
                return TRUE;
            }
            return DefWindowProcW(hwnd_, message, wparam, lparam);
        case WM_NOTIFY: {
            const auto* header = reinterpret_cast<const NMHDR*>(lparam);
            if (header->code == static_cast<UINT>(TCN_SELCHANGE)) {
                OnTabChanged(static_cast<int>(header->idFrom));
            }
            return 0;
        }
        case WM_SIZE:
            if (wparam == SIZE_MINIMIZED) model_.Form_Resize(app::kWindowMinimised);
            return 0;
        // The close box, Alt+F4 and the window menu all send the close command: the window
        // cannot be closed that way, only exited through the confirmed commands. Wine still
        // delivers the command once the window menu has lost its entry, so it is dropped here.
        case WM_SYSCOMMAND:
            if ((wparam & 0xFFF0) == SC_CLOSE) return 0;
            return DefWindowProcW(hwnd_, message, wparam, lparam);
        // A bare close from outside (a task list's "End task", taskkill) unloads the program
        // as the task manager's request: the icon goes, no clean runs.
        case WM_CLOSE:
            model_.Form_QueryUnload(app::kUnloadFromTaskManager);
            DestroyWindow(hwnd_);
            return 0;
        case WM_QUERYENDSESSION:
            model_.SessionEndQueried((static_cast<DWORD>(lparam) & ENDSESSION_LOGOFF) != 0);
            return TRUE;
        case WM_ENDSESSION:
            if (wparam) {
                OnSessionEnd(lparam);
            } else {
                model_.SessionEndCancelled();
            }
            return 0;
        case win32::kTrayCallbackMessage:
            model_.TrayIcon_Notify(LOWORD(lparam));
            return 0;
        case WM_DESTROY:
            model_.Form_Terminate();
            PostQuitMessage(0);
            return 0;
        default:
            if (message == win32::TaskbarCreatedMessage()) {
                model_.TaskbarCreated();
                return 0;
            }
            return DefWindowProcW(hwnd_, message, wparam, lparam);
    }
}

}  // namespace qm::gui
