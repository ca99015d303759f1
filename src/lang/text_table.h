// Every text a language file can change, in one table keyed by the file's own keys, with its
// built-in English value: the run-time texts (section "Messages"), the captions of the
// message window and its two menus (section "fmMain") and of the settings dialog (section
// "fmSetup"). The rows are in the order a language is applied: Messages, fmMain, fmSetup.
//
// A language file is an ini file read key by key. For a caption key that is missing the
// caption keeps its current text; for a run-time text the built-in English one is taken.
// A key that is present with an empty value gives an empty text. Then:
//   ssYes, ssNo, ssOK     are upper-cased (code page 1251 table) before they are stored;
//   group boxes           get one blank before and after the value (again at every apply);
//   lbLanguage            gets "/ Language" after the value (again at every apply).
// The Exit button's key is "btExit .Caption", with the blank; "btExit.Caption" is not read.
#pragma once

#include <array>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "lang/run_texts.h"

namespace vantor {

enum class TextSection { kMessages, kFmMain, kFmSetup };
std::string_view SectionName(TextSection section);  // "Messages", "fmMain", "fmSetup"

// The captions of the controls and menu items, named as the controls are.
enum class Caption : int {
    kNone = -1,
    // fmMain: the message window's buttons, then the tray menu, then the text menu.
    btCopy,
    btClose,
    btExit,
    pmMessage,
    pmPrevMessage,
    pmSpy,
    pmDisable,
    pmSetup,
    pmAbout,
    pmTopic,
    pmClose,
    mmPrev,
    mmNext,
    mmCopy,
    mmWhite,
    mmBlack,
    mmMain,
    // fmSetup: the dialog's title, then its controls.
    fmSetup,
    gbMain,
    cbAutoRun,
    cbAutoclose,
    lbLanguage,
    lbCloseOn,
    cbCloseText,
    cbCloseItem0,
    cbCloseItem1,
    cbCloseItem2,
    cbCloseItem3,
    gbKeyboard,
    cbChangeCase,
    cbChangeCaseFirst,
    cbSelectAll,
    cbCloseYesNo,
    gbMessages,
    gbButtons,
    cbbtCopy,
    cbbtClose,
    cbbtTimer,
    cbbtExit,
    cbBorder,
    btOK,
    btCancel,
    btHelp,
    kCount
};
inline constexpr std::size_t kCaptionCount = static_cast<std::size_t>(Caption::kCount);

// The current caption of every control and menu item, indexed by Caption.
class CaptionSet {
  public:
    const std::string& operator[](Caption c) const { return texts_[Index(c)]; }
    std::string& operator[](Caption c) { return texts_[Index(c)]; }
    bool operator==(const CaptionSet&) const = default;

  private:
    static std::size_t Index(Caption c) { return static_cast<std::size_t>(c); }
    std::array<std::string, kCaptionCount> texts_;
};

enum class TextTreatment { kAsIs, kUpperCase, kGroupBox, kLanguageLabel };

struct TextDef {
    TextSection section;
    std::string_view key;      // as the language file writes it
    std::string_view builtIn;  // the built-in English text, before its treatment
    TextTreatment treatment;
    Caption caption;                 // fmMain and fmSetup rows: the caption it sets
    std::string RunTexts::*runText;  // Messages rows: the run-time text it fills
};

std::span<const TextDef> TextTable();

// The captions as the program builds its windows and menus, before any language.
CaptionSet BuiltInCaptions();

// The seam to a language file: the value of a key of a section, or nothing when the key
// is missing (or the file cannot be read). The language-file reader fills it.
using TextLookup =
    std::function<std::optional<std::string>(TextSection section, std::string_view key)>;

struct LanguageTexts {
    CaptionSet captions;
    RunTexts runTexts;
};

// What applying a language file gives: the run-time texts from the lookup or the built-in
// ones, and the captions from the lookup or the `current` ones, each with its treatment.
// With no language file at all nothing is applied: the run-time texts become RunTexts()
// and every caption stays as it is.
LanguageTexts ApplyLanguage(const CaptionSet& current, const TextLookup& lookup);

// Texts that no language file changes.
inline constexpr std::string_view kProgramCaption = "Vantor";  // fmMain's title between messages
// The advanced list's notices: a window shut by a "close" rule, and a matched child without text.
inline constexpr std::string_view kClosedByRuleText = "Closed.";
inline constexpr std::string_view kNoChildText = "n/a";
// The language list of the settings dialog.
inline constexpr std::string_view kLanguageSection = "Language";  // and its key, the display name
inline constexpr std::string_view kBuiltInLanguageItem = "  Build-in (English)";
inline constexpr std::string_view kRestartNote = "Please, restart Vantor.";
inline constexpr std::string_view kLanguageLabelSuffix = "/ Language";

}  // namespace vantor
