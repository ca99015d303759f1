#include "lang/text_table.h"

#include "base/text.h"

namespace vantor {

namespace {

using S = TextSection;
using T = TextTreatment;
using C = Caption;
using R = RunTexts;

constexpr TextDef Message(std::string_view key, std::string_view builtIn, std::string R::*field,
                          T treatment = T::kAsIs) {
    return {S::kMessages, key, builtIn, treatment, C::kNone, field};
}
constexpr TextDef Main(std::string_view key, std::string_view builtIn, C caption) {
    return {S::kFmMain, key, builtIn, T::kAsIs, caption, nullptr};
}
constexpr TextDef Setup(std::string_view key, std::string_view builtIn, C caption,
                        T treatment = T::kAsIs) {
    return {S::kFmSetup, key, builtIn, treatment, caption, nullptr};
}

constexpr TextDef kTable[] = {
    Message("ssYes", "Yes", &R::ssYes, T::kUpperCase),
    Message("ssNo", "No", &R::ssNo, T::kUpperCase),
    Message("ssOK", "OK", &R::ssOK, T::kUpperCase),
    Message("ssClose", "Close", &R::ssClose),
    Message("ssClosed", "Closed", &R::ssClosed),
    Message("ssNotAutoClosed", "There were no automatically closed windows.", &R::ssNotAutoClosed),
    Message("ssVantorRunning", "Vantor now is running.", &R::ssVantorRunning),
    Message("ssPressedButton", "Pressed button", &R::ssPressedButton),
    Message("ssFirstMessage", "It was first message.", &R::ssFirstMessage),
    Message("ssLastMessage", "It was last message.", &R::ssLastMessage),

    Main("btCopy.Caption", "Copy", C::btCopy),
    Main("btClose.Caption", "Close", C::btClose),
    Main("btExit .Caption", "Exit", C::btExit),
    Main("pmMessage.Caption", "Last message", C::pmMessage),
    Main("pmPrevMessage.Caption", "Previous message\tAlt+Left", C::pmPrevMessage),
    Main("pmSpy.Caption", "Spy", C::pmSpy),
    Main("pmDisable.Caption", "Disable", C::pmDisable),
    Main("pmSetup.Caption", "Settings...", C::pmSetup),
    Main("pmAbout.Caption", "About", C::pmAbout),
    Main("pmTopic.Caption", "Help topic\tF1", C::pmTopic),
    Main("pmClose.Caption", "Exit", C::pmClose),
    Main("mmPrev.Caption", "Previous message\tAlt+Left", C::mmPrev),
    Main("mmNext.Caption", "Next message\tAlt+Right", C::mmNext),
    Main("mmCopy.Caption", "Copy\tCtrl+C", C::mmCopy),
    Main("mmWhite.Caption", "Add to white list", C::mmWhite),
    Main("mmBlack.Caption", "Add to black list", C::mmBlack),
    Main("mmMain.Caption", "Advanced list", C::mmMain),

    Setup("Caption", "Vantor settings", C::fmSetup),
    Setup("gbMain.Caption", "Main", C::gbMain, T::kGroupBox),
    Setup("cbAutoRun.Caption", "Autorun", C::cbAutoRun),
    Setup("cbAutoclose.Caption", "Autoclose OK messages", C::cbAutoclose),
    Setup("lbLanguage.Caption", "Language", C::lbLanguage, T::kLanguageLabel),
    Setup("lbCloseOn.Caption", "Close on", C::lbCloseOn),
    // The drop-down list's window text, which such a list does not show: its selected item.
    Setup("cbClose.Caption", "Only auto", C::cbCloseText),
    Setup("cbClose.Items[0]", "Only auto", C::cbCloseItem0),
    Setup("cbClose.Items[1]", "Click", C::cbCloseItem1),
    Setup("cbClose.Items[2]", "Double click", C::cbCloseItem2),
    Setup("cbClose.Items[3]", "Right click", C::cbCloseItem3),
    Setup("gbKeyboard.Caption", "Keyboard and edits", C::gbKeyboard, T::kGroupBox),
    Setup("cbChangeCase.Caption", "Change case on Alt+Up/Down", C::cbChangeCase),
    Setup("cbChangeCaseFirst.Caption", "Use first letters", C::cbChangeCaseFirst),
    Setup("cbSelectAll.Caption", "Select all on Ctrl+A", C::cbSelectAll),
    Setup("cbCloseYesNo.Caption", "Close Yes|No dialogs on Esc", C::cbCloseYesNo),
    Setup("gbMessages.Caption", "Messages", C::gbMessages, T::kGroupBox),
    Setup("gbButtons.Caption", "Buttons", C::gbButtons, T::kGroupBox),
    Setup("cbbtCopy.Caption", "Copy", C::cbbtCopy),
    Setup("cbbtClose.Caption", "Close", C::cbbtClose),
    Setup("cbbtTimer.Caption", "Show timer", C::cbbtTimer),
    Setup("cbbtExit.Caption", "Exit", C::cbbtExit),
    Setup("cbBorder.Caption", "Border", C::cbBorder),
    Setup("btOK.Caption", "OK", C::btOK),
    Setup("btCancel.Caption", "Cancel", C::btCancel),
    Setup("btHelp.Caption", "Help", C::btHelp),
};

std::string Treated(std::string value, TextTreatment treatment) {
    switch (treatment) {
        case T::kUpperCase:
            return UpperCase1251(value);
        case T::kGroupBox:
            return " " + value + " ";
        case T::kLanguageLabel:
            return value + std::string(kLanguageLabelSuffix);
        case T::kAsIs:
            break;
    }
    return value;
}

}  // namespace

std::string_view SectionName(TextSection section) {
    switch (section) {
        case S::kMessages:
            return "Messages";
        case S::kFmMain:
            return "fmMain";
        case S::kFmSetup:
            return "fmSetup";
    }
    return {};
}

std::span<const TextDef> TextTable() {
    return kTable;
}

RunTexts::RunTexts() {
    for (const TextDef& def : kTable) {
        if (def.runText) this->*def.runText = Treated(std::string(def.builtIn), def.treatment);
    }
}

CaptionSet BuiltInCaptions() {
    CaptionSet captions;
    for (const TextDef& def : kTable) {
        if (def.caption != C::kNone) captions[def.caption] = std::string(def.builtIn);
    }
    return captions;
}

LanguageTexts ApplyLanguage(const CaptionSet& current, const TextLookup& lookup) {
    LanguageTexts result{current, RunTexts()};
    for (const TextDef& def : kTable) {
        std::optional<std::string> value = lookup(def.section, def.key);
        if (def.runText) {
            result.runTexts.*def.runText =
                Treated(value ? std::move(*value) : std::string(def.builtIn), def.treatment);
        } else {
            std::string& caption = result.captions[def.caption];
            caption = Treated(value ? std::move(*value) : caption, def.treatment);
        }
    }
    return result;
}

}  // namespace vantor
