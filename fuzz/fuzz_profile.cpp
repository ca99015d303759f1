// Profile reader and writer on arbitrary bytes: never crash, never overrun the buffer, and a
// write always reads back while leaving other keys as they were.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "base/profile.h"

namespace {

bool IsBlank(char c) {
    const auto u = static_cast<unsigned char>(c);
    return (u >= 0x09 && u <= 0x0D) || u == 0x1A || u == 0x20;
}

std::string_view Trim(std::string_view s) {
    while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
    while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
    return s;
}

bool SameName(std::string_view a, std::string_view b) {
    a = Trim(a);
    b = Trim(b);
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        auto fold = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; };
        if (fold(a[i]) != fold(b[i])) return false;
    }
    return true;
}

// What reading a freshly written value gives: cut at a line break or NUL, blanks trimmed,
// one matching pair of quotes dropped.
std::string ExpectedReadBack(std::string_view value) {
    value = value.substr(0, value.find_first_of(std::string_view("\r\n\0", 3)));
    value = Trim(value);
    if (value.size() > 1 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front())
        value = value.substr(1, value.size() - 2);
    return std::string(value);
}

void Check(bool ok) {
    if (!ok) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider in(data, size);
    const std::string section = in.ConsumeRandomLengthString(16);
    const std::string key = in.ConsumeRandomLengthString(16);
    const std::string value = in.ConsumeRandomLengthString(64);
    const std::size_t bufferSize = in.ConsumeIntegralInRange<std::size_t>(0, 40);
    const std::string file = in.ConsumeRemainingBytesAsString();

    const std::string got = vantor::ProfileGetString(file, section, key, "d", bufferSize);
    Check(bufferSize == 0 ? got.empty() : got.size() < bufferSize);
    (void)vantor::ProfileGetInt(file, section, key, 7);

    std::string written;
    if (!vantor::ProfileSetString(file, section, key, value, written)) return 0;
    const std::string back =
        vantor::ProfileGetString(written, section, key, "", written.size() + 2);
    Check(back == ExpectedReadBack(value));

    static const std::pair<const char*, const char*> kProbes[] = {
        {"Main", "A"}, {"Main", "Width"}, {"Other", "A"}, {"", "A"}};
    for (const auto& [probeSection, probeKey] : kProbes) {
        if (SameName(probeSection, section) && SameName(probeKey, key)) continue;
        Check(vantor::ProfileGetString(written, probeSection, probeKey, "none") ==
              vantor::ProfileGetString(file, probeSection, probeKey, "none"));
    }
    return 0;
}
