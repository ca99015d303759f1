// The portable profile reader and writer against the system's own profile functions, on
// awkward files: for every file, many (section, key) queries must read byte for byte what
// GetPrivateProfileStringA / GetPrivateProfileIntA read, and values written by the portable
// writer must read back as values written by WritePrivateProfileStringA do.
// e2e-timeout: 300
#include <gtest/gtest.h>

#include <cstdio>
#include <sstream>

#include "base/profile.h"
#include "e2e_support.h"

namespace vantor::e2e {
namespace {

struct ProfileCase {
    std::string name;
    std::optional<std::string> bytes;  // nullopt: the file does not exist
};

std::string Repeat(char c, size_t n) {
    return std::string(n, c);
}

// cp1251: "Раздел" / "РАЗДЕЛ" / "раздел", "Ключ" / "КЛЮЧ", "значение".
const std::string kCyrSection = "\xD0\xE0\xE7\xE4\xE5\xEB";
const std::string kCyrSectionUpper = "\xD0\xC0\xC7\xC4\xC5\xCB";
const std::string kCyrSectionLower = "\xF0\xE0\xE7\xE4\xE5\xEB";
const std::string kCyrKey = "\xCA\xEB\xFE\xF7";
const std::string kCyrKeyUpper = "\xCA\xCB\xDE\xD7";
const std::string kCyrValue = "\xE7\xED\xE0\xF7\xE5\xED\xE8\xE5";

std::vector<ProfileCase> AwkwardFiles() {
    const std::string nul(1, '\0');
    return {
        {"default settings", "[Main]\r\nLanguage=Rus\r\n;TimeReloadLists=5"},
        {"missing file", std::nullopt},
        {"empty file", ""},
        {"blanks around equals",
         "[Main]\r\n  a  =  value with blanks  \r\n\tb\t=\tx\t\r\nc =\r\n d= \t \r\n"},
        {"quoted values",
         "[Main]\r\nQuoted=\"in quotes\"\r\nSingle='single'\r\nHalf=\"open\r\nMixed=\"a'\r\n"
         "One=\"\r\nTwo=\"\"\r\nInner=a\"b\"c\r\nSpaced=\" x \" \r\nBlankIn= \"q\"\r\n"},
        {"duplicate keys", "[Main]\r\nDup=first\r\nDup=second\r\nDUP=third\r\nk=1\r\n"},
        {"duplicate sections",
         "[Main]\r\na=1\r\n[Other]\r\na=2\r\n[Main]\r\na=3\r\nb=4\r\n[main]\r\nc=5\r\n"},
        {"keys before any section", "a=top\r\nb=2\r\n[Main]\r\nc=3\r\n[]\r\nd=4"},
        {"comment lines",
         "[Main]\r\n;a=hidden\r\n; a=also\r\na=shown\r\n;c\r\n  ;b=x\r\n#k=hash\r\n"},
        {"CR-only lines", "[Main]\ra=1\rb=two\r[Other]\ra=3\r"},
        {"LF-only lines", "[Main]\na=1\nb=two\n[Other]\na=3\n"},
        {"mixed and blank lines", "\r\n\r\n[Main]\r\n\n\r\ra=1\n\r\nb=2\r\r\n\r\n"},
        {"long values", "[Main]\r\nLong=" + Repeat('x', 5000) + "\r\nEdge=" + Repeat('y', 4095) +
                            "\r\nEdge1=" + Repeat('z', 4096) + "\r\nAfter=1\r\n"},
        {"long key and section",
         "[" + Repeat('S', 300) + "]\r\n" + Repeat('K', 300) + "=v\r\n[Main]\r\na=1\r\n"},
        {"case of names", "[mAiN]\r\nLANGUAGE=Eng\r\nlanguage=second\r\n[" + kCyrSection + "]\r\n" +
                              kCyrKey + "=" + kCyrValue + "\r\n"},
        {"no final line end", "[Main]\r\na=last"},
        {"no final line end after section", "[Main]\r\na=1\r\n[Other]"},
        {"cp1251 bytes",
         "[Main]\r\nv=\xC0\xE1\xE2 \xA0\xA8\xB8\x98\xFF\r\n\xC0=high key\r\nnbsp=\xA0x\xA0\r\n"},
        {"section header variants",
         "[ Main ]\r\na=1\r\n[Main] trailing\r\nb=2\r\n  [Other]\r\nc=3\r\n[Half\r\nd=4\r\n"
         "[Ma]in]\r\ne=5\r\n[x]]\r\nf=6\r\n"},
        {"key without equals", "[Main]\r\na\r\na=1\r\nb=2\r\nc\r\n"},
        {"empty values", "[Main]\r\na=\r\nb= \r\nc=\t\r\nd==\r\ne= = x\r\n"},
        {"numbers",
         "[Main]\r\nn1=12abc\r\nn2= 42\r\nn3=-1\r\nn4=0x1F\r\nn5=true\r\nn6=99999999999\r\n"
         "n7=+5\r\nn8=\r\nn9=- 3\r\nn10=0o17\r\nn11=0b101\r\nn12=4294967295\r\nn13=-0\r\n"
         "n14=007\r\nn15=0X1f\r\nn16=\t8\r\n"},
        {"NUL inside", "[Main]\r\na=before" + nul + "after\r\nb=2\r\n" + nul + "c=3\r\n"},
        {"control bytes",
         "[Main]\r\na=\x1A"
         "x\x1A\r\nb=\x0Bv\x0C\r\n\x1A"
         "c=3\r\n"},
        {"equals in key", "[Main]\r\na=b=c\r\n=novalue\r\n==x\r\n"},
        {"bracket lines inside values", "[Main]\r\na=[Other]\r\n[Other]\r\nb=[x]\r\n"},
    };
}

const std::vector<std::string> kSections = {
    "Main",  "main",           "MAIN",      "Other",          "OTHER",          "Missing",
    "",      " Main",          "Main ",     "Ma]in",          "Half",           "x]",
    "x",     "Main] trailing", kCyrSection, kCyrSectionUpper, kCyrSectionLower, Repeat('S', 300),
    "[Main]"};

const std::vector<std::string> kKeys = {"a",
                                        "A",
                                        "b",
                                        "c",
                                        "d",
                                        "e",
                                        "f",
                                        "k",
                                        "v",
                                        "Language",
                                        "language",
                                        "LANGUAGE",
                                        "Dup",
                                        "Quoted",
                                        "Single",
                                        "Half",
                                        "Mixed",
                                        "One",
                                        "Two",
                                        "Inner",
                                        "Spaced",
                                        "BlankIn",
                                        "Long",
                                        "Edge",
                                        "Edge1",
                                        "After",
                                        ";a",
                                        "; a",
                                        ";c",
                                        ";b",
                                        "#k",
                                        ";TimeReloadLists",
                                        "Missing",
                                        " a",
                                        "a ",
                                        "\xC0",
                                        "\xE0",
                                        "nbsp",
                                        kCyrKey,
                                        kCyrKeyUpper,
                                        Repeat('K', 300),
                                        "n1",
                                        "n2",
                                        "n3",
                                        "n4",
                                        "n5",
                                        "n6",
                                        "n7",
                                        "n8",
                                        "n9",
                                        "n10",
                                        "n11",
                                        "n12",
                                        "n13",
                                        "n14",
                                        "n15",
                                        "n16",
                                        "",
                                        "=",
                                        "a=b"};

struct Mismatch {
    std::string file, section, key, what, portable, system;
};

std::string Describe(const std::vector<Mismatch>& mismatches, size_t limit = 60) {
    std::ostringstream out;
    out << mismatches.size() << " disagreements:\n";
    for (size_t i = 0; i < mismatches.size() && i < limit; ++i) {
        const auto& m = mismatches[i];
        out << "  [" << m.file << "] section \"" << Escaped(m.section) << "\" key \""
            << Escaped(m.key) << "\" " << m.what << ": portable \"" << Escaped(m.portable)
            << "\" system \"" << Escaped(m.system) << "\"\n";
    }
    return out.str();
}

std::string SystemString(const std::string& path, const std::string& section,
                         const std::string& key, const std::string& def, size_t size) {
    std::string buffer(size + 1, '\x7F');
    const DWORD length = GetPrivateProfileStringA(section.c_str(), key.c_str(), def.c_str(),
                                                  buffer.data(), DWORD(size), path.c_str());
    return buffer.substr(0, length);
}

// The file as it is on disk ("" when missing), as the portable reader is given it.
std::string FileBytes(const std::string& path) {
    return ReadFileBytes(path).value_or("");
}

// Writes each case to its own file (the system caches profile files by name).
std::string PlaceFile(const std::string& folder, size_t index, const ProfileCase& c) {
    const std::string path = JoinPath(folder, "case" + std::to_string(index) + ".ini");
    if (c.bytes) {
        EXPECT_TRUE(WriteFileBytes(path, *c.bytes)) << c.name;
    }
    return path;
}

TEST(Profile, ReadsAgreeWithTheSystem) {
    const std::string folder = FreshFolder();
    const auto files = AwkwardFiles();
    std::vector<Mismatch> mismatches;
    size_t queries = 0;
    for (size_t i = 0; i < files.size(); ++i) {
        const auto& file = files[i];
        const std::string path = PlaceFile(folder, i, file);
        const std::string bytes = file.bytes.value_or("");
        for (const auto& section : kSections) {
            for (const auto& key : kKeys) {
                ++queries;
                for (size_t size : {size_t(4096), size_t(6), size_t(2), size_t(1)}) {
                    const std::string system = SystemString(path, section, key, "dflt", size);
                    const std::string portable =
                        ProfileGetString(bytes, section, key, "dflt", size);
                    if (portable != system) {
                        mismatches.push_back({file.name, section, key,
                                              "string/" + std::to_string(size), portable, system});
                    }
                }
                const int system =
                    int(GetPrivateProfileIntA(section.c_str(), key.c_str(), -7, path.c_str()));
                const int portable = ProfileGetInt(bytes, section, key, -7);
                if (portable != system) {
                    mismatches.push_back({file.name, section, key, "int", std::to_string(portable),
                                          std::to_string(system)});
                }
            }
        }
    }
    EXPECT_GT(queries, 10000u);
    EXPECT_TRUE(mismatches.empty()) << Describe(mismatches);
}

TEST(Profile, DefaultsOfMissingKeysAgreeWithTheSystem) {
    const std::string folder = FreshFolder();
    const std::string path = JoinPath(folder, "defaults.ini");
    ASSERT_TRUE(WriteFileBytes(path, "[Main]\r\na=1\r\n"));
    std::vector<Mismatch> mismatches;
    for (const std::string& def : std::vector<std::string>{
             "", "plain", "trailing  ", "  leading", "\"quoted\"", "'single'", "\"half", " \"q\" ",
             "\t tab\t", "\xC0\xE1\xE2", Repeat('d', 5000)}) {
        for (size_t size : {size_t(4096), size_t(4), size_t(1)}) {
            const std::string system = SystemString(path, "Main", "missing", def, size);
            const std::string portable =
                ProfileGetString(FileBytes(path), "Main", "missing", def, size);
            if (portable != system) {
                mismatches.push_back({"defaults", "Main", "missing",
                                      "default \"" + Escaped(def) + "\"/" + std::to_string(size),
                                      portable, system});
            }
        }
    }
    EXPECT_TRUE(mismatches.empty()) << Describe(mismatches);
}

// Names as the system compares them for this purpose (ASCII letters without case).
bool SameText(const std::string& a, const std::string& b) {
    return lstrcmpiA(a.c_str(), b.c_str()) == 0;
}

struct WriteCase {
    std::string section, key, value;
};

TEST(Profile, WrittenValuesReadBackAsTheSystemWritesThem) {
    const std::string folder = FreshFolder();
    const auto files = AwkwardFiles();
    const std::vector<WriteCase> writes = {
        {"Main", "a", "new"},
        {"Main", "Language", "Eng"},
        {"main", "LANGUAGE", "upper"},
        {"Main", "fresh", "added"},
        {"Other", "a", "x y z"},
        {"Brand new", "k", "v"},
        {"Main", "Dup", "changed"},
        {"Main", "a", ""},
        {"Main", "a", "  blanks  "},
        {"Main", "a", "\"quoted\""},
        {"Main", "Long", Repeat('w', 5000)},
        {"Main", "a", "\xC0\xE1\xE2 \xFF"},
        {kCyrSection, kCyrKey, kCyrValue},
        {"Main", "Width", "230"},
    };
    const std::vector<std::string> probeSections = {
        "Main", "main", "Other", "Missing", "", "Brand new", kCyrSection, kCyrSectionUpper};
    const std::vector<std::string> probeKeys = {
        "a", "b", "c", "d", "k", "Language", "Dup", "Long", "fresh", "Width", kCyrKey, ";a"};
    std::vector<Mismatch> mismatches;
    std::vector<Mismatch> rewriteArtifacts;
    size_t compared = 0;
    for (size_t i = 0; i < files.size(); ++i) {
        const auto& file = files[i];
        const std::string original = PlaceFile(folder, i, file);
        for (size_t w = 0; w < writes.size(); ++w) {
            const auto& write = writes[w];
            const std::string base = "w" + std::to_string(i) + "_" + std::to_string(w);
            const std::string ours = JoinPath(folder, base + "_portable.ini");
            const std::string theirs = JoinPath(folder, base + "_system.ini");
            if (file.bytes) {
                ASSERT_TRUE(WriteFileBytes(ours, *file.bytes));
                ASSERT_TRUE(WriteFileBytes(theirs, *file.bytes));
            }
            std::string written;
            ASSERT_TRUE(ProfileSetString(file.bytes.value_or(""), write.section, write.key,
                                         write.value, written))
                << file.name << " / " << write.key;
            ASSERT_TRUE(WriteFileBytes(ours, written));
            ASSERT_TRUE(WritePrivateProfileStringA(write.section.c_str(), write.key.c_str(),
                                                   write.value.c_str(), theirs.c_str()));
            // What is readable in the two files must read the same, the written key first.
            std::vector<std::pair<std::string, std::string>> probes = {{write.section, write.key}};
            for (const auto& section : probeSections) {
                for (const auto& key : probeKeys) probes.emplace_back(section, key);
            }
            for (const auto& [section, key] : probes) {
                ++compared;
                const std::string a = SystemString(ours, section, key, "dflt", 4096);
                const std::string b = SystemString(theirs, section, key, "dflt", 4096);
                if (a == b) continue;
                Mismatch m{file.name + " after " + Escaped(write.section) + "/" +
                               Escaped(write.key) + "=" + Escaped(write.value.substr(0, 20)),
                           section,
                           key,
                           "read back",
                           a,
                           b};
                // Wine's writer rewrites the whole file and can change keys it was not asked
                // to touch (a "[]" header is dropped, for one). When ours still reads as the
                // untouched original did, the difference is the rewrite's, not ours.
                const bool untouched =
                    !SameText(section, write.section) || !SameText(key, write.key);
                const std::string before = SystemString(original, section, key, "dflt", 4096);
                if (untouched && a == before && b != before) {
                    rewriteArtifacts.push_back(m);
                } else {
                    mismatches.push_back(m);
                }
            }
        }
    }
    EXPECT_GT(compared, 30000u);
    EXPECT_TRUE(mismatches.empty()) << Describe(mismatches);
    if (!rewriteArtifacts.empty()) {
        std::printf("Keys changed by the system writer's whole-file rewrite (ours kept them): %s",
                    Describe(rewriteArtifacts, 5).c_str());
    }
}

// The file-bound class: writes go to the disk at once and the system reads them.
TEST(Profile, ProfileFileWritesReachTheDiskAtOnce) {
    const std::string path = JoinPath(FreshFolder(), "Vantor.ini");
    ProfileFile file(path);
    EXPECT_EQ(file.ReadString("Main", "Language", "none"), "none");
    ASSERT_TRUE(file.WriteString("Main", "Language", "Rus"));
    ASSERT_TRUE(file.WriteString("Main", "Width", "300"));
    EXPECT_EQ(SystemString(path, "Main", "Language", "", 4096), "Rus");
    EXPECT_EQ(GetPrivateProfileIntA("Main", "Width", 0, path.c_str()), 300u);
    ASSERT_TRUE(WritePrivateProfileStringA("Main", "Height", "120", path.c_str()));
    EXPECT_EQ(file.ReadInt("Main", "Height", 0), 120);
    EXPECT_EQ(file.ReadString("Main", "Language", ""), "Rus");
}

}  // namespace
}  // namespace vantor::e2e
