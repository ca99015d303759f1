// Costs of the list lookups on the timer thread and of loading a large rule list.
#include <benchmark/benchmark.h>

#include <string>

#include "lists/list_files.h"
#include "lists/pattern.h"

namespace vantor {
namespace {

// About 1 KB of ordinary message text without digits, so numbered entries never match.
std::string MessageText() {
    const std::string sentence =
        "The document could not be saved because the disk is full or write protected. "
        "Free some space on the drive and try again, or choose another folder. ";
    std::string text;
    while (text.size() < 1024) text += sentence;
    text.resize(1024);
    return text;
}

// Realistic list entries, half plain substrings and half wildcard masks of several shapes.
ListEntries MixedList(std::size_t count) {
    const char* plain[] = {"could not open file ", "The disk is full ", "Access denied to ",
                           "save changes to document ", "unexpected error "};
    const char* masks[] = {"*could not ?ave the file %*", "Warning*disk % is full*",
                           "*the drive and try % again", "Error ?ode %*", "*folder*%*"};
    ListEntries list;
    list.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
        const std::string number = std::to_string(i);
        if (i % 2 == 0) {
            list.push_back(plain[(i / 2) % 5] + number);
        } else {
            std::string mask = masks[(i / 2) % 5];
            mask.replace(mask.find('%'), 1, number);
            list.push_back(mask);
        }
    }
    return list;
}

void BM_ListContainsTextMixed10k(benchmark::State& state) {
    const ListEntries list = MixedList(10000);
    const std::string text = MessageText();
    for (auto _ : state) {
        const bool found = ListContainsText(list, text);
        if (found) state.SkipWithError("an entry matched");
        benchmark::DoNotOptimize(found);
    }
}
BENCHMARK(BM_ListContainsTextMixed10k)->Unit(benchmark::kMicrosecond);

void BM_WildcardManyStars(benchmark::State& state) {
    std::string mask;
    for (int i = 0; i < state.range(0); ++i) mask += "*a";
    mask += "*b";
    const std::string text(1000, 'a');
    for (auto _ : state) {
        const bool found = WildcardMatch(text, mask);
        if (found) state.SkipWithError("matched");
        benchmark::DoNotOptimize(found);
    }
}
BENCHMARK(BM_WildcardManyStars)->Arg(8)->Arg(30)->Unit(benchmark::kMicrosecond);

// The same masks with a star after the "b", so the tail cannot turn the text down at once and
// every piece has to be searched for.
void BM_WildcardManyStarsOpenEnd(benchmark::State& state) {
    std::string mask;
    for (int i = 0; i < state.range(0); ++i) mask += "*a";
    mask += "*b*";
    const std::string text(1000, 'a');
    for (auto _ : state) {
        const bool found = WildcardMatch(text, mask);
        if (found) state.SkipWithError("matched");
        benchmark::DoNotOptimize(found);
    }
}
BENCHMARK(BM_WildcardManyStarsOpenEnd)->Arg(8)->Arg(30)->Unit(benchmark::kMicrosecond);

void BM_LoadRuleList100kLines(benchmark::State& state) {
    std::string bytes;
    for (int i = 0; i < 100000; ++i) {
        switch (i % 4) {
            case 0:
                bytes += "; comment line " + std::to_string(i);
                break;
            case 1:
                bytes += "*Save changes to document " + std::to_string(i) + "*";
                break;
            case 2:
                bytes += "Error\t?ode " + std::to_string(i) + "*";
                break;
            default:
                bytes += "plain entry " + std::to_string(i);
                break;
        }
        bytes += "\r\n";
    }
    const std::optional<std::string> file(std::move(bytes));
    for (auto _ : state) {
        ListEntries list = LoadRuleList(ListKind::Black, "C:\\Vantor\\Black.ini", file);
        benchmark::DoNotOptimize(list.data());
    }
}
BENCHMARK(BM_LoadRuleList100kLines)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace vantor
