#include "ui/placement.h"

#include <gtest/gtest.h>

namespace vantor {
namespace {

TEST(PlacementTest, CornerAndCentre) {
    const ScreenRect work{0, 0, 1280, 994};
    EXPECT_EQ(CornerPlacement(work, 230, 100).x, 1050);
    EXPECT_EQ(CornerPlacement(work, 230, 100).y, 894);
    const ScreenRect offsetWork{100, 50, 1380, 1044};
    EXPECT_EQ(CornerPlacement(offsetWork, 230, 100).x, 1150);

    struct Case {
        ScreenRect target;
        int width, height;
        int x, y;
    };
    const Case cases[] = {
        {{100, 100, 401, 301}, 230, 100, 135, 150},     // odd sizes: halvings truncate
        {{200, 200, 200, 200}, 230, 101, 85, 150},      // empty rectangle: centre on the point
        {{1200, 950, 1280, 994}, 230, 100, 1050, 894},  // near the corner: kept on screen
        {{-300, -200, -100, -50}, 230, 100, 0, 0},      // off the top left
        {{0, 0, 100, 100}, 2000, 100, 0, 0},            // wider than the screen: left edge wins
    };
    for (const auto& c : cases) {
        const ScreenPoint p = CenteredPlacement(c.target, c.width, c.height, work);
        EXPECT_EQ(p.x, c.x) << c.target.left;
        EXPECT_EQ(p.y, c.y) << c.target.top;
    }
}

TEST(PlacementTest, ClampToScreenAndRect) {
    struct Case {
        ScreenPoint in;
        ScreenPoint out;
    };
    const Case screen[] = {
        {{567, 105}, {567, 105}},
        {{-5, -7}, {0, 0}},
        {{1000, 900}, {1280 - 451, 1024 - 300}},
    };
    for (const auto& c : screen) {
        const ScreenPoint p = ClampToScreen(c.in, 451, 300, 1280, 1024);
        EXPECT_EQ(p.x, c.out.x);
        EXPECT_EQ(p.y, c.out.y);
    }
    const ScreenRect client{0, 0, 367, 359};
    const ScreenPoint inside = ClampPointToRect({10, 20}, client);
    EXPECT_EQ(inside.x, 10);
    EXPECT_EQ(inside.y, 20);
    const ScreenPoint pulled = ClampPointToRect({5000, -4}, client);
    EXPECT_EQ(pulled.x, 367);
    EXPECT_EQ(pulled.y, 0);
}

TEST(PlacementTest, ScrollBarFit) {
    struct Case {
        int rectHeight, lineHeight, lines;
        bool needed;
    };
    const Case cases[] = {
        {359, 13, 27, false},  // 27 lines fit exactly
        {359, 13, 28, true},   // one more line than fits
        {12, 13, 1, true},     // window shorter than a line
        {100, 0, 0, false},    // broken font metrics, no text
        {100, 0, 1, true},     // broken font metrics: never divide by zero
        {100, -3, 2, true},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(NeedsVerticalScrollBar(c.rectHeight, c.lineHeight, c.lines), c.needed)
            << c.rectHeight << "/" << c.lineHeight << " " << c.lines;
    }
}

TEST(PlacementTest, Opacity) {
    struct Case {
        int last, value;
        bool apply, layered;
        int alpha;
    };
    const Case cases[] = {
        {-1, 222, true, true, 222},
        {222, 222, false, false, 255},  // same as last time: left alone
        {222, 255, true, false, 255},
        {255, 300, true, true, 44},  // only the low byte counts
        {300, 511, true, false, 255},
        {255, 0, true, true, 0},
    };
    for (const auto& c : cases) {
        const OpacityChange change = PlanOpacity(c.last, c.value);
        EXPECT_EQ(change.apply, c.apply) << c.value;
        if (!change.apply) continue;
        EXPECT_EQ(change.layered, c.layered) << c.value;
        EXPECT_EQ(change.alpha, c.alpha) << c.value;
    }
}

}  // namespace
}  // namespace vantor
