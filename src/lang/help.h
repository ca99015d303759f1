// Help: a WinHelp file chosen by the language (Vantor.hlp, or Vantor_<language>.hlp when the
// language file has one beside the program), opened at a topic. Modern Windows has no WinHelp
// viewer, so when the help file does not exist the user guide Vantor.html beside the program
// is opened at the topic's anchor ("#topic10") in the program that opens .html files.
#pragma once

#include <string>
#include <string_view>

namespace vantor {

inline constexpr unsigned kTrayHelpTopic = 10;   // tray menu "Help topic", F1 in the message window
inline constexpr unsigned kSetupHelpTopic = 51;  // the settings dialog: its Help button and F1
inline constexpr std::string_view kGuideFileName = "Vantor.html";

// The help file until a language sets one: the module's path with its extension made ".hlp".
std::string HelpFileOfModule(std::string_view modulePath);
// folder + "Vantor.hlp": the built-in English's help file.
std::string BuiltInHelpFile(std::string_view folder);
// folder + "Vantor_" + language base name + ".hlp".
std::string LanguageHelpFile(std::string_view folder, std::string_view baseName);

// How a topic is opened.
struct HelpPlan {
    enum class Kind { kWinHelp, kGuide, kNothing } kind = Kind::kNothing;
    std::string file;  // the help file, or the guide's path
    std::string url;   // the guide as a file URL with the topic's anchor
};
HelpPlan PlanHelp(std::string_view helpFile, bool helpFileExists, std::string_view folder,
                  bool guideExists, unsigned topic);

// "file:///C:/Program%20Files/Vantor/Vantor.html#topic10" for a Windows path (a UNC path gives
// "file://server/share/..."): backslashes become slashes and the bytes a URL cannot hold
// literally (blank, "%", "#", "?", controls) are escaped; other bytes (code page 1251 letters)
// stay, as the system's own conversion to a command line keeps them.
std::string FileUrl(std::string_view windowsPath, std::string_view anchor);

}  // namespace vantor
