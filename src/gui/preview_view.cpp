#include "gui/preview_view.h"

#include <commctrl.h>

#include <array>
#include <string>
#include <string_view>

#include "gui/dialog_window.h"
#include "gui/layout.h"
#include "platform/win32/wide_text.h"

namespace qm::gui {
namespace {

using win32::ToWide;

struct Place {
    std::string_view name;
    Rect rect;
};

// Pixels of the client area at 96 DPI, in Tab order.
constexpr int kWidth = 640;
constexpr int kHeight = 424;
constexpr std::array kPlaces = {
    Place{"lstItems", {10, 10, 620, 112}},  Place{"lvwEntries", {10, 128, 620, 250}},
    Place{"lblStatus", {10, 392, 410, 20}}, Place{"cmdCancel", {430, 386, 95, 28}},
    Place{"cmdClose", {535, 386, 95, 28}},
};
constexpr std::array kColumnWidths = {150, 380, 80};
constexpr int kFirstId = 100;

// The one view with a hook in place; the hook is per thread, and so is this.
thread_local PreviewView* g_hooked = nullptr;

}  // namespace

PreviewView::~PreviewView() {
    if (model_) model_->SetOnUnload([] {});
    Destroy();
    if (font_) DeleteObject(font_);
    if (escape_hook_) UnhookWindowsHookEx(escape_hook_);
    g_hooked = nullptr;
}

void PreviewView::Show(app::PreviewDialog& model) {
    if (hwnd_ && model_ == &model) {
        ShowWindow(hwnd_, SW_SHOW);
        SetForegroundWindow(hwnd_);
        return;
    }
    Destroy();
    if (!escape_hook_) {
        g_hooked = this;
        escape_hook_ = SetWindowsHookExW(WH_GETMESSAGE, &PreviewView::EscapeHook, nullptr,
                                         GetCurrentThreadId());
    }
    model_ = &model;
    model.SetOnUnload([this] { Destroy(); });
    Create();
}

void PreviewView::Create() {
    CreateDialogIndirectParamW(instance_, EmptyDialogTemplate(), owner_, &PreviewView::DialogProc,
                               reinterpret_cast<LPARAM>(this));
    if (!hwnd_) return;
    SetWindowTextW(hwnd_, ToWide(model_->caption()).c_str());
    dpi_ = ScreenDpi();
    if (!font_) font_ = CreateMessageFont();
    int id = kFirstId;
    for (const Place& place : kPlaces) {
        controls::Control* control = model_->FindControl(place.name);
        if (!control) continue;
        const Rect& r = place.rect;
        const HWND hwnd = CreateNative(*control, id);
        if (!hwnd) continue;
        SetWindowPos(hwnd, nullptr, ScaleToDpi(r.x, dpi_), ScaleToDpi(r.y, dpi_),
                     ScaleToDpi(r.width, dpi_), ScaleToDpi(r.height, dpi_),
                     SWP_NOZORDER | SWP_NOACTIVATE);
        SendMessageW(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
        natives_.push_back(Native{control, hwnd, id++, 0});
    }
    // Subscribed once the vector no longer moves: each listener keeps its element's index.
    for (std::size_t i = 0; i < natives_.size(); ++i) {
        natives_[i].subscription = natives_[i].model->Subscribe(
            [this, i](controls::Change change) { Mirror(natives_[i], change); });
        Mirror(natives_[i], controls::Change::Lines);
        Mirror(natives_[i], controls::Change::Visibility);
    }
    PlaceInMiddleOfScreen(hwnd_, kWidth, kHeight, dpi_);
    ShowWindow(hwnd_, SW_SHOW);
    UpdateWindow(hwnd_);
}

HWND PreviewView::CreateNative(controls::Control& control, int id) {
    const wchar_t* window_class = WC_BUTTONW;
    DWORD style = WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_GROUP | BS_PUSHBUTTON;
    DWORD ex_style = 0;
    auto* view = dynamic_cast<controls::ListView*>(&control);
    if (view) {
        window_class = WC_LISTVIEWW;
        style = WS_CHILD | WS_VISIBLE | WS_TABSTOP | LVS_REPORT | LVS_SHOWSELALWAYS | LVS_SINGLESEL;
        ex_style = WS_EX_CLIENTEDGE;
    } else if (dynamic_cast<controls::ListBox*>(&control)) {
        window_class = WC_LISTBOXW;
        style = WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | WS_HSCROLL | LBS_NOTIFY;
        ex_style = WS_EX_CLIENTEDGE;
    } else if (dynamic_cast<controls::Label*>(&control)) {
        window_class = WC_STATICW;
        style = WS_CHILD | WS_VISIBLE;
    }
    const HWND hwnd = CreateWindowExW(
        ex_style, window_class, ToWide(control.caption()).c_str(), style, 0, 0, 10, 10, hwnd_,
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance_, nullptr);
    if (!hwnd || !view) return hwnd;
    SendMessageW(hwnd, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, LVS_EX_FULLROWSELECT);
    for (std::size_t c = 0; c < view->columns().size() && c < kColumnWidths.size(); ++c) {
        std::wstring caption = ToWide(view->columns()[c].caption);
        LVCOLUMNW column{};
        column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT;
        column.fmt = view->columns()[c].numeric ? LVCFMT_RIGHT : LVCFMT_LEFT;
        column.cx = ScaleToDpi(kColumnWidths[c], dpi_);
        column.pszText = caption.data();
        SendMessageW(hwnd, LVM_INSERTCOLUMNW, c, reinterpret_cast<LPARAM>(&column));
    }
    return hwnd;
}

void PreviewView::Mirror(const Native& native, controls::Change change) {
    controls::Control& control = *native.model;
    if (change == controls::Change::Caption) {
        SetWindowTextW(native.hwnd, ToWide(control.caption()).c_str());
    } else if (change == controls::Change::Visibility) {
        ShowWindow(native.hwnd, control.visible() ? SW_SHOW : SW_HIDE);
    } else if (auto* view = dynamic_cast<controls::ListView*>(&control)) {
        if (change == controls::Change::Lines) FillListView(native.hwnd, *view);
    } else if (auto* list = dynamic_cast<controls::ListBox*>(&control)) {
        if (change == controls::Change::Lines) {
            SendMessageW(native.hwnd, LB_RESETCONTENT, 0, 0);
            for (const std::string& line : list->lines()) {
                SendMessageW(native.hwnd, LB_ADDSTRING, 0,
                             reinterpret_cast<LPARAM>(ToWide(line).c_str()));
            }
        }
        SendMessageW(native.hwnd, LB_SETCURSEL, static_cast<WPARAM>(list->selected_index()), 0);
    }
}

void PreviewView::FillListView(HWND hwnd, const controls::ListView& view) {
    SendMessageW(hwnd, WM_SETREDRAW, FALSE, 0);
    SendMessageW(hwnd, LVM_DELETEALLITEMS, 0, 0);
    int index = 0;
    for (const controls::ListView::Row& row : view.rows()) {
        for (std::size_t c = 0; c < row.size(); ++c) {
            std::wstring text = ToWide(row[c]);
            LVITEMW item{};
            item.mask = LVIF_TEXT;
            item.iItem = index;
            item.iSubItem = static_cast<int>(c);
            item.pszText = text.data();
            SendMessageW(hwnd, c == 0 ? LVM_INSERTITEMW : LVM_SETITEMTEXTW,
                         static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
        }
        ++index;
    }
    SendMessageW(hwnd, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(hwnd, nullptr, TRUE);
}

void PreviewView::OnCommand(int id, int code) {
    for (const Native& native : natives_) {
        if (native.id != id) continue;
        if (auto* list = dynamic_cast<controls::ListBox*>(native.model)) {
            if (code == LBN_SELCHANGE) {
                list->SetSelectedIndex(
                    static_cast<int>(SendMessageW(native.hwnd, LB_GETCURSEL, 0, 0)));
            }
        } else if (auto* button = dynamic_cast<controls::Button*>(native.model)) {
            if (code == BN_CLICKED) button->Click();
        }
        return;
    }
}

LRESULT CALLBACK PreviewView::EscapeHook(int code, WPARAM wparam, LPARAM lparam) {
    auto* message = reinterpret_cast<MSG*>(lparam);
    PreviewView* self = g_hooked;
    if (code == HC_ACTION && wparam == PM_REMOVE && self && self->hwnd_ && self->model_ &&
        message->message == WM_KEYDOWN && message->wParam == VK_ESCAPE &&
        (message->hwnd == self->hwnd_ || IsChild(self->hwnd_, message->hwnd))) {
        message->message = WM_NULL;  // taken: nothing else acts on it
        self->model_->cmdClose_Click();
    }
    return CallNextHookEx(nullptr, code, wparam, lparam);
}

bool PreviewView::PreTranslate(MSG& message) {
    return hwnd_ && IsDialogMessageW(hwnd_, &message);
}

INT_PTR CALLBACK PreviewView::DialogProc(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
    PreviewView* self = nullptr;
    if (message == WM_INITDIALOG) {
        self = reinterpret_cast<PreviewView*>(lparam);
        self->hwnd_ = hwnd;
        SetWindowLongPtrW(hwnd, DWLP_USER, lparam);
    } else {
        self = reinterpret_cast<PreviewView*>(GetWindowLongPtrW(hwnd, DWLP_USER));
    }
    return self ? self->HandleMessage(message, wparam, lparam) : FALSE;
}

INT_PTR PreviewView::HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
        case WM_INITDIALOG:
            return TRUE;
        case WM_COMMAND:
            // Esc reaches the dialog as IDCANCEL: it closes, as "Close" does.
            if (LOWORD(wparam) == IDCANCEL) {
                if (model_) model_->cmdClose_Click();
            } else {
                OnCommand(LOWORD(wparam), HIWORD(wparam));
            }
            return TRUE;
        case WM_NOTIFY: {
            const auto* header = reinterpret_cast<const NMHDR*>(lparam);
            if (header->code != LVN_COLUMNCLICK || !model_) return FALSE;
            const auto* list = reinterpret_cast<const NMLISTVIEW*>(lparam);
            model_->lvwEntries().ClickColumn(static_cast<std::size_t>(list->iSubItem));
            return TRUE;
        }
        case WM_CLOSE:
            if (model_) model_->cmdClose_Click();
            return TRUE;
        case WM_DESTROY:
            Forget();
            return FALSE;
        default:
            return FALSE;
    }
}

void PreviewView::Destroy() {
    const HWND window = hwnd_;
    Forget();
    if (window) DestroyWindow(window);
}

void PreviewView::Forget() {
    for (const Native& native : natives_) native.model->Unsubscribe(native.subscription);
    natives_.clear();
    hwnd_ = nullptr;
    model_ = nullptr;  // a closed dialog's model may go at the next opening
}

}  // namespace qm::gui
