#include "forms/program_font_win32.h"

#include <utility>
#include <vector>

namespace vantor {

HFONT ProgramFont(int dpi) {
    dpi = UsableDpi(dpi);
    // A user meets one or two scales in a run; the list stays that short.
    static std::vector<std::pair<int, HFONT>> fonts;
    for (const auto& [known, font] : fonts) {
        if (known == dpi) return font;
    }
    LOGFONTA lf = {};
    lf.lfHeight = FontHeightForDpi(10, dpi);
    lf.lfCharSet = DEFAULT_CHARSET;
    lstrcpyA(lf.lfFaceName, "MS Sans Serif");
    const HFONT font = CreateFontIndirectA(&lf);
    fonts.emplace_back(dpi, font);
    return font;
}

}  // namespace vantor
