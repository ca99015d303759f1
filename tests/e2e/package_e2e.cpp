// e2e-timeout: 150
// The release zip as a Windows user gets it: unpacked into a folder whose path has a blank and
// started there. Its first start writes the eight files and speaks Russian (the shipped
// language file and read-me), closes a message box, and Exit stores its keys; switched to
// the built-in English from the settings dialog and started again, it speaks English.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cctype>
#include <string>
#include <vector>

#include "lang/about.h"
#include "vantor_driver.h"

namespace vantor::e2e {
namespace {

const std::vector<std::string> kWrittenFiles = {"Black.ini",  "Button.ini",  "Edit.ini",
                                                "Main.ini",   "Replace.ini", "Static.ini",
                                                "Vantor.ini", "White.ini"};
// Name in the program folder, file in the repository.
const std::vector<std::pair<std::string, std::string>> kPackaged = {
    {"LICENSE.txt", ""},
    {"Language\\Rus.lng", "Language\\Rus.lng"},
    {"Read_Me.txt", "help\\Read_Me.txt"},
    {"Read_Me_Rus.txt", "help\\Read_Me_Rus.txt"},
    {"Vantor.html", "help\\Vantor.html"},
    {"vantor.exe", ""},
};

std::string UnixPath(const std::string& windowsPath) {
    std::string path = windowsPath.substr(2);  // "Z:" is the Unix root
    for (char& c : path) c = c == '\\' ? '/' : c;
    return path;
}

// The build's package, beside vantor.exe and named by the version it wrote there.
std::string PackagePath(std::string* version) {
    const std::string exe = VantorExePath();
    const std::string build = exe.substr(0, exe.find_last_of('\\') + 1);
    *version = ReadFileBytes(build + "vantor-version.txt").value_or("");
    while (!version->empty() && std::isspace(static_cast<unsigned char>(version->back())))
        version->pop_back();
    return build + "vantor-" + *version + ".zip";
}

// Unpacks with Python's zip reader, under Wine the Linux one: Wine runs a Unix program that
// CreateProcess names but gives no handle to wait on, so the reader writes the names it
// found into `done` last. Returns those names, or the error it met.
std::string Unpack(const std::string& zip, const std::string& folder) {
    const std::string done = folder + "unpacked.txt";
    const auto path = [](const std::string& p) { return UnderWine() ? UnixPath(p) : p; };
    std::string line =
        std::string(UnderWine() ? "/usr/bin/python3" : "python") +
        " -c \"import sys, zipfile\n"
        "try:\n"
        "    z = zipfile.ZipFile(sys.argv[1]); z.extractall(sys.argv[2])\n"
        "    r = ' '.join(z.namelist())\n"
        "except Exception as e:\n"
        "    r = 'error: %s' % e\n"
        "open(sys.argv[3], 'w').write(r)\" " +
        QuoteArgument(path(zip)) + " " + QuoteArgument(path(folder)) + " " +
        QuoteArgument(path(done));
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info = {};
    if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &info)) {
        return "error: cannot start python3 (" + std::to_string(GetLastError()) + ")";
    }
    CloseHandle(info.hThread);
    CloseHandle(info.hProcess);
    std::string names;
    WaitUntil([&] { return !(names = ReadFileBytes(done).value_or("")).empty(); }, 20000, 50);
    DeleteFileA(done.c_str());
    return names;
}

// A string of the executable's version resource ("ProductName"...), in the system's code page.
std::string VersionString(const std::string& exe, const char* name) {
    DWORD ignored = 0;
    std::vector<char> data(GetFileVersionInfoSizeA(exe.c_str(), &ignored));
    if (data.empty() ||
        !GetFileVersionInfoA(exe.c_str(), 0, static_cast<DWORD>(data.size()), data.data())) {
        return "<no version resource>";
    }
    char* value = nullptr;
    UINT length = 0;
    const std::string path = std::string("\\StringFileInfo\\040904B0\\") + name;
    if (!VerQueryValueA(data.data(), path.c_str(), reinterpret_cast<void**>(&value), &length) ||
        length == 0) {
        return "<no " + std::string(name) + ">";
    }
    return std::string(value, length - 1);
}

std::string Manifest(const std::string& exe) {
    HMODULE module = LoadLibraryExA(exe.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    if (!module) return "";
    std::string text;
    if (HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(1), RT_MANIFEST)) {
        const char* bytes = static_cast<const char*>(LockResource(LoadResource(module, found)));
        if (bytes) text.assign(bytes, SizeofResource(module, found));
    }
    FreeLibrary(module);
    return text;
}

int Count(const std::string& text, const std::string& part) {
    int n = 0;
    for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        ++n;
    return n;
}

// The tray menu's About, picked the way a user picks it; the message window shows its text.
std::string AboutThroughTheTrayMenu(Vantor& vantor) {
    const std::string before = vantor.Text();
    if (!vantor.PickTrayItem(5)) return "<no tray menu>";
    WaitUntil([&] { return vantor.Visible() && vantor.Text() != before; }, 3000);
    return vantor.Text();
}

TEST(Package, UnpackedIntoAFolderWithABlankItRunsInRussianAndThenInEnglish) {
    std::string version;
    const std::string zip = PackagePath(&version);
    ASSERT_TRUE(ReadFileBytes(zip)) << "no package " << zip;
    const std::string folder = FreshFolder() + "Vantor " + version + "\\";
    ASSERT_TRUE(CreateDirectoryA(folder.c_str(), nullptr));

    // The zip holds the program folder itself, nothing around it; texts arrive byte for byte.
    EXPECT_EQ(Unpack(zip, folder),
              "vantor.exe Language/Rus.lng Vantor.html Read_Me.txt "
              "Read_Me_Rus.txt LICENSE.txt");
    for (const auto& [name, source] : kPackaged) {
        const auto bytes = ReadFileBytes(folder + name);
        ASSERT_TRUE(bytes) << name << " is missing";
        if (!source.empty()) {
            EXPECT_EQ(bytes, ReadFileBytes(RepositoryFile(source))) << name;
        }
    }
    const std::string exe = folder + "vantor.exe";
    EXPECT_EQ(VersionString(exe, "FileVersion"), version);
    EXPECT_EQ(VersionString(exe, "ProductVersion"), version);
    EXPECT_EQ(VersionString(exe, "ProductName"), "Vantor");
    EXPECT_NE(VersionString(exe, "FileDescription").find("message boxes"), std::string::npos);
    const std::string manifest = Manifest(exe);
    EXPECT_EQ(Count(manifest, "level=\"asInvoker\""), 1) << manifest;
    EXPECT_EQ(Count(manifest, "<supportedOS Id="), 4) << "Windows 7, 8, 8.1, 10 and 11";
    EXPECT_EQ(Count(manifest, "Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\""), 1);

    {
        Vantor vantor(folder);
        ASSERT_TRUE(vantor.Start());
        std::vector<std::string> all = kWrittenFiles;
        for (const auto& [name, source] : kPackaged) {
            if (name.find('\\') == std::string::npos) all.push_back(name);
        }
        std::sort(all.begin(), all.end());
        EXPECT_EQ(FileNamesIn(folder), all);
        for (const std::string& file : kWrittenFiles)
            EXPECT_EQ(ReadFileBytes(folder + file), ReadFileBytes(ExpectedDataPath(file))) << file;

        // Russian: the start text, the message window's buttons and the dialog, read from
        // outside; About shows the Russian read-me.
        ASSERT_TRUE(vantor.PickTrayItem(0));
        ASSERT_TRUE(WaitUntil([&] { return vantor.Visible(); }, 3000));
        // "Автоматически закрытых окон не было."
        EXPECT_EQ(vantor.Text(),
                  "\xC0\xE2\xF2\xEE\xEC\xE0\xF2\xE8\xF7\xE5\xF1\xEA\xE8 \xE7\xE0\xEA"
                  "\xF0\xFB\xF2\xFB\xF5 \xEE\xEA\xEE\xED \xED\xE5 \xE1\xFB\xEB\xEE.");
        EXPECT_EQ(TextOf(GetDlgItem(vantor.Window(), kBtCopy)),
                  "\xCA\xEE\xEF\xE8\xF0\xEE\xE2\xE0\xF2\xFC");  // "Копировать"
        EXPECT_EQ(TextOf(GetDlgItem(vantor.Window(), kBtExit)), "\xC2\xFB\xF5\xEE\xE4");
        EXPECT_EQ(AboutThroughTheTrayMenu(vantor),
                  std::string(kVersionLine) + "\r\n\r\n" +
                      ReflowReadMe(*ReadFileBytes(folder + "Read_Me_Rus.txt")));
        ASSERT_TRUE(vantor.OpenSettings());
        EXPECT_EQ(TextOf(vantor.Settings()), "\xCD\xE0\xF1\xF2\xF0\xEE\xE9\xEA\xE8 Vantor");
        EXPECT_EQ(TextOf(vantor.SettingsControl(kCheckAutoRun)),
                  "\xC0\xE2\xF2\xEE\xE7\xE0\xEF\xF3\xF1\xEA");  // "Автозапуск"
        PressKeys({VK_ESCAPE});
        ASSERT_TRUE(WaitUntil([&] { return !IsWindowVisible(vantor.Settings()); }, 2000));

        // Another program's message box is answered and shown.
        Process box = ShowBox("Package e2e", "Saved.\\r\\nAll done.");
        EXPECT_EQ(box.WaitExit(5000), std::optional<DWORD>(IDOK)) << "the box stayed open";
        EXPECT_TRUE(WaitUntil([&] { return vantor.Text() == "Saved.\r\nAll done."; }, 3000))
            << Escaped(vantor.Text());

        // English, as the read-me says: the built-in entry of the language list, then Exit.
        ASSERT_TRUE(vantor.OpenSettings());
        HWND list = vantor.SettingsControl(kComboLanguage);
        ClickAt(list);
        ASSERT_TRUE(WaitUntil([&] { return Ask(list, CB_GETDROPPEDSTATE) != 0; }, 2000));
        PressKeys({VK_HOME});
        ASSERT_TRUE(WaitUntil([&] { return Ask(list, CB_GETCURSEL) == 0; }, 2000));
        PressKeys({VK_RETURN});
        EXPECT_TRUE(WaitUntil(
            [&] {
                return TextOf(vantor.SettingsControl(kLbLanguage)) == "Please, restart Vantor.";
            },
            2000));
        PressKeys({VK_ESCAPE});  // handled before the menu opens, which Esc would close
        ASSERT_TRUE(WaitUntil([&] { return !IsWindowVisible(vantor.Settings()); }, 2000));
        ASSERT_TRUE(vantor.PickTrayItem(7));
        ASSERT_TRUE(vantor.Proc().WaitExit(10000)) << "Exit did not end the program";
        const std::string ini = folder + "Vantor.ini";
        char language[16] = "?";
        GetPrivateProfileStringA("Main", "Language", "?", language, sizeof language, ini.c_str());
        EXPECT_STREQ(language, "");
        EXPECT_EQ(ReadIntKey(ini, "Width"), 230) << vantor.Ini();
        EXPECT_EQ(ReadIntKey(ini, "Height"), 100);
        EXPECT_EQ(ReadIntKey(ini, "fmSetup.Left"), 567);
        EXPECT_EQ(ReadIntKey(ini, "fmSetup.Top"), 105);
    }

    Vantor english(folder);
    ASSERT_TRUE(english.Start());
    EXPECT_EQ(AboutThroughTheTrayMenu(english),
              std::string(kVersionLine) + "\r\n\r\n" +
                  ReflowReadMe(*ReadFileBytes(folder + "Read_Me.txt")));
    ASSERT_TRUE(english.OpenSettings());
    EXPECT_EQ(TextOf(english.Settings()), "Vantor settings");
    EXPECT_EQ(TextOf(english.SettingsControl(kComboLanguage)), "  Build-in (English)");
}

}  // namespace
}  // namespace vantor::e2e
