#include "gui/options_view.h"

#include <commctrl.h>

#include <array>
#include <string>
#include <string_view>

#include "gui/dialog_window.h"
#include "gui/layout.h"
#include "platform/win32/wide_text.h"

namespace qm::gui {
namespace {

using win32::ToUtf8;
using win32::ToWide;

struct Place {
    std::string_view name;
    Rect rect;
};

// In the order the controls are made, which is the Tab order: down the first column, then
// down the second (the three lists), each frame before what it holds, "Close" last. Pixels of
// the client area at 96 DPI; a combo box's height includes its open list.
constexpr int kWidth = 720;
constexpr int kHeight = 432;
constexpr std::array kPlaces = {
    Place{"Frame2", {10, 8, 340, 116}},          Place{"Label1", {24, 33, 40, 18}},
    Place{"Combo1", {70, 29, 150, 240}},         Place{"Check1", {24, 58, 310, 20}},
    Place{"Command6", {24, 84, 200, 26}},        Place{"Command5", {10, 132, 200, 26}},
    Place{"Frame1", {10, 166, 340, 86}},         Place{"Text1", {24, 188, 312, 22}},
    Place{"Command2", {24, 218, 90, 26}},        Place{"Command1", {120, 218, 90, 26}},
    Place{"Command3", {10, 262, 200, 26}},       Place{"cmdUpgrade", {10, 296, 200, 26}},
    Place{"lblPolicy", {10, 330, 340, 36}},      Place{"fraKeep", {370, 8, 340, 116}},
    Place{"lstKeep", {384, 28, 312, 58}},        Place{"cboKeepSite", {384, 92, 200, 200}},
    Place{"cmdKeepAdd", {590, 91, 50, 24}},      Place{"cmdKeepRemove", {646, 91, 50, 24}},
    Place{"fraPlaces", {370, 132, 340, 168}},    Place{"lstPlaces", {384, 152, 312, 58}},
    Place{"lblPlace", {384, 219, 44, 18}},       Place{"txtPlace", {430, 216, 266, 22}},
    Place{"lblPattern", {384, 246, 44, 18}},     Place{"txtPattern", {430, 243, 100, 22}},
    Place{"chkSubfolders", {540, 244, 156, 20}}, Place{"cmdAddFolder", {384, 270, 100, 24}},
    Place{"cmdAddFile", {490, 270, 100, 24}},    Place{"cmdPlaceRemove", {596, 270, 100, 24}},
    Place{"fraNever", {370, 308, 340, 116}},     Place{"lstNever", {384, 328, 312, 58}},
    Place{"txtNever", {384, 392, 200, 22}},      Place{"cmdNeverAdd", {590, 391, 50, 24}},
    Place{"cmdNeverRemove", {646, 391, 50, 24}}, Place{"Command4", {250, 396, 100, 26}},
};
constexpr int kFirstId = 100;

std::wstring WindowText(HWND hwnd) {
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(hwnd)) + 1, L'\0');
    text.resize(
        static_cast<std::size_t>(GetWindowTextW(hwnd, text.data(), static_cast<int>(text.size()))));
    return text;
}

}  // namespace

OptionsView::OptionsView(HINSTANCE instance, HWND owner, win32::Win32Platform& machine)
    : instance_(instance), owner_(owner), machine_(machine) {}

OptionsView::~OptionsView() {
    if (model_) model_->SetOnUnload([] {});
    Destroy();
    if (font_) DeleteObject(font_);
}

void OptionsView::Show(options::OptionsDialog& model) {
    if (hwnd_ && model_ == &model) {
        ShowWindow(hwnd_, SW_SHOW);
        SetForegroundWindow(hwnd_);
        return;
    }
    Destroy();
    model_ = &model;
    model.SetOnUnload([this] { Destroy(); });
    Create();
}

void OptionsView::Create() {
    CreateDialogIndirectParamW(instance_, EmptyDialogTemplate(), owner_, &OptionsView::DialogProc,
                               reinterpret_cast<LPARAM>(this));
    if (!hwnd_) return;
    SetWindowTextW(hwnd_, ToWide(model_->caption()).c_str());
    dpi_ = ScreenDpi();
    if (!font_) font_ = CreateMessageFont();
    CreateControls();
    PlaceInMiddleOfScreen(hwnd_, kWidth, kHeight, dpi_);
    ShowWindow(hwnd_, SW_SHOW);
    const HWND first = GetNextDlgTabItem(hwnd_, nullptr, FALSE);
    if (first) SendMessageW(hwnd_, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(first), TRUE);
}

void OptionsView::CreateControls() {
    int id = kFirstId;
    for (const Place& place : kPlaces) {
        controls::Control* control = model_->FindControl(place.name);
        if (!control) continue;
        const wchar_t* window_class = WC_BUTTONW;
        DWORD style = WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_GROUP;
        DWORD ex_style = 0;
        if (dynamic_cast<controls::ComboBox*>(control)) {
            window_class = WC_COMBOBOXW;
            style |= CBS_DROPDOWN | CBS_AUTOHSCROLL | WS_VSCROLL;
        } else if (dynamic_cast<controls::ListBox*>(control)) {
            window_class = WC_LISTBOXW;
            style |= LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_VSCROLL;
            ex_style = WS_EX_CLIENTEDGE;
        } else if (dynamic_cast<controls::TextBox*>(control)) {
            window_class = WC_EDITW;
            style |= ES_AUTOHSCROLL;
            ex_style = WS_EX_CLIENTEDGE;
        } else if (dynamic_cast<controls::CheckBox*>(control)) {
            style |= BS_AUTOCHECKBOX;
        } else if (dynamic_cast<controls::Button*>(control)) {
            style |= BS_PUSHBUTTON;
        } else if (dynamic_cast<controls::Label*>(control)) {
            window_class = WC_STATICW;
            style = WS_CHILD | WS_VISIBLE;
        } else {
            style = WS_CHILD | WS_VISIBLE | BS_GROUPBOX;  // a frame
        }
        const Rect& r = place.rect;
        HWND hwnd =
            CreateWindowExW(ex_style, window_class, ToWide(control->caption()).c_str(), style,
                            ScaleToDpi(r.x, dpi_), ScaleToDpi(r.y, dpi_), ScaleToDpi(r.width, dpi_),
                            ScaleToDpi(r.height, dpi_), hwnd_,
                            reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance_, nullptr);
        if (!hwnd) continue;
        SendMessageW(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
        if (control == &model_->Combo1()) combo_ = hwnd;
        natives_.push_back(Native{control, hwnd, id++, 0});
    }
    // Subscribed once the vector no longer moves: each listener keeps its element's index.
    for (std::size_t i = 0; i < natives_.size(); ++i) {
        natives_[i].subscription = natives_[i].model->Subscribe(
            [this, i](controls::Change change) { Mirror(natives_[i], change); });
        Mirror(natives_[i], controls::Change::Lines);
        Mirror(natives_[i], controls::Change::Value);
        Mirror(natives_[i], controls::Change::Text);
        Mirror(natives_[i], controls::Change::Enabled);
    }
}

void OptionsView::Mirror(const Native& native, controls::Change change) {
    controls::Control& control = *native.model;
    if (change == controls::Change::Caption && !dynamic_cast<controls::TextBox*>(&control)) {
        SetWindowTextW(native.hwnd, ToWide(control.caption()).c_str());
    } else if (change == controls::Change::Value) {
        if (auto* box = dynamic_cast<controls::CheckBox*>(&control)) {
            SendMessageW(native.hwnd, BM_SETCHECK, box->value() == 1 ? BST_CHECKED : BST_UNCHECKED,
                         0);
        }
    } else if (change == controls::Change::Enabled) {
        EnableWindow(native.hwnd, control.enabled() ? TRUE : FALSE);
    } else if (change == controls::Change::Lines) {
        MirrorLines(native);
    } else if (change == controls::Change::Selection) {
        if (auto* list = dynamic_cast<controls::ListBox*>(&control))
            SendMessageW(native.hwnd, LB_SETCURSEL, static_cast<WPARAM>(list->selected_index()), 0);
    } else if (change == controls::Change::Text) {
        auto* field = dynamic_cast<controls::TextBox*>(&control);
        if (!field) return;
        const std::wstring text = ToWide(field->text());
        if (WindowText(native.hwnd) == text) return;  // the user's own typing, coming back
        if (dynamic_cast<controls::ComboBox*>(field)) {
            // A list line shows as that line picked; anything else leaves no line picked.
            const LRESULT line =
                SendMessageW(native.hwnd, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                             reinterpret_cast<LPARAM>(text.c_str()));
            SendMessageW(native.hwnd, CB_SETCURSEL, static_cast<WPARAM>(line), 0);
            if (line != CB_ERR) return;
        }
        SetWindowTextW(native.hwnd, text.c_str());
    }
}

// Lists are sent whole: they are short, and the model says only that they changed.
void OptionsView::MirrorLines(const Native& native) {
    if (auto* list = dynamic_cast<controls::ListBox*>(native.model)) {
        SendMessageW(native.hwnd, LB_RESETCONTENT, 0, 0);
        for (const std::string& line : list->lines())
            SendMessageW(native.hwnd, LB_ADDSTRING, 0,
                         reinterpret_cast<LPARAM>(ToWide(line).c_str()));
        SendMessageW(native.hwnd, LB_SETCURSEL, static_cast<WPARAM>(list->selected_index()), 0);
    } else if (auto* combo = dynamic_cast<controls::ComboBox*>(native.model)) {
        // Emptying the list empties the edit field too; it gets the model's text back.
        SendMessageW(native.hwnd, CB_RESETCONTENT, 0, 0);
        for (const std::string& item : combo->items())
            SendMessageW(native.hwnd, CB_ADDSTRING, 0,
                         reinterpret_cast<LPARAM>(ToWide(item).c_str()));
        SetWindowTextW(native.hwnd, ToWide(combo->text()).c_str());
    }
}

void OptionsView::OnCommand(int id, int code) {
    for (const Native& native : natives_) {
        if (native.id != id) continue;
        if (auto* combo = dynamic_cast<controls::ComboBox*>(native.model)) {
            if (code == CBN_SELCHANGE) {
                const LRESULT line = SendMessageW(native.hwnd, CB_GETCURSEL, 0, 0);
                if (line >= 0) combo->PickItem(static_cast<std::size_t>(line));
            } else if (code == CBN_EDITCHANGE) {
                combo->SetText(ToUtf8(WindowText(native.hwnd)));
            }
        } else if (auto* list = dynamic_cast<controls::ListBox*>(native.model)) {
            if (code == LBN_SELCHANGE)
                list->SetSelectedIndex(
                    static_cast<int>(SendMessageW(native.hwnd, LB_GETCURSEL, 0, 0)));
        } else if (auto* field = dynamic_cast<controls::TextBox*>(native.model)) {
            if (code == EN_CHANGE) field->SetText(ToUtf8(WindowText(native.hwnd)));
        } else if (auto* box = dynamic_cast<controls::CheckBox*>(native.model)) {
            if (code == BN_CLICKED)
                box->SetValue(SendMessageW(native.hwnd, BM_GETCHECK, 0, 0) == BST_CHECKED ? 1 : 0);
        } else if (auto* button = dynamic_cast<controls::Button*>(native.model)) {
            if (code == BN_CLICKED) button->Click();
        }
        return;
    }
}

bool OptionsView::PreTranslate(MSG& message) {
    if (!hwnd_ || !IsDialogMessageW(hwnd_, &message)) return false;
    // The key has reached the edit field by now, so the box sees the text it left there.
    if (message.message == WM_KEYUP && combo_ && model_ &&
        (message.hwnd == combo_ || IsChild(combo_, message.hwnd))) {
        model_->Combo1().KeyUp(static_cast<int>(message.wParam));
    }
    return true;
}

INT_PTR CALLBACK OptionsView::DialogProc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
    OptionsView* self = nullptr;
    if (message == WM_INITDIALOG) {
        self = reinterpret_cast<OptionsView*>(lparam);
        self->hwnd_ = hwnd;
        SetWindowLongPtrW(hwnd, DWLP_USER, lparam);
    } else {
        self = reinterpret_cast<OptionsView*>(GetWindowLongPtrW(hwnd, DWLP_USER));
    }
    return self ? self->HandleMessage(message, wparam, lparam) : FALSE;
}

INT_PTR OptionsView::HandleMessage(UINT message, WPARAM wparam, LPARAM) {
    switch (message) {
        case WM_INITDIALOG:
            return FALSE;  // the controls are not there yet; Create sets the focus
        case WM_COMMAND:
            // A question the handler asks holds this dialog until answered, not the main window.
            machine_.SetMessageBoxOwner(hwnd_);
            // Esc reaches the dialog as IDCANCEL: it closes, as "Close" does.
            if (LOWORD(wparam) == IDCANCEL) {
                if (model_) model_->Command4_Click();
            } else {
                OnCommand(LOWORD(wparam), HIWORD(wparam));
            }
            machine_.SetMessageBoxOwner(owner_);
            return TRUE;
        case WM_CLOSE:  // the close box
            if (model_) model_->Command4_Click();
            return TRUE;
        case WM_DESTROY:  // also when the main window goes and takes its dialogs along
            Forget();
            return FALSE;
        default:
            return FALSE;
    }
}

void OptionsView::Destroy() {
    const HWND window = hwnd_;
    Forget();
    if (window) DestroyWindow(window);
}

void OptionsView::Forget() {
    for (const Native& native : natives_) native.model->Unsubscribe(native.subscription);
    natives_.clear();
    hwnd_ = nullptr;
    combo_ = nullptr;
}

}  // namespace qm::gui
