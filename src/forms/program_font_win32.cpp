#include "forms/program_font_win32.h"

namespace vantor {

HFONT ProgramFont() {
    static const HFONT font = [] {
        LOGFONTA lf = {};
        lf.lfHeight = 10;
        lf.lfCharSet = DEFAULT_CHARSET;
        lstrcpyA(lf.lfFaceName, "MS Sans Serif");
        return CreateFontIndirectA(&lf);
    }();
    return font;
}

}  // namespace vantor
