#include "lang/text_table.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <utility>

namespace vantor {
namespace {

using Section = TextSection;

// A language file as the lookup sees it: (section, key) -> value; absent keys are missing.
using FakeFile = std::map<std::pair<Section, std::string>, std::string>;

TextLookup LookupIn(const FakeFile& file) {
    return [&file](Section section, std::string_view key) -> std::optional<std::string> {
        const auto it = file.find({section, std::string(key)});
        if (it == file.end()) return std::nullopt;
        return it->second;
    };
}

TEST(TextTable, EveryKeyOnceWithItsBuiltInText) {
    std::set<std::pair<Section, std::string_view>> keys;
    std::set<Caption> captions;
    int perSection[3] = {};
    for (const TextDef& def : TextTable()) {
        EXPECT_TRUE(keys.insert({def.section, def.key}).second) << def.key;
        ++perSection[static_cast<int>(def.section)];
        EXPECT_EQ(def.section == Section::kMessages, def.runText != nullptr) << def.key;
        EXPECT_EQ(def.section == Section::kMessages, def.caption == Caption::kNone) << def.key;
        if (def.caption != Caption::kNone) {
            EXPECT_TRUE(captions.insert(def.caption).second) << def.key;
        }
    }
    EXPECT_EQ(perSection[0], 10);
    EXPECT_EQ(perSection[1], 17);
    EXPECT_EQ(perSection[2], 26);
    EXPECT_EQ(captions.size(), kCaptionCount);
    EXPECT_EQ(SectionName(Section::kFmMain), "fmMain");
    EXPECT_EQ(SectionName(Section::kFmSetup), "fmSetup");
    EXPECT_EQ(SectionName(Section::kMessages), "Messages");

    const CaptionSet builtIn = BuiltInCaptions();
    EXPECT_EQ(builtIn[Caption::btExit], "Exit");
    EXPECT_EQ(builtIn[Caption::gbMain], "Main");  // padded only when a language is applied
    EXPECT_EQ(builtIn[Caption::pmTopic], "Help topic\tF1");
    EXPECT_EQ(builtIn[Caption::cbCloseYesNo], "Close Yes|No dialogs on Esc");
    const RunTexts texts;
    EXPECT_EQ(texts.ssYes, "YES");
    EXPECT_EQ(texts.ssOK, "OK");
    EXPECT_EQ(texts.ssClosed, "Closed");
    EXPECT_EQ(texts.ssNotAutoClosed, "There were no automatically closed windows.");
}

// Two languages applied one after the other, the second over what the first left.
TEST(TextTable, ApplyingLanguages) {
    const FakeFile first = {
        {{Section::kFmMain, "btCopy.Caption"}, "\xCA\xEE\xEF\xE8\xFF"},
        {{Section::kFmMain, "btExit .Caption"}, "\xC2\xFB\xF5\xEE\xE4"},
        {{Section::kFmMain, "pmSpy.Caption"}, ""},
        {{Section::kFmSetup, "gbMain.Caption"}, "Main"},
        {{Section::kFmSetup, "cbClose.Items[2]"}, "Dbl"},
        {{Section::kMessages, "ssOK"}, "\xEE\xEA"},  // "ок"
        {{Section::kMessages, "ssYes"}, "\xE4\xE0"},
        {{Section::kMessages, "ssClose"}, ""},
        {{Section::kMessages, "ssClosed"}, "Shut"},
        {{Section::kFmMain, "ssClosed"}, "wrong section"},
    };
    const FakeFile second = {
        {{Section::kFmMain, "btExit.Caption"}, "no blank: not read"},
        {{Section::kFmMain, "pmSpy.Caption"}, "Spy again"},
        {{Section::kMessages, "ssNo"}, "nein"},
    };
    const LanguageTexts one = ApplyLanguage(BuiltInCaptions(), LookupIn(first));
    const LanguageTexts two = ApplyLanguage(one.captions, LookupIn(second));
    const struct {
        Caption caption;
        const char* afterFirst;
        const char* afterSecond;
    } captions[] = {
        {Caption::btCopy, "\xCA\xEE\xEF\xE8\xFF", "\xCA\xEE\xEF\xE8\xFF"},  // missing: kept
        {Caption::btExit, "\xC2\xFB\xF5\xEE\xE4", "\xC2\xFB\xF5\xEE\xE4"},
        {Caption::btClose, "Close", "Close"},
        {Caption::pmSpy, "", "Spy again"},        // present and empty: empty
        {Caption::gbMain, " Main ", "  Main  "},  // padded at every application
        {Caption::gbKeyboard, " Keyboard and edits ", "  Keyboard and edits  "},
        {Caption::lbLanguage, "Language/ Language", "Language/ Language/ Language"},
        {Caption::cbCloseItem2, "Dbl", "Dbl"},
        {Caption::pmPrevMessage, "Previous message\tAlt+Left", "Previous message\tAlt+Left"},
    };
    for (const auto& c : captions) {
        EXPECT_EQ(one.captions[c.caption], c.afterFirst) << static_cast<int>(c.caption);
        EXPECT_EQ(two.captions[c.caption], c.afterSecond) << static_cast<int>(c.caption);
    }
    const struct {
        std::string RunTexts::*text;
        const char* afterFirst;
        const char* afterSecond;
    } texts[] = {
        {&RunTexts::ssOK, "\xCE\xCA", "OK"},  // upper-cased; missing later: built-in again
        {&RunTexts::ssYes, "\xC4\xC0", "YES"},
        {&RunTexts::ssNo, "NO", "NEIN"},
        {&RunTexts::ssClose, "", "Close"},
        {&RunTexts::ssClosed, "Shut", "Closed"},
        {&RunTexts::ssLastMessage, "It was last message.", "It was last message."},
    };
    for (const auto& t : texts) {
        EXPECT_EQ(one.runTexts.*t.text, t.afterFirst);
        EXPECT_EQ(two.runTexts.*t.text, t.afterSecond);
    }
    // A file with none of the keys: the built-in run-time texts, the captions as they were
    // (group boxes and the language label take their treatment again).
    const LanguageTexts none = ApplyLanguage(one.captions, LookupIn({}));
    EXPECT_EQ(none.runTexts.ssOK, "OK");
    EXPECT_EQ(none.captions[Caption::btCopy], "\xCA\xEE\xEF\xE8\xFF");
}

}  // namespace
}  // namespace vantor
