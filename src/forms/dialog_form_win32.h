// A modeless dialog built from a table of controls: the settings dialog and the message
// window derive from it. The base keeps each control's text, visibility, enabled and check
// state also while the controls do not exist yet (a form may create them only at its first
// show, to keep the common controls out of an idle program), re-texts them from the caption
// table, and runs the keyboard: accelerators, the form's own keys, then Tab, Shift+Tab, the
// arrows, Page Up and Page Down between the controls that can take the focus (visible,
// enabled, WS_TABSTOP; in creation order, wrapping; a control that wants a key by its
// WM_GETDLGCODE keeps it), Enter and Esc to the default and cancel buttons, F1 as WM_HELP
// answered with the form's help context.
#pragma once

#include <windows.h>

#include <span>
#include <string>
#include <vector>

#include "forms/dpi_scale.h"
#include "forms/form_win32.h"
#include "lang/text_table.h"

namespace vantor {

struct ControlDef {
    int id;
    const char* className;  // "BUTTON", "STATIC", "EDIT", "COMBOBOX"
    DWORD style;            // WS_CHILD is added; WS_VISIBLE and WS_DISABLED: the initial state
    int x, y;               // in the client area of the container, 96-DPI units
    int width, height;      // 0: the control fits itself to its caption
    int container;          // id of the group box the position counts from; 0 for the form
    Caption caption;        // its text and language key; Caption::kNone for none
};

struct DialogOptions {
    int defaultButton = 0;           // pressed by Enter
    int cancelButton = 0;            // pressed by Esc
    DWORD helpContext = 0;           // what F1 and WM_HELP open
    Caption title = Caption::kNone;  // the form's own caption key
    HACCEL accelerators = nullptr;   // active while the focus is in the form
};

class DialogForm : public Form {
  public:
    bool ControlsCreated() const { return created_; }
    HWND Control(int id) const;  // nullptr until the controls are created

    // Control state: kept while the control does not exist, applied when it is created.
    void SetControlText(int id, const std::string& text);
    std::string ControlText(int id) const;
    void SetControlVisible(int id, bool visible);
    bool ControlVisible(int id) const;
    // Disabling a group box disables the controls in it too.
    void SetControlEnabled(int id, bool enabled);
    bool ControlEnabled(int id) const;
    void SetChecked(int id, bool checked);
    bool Checked(int id) const;
    // Drop-down lists: their items and selection (-1: none; an index out of range selects
    // none, as the control does). A drop-down list shows no text of its own: its caption is
    // only kept, never set on the control.
    void SetComboItems(int id, const std::vector<std::string>& items, int selection);
    void SetComboItem(int id, int index, const std::string& text);  // keeps the selection
    std::string ComboItem(int id, int index) const;
    void SetComboSelection(int id, int index);
    int ComboSelection(int id) const;

    // Texts every control (and the title) that has a caption key.
    virtual void ApplyCaptions(const CaptionSet& captions);
    // The current texts of those controls, for the defaults of the next language.
    virtual void ReadCaptions(CaptionSet& captions) const;

    bool PreTranslateMessage(MSG& msg) override;
    // The focus to the next (or previous) control that can take it.
    void MoveFocus(bool backward);

    // The DPI the form is laid out for, and a length of 96-DPI units at it.
    int Dpi() const { return dpi_; }
    int Scale(int value) const { return ScaleToDpi(value, dpi_); }

  protected:
    // Call once, after the window exists.
    void SetControlTable(std::span<const ControlDef> table, DialogOptions options);
    // Creates the controls (once) in table order, in the program's font at the form's DPI.
    void CreateControls();
    // The form is now on a monitor of this DPI: its font, the controls' places, sizes and
    // fonts follow (the window's own size is the caller's).
    void SetDpi(int dpi);
    // The form's own keys (WM_KEYDOWN, WM_SYSKEYDOWN), before the navigation; true: taken.
    virtual bool OnKey(const MSG& msg) {
        (void)msg;
        return false;
    }
    virtual void OnHelp(DWORD context) { (void)context; }
    // After a change of monitor or scale has given the form its new DPI and rectangle.
    virtual void OnDpiChanged() {}
    // Answers WM_HELP and WM_DPICHANGED (the system's suggested rectangle is taken, the
    // controls follow); derived forms pass it the messages they do not answer.
    bool HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

  private:
    struct ControlState {
        HWND window = nullptr;
        std::string text;
        bool visible = false;
        bool enabled = true;
        bool checked = false;
        std::vector<std::string> items;  // combo boxes
        int selection = -1;
    };
    int IndexOf(int id) const;
    ControlState* StateOf(int id);
    const ControlState* StateOf(int id) const;
    POINT Origin(const ControlDef& def) const;
    DesignRect ScaledRect(const ControlDef& def) const;
    void FitToCaption(std::size_t index);
    void PressButton(int id);
    DWORD HelpContextOf(HWND window) const;

    std::span<const ControlDef> table_;
    std::vector<ControlState> state_;
    DialogOptions options_;
    bool created_ = false;
    int dpi_ = kDesignDpi;
};

}  // namespace vantor
