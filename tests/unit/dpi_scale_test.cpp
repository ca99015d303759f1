#include "forms/dpi_scale.h"

#include <gtest/gtest.h>

namespace vantor {
namespace {

// The settings dialog's group boxes side by side and one below (they must not overlap at any
// scale), a check box, the font, and a stored 230 x 100 message window.
TEST(DpiScaleTest, RectanglesFontsAndStoredSizes) {
    struct Case {
        int dpi;
        DesignRect in, out;
        int font;  // height 10 at 96 DPI
        int width, height;  // "Width" 230, "Height" 100 on screen
    };
    const Case cases[] = {
        {96, {4, 0, 214, 97}, {4, 0, 214, 97}, 10, 230, 100},
        {120, {4, 0, 214, 97}, {5, 0, 268, 121}, 13, 288, 125},
        {144, {4, 0, 214, 97}, {6, 0, 321, 146}, 15, 345, 150},
        {192, {4, 0, 214, 97}, {8, 0, 428, 194}, 20, 460, 200},
        {120, {228, 0, 214, 97}, {285, 0, 268, 121}, 13, 288, 125},
        {120, {4, 104, 214, 121}, {5, 130, 268, 151}, 13, 288, 125},
        {144, {13, 7, 75, 25}, {20, 11, 112, 37}, 15, 345, 150},
        {0, {13, 7, 75, 25}, {13, 7, 75, 25}, 10, 230, 100},       // no answer: 96
        {100000, {13, 7, 75, 25}, {13, 7, 75, 25}, 10, 230, 100},  // absurd answer: 96
    };
    for (const Case& c : cases) {
        const DesignRect r = ScaleRect(c.in, c.dpi);
        EXPECT_EQ(r.x, c.out.x) << c.dpi << " " << c.in.x;
        EXPECT_EQ(r.y, c.out.y) << c.dpi << " " << c.in.y;
        EXPECT_EQ(r.width, c.out.width) << c.dpi << " " << c.in.x;
        EXPECT_EQ(r.height, c.out.height) << c.dpi << " " << c.in.y;
        EXPECT_EQ(FontHeightForDpi(10, c.dpi), c.font) << c.dpi;
        EXPECT_EQ(ScaleToDpi(230, c.dpi), c.width) << c.dpi;
        EXPECT_EQ(ScaleToDpi(100, c.dpi), c.height) << c.dpi;
        // What is stored comes back as it was, whatever the scale it was shown at.
        EXPECT_EQ(ScaleFromDpi(c.width, c.dpi), 230) << c.dpi;
        EXPECT_EQ(ScaleFromDpi(c.height, c.dpi), 100) << c.dpi;
    }
    // Edges that touch at 96 DPI touch at every scale: neighbours never overlap.
    for (int dpi : {96, 120, 144, 168, 192}) {
        for (int x = 0; x < 50; ++x) {
            const DesignRect a = ScaleRect({x, 0, 7, 7}, dpi), b = ScaleRect({x + 7, 0, 7, 7}, dpi);
            EXPECT_EQ(a.x + a.width, b.x) << dpi << " " << x;
        }
    }
}

}  // namespace
}  // namespace vantor
