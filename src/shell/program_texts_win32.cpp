#include "shell/program_texts_win32.h"

#include <utility>

namespace vantor {

ProgramTexts::ProgramTexts(std::string folder, std::string moduleHelpFile)
    : folder_(std::move(folder)),
      captions_(BuiltInCaptions()),
      helpFile_(std::move(moduleHelpFile)) {}

AppliedLanguage ProgramTexts::Read(const std::string& name, const CaptionSet& current) {
    AppliedLanguage applied = ReadLanguage(folder_, name, current);
    if (applied.helpFile) helpFile_ = *applied.helpFile;
    if (!applied.fromFile) run_.Set(applied.texts.runTexts);  // the captions stay as they are
    return applied;
}

void ProgramTexts::Set(const LanguageTexts& texts) {
    run_.Set(texts.runTexts);
    captions_ = texts.captions;
}

LanguageList ProgramTexts::List(const std::string& selected) const {
    return BuildLanguageList(folder_, LanguageFileNames(folder_), selected);
}

}  // namespace vantor
