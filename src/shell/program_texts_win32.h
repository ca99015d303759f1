// The program's texts: the captions as last applied (the forms hold their controls' live
// texts), the run-time texts the timer thread reads, the help file the language brings and
// the settings dialog's language list (the folder listed by the system). The application
// puts the captions on screen.
#pragma once

#include <memory>
#include <string>

#include "lang/language_file.h"
#include "lang/run_texts.h"
#include "lang/text_table.h"

namespace vantor {

class ProgramTexts {
  public:
    // The built-in texts and the help file next to the program.
    ProgramTexts(std::string folder, std::string moduleHelpFile);

    const SharedRunTexts& Run() const { return run_; }
    std::shared_ptr<const RunTexts> Get() const { return run_.Get(); }
    const CaptionSet& Captions() const { return captions_; }
    const std::string& HelpFile() const { return helpFile_; }

    // Reads the language `name` over `current` (the captions as they read on screen) and
    // keeps the help file it brings; without a file only the built-in run-time texts change.
    // A language from a file gives texts that Set and the screen still have to take.
    AppliedLanguage Read(const std::string& name, const CaptionSet& current);
    void Set(const LanguageTexts& texts);
    // The language files in the program folder, `selected` chosen when it names one.
    LanguageList List(const std::string& selected) const;

  private:
    const std::string folder_;
    SharedRunTexts run_;
    CaptionSet captions_;
    std::string helpFile_;  // the module's own until a language chooses one
};

}  // namespace vantor
