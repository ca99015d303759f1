// Another program the shell can start in place of a browser: the tests register it for a file
// type or a scheme in the run's prefix. It appends its arguments, as one line, to the file
// named by the environment variable VANTOR_E2E_RECORD (inherited from the test through the
// program that opened it) and ends with 0.
#include <windows.h>

#include <cstdio>
#include <string>

int main(int argc, char** argv) {
    char path[MAX_PATH] = {};
    if (!GetEnvironmentVariableA("VANTOR_E2E_RECORD", path, MAX_PATH)) return 2;
    std::string line;
    for (int i = 1; i < argc; ++i) line.append(i > 1 ? " " : "").append(argv[i]);
    FILE* out = std::fopen(path, "ab");
    if (!out) return 3;
    std::fprintf(out, "%s\n", line.c_str());
    std::fclose(out);
    return 0;
}
