// The bench itself: the system the end-to-end tests run on is a code page 1251 system whose
// message boxes other programs can find, read and answer from outside.
#include <gtest/gtest.h>

#include "e2e_support.h"

namespace vantor::e2e {
namespace {

TEST(Codepage, AnsiCodePageIs1251) {
    EXPECT_EQ(GetACP(), 1251u);
    EXPECT_EQ(GetOEMCP(), 866u);
}

TEST(Codepage, CyrillicLettersRoundTripThroughTheAnsiFunctions) {
    // "Привет" in code page 1251 must come back as the same Unicode letters.
    const char ansi[] = "\xCF\xF0\xE8\xE2\xE5\xF2";
    wchar_t wide[16] = {};
    int length = MultiByteToWideChar(CP_ACP, 0, ansi, -1, wide, 16);
    ASSERT_EQ(length, 7);
    EXPECT_EQ(std::wstring(wide), L"\u041F\u0440\u0438\u0432\u0435\u0442");
}

// A message box of another program, with a Cyrillic caption and a two-line text, seen and
// answered from here the way the product will: find it, read its children, click OK.
TEST(Codepage, MessageBoxOfAnotherProgramCanBeReadAndAnswered) {
    const std::string caption = "\xC2\xED\xE8\xEC\xE0\xED\xE8\xE5 e2e";  // "Внимание e2e"
    const std::string text = "\xD4\xE0\xE9\xEB \xF1\xEE\xF5\xF0\xE0\xED\xB8\xED\r\nline 2";
    Process box = Process::Start(ToolPath("show_message_box"),
                                 {"\\xC2\\xED\\xE8\\xEC\\xE0\\xED\\xE8\\xE5 e2e",
                                  "\\xD4\\xE0\\xE9\\xEB \\xF1\\xEE\\xF5\\xF0\\xE0\\xED\\xB8\\xED"
                                  "\\r\\nline 2",
                                  "0x40"});
    ASSERT_TRUE(box.Started()) << "CreateProcess error " << box.Error();

    HWND dialog = WaitForTopLevelWindow({"#32770", caption, box.Id()}, 10000);
    ASSERT_NE(dialog, nullptr) << "no message box with caption " << Escaped(caption)
                               << "; windows:\n"
                               << DescribeTopLevelWindows(box.Id());

    HWND ok = FindChild(dialog, "Button");
    ASSERT_NE(ok, nullptr);
    EXPECT_EQ(GetDlgCtrlID(ok), IDOK);
    EXPECT_EQ(TextOf(ok), SystemOkText()) << Escaped(TextOf(ok));
    EXPECT_NE(FindChild(dialog, "Static", text), nullptr)
        << "no static child holds " << Escaped(text);

    SendMessageTimeoutA(ok, BM_CLICK, 0, 0, SMTO_ABORTIFHUNG, 2000, nullptr);
    EXPECT_EQ(box.WaitExit(5000), std::optional<DWORD>(IDOK));
    EXPECT_TRUE(WaitForWindowGone(dialog, 2000));
}

// Yes/No boxes carry their answers in buttons 6 and 7; pressing No must end with IDNO.
TEST(Codepage, YesNoBoxAnswersWithTheButtonPressed) {
    Process box = Process::Start(ToolPath("show_message_box"), {"yes-no e2e", "Go on?", "0x24"});
    ASSERT_TRUE(box.Started());
    HWND dialog = WaitForTopLevelWindow({"#32770", std::string("yes-no e2e"), box.Id()}, 10000);
    ASSERT_NE(dialog, nullptr);
    HWND no = GetDlgItem(dialog, IDNO);
    ASSERT_NE(no, nullptr);
    ASSERT_NE(GetDlgItem(dialog, IDYES), nullptr);
    SendMessageTimeoutA(no, BM_CLICK, 0, 0, SMTO_ABORTIFHUNG, 2000, nullptr);
    EXPECT_EQ(box.WaitExit(5000), std::optional<DWORD>(IDNO));
}

}  // namespace
}  // namespace vantor::e2e
