// fmSetup, the settings dialog: a modeless dialog built hidden at start and never destroyed
// while the program runs; closing it hides it. Its window exists from the start (its real
// outer size places it), its controls come with its first Show: they load the common
// controls, which a tray program that was never configured need not carry. Until then the
// base keeps their texts, checks and lists.
//
// It carries out on its own what concerns only itself: the five live options (into the
// settings in force at once), cbbtClose enabling cbbtTimer, Cancel and Close. OK, Help, the
// language list and the autorun value go to the application's hooks. GUI thread only.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "forms/dialog_form_win32.h"
#include "settings/settings_store.h"
#include "ui/placement.h"
#include "ui/settings_dialog.h"

namespace vantor {

// Window class name, for tests that look the window up.
inline constexpr char kSettingsDialogClass[] = "VantorSettings";

class SettingsDialog : public DialogForm {
  public:
    struct Hooks {
        std::function<void()> ok;                   // btOK or Enter
        std::function<void(unsigned topic)> help;   // btHelp, F1
        std::function<void()> languageListOpening;  // a mouse button pressed on the list
        std::function<void()> languageListClosed;   // its drop-down list closed
        // cbAutoRun clicked: writes or removes the Run value; gives whether autorun is on now.
        std::function<bool(bool on)> autorun;
    };

    explicit SettingsDialog(SettingsStore& settings);

    // The hidden window at 567, 105 with its client area of 445 x 266 at 96 DPI (scaled to
    // its monitor); no controls yet.
    bool Create(HINSTANCE instance, HWND owner, HICON icon, const CaptionSet& captions);
    void SetHooks(Hooks hooks) { hooks_ = std::move(hooks); }

    // Creates the controls at the first call, shows the dialog in the foreground with the
    // focus on its last focused control (the first one at first).
    void Show();
    void Hide();

    // The check boxes from the settings, and back (cbClose's selection too).
    void LoadChecks(const MainSettings& settings);
    void StoreChecks(MainSettings& settings) const;

    // The window's outer rectangle, also after the window is gone (its last one).
    ScreenPoint Position() const;
    SIZE OuterSize() const;
    void MoveTo(ScreenPoint position);

    void ApplyCaptions(const CaptionSet& captions) override;
    void ReadCaptions(CaptionSet& captions) const override;

  protected:
    bool HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
    void OnHelp(DWORD context) override;

  private:
    void EnsureControls();
    void OnCommand(int id, int code);
    void OnCheckClicked(int id);
    static bool LanguageListHook(void* context, HWND control, UINT message, WPARAM wParam,
                                 LPARAM lParam);

    SettingsStore& settings_;
    Hooks hooks_;
    HWND lastFocus_ = nullptr;
    RECT lastRect_ = {};
};

}  // namespace vantor
