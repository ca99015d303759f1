#include "forms/dialog_form_win32.h"

#include <algorithm>
#include <memory>

#include "forms/dialog_keys.h"
#include "forms/dpi_win32.h"
#include "forms/program_font_win32.h"

namespace vantor {

namespace {

bool IsCheckBox(const ControlDef& def) {
    if (lstrcmpiA(def.className, "BUTTON") != 0) return false;
    const DWORD type = def.style & BS_TYPEMASK;
    return type == BS_CHECKBOX || type == BS_AUTOCHECKBOX || type == BS_3STATE ||
           type == BS_AUTO3STATE;
}

bool IsComboBox(const ControlDef& def) {
    return lstrcmpiA(def.className, "COMBOBOX") == 0;
}

bool CanTakeFocus(HWND control) {
    const LONG style = GetWindowLongA(control, GWL_STYLE);
    return (style & WS_VISIBLE) && (style & WS_TABSTOP) && !(style & WS_DISABLED);
}

}  // namespace

void DialogForm::SetControlTable(std::span<const ControlDef> table, DialogOptions options) {
    table_ = table;
    options_ = options;
    state_.assign(table.size(), {});
    for (std::size_t i = 0; i < table.size(); ++i) {
        const ControlDef& def = table[i];
        state_[i].visible = (def.style & WS_VISIBLE) != 0;
        const int container = IndexOf(def.container);
        state_[i].enabled = !(def.style & WS_DISABLED) &&
                            (container < 0 || state_[static_cast<std::size_t>(container)].enabled);
    }
    if (window_) {
        SetWindowContextHelpId(window_, options_.helpContext);
        dpi_ = WindowDpi(window_);
        SendMessageA(window_, WM_SETFONT, reinterpret_cast<WPARAM>(ProgramFont(dpi_)), FALSE);
    }
}

void DialogForm::SetDpi(int dpi) {
    dpi_ = UsableDpi(dpi);
    if (!window_) return;
    const HFONT font = ProgramFont(dpi_);
    SendMessageA(window_, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    for (std::size_t i = 0; i < table_.size() && created_; ++i) {
        HWND control = state_[i].window;
        if (!control) continue;
        SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
        const DesignRect r = ScaledRect(table_[i]);
        SetWindowPos(control, nullptr, r.x, r.y, r.width, r.height,
                     SWP_NOZORDER | SWP_NOACTIVATE);
        FitToCaption(i);
    }
    InvalidateRect(window_, nullptr, TRUE);
}

int DialogForm::IndexOf(int id) const {
    if (id == 0) return -1;
    for (std::size_t i = 0; i < table_.size(); ++i) {
        if (table_[i].id == id) return static_cast<int>(i);
    }
    return -1;
}

DialogForm::ControlState* DialogForm::StateOf(int id) {
    const int i = IndexOf(id);
    return i < 0 ? nullptr : &state_[static_cast<std::size_t>(i)];
}

const DialogForm::ControlState* DialogForm::StateOf(int id) const {
    const int i = IndexOf(id);
    return i < 0 ? nullptr : &state_[static_cast<std::size_t>(i)];
}

HWND DialogForm::Control(int id) const {
    const int i = IndexOf(id);
    return i < 0 ? nullptr : state_[static_cast<std::size_t>(i)].window;
}

POINT DialogForm::Origin(const ControlDef& def) const {
    POINT p = {def.x, def.y};
    // Group boxes are not parents of their controls here (their notifications would go to
    // the group box): the positions are turned into the form's own.
    for (int c = IndexOf(def.container); c >= 0;
         c = IndexOf(table_[static_cast<std::size_t>(c)].container)) {
        p.x += table_[static_cast<std::size_t>(c)].x;
        p.y += table_[static_cast<std::size_t>(c)].y;
    }
    return p;
}

DesignRect DialogForm::ScaledRect(const ControlDef& def) const {
    const POINT at = Origin(def);
    return ScaleRect({at.x, at.y, def.width, def.height}, dpi_);
}

void DialogForm::CreateControls() {
    if (created_ || !window_) return;
    created_ = true;
    for (std::size_t i = 0; i < table_.size(); ++i) {
        const ControlDef& def = table_[i];
        ControlState& state = state_[i];
        DWORD style = def.style & ~static_cast<DWORD>(WS_VISIBLE | WS_DISABLED);
        if (state.visible) style |= WS_VISIBLE;
        if (!state.enabled) style |= WS_DISABLED;
        const DesignRect at = ScaledRect(def);
        const bool combo = IsComboBox(def);
        state.window = CreateControl(window_, def.className, combo ? "" : state.text.c_str(), style,
                                     at.x, at.y, at.width, at.height, def.id);
        SendMessageA(state.window, WM_SETFONT, reinterpret_cast<WPARAM>(ProgramFont(dpi_)),
                     FALSE);
        if (state.checked) SendMessageA(state.window, BM_SETCHECK, BST_CHECKED, 0);
        if (combo) {
            for (const std::string& item : state.items) {
                SendMessageA(state.window, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
            }
            SendMessageA(state.window, CB_SETCURSEL, static_cast<WPARAM>(state.selection), 0);
        }
        FitToCaption(i);
    }
}

void DialogForm::FitToCaption(std::size_t index) {
    const ControlDef& def = table_[index];
    HWND control = state_[index].window;
    if (!control || (def.width != 0 && def.height != 0) || IsComboBox(def)) return;
    HDC dc = GetDC(control);
    // Measured in the control's own font, the one it draws its caption with.
    HGDIOBJ font = reinterpret_cast<HGDIOBJ>(SendMessageA(control, WM_GETFONT, 0, 0));
    HGDIOBJ old = SelectObject(dc, font ? font : ProgramFont(dpi_));
    SIZE text = {};
    const std::string& caption = state_[index].text;
    GetTextExtentPoint32A(dc, caption.c_str(), static_cast<int>(caption.size()), &text);
    TEXTMETRICA tm = {};
    GetTextMetricsA(dc, &tm);
    SelectObject(dc, old);
    ReleaseDC(control, dc);
    int width = text.cx, height = tm.tmHeight;
    if (IsCheckBox(def)) {
        // The box, a gap, the caption and a character's room: the control draws its text a
        // little further in than the box alone (its last letter was seen clipped).
        width += MetricForDpi(SM_CXMENUCHECK, dpi_) + Scale(6) + tm.tmAveCharWidth;
        height = std::max<int>(height, MetricForDpi(SM_CYMENUCHECK, dpi_)) + Scale(2);
    }
    const DesignRect fixed = ScaledRect(def);
    SetWindowPos(control, nullptr, 0, 0, def.width ? fixed.width : width,
                 def.height ? fixed.height : height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void DialogForm::SetControlText(int id, const std::string& text) {
    const int i = IndexOf(id);
    if (i < 0) return;
    ControlState& state = state_[static_cast<std::size_t>(i)];
    if (state.window && state.text == text) return;
    state.text = text;
    if (state.window && !IsComboBox(table_[static_cast<std::size_t>(i)])) {
        SetWindowTextA(state.window, text.c_str());
        FitToCaption(static_cast<std::size_t>(i));
    }
}

std::string DialogForm::ControlText(int id) const {
    const int i = IndexOf(id);
    if (i < 0) return {};
    const ControlState& state = state_[static_cast<std::size_t>(i)];
    if (!state.window || IsComboBox(table_[static_cast<std::size_t>(i)])) return state.text;
    const int length = GetWindowTextLengthA(state.window);
    std::string text(static_cast<std::size_t>(length > 0 ? length : 0) + 1, '\0');
    const int got = GetWindowTextA(state.window, text.data(), static_cast<int>(text.size()));
    text.resize(static_cast<std::size_t>(got > 0 ? got : 0));
    return text;
}

void DialogForm::SetControlVisible(int id, bool visible) {
    const int i = IndexOf(id);
    if (i < 0) return;
    ControlState& state = state_[static_cast<std::size_t>(i)];
    state.visible = visible;
    if (state.window) ShowWindow(state.window, visible ? SW_SHOWNA : SW_HIDE);
}

bool DialogForm::ControlVisible(int id) const {
    const int i = IndexOf(id);
    return i >= 0 && state_[static_cast<std::size_t>(i)].visible;
}

void DialogForm::SetControlEnabled(int id, bool enabled) {
    const int i = IndexOf(id);
    if (i < 0) return;
    ControlState& state = state_[static_cast<std::size_t>(i)];
    state.enabled = enabled;
    if (state.window) EnableWindow(state.window, enabled);
    for (const ControlDef& def : table_) {
        if (def.container == id) SetControlEnabled(def.id, enabled);
    }
}

bool DialogForm::ControlEnabled(int id) const {
    const int i = IndexOf(id);
    return i >= 0 && state_[static_cast<std::size_t>(i)].enabled;
}

void DialogForm::SetChecked(int id, bool checked) {
    const int i = IndexOf(id);
    if (i < 0) return;
    ControlState& state = state_[static_cast<std::size_t>(i)];
    state.checked = checked;
    if (state.window) {
        SendMessageA(state.window, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
    }
}

bool DialogForm::Checked(int id) const {
    const int i = IndexOf(id);
    if (i < 0) return false;
    const ControlState& state = state_[static_cast<std::size_t>(i)];
    if (!state.window) return state.checked;
    return SendMessageA(state.window, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void DialogForm::SetComboItems(int id, const std::vector<std::string>& items, int selection) {
    ControlState* state = StateOf(id);
    if (!state) return;
    state->items = items;
    if (state->window) {
        SendMessageA(state->window, CB_RESETCONTENT, 0, 0);
        for (const std::string& item : items) {
            SendMessageA(state->window, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
        }
    }
    SetComboSelection(id, selection);
}

void DialogForm::SetComboItem(int id, int index, const std::string& text) {
    ControlState* state = StateOf(id);
    if (!state || index < 0 || static_cast<std::size_t>(index) >= state->items.size()) return;
    state->items[static_cast<std::size_t>(index)] = text;
    if (!state->window) return;
    const int selection = ComboSelection(id);
    SendMessageA(state->window, CB_DELETESTRING, static_cast<WPARAM>(index), 0);
    SendMessageA(state->window, CB_INSERTSTRING, static_cast<WPARAM>(index),
                 reinterpret_cast<LPARAM>(text.c_str()));
    SendMessageA(state->window, CB_SETCURSEL, static_cast<WPARAM>(selection), 0);
}

std::string DialogForm::ComboItem(int id, int index) const {
    const ControlState* state = StateOf(id);
    if (!state || index < 0 || static_cast<std::size_t>(index) >= state->items.size()) return {};
    return state->items[static_cast<std::size_t>(index)];
}

void DialogForm::SetComboSelection(int id, int index) {
    ControlState* state = StateOf(id);
    if (!state) return;
    const bool inRange = index >= 0 && static_cast<std::size_t>(index) < state->items.size();
    state->selection = inRange ? index : -1;
    if (state->window) SendMessageA(state->window, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

int DialogForm::ComboSelection(int id) const {
    const ControlState* state = StateOf(id);
    if (!state) return -1;
    if (!state->window) return state->selection;
    return static_cast<int>(SendMessageA(state->window, CB_GETCURSEL, 0, 0));
}

void DialogForm::ApplyCaptions(const CaptionSet& captions) {
    if (options_.title != Caption::kNone && window_) {
        SetWindowTextA(window_, captions[options_.title].c_str());
    }
    for (const ControlDef& def : table_) {
        if (def.caption != Caption::kNone) SetControlText(def.id, captions[def.caption]);
    }
}

void DialogForm::ReadCaptions(CaptionSet& captions) const {
    if (options_.title != Caption::kNone && window_) {
        char title[512] = {};
        GetWindowTextA(window_, title, sizeof(title));
        captions[options_.title] = title;
    }
    for (const ControlDef& def : table_) {
        if (def.caption != Caption::kNone) captions[def.caption] = ControlText(def.id);
    }
}

void DialogForm::MoveFocus(bool backward) {
    const std::size_t count = state_.size();
    const std::unique_ptr<bool[]> can(new bool[count]);
    int current = -1;
    const HWND focus = GetFocus();
    for (std::size_t i = 0; i < count; ++i) {
        HWND control = state_[i].window;
        can[i] = control && CanTakeFocus(control);
        // A combo box's focus may sit in a child of it.
        if (control && (control == focus || IsChild(control, focus))) {
            current = static_cast<int>(i);
        }
    }
    const int next = NextFocusIndex(std::span<const bool>(can.get(), count), current, backward);
    if (next >= 0) SetFocus(state_[static_cast<std::size_t>(next)].window);
}

void DialogForm::PressButton(int id) {
    HWND button = Control(id);
    if (!button || !IsWindowVisible(button) || !IsWindowEnabled(button)) return;
    SendMessageA(window_, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(button));
}

DWORD DialogForm::HelpContextOf(HWND window) const {
    for (HWND w = window; w; w = GetParent(w)) {
        if (const DWORD context = GetWindowContextHelpId(w)) return context;
        if (w == window_) break;
    }
    return options_.helpContext;
}

bool DialogForm::PreTranslateMessage(MSG& msg) {
    if (!window_ || (msg.hwnd != window_ && !IsChild(window_, msg.hwnd))) return false;
    if (options_.accelerators && TranslateAcceleratorA(window_, options_.accelerators, &msg)) {
        return true;
    }
    if (msg.message != WM_KEYDOWN && msg.message != WM_SYSKEYDOWN) return false;
    if (OnKey(msg)) return true;
    if (msg.message != WM_KEYDOWN) return false;
    const auto code = static_cast<unsigned>(
        SendMessageA(msg.hwnd, WM_GETDLGCODE, msg.wParam, reinterpret_cast<LPARAM>(&msg)));
    switch (PlanDialogKey(static_cast<int>(msg.wParam), GetKeyState(VK_SHIFT) < 0, code)) {
        case DialogKeyAction::kNone:
            return false;
        case DialogKeyAction::kNext:
            MoveFocus(false);
            return true;
        case DialogKeyAction::kPrevious:
            MoveFocus(true);
            return true;
        case DialogKeyAction::kPressFocused:
            PressButton(GetDlgCtrlID(msg.hwnd));
            return true;
        case DialogKeyAction::kPressDefault:
            PressButton(options_.defaultButton);
            return true;
        case DialogKeyAction::kPressCancel:
            PressButton(options_.cancelButton);
            return true;
        case DialogKeyAction::kHelp: {
            HELPINFO help = {};
            help.cbSize = sizeof(help);
            help.iContextType = HELPINFO_WINDOW;
            help.iCtrlId = GetDlgCtrlID(msg.hwnd);
            help.hItemHandle = msg.hwnd;
            help.dwContextId = HelpContextOf(msg.hwnd);
            GetCursorPos(&help.MousePos);
            SendMessageA(window_, WM_HELP, 0, reinterpret_cast<LPARAM>(&help));
            return true;
        }
    }
    return false;
}

bool DialogForm::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    if (message == kWmDpiChanged) {
        // The new DPI first: the size change below already lays out and stores at it.
        SetDpi(LOWORD(wParam));
        const RECT* suggested = reinterpret_cast<const RECT*>(lParam);
        SetWindowPos(window_, nullptr, suggested->left, suggested->top,
                     suggested->right - suggested->left, suggested->bottom - suggested->top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
        OnDpiChanged();
        result = 0;
        return true;
    }
    if (message != WM_HELP) return false;
    const auto* help = reinterpret_cast<const HELPINFO*>(lParam);
    HWND item = help && help->iContextType == HELPINFO_WINDOW ? static_cast<HWND>(help->hItemHandle)
                                                              : window_;
    OnHelp(HelpContextOf(item));
    result = TRUE;
    return true;
}

}  // namespace vantor
