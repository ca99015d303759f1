// Text on the clipboard (CF_TEXT, code page bytes). Nothing is reported when the clipboard
// cannot be opened.
#pragma once

#include <string>

namespace vantor {

void PutTextOnClipboard(const std::string& text);

}  // namespace vantor
