// e2e-dpi: 144
// The real vantor.exe at a display scale of 150 % (a Wine world of its own at 144 DPI): the
// settings dialog and the message window are drawn at the real scale, with no two controls
// overlapping, every caption fitting its control in the control's own font, and the message
// text not clipped. The test reads in pixels too (it declares itself DPI-aware).
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "vantor_driver.h"

namespace vantor::e2e {
namespace {

// The font a control draws its caption with: WM_GETFONT where the system answers it across
// processes (Wine does not), otherwise the program's font at the bench's scale.
HFONT CaptionFont(HWND control, int dpi) {
    if (const auto font = reinterpret_cast<HFONT>(Ask(control, WM_GETFONT))) return font;
    static HFONT programFont = nullptr;
    if (!programFont) {
        LOGFONTA lf = {};
        lf.lfHeight = MulDiv(10, dpi, 96);
        lf.lfCharSet = DEFAULT_CHARSET;
        lstrcpyA(lf.lfFaceName, "MS Sans Serif");
        programFont = CreateFontIndirectA(&lf);
    }
    return programFont;
}

// The size of a caption drawn in that font ('&' marks a mnemonic), and the font's line height.
SIZE CaptionExtent(HWND control, int dpi, int* lineHeight) {
    HDC dc = GetDC(nullptr);
    HGDIOBJ old = SelectObject(dc, CaptionFont(control, dpi));
    const std::string text = TextOf(control);
    RECT r = {0, 0, 0, 0};
    DrawTextA(dc, text.c_str(), -1, &r, DT_CALCRECT | DT_SINGLELINE);
    TEXTMETRICA tm = {};
    GetTextMetricsA(dc, &tm);
    *lineHeight = tm.tmHeight;
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    return {r.right - r.left, r.bottom - r.top};
}

bool Inside(const RECT& inner, const RECT& outer) {
    return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
           inner.bottom <= outer.bottom;
}

RECT ClientOnScreen(HWND window) {
    RECT r = {};
    GetClientRect(window, &r);
    MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

// The visible controls of a form: inside its client area (both forms' buttons reach one
// 96-DPI unit below it, as they always have at 100 %), no two overlapping (a group box may
// only hold controls whole), and each caption fitting its control.
void ExpectLaidOut(HWND form, const std::string& name, int dpi) {
    struct Control {
        HWND window;
        RECT rect;
        std::string className;
        LONG style;
    };
    std::vector<Control> controls;
    for (HWND child : ChildWindows(form)) {
        if (!IsWindowVisible(child)) continue;
        controls.push_back({child, WindowRectOf(child), ClassNameOf(child),
                            GetWindowLongA(child, GWL_STYLE)});
    }
    ASSERT_GE(controls.size(), 2u) << name;
    RECT client = ClientOnScreen(form);
    client.bottom += MulDiv(1, dpi, 96);
    const auto groupBox = [](const Control& c) {
        return c.className == "Button" && (c.style & BS_TYPEMASK) == BS_GROUPBOX;
    };
    for (std::size_t i = 0; i < controls.size(); ++i) {
        const Control& a = controls[i];
        const std::string what = name + " " + std::to_string(GetDlgCtrlID(a.window)) + " \"" +
                                 TextOf(a.window) + "\" " + RectText(a.rect);
        EXPECT_TRUE(Inside(a.rect, client)) << what << " outside " << RectText(client);
        for (std::size_t j = i + 1; j < controls.size(); ++j) {
            const Control& b = controls[j];
            RECT both = {};
            if (!IntersectRect(&both, &a.rect, &b.rect)) continue;
            const bool held = (groupBox(a) && !groupBox(b) && Inside(b.rect, a.rect)) ||
                              (groupBox(b) && !groupBox(a) && Inside(a.rect, b.rect));
            EXPECT_TRUE(held) << what << " overlaps " << GetDlgCtrlID(b.window) << " "
                              << RectText(b.rect);
        }
        if (a.className == "ComboBox" || a.className == "Edit" || TextOf(a.window).empty()) {
            continue;
        }
        int lineHeight = 0;
        const SIZE text = CaptionExtent(a.window, dpi, &lineHeight);
        int room = a.rect.right - a.rect.left;
        const LONG type = a.style & BS_TYPEMASK;
        if (a.className == "Button" && (type == BS_AUTOCHECKBOX || type == BS_CHECKBOX)) {
            room -= GetSystemMetrics(SM_CXMENUCHECK);  // the box before the caption
        }
        if (groupBox(a)) room -= 2 * GetSystemMetrics(SM_CXEDGE);
        EXPECT_GE(room, text.cx) << what;
        if (!groupBox(a)) {
            EXPECT_GE(a.rect.bottom - a.rect.top, lineHeight) << what;
        }
    }
}

TEST(DisplayScale, At144DpiTheDialogAndTheMessageWindowScaleWithoutOverlapOrClipping) {
    BecomeDpiAware();
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    ASSERT_EQ(dpi, 144) << "the bench's prefix does not run at 150 %";

    const std::string folder = FreshFolder();
    WriteFileBytes(folder + "Vantor.ini",
                   "[Main]\r\nbtCopy.Visible=1\r\nbtClose.Visible=1\r\nbtExit.Visible=1\r\n"
                   "MessageTime=30\r\nWidth=400\r\nHeight=160\r\n");
    Vantor vantor(folder, Vantor::kSystemBoxes);
    ASSERT_TRUE(vantor.Start());

    // The settings dialog: its client area of 445 x 266 at 150 %, where it was stored.
    ASSERT_TRUE(vantor.OpenSettings());
    HWND dialog = vantor.Settings();
    RECT outer = WindowRectOf(dialog), client = {};
    GetClientRect(dialog, &client);
    EXPECT_EQ(outer.left, 567);
    EXPECT_EQ(outer.top, 105);
    EXPECT_EQ(client.right, 668);
    EXPECT_EQ(client.bottom, 399);
    ExpectLaidOut(dialog, "settings", dpi);

    // Another program's box, closed and shown: the stored 400 x 160 is 600 x 240 pixels, at
    // the corner; its three lines all show above the buttons.
    Process box = ShowBox("scale e2e", "First line of the message\\r\\nsecond line\\r\\nthird");
    ASSERT_EQ(box.WaitExit(5000), std::optional<DWORD>(IDOK));
    ASSERT_TRUE(
        WaitUntil([&] { return vantor.Visible() && vantor.Caption() == "scale e2e"; }, 3000));
    HWND window = vantor.Window();
    outer = WindowRectOf(window);
    EXPECT_EQ(outer.right - outer.left, 600) << RectText(outer);
    EXPECT_EQ(outer.bottom - outer.top, 240) << RectText(outer);
    ExpectAtCorner(window);
    ExpectLaidOut(window, "message window", dpi);
    HWND text = vantor.TextArea();
    RECT format = {};
    Ask(text, EM_GETRECT, 0, reinterpret_cast<LPARAM>(&format));
    const std::string shown = vantor.Text();
    ASSERT_FALSE(shown.empty());
    const LRESULT last = Ask(text, EM_POSFROMCHAR, shown.size() - 1);
    int lineHeight = 0;
    CaptionExtent(text, dpi, &lineHeight);
    EXPECT_EQ(Ask(text, EM_GETLINECOUNT), 3);
    EXPECT_LE(static_cast<short>(HIWORD(last)) + lineHeight, format.bottom)
        << "the last line is cut off: " << RectText(format);
    EXPECT_FALSE(GetWindowLongA(text, GWL_STYLE) & WS_VSCROLL) << "three lines need no scrolling";

    // Exit stores the size in 96-DPI units, as it was read.
    ASSERT_TRUE(vantor.Exit());
    const std::string ini = folder + "Vantor.ini";
    EXPECT_EQ(ReadIntKey(ini, "Width"), 400);
    EXPECT_EQ(ReadIntKey(ini, "Height"), 160);
}

}  // namespace
}  // namespace vantor::e2e
