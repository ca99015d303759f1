#include "watcher/class_names.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

namespace vantor {
namespace {

TEST(ClassNames, KeptWhileLookedAtAndDroppedAfterTwoPeriodsWithoutALook) {
    // Each step: time advanced before it, the window, the name to keep ("" = only look),
    // then what a look answers ("-" = not known, read it). The clock starts near its wrap.
    struct Step {
        std::uint32_t advance;
        WindowHandle window;
        const char* keep;
        const char* found;
    };
    const Step steps[] = {
        {0, 1, "", "-"},  // nothing read yet
        {0, 1, "Button", "Button"},
        {0, 2, "Static", "Static"},
        {0, 0, "Edit", "-"},      // no window: never kept
        {4000, 1, "", "Button"},  // the same period
        {2000, 1, "", "Button"},  // the next one (the clock wrapped): looked at, so it stays
        {5000, 2, "", "-"},       // not looked at for a whole period: dropped
        {0, 1, "", "Button"},
        {5000, 1, "", "Button"},  // looked at in each period: still kept
        {10000, 1, "", "-"},      // two periods without a look: dropped
        {0, 1, "#32770", "#32770"},
    };
    ClassNames names;
    std::uint32_t now = 0xFFFFFFFFu - 5000;
    int row = 0;
    for (const Step& s : steps) {
        now += s.advance;
        if (*s.keep) names.Keep(s.window, s.keep, now);
        const std::optional<std::string> found = names.Find(s.window, now);
        EXPECT_EQ(found.value_or("-"), s.found) << "step " << row;
        ++row;
    }
}

TEST(ClassNames, ADesktopBeyondTheCapIsReadEveryTime) {
    ClassNames names;
    for (WindowHandle w = 1; w <= ClassNames::kMaxEntries + 10; ++w) names.Keep(w, "Static", 0);
    EXPECT_TRUE(names.Find(ClassNames::kMaxEntries, 0));
    EXPECT_FALSE(names.Find(ClassNames::kMaxEntries + 1, 0));
}

}  // namespace
}  // namespace vantor
