// Addresses in message text: the two recognisers, what the shell is given, and the click
// timing that opens a selection.
#include "ui/links.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace vantor {
namespace {

TEST(Links, RecognisersAndTargets) {
    struct Case {
        std::string text;
        std::string mail;
        std::string web;
        std::string target;
    };
    const std::string x1021(1021, 'x');
    const std::vector<Case> cases = {
        {"ab@cd.ef", "ab@cd.ef", "ab@cd.ef", "mailto:ab@cd.ef"},
        {"mailto:john@example.com", "john@example.com", "mailto:john@example.com",
         "mailto:john@example.com"},
        {"any:ab@cd.ef", "ab@cd.ef", "any:ab@cd.ef", "mailto:ab@cd.ef"},
        {"a@cd.ef", "", "a@cd.ef", "http://a@cd.ef"},        // one character before the @
        {"a/b@cd.ef", "", "a/b@cd.ef", "http://a/b@cd.ef"},  // a slash before the @
        {"ab@c.ef", "", "ab@c.ef", "http://ab@c.ef"},
        {"ab@cd.e", "", "", ""},
        {"ab@cdef", "", "", ""},
        // Of the part after the @ only 1024 characters are looked at.
        {"ab@" + x1021 + ".yz", "ab@" + x1021 + ".yz", "ab@" + x1021 + ".yz",
         "mailto:ab@" + x1021 + ".yz"},
        {"ab@" + x1021 + "x.yz", "", "ab@" + x1021 + "x.yz", "http://ab@" + x1021 + "x.yz"},
        {" ab@cd.ef ", " ab@cd.ef ", "", "mailto: ab@cd.ef "},  // blanks stay
        {"www.example.com", "", "www.example.com", "http://www.example.com"},
        {"https://example.org", "", "example.org", "http://example.org"},
        {"ftp://host.net/a", "", "", ""},  // after the last dot: "net/a"
        {"readme.txt", "", "readme.txt", "http://readme.txt"},
        {"setup.json", "", "", ""},
        {"abc.d2f", "", "", ""},
        {"v1.2", "", "", ""},
        {"ab.", "", "", ""},
        {"ab.cd.", "", "ab.cd.", "http://ab.cd."},  // an empty ending passes
        {"a.com", "", "", ""},
        {"example.\xF0\xF4", "", "", ""},  // Cyrillic letters are no ASCII letters
        {"", "", "", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text.substr(0, 40));
        EXPECT_EQ(MailAddressOf(c.text), c.mail);
        EXPECT_EQ(WebAddressOf(c.text), c.web);
        EXPECT_EQ(LinkTargetOf(c.text), c.target);
    }
    EXPECT_EQ(OpeningCaption("a.com"), "\xCE\xF2\xEA\xF0\xFB\xF2\xE8\xE5 a.com...");
}

TEST(Links, OnlyAQuickReleaseOpens) {
    struct Case {
        std::uint32_t pressed;
        std::uint32_t released;
        bool opens;
    };
    const std::vector<Case> cases = {
        {1000, 1000, true},       {1000, 1200, true},      {1000, 1201, false},
        {1000, 800, true},        {1000, 799, false},      {0xFFFFFF9C, 100, true},
        {0xFFFFFF9C, 101, false}, {0, 0x80000000u, false},
    };
    for (const Case& c : cases) {
        LinkClicks clicks;
        clicks.Pressed(c.pressed);
        EXPECT_EQ(clicks.QuickRelease(c.released), c.opens) << c.pressed << " " << c.released;
    }
}

}  // namespace
}  // namespace vantor
