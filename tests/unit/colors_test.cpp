#include "settings/colors.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace vantor {
namespace {

struct BackgroundCase {
    std::string value;
    BackgroundKind kind;
    std::uint32_t rgb;
    bool follows;
};

TEST(Colors, SettingsKeyColor) {
    const std::vector<BackgroundCase> cases = {
        {"", BackgroundKind::Unchanged, 0, false},
        {" \t ", BackgroundKind::Unchanged, 0, false},
        {"FF0000", BackgroundKind::Rgb, 0x0000FF, true},  // red lands in the low byte
        {"00ff00", BackgroundKind::Rgb, 0x00FF00, true},
        {"0000Ff", BackgroundKind::Rgb, 0xFF0000, true},
        {"123456", BackgroundKind::Rgb, 0x563412, true},
        {"000000", BackgroundKind::Rgb, 0x000000, true},
        {"clbtnface", BackgroundKind::ButtonFace, 0, true},
        {"clBtnFace", BackgroundKind::Unchanged, 0, true},  // exact lower case only
        {"FF00", BackgroundKind::Unchanged, 0, true},
        {"FF00001", BackgroundKind::Unchanged, 0, true},
        {"12zz56", BackgroundKind::Rgb, 0x56, true},    // reading stops at "z"
        {"$FFFFF", BackgroundKind::Rgb, 0xFFFF, true},  // "$" only skipped when leading
        {"\xC0\xC1\xC2\xC3\xC4\xC5", BackgroundKind::Rgb, 0, true},
    };
    for (const BackgroundCase& c : cases) {
        const BackgroundChange change = ColorFromSetting(c.value);
        EXPECT_EQ(change.kind, c.kind) << c.value;
        if (c.kind == BackgroundKind::Rgb) {
            EXPECT_EQ(change.rgb, c.rgb) << c.value;
        }
        EXPECT_EQ(change.textAreaFollows, c.follows) << c.value;
    }
}

TEST(Colors, CommandLineColorNeedsAValueAboveZero) {
    EXPECT_FALSE(ColorFromCommandLine("000000"));
    EXPECT_FALSE(ColorFromCommandLine(""));
    EXPECT_FALSE(ColorFromCommandLine("zz0000"));
    EXPECT_FALSE(ColorFromCommandLine("ffffffff"));  // -1 as a 32-bit number
    const auto face = ColorFromCommandLine("clbtnface");
    ASSERT_TRUE(face);
    EXPECT_EQ(face->kind, BackgroundKind::ButtonFace);
    const auto red = ColorFromCommandLine("ff0000");
    ASSERT_TRUE(red);
    EXPECT_EQ(red->kind, BackgroundKind::Rgb);
    EXPECT_EQ(red->rgb, 0x0000FFu);
    const auto odd = ColorFromCommandLine("1");  // applied, but not a colour
    ASSERT_TRUE(odd);
    EXPECT_EQ(odd->kind, BackgroundKind::Unchanged);
    EXPECT_TRUE(odd->textAreaFollows);
}

TEST(Colors, TextColorIgnoresAllButSixBytes) {
    EXPECT_FALSE(TextColorFromSetting("clbtnface"));
    EXPECT_FALSE(TextColorFromSetting(""));
    EXPECT_FALSE(TextColorFromSetting("      "));
    EXPECT_FALSE(TextColorFromSetting("12345"));
    EXPECT_EQ(TextColorFromSetting("00ff80").value_or(1), 0x80FF00u);
    EXPECT_EQ(TextColorFromSetting("000000").value_or(1), 0u);
}

TEST(Colors, LaterChangeWinsButKeepsTheTextAreaFollowing) {
    BackgroundChange current = ColorFromSetting("FF0000");
    MergeBackground(current, *ColorFromCommandLine("1234567"));
    EXPECT_EQ(current.kind, BackgroundKind::Rgb);
    EXPECT_EQ(current.rgb, 0x0000FFu);
    MergeBackground(current, *ColorFromCommandLine("clbtnface"));
    EXPECT_EQ(current.kind, BackgroundKind::ButtonFace);

    BackgroundChange none = ColorFromSetting("");
    MergeBackground(none, *ColorFromCommandLine("00ff00"));
    EXPECT_EQ(none.kind, BackgroundKind::Rgb);
    EXPECT_TRUE(none.textAreaFollows);
}

TEST(Colors, OpacityUsesTheLowEightBits) {
    struct Case {
        std::int32_t value;
        int opacity;
        bool layered;
    };
    for (const Case& c : std::vector<Case>{{222, 222, true},
                                           {300, 44, true},
                                           {255, 255, false},
                                           {511, 255, false},
                                           {256, 0, true},
                                           {0, 0, true},
                                           {-1, 255, false}}) {
        EXPECT_EQ(OpacityOf(c.value), c.opacity) << c.value;
        EXPECT_EQ(IsLayeredOpacity(c.value), c.layered) << c.value;
    }
}

}  // namespace
}  // namespace vantor
