#include "ui/links.h"

#include <algorithm>

namespace vantor {
namespace {

constexpr std::size_t kLookedAt = 1024;

bool IsAsciiLetter(char ch) {
    return (ch >= 'A' && ch <= 'Z') || (ch >= 'a' && ch <= 'z');
}

// At least two characters on each side of the first "." of text.
bool HasNameDotName(std::string_view text) {
    const std::size_t dot = text.find('.');
    if (dot == std::string_view::npos || dot < 2) return false;
    return text.size() - dot - 1 >= 2;
}

}  // namespace

std::string MailAddressOf(std::string_view text) {
    if (const std::size_t colon = text.find(':'); colon != std::string_view::npos)
        text.remove_prefix(colon + 1);
    const std::size_t at = text.find('@');
    if (at == std::string_view::npos) return {};
    const std::string_view user = text.substr(0, at);
    if (user.size() < 2 || user.find('/') != std::string_view::npos) return {};
    if (!HasNameDotName(text.substr(at + 1, kLookedAt))) return {};
    return std::string(text);
}

std::string WebAddressOf(std::string_view text) {
    if (const std::size_t scheme = text.find("://"); scheme != std::string_view::npos)
        text.remove_prefix(scheme + 3);
    if (!HasNameDotName(text)) return {};
    const std::string_view ending = text.substr(text.rfind('.') + 1);
    if (ending.size() > 3 || !std::all_of(ending.begin(), ending.end(), IsAsciiLetter)) return {};
    return std::string(text);
}

std::string LinkTargetOf(std::string_view selection) {
    if (std::string mail = MailAddressOf(selection); !mail.empty()) return "mailto:" + mail;
    if (std::string web = WebAddressOf(selection); !web.empty()) return "http://" + web;
    return {};
}

std::string OpeningCaption(std::string_view selection) {
    std::string caption = "\xCE\xF2\xEA\xF0\xFB\xF2\xE8\xE5 ";
    caption.append(selection);
    caption += "...";
    return caption;
}

}  // namespace vantor
