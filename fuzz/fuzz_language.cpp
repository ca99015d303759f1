// Language files and read-me texts on arbitrary bytes: applying a file never crashes, keeps
// the button words upper-cased and every text within the reader's buffer; a reflowed read-me
// holds no backslash (each one became a line break).
#include <cstdint>
#include <cstdlib>
#include <string>

#include "base/profile.h"
#include "base/text.h"
#include "lang/about.h"
#include "lang/language_file.h"

namespace {

void Check(bool ok) {
    if (!ok) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    const vantor::LanguageTexts texts = vantor::ApplyLanguage(
        vantor::BuiltInCaptions(), [&](vantor::TextSection s, std::string_view key) {
            return vantor::ProfileFindString(bytes, vantor::SectionName(s), key);
        });
    for (const std::string* word :
         {&texts.runTexts.ssOK, &texts.runTexts.ssYes, &texts.runTexts.ssNo}) {
        Check(vantor::UpperCase1251(*word) == *word);
        Check(word->size() < vantor::kProfileBufferSize);
    }
    // A value of at most 4095 bytes, padded once or given "/ Language".
    for (int c = 0; c < static_cast<int>(vantor::kCaptionCount); ++c) {
        Check(texts.captions[static_cast<vantor::Caption>(c)].size() <
              vantor::kProfileBufferSize + 12);
    }
    Check(vantor::DisplayNameIn(bytes).size() < vantor::kProfileBufferSize);
    Check(vantor::ReflowReadMe(bytes).find('\\') == std::string::npos);
    return 0;
}
