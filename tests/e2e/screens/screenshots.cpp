// The README's pictures, taken on the e2e bench by scripts/screenshots.sh. Each scene brings
// the real program to what its picture shows, checks that it does, and saves that part of the
// screen as <name>.bmp in VANTOR_SCREENSHOTS_DIR (the script turns them into PNG files).
// On this bench layered windows are drawn opaque and title-bar buttons as letters.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "vantor_driver.h"

namespace vantor::e2e {
namespace {

// The message window's Copy and Close buttons, with the seconds on Close.
constexpr char kButtons[] =
    "btCopy.Visible=1\r\nbtClose.Visible=1\r\nIsTimer=1\r\n"
    "Width=330\r\nHeight=130\r\n";
const std::string kEnglishIni = std::string("[Main]\r\nLanguage=\r\n") + kButtons;
const std::string kRussianIni = std::string("[Main]\r\nLanguage=Rus\r\n") + kButtons;

std::string OutputFolder() {
    char folder[MAX_PATH] = {};
    const DWORD length = GetEnvironmentVariableA("VANTOR_SCREENSHOTS_DIR", folder, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return FreshFolder("pictures");
    return JoinPath(folder, "");
}

RECT Screen() {
    return {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
}

// `r` grown by `margin` on every side, kept on the screen.
RECT Around(RECT r, int margin) {
    const RECT screen = Screen();
    return {std::max(screen.left, r.left - margin), std::max(screen.top, r.top - margin),
            std::min(screen.right, r.right + margin), std::min(screen.bottom, r.bottom + margin)};
}

RECT Union(const RECT& a, const RECT& b) {
    RECT both = {};
    UnionRect(&both, &a, &b);
    return both;
}

// The part `r` of the screen as a 24-bit BMP file, after the windows had time to paint.
void SaveScreen(const RECT& r, const std::string& name) {
    Sleep(400);
    const int width = r.right - r.left, height = r.bottom - r.top;
    ASSERT_GT(width, 0);
    ASSERT_GT(height, 0);
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    BITMAPINFOHEADER header = {};
    header.biSize = sizeof header;
    header.biWidth = width;
    header.biHeight = height;
    header.biPlanes = 1;
    header.biBitCount = 24;
    header.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(screen, reinterpret_cast<BITMAPINFO*>(&header),
                                      DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(memory, bitmap);
    const BOOL copied = BitBlt(memory, 0, 0, width, height, screen, r.left, r.top, SRCCOPY);
    GdiFlush();
    const DWORD stride = (static_cast<DWORD>(width) * 3 + 3) & ~3u;
    BITMAPFILEHEADER file = {};
    file.bfType = 0x4D42;  // "BM"
    file.bfOffBits = sizeof file + sizeof header;
    file.bfSize = file.bfOffBits + stride * static_cast<DWORD>(height);
    std::string bytes(reinterpret_cast<const char*>(&file), sizeof file);
    bytes.append(reinterpret_cast<const char*>(&header), sizeof header);
    bytes.append(static_cast<const char*>(bits), stride * static_cast<DWORD>(height));
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    ASSERT_TRUE(copied) << "the screen could not be read";
    // VANTOR_SCREENSHOTS_SUFFIX names the pictures of another display scale ("-144dpi").
    char suffix[32] = {};
    const DWORD length = GetEnvironmentVariableA("VANTOR_SCREENSHOTS_SUFFIX", suffix, 32);
    const std::string path =
        OutputFolder() + name + (length < sizeof suffix ? suffix : "") + ".bmp";
    ASSERT_TRUE(WriteFileBytes(path, bytes)) << path;
    std::printf("picture %s: %dx%d at %ld,%ld\n", name.c_str(), width, height, r.left, r.top);
}

TEST(Pictures, MessageWindowWithAClosedMessageAtTheCorner) {
    BecomeDpiAware();  // the screen in pixels at every scale
    const std::string folder = FreshFolder();
    WriteFileBytes(folder + "Vantor.ini", kEnglishIni);
    Vantor vantor(folder);
    ASSERT_TRUE(vantor.Start());
    Process box = ShowBox("Setup",
                          "The update was installed.\\r\\nRestart the program to use "
                          "the new version.");
    ASSERT_EQ(box.WaitExit(5000), std::optional<DWORD>(IDOK)) << "the box stayed open";
    ASSERT_TRUE(WaitUntil([&] { return vantor.Visible() && vantor.Caption() == "Setup"; }, 3000));
    // The first countdown tick puts the seconds on the Close button.
    HWND close = GetDlgItem(vantor.Window(), kBtClose);
    ASSERT_TRUE(WaitUntil([&] { return TextOf(close).rfind("Close (", 0) == 0; }, 2000));
    ExpectAtCorner(vantor.Window());
    const RECT window = WindowRectOf(vantor.Window());
    // The window and, below it, the taskbar with the tray icon.
    SaveScreen({window.left - 60, window.top - 40, Screen().right, Screen().bottom},
               "message-window");
}

TEST(Pictures, TrayMenuOpen) {
    const std::string folder = FreshFolder();
    WriteFileBytes(folder + "Vantor.ini", kEnglishIni);
    Vantor vantor(folder);
    ASSERT_TRUE(vantor.Start());
    // A right click on the icon, at the right end of the taskbar.
    HWND taskbar = FindWindowA("Shell_TrayWnd", nullptr);
    ASSERT_NE(taskbar, nullptr) << "no taskbar: the bench runs without its virtual desktop";
    const RECT bar = WindowRectOf(taskbar);
    const POINT icon = {bar.right - 10, (bar.top + bar.bottom) / 2};
    PointerTo(icon);
    PressButtons({MOUSEEVENTF_RIGHTDOWN, MOUSEEVENTF_RIGHTUP});
    HWND menu = nullptr;
    if (!WaitUntil([&] { return (menu = OpenMenuOf(vantor.Proc().Id())) != nullptr; }, 2000)) {
        vantor.Tray(WM_RBUTTONDOWN);  // the icon was not where it was looked for
        ASSERT_TRUE(WaitUntil([&] { return (menu = OpenMenuOf(vantor.Proc().Id())); }, 2000));
    }
    const RECT shown = WindowRectOf(menu);
    // The pointer on the first item, as a user's would be, and the icon's tooltip gone.
    PointerTo({shown.left + 40, shown.top + 12});
    Sleep(1000);  // the time a tooltip takes to come up
    EXPECT_TRUE(WaitUntil(
        [] {
            return !FindTopLevelWindow({"tooltips_class32", std::nullopt, 0, true});
        },
        10000))
        << "the icon's tooltip stays over the menu";
    SaveScreen(Around(Union(shown, {icon.x - 30, bar.top, bar.right, bar.bottom}), 24),
               "tray-menu");
    PostMessageA(menu, WM_KEYDOWN, VK_ESCAPE, 0);
}

void SettingsPicture(const std::string& ini, const std::string& title, const std::string& name) {
    BecomeDpiAware();
    const std::string folder = FreshFolder();
    CreateDirectoryA((folder + "Language").c_str(), nullptr);
    ASSERT_TRUE(CopyFileTo(RepositoryFile("Language\\Rus.lng"), folder + "Language\\Rus.lng"));
    WriteFileBytes(folder + "Vantor.ini", ini);
    Vantor vantor(folder);
    ASSERT_TRUE(vantor.Start());
    ASSERT_TRUE(vantor.OpenSettings());
    ASSERT_EQ(TextOf(vantor.Settings()), title);
    SaveScreen(Around(WindowRectOf(vantor.Settings()), 6), name);
}

TEST(Pictures, SettingsDialogInEnglish) {
    SettingsPicture(kEnglishIni, "Vantor settings", "settings-english");
}

TEST(Pictures, SettingsDialogInRussian) {
    // "Настройки Vantor"
    SettingsPicture(kRussianIni, "\xCD\xE0\xF1\xF2\xF0\xEE\xE9\xEA\xE8 Vantor", "settings-russian");
}

TEST(Pictures, SpyOverAnotherProgramsDialog) {
    const std::string folder = FreshFolder();
    WriteFileBytes(folder + "Vantor.ini", kEnglishIni);
    Vantor vantor(folder);
    ASSERT_TRUE(vantor.Start());
    Process other =
        Process::Start(ToolPath("app_edit_dialog"), {"Backup", "Copy the files to:", "60"});
    HWND dialog = WaitForTopLevelWindow({"#32770", std::string("Backup"), other.Id()}, 5000);
    ASSERT_NE(dialog, nullptr);

    ASSERT_TRUE(vantor.PickTrayItem(2));  // Spy
    ASSERT_TRUE(WaitUntil([&] { return vantor.Caption() == "Spy" && vantor.Visible(); }, 3000));
    // The dialog just left of the message window at the corner, so one picture holds both.
    const RECT spy = WindowRectOf(vantor.Window());
    RECT r = WindowRectOf(dialog);
    SetWindowPos(dialog, nullptr, spy.left - 16 - (r.right - r.left),
                 spy.bottom - (r.bottom - r.top), 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    ASSERT_TRUE(WaitUntil([&] { return WindowRectOf(dialog).right == spy.left - 16; }, 2000));
    r = WindowRectOf(dialog);
    // The pointer on the dialog itself, between its controls: the spy lists them all.
    POINT on = {r.left + 12, (r.top + r.bottom) / 2};
    for (; on.x < r.right && WindowFromPoint(on) != dialog; on.x += 4) {
    }
    ASSERT_EQ(WindowFromPoint(on), dialog);
    PointerTo(on);
    ASSERT_TRUE(WaitUntil([&] { return vantor.Text().rfind("#32770=Backup\r\n", 0) == 0; }, 3000))
        << Escaped(vantor.Text());
    EXPECT_NE(vantor.Text().find("Button=OK"), std::string::npos) << Escaped(vantor.Text());
    SaveScreen(Around(Union(r, spy), 20), "spy");
    PressKeys({VK_ESCAPE});
}

}  // namespace
}  // namespace vantor::e2e
