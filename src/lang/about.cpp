#include "lang/about.h"

#include <optional>

#include "base/file_io.h"
#include "base/paths.h"
#include "base/text.h"
#include "lang/language_file.h"

namespace vantor {

namespace {

// The first line of the program's description; no author or contact lines.
constexpr std::string_view kEnglishDescription =
    "Utility for closing useless messages with OK button and another work with windows";
// "Программа для автоматического закрытия сообщений с кнопкой OK и другой работы с окнами."
constexpr std::string_view kRussianDescription =
    "\xCF\xF0\xEE\xE3\xF0\xE0\xEC\xEC\xE0 \xE4\xEB\xFF \xE0\xE2\xF2\xEE\xEC\xE0\xF2\xE8\xF7"
    "\xE5\xF1\xEA\xEE\xE3\xEE \xE7\xE0\xEA\xF0\xFB\xF2\xE8\xFF \xF1\xEE\xEE\xE1\xF9\xE5\xED"
    "\xE8\xE9 \xF1 \xEA\xED\xEE\xEF\xEA\xEE\xE9 OK \xE8 \xE4\xF0\xF3\xE3\xEE\xE9 \xF0\xE0"
    "\xE1\xEE\xF2\xFB \xF1 \xEE\xEA\xED\xE0\xEC\xE8.";

}  // namespace

std::vector<std::string> ReadMeCandidates(std::string_view folder, std::string_view language) {
    std::string ownName = "Read_Me_";
    ownName.append(language).append(".txt");
    return {JoinPath(folder, ownName), InLanguageFolder(folder, ownName),
            JoinPath(folder, "Read_Me.txt")};
}

std::string ReflowReadMe(std::string_view text) {
    std::string s = ReplaceAll(text, "\r\n\r\n", "\\\\", true);
    s = ReplaceAll(s, "\r\n-", "\\-", true);
    s = ReplaceAll(s, "\r\n", " ", true);
    s = ReplaceAll(s, "  ", " ", true);
    return ReplaceAll(s, "\\", "\r\n", true);
}

std::string_view BuiltInDescription(std::string_view language) {
    return UpperCase1251(language) == "RUS" ? kRussianDescription : kEnglishDescription;
}

std::string AboutText(std::string_view folder, std::string_view language) {
    std::optional<std::string> readMe;
    for (const std::string& path : ReadMeCandidates(folder, language)) {
        // A folder of that name is no read-me, nor is a file its editor holds locked.
        if (FileExists(path) && (readMe = ReadFilePrefix(path, kMaxReadMeBytes))) break;
    }
    std::string text(kVersionLine);
    std::string body;
    if (readMe) {
        body = ReflowReadMe(*readMe);
    } else {
        body = std::string(BuiltInDescription(language));
    }
    if (!body.empty()) text.append("\r\n\r\n").append(body);
    return text;
}

}  // namespace vantor
