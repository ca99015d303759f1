// e2e-timeout: 200
// About and help with the real vantor.exe: the read-me reflowed under the version line, and
// the help topics opening the user guide at their anchors in the program registered for
// .html files (a recorder, in this run's prefix) when there is no help file.
#include <gtest/gtest.h>

#include <string>

#include "lang/help.h"
#include "vantor_driver.h"

namespace vantor::e2e {
namespace {

TEST(About, ShowsTheReadMeReflowedUnderTheVersionLine) {
    // The built-in English: no read-me, the English description.
    const std::string folder = FreshFolder();
    WriteFileBytes(folder + "Vantor.ini", "[Main]\r\nLanguage=\r\n");
    Vantor vantor(folder);
    ASSERT_TRUE(vantor.Start());
    vantor.CommandAndWait(kCmdAbout);
    ASSERT_TRUE(WaitUntil([&] { return vantor.Visible(); }, 3000));
    EXPECT_EQ(vantor.Text(),
              "Vantor 3.21\r\n\r\nUtility for closing useless messages with OK button and another "
              "work with windows");
    EXPECT_EQ(vantor.Caption(), "Vantor");
    EXPECT_TRUE(WaitUntil([&] { return GetForegroundWindow() == vantor.Window(); }, 2000));

    // Written while the program runs: read again at the next About.
    WriteFileBytes(folder + "Read_Me.txt",
                   "Two lines\r\nof one paragraph.\r\n\r\n- a list item\r\n- in   C:\\Vantor");
    vantor.CommandAndWait(kCmdAbout);
    EXPECT_EQ(Escaped(vantor.Text()),
              Escaped("Vantor 3.21\r\n\r\nTwo lines of one paragraph.\r\n\r\n- a list item\r\n"
                      "- in  C:\r\nVantor"));
    EXPECT_EQ(vantor.Caption(), "Vantor");
}

// The recorder stands in for the browser: HKCR\.html names a class whose open command is it.
class GuideRecorder {
  public:
    explicit GuideRecorder(const std::string& output) : output_(output) {
        SetEnvironmentVariableA("VANTOR_E2E_RECORD", output.c_str());
        char old[256] = {};
        LONG size = sizeof(old);
        if (RegQueryValueA(HKEY_CLASSES_ROOT, ".html", old, &size) == ERROR_SUCCESS) {
            oldClass_ = old;
        }
        RegSetValueA(HKEY_CLASSES_ROOT, ".html", REG_SZ, "VantorE2E.htmlfile", 0);
        const std::string command = "\"" + ToolPath("shell_recorder") + "\" \"%1\"";
        RegSetValueA(HKEY_CLASSES_ROOT, "VantorE2E.htmlfile\\shell\\open\\command", REG_SZ,
                     command.c_str(), 0);
    }
    ~GuideRecorder() {
        RegSetValueA(HKEY_CLASSES_ROOT, ".html", REG_SZ, oldClass_.c_str(), 0);
        RegDeleteKeyA(HKEY_CLASSES_ROOT, "VantorE2E.htmlfile\\shell\\open\\command");
        RegDeleteKeyA(HKEY_CLASSES_ROOT, "VantorE2E.htmlfile\\shell\\open");
        RegDeleteKeyA(HKEY_CLASSES_ROOT, "VantorE2E.htmlfile\\shell");
        RegDeleteKeyA(HKEY_CLASSES_ROOT, "VantorE2E.htmlfile");
        SetEnvironmentVariableA("VANTOR_E2E_RECORD", nullptr);
    }
    // The next line the recorder wrote, waited for.
    std::string Next() {
        std::string line;
        WaitUntil(
            [&] {
                const std::string all = ReadFileBytes(output_).value_or("");
                const std::size_t end = all.find('\n', read_);
                if (end == std::string::npos) return false;
                // "TARGET|SHOW\r": the target alone.
                line = all.substr(read_, end - read_);
                line = line.substr(0, line.rfind('|'));
                read_ = end + 1;
                return true;
            },
            5000);
        return line;
    }

  private:
    std::string output_;
    std::string oldClass_;
    std::size_t read_ = 0;
};

TEST(Help, TopicsOpenTheGuideAtTheirAnchors) {
    const std::string folder = FreshFolder();
    ASSERT_TRUE(CopyFileTo(RepositoryFile("help\\Vantor.html"), folder + "Vantor.html"));
    GuideRecorder recorder(folder + "opened.txt");
    Vantor vantor(folder);
    ASSERT_TRUE(vantor.Start());
    const std::string guide = folder + "Vantor.html";
    const std::string topic10 = FileUrl(guide, "topic10"), topic51 = FileUrl(guide, "topic51");

    // The tray menu's "Help topic", then F1 in the message window.
    vantor.CommandAndWait(kCmdHelpTopic);
    EXPECT_EQ(recorder.Next(), topic10);
    vantor.CommandAndWait(kCmdLastMessage);
    ASSERT_TRUE(WaitUntil([&] { return GetForegroundWindow() == vantor.Window(); }, 3000));
    PressKeys({VK_F1});
    EXPECT_EQ(recorder.Next(), topic10);

    // The dialog's Help button, and F1 on one of its check boxes.
    ASSERT_TRUE(vantor.OpenSettings());
    ClickAt(vantor.SettingsControl(kBtHelp));
    EXPECT_EQ(recorder.Next(), topic51);
    ASSERT_TRUE(vantor.OpenSettings());
    ClickAt(vantor.SettingsControl(kCheckSelectAll));
    ASSERT_TRUE(WaitUntil(
        [&] { return FocusOf(vantor.Settings()) == vantor.SettingsControl(kCheckSelectAll); },
        2000));
    PressKeys({VK_F1});
    EXPECT_EQ(recorder.Next(), topic51);
    EXPECT_TRUE(IsWindowVisible(vantor.Settings())) << "F1 is help, not a command";
}

}  // namespace
}  // namespace vantor::e2e
