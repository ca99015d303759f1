#include "base/paths.h"

#include <gtest/gtest.h>

namespace vantor {
namespace {

// One joining rule for every file the program names: the settings file, the list files,
// the language folder, help files and read-mes all come out as they always have.
TEST(Paths, JoinKeepsTheFolderSeparator) {
    struct Case {
        const char* folder;
        const char* name;
        const char* path;
    } const cases[] = {
        {"C:\\Vantor\\", "Vantor.ini", "C:\\Vantor\\Vantor.ini"},  // the program's own folder
        {"C:\\Vantor", "Vantor.ini", "C:\\Vantor\\Vantor.ini"},
        {"/tmp/x/", "Main.ini", "/tmp/x/Main.ini"},                // native tests' folders
        {"/opt/v", "Language", "/opt/v/Language"},
        {"C:/a\\b", "c", "C:/a\\b\\c"},                            // any "\" makes it Windows'
        {"Language", "Rus.lng", "Language\\Rus.lng"},              // no separator: Windows'
        {"", "Vantor.ini", "Vantor.ini"},                          // the current folder
        {"C:\\V\\", "", "C:\\V\\"},
    };
    for (const Case& c : cases) EXPECT_EQ(JoinPath(c.folder, c.name), c.path) << c.folder;
}

}  // namespace
}  // namespace vantor
