#include <windows.h>

#include "base/file_times.h"

namespace vantor {
namespace {

class Win32FileTimes : public FileTimes {
  public:
    FileTime LastWriteTime(const std::string& path) override {
        // The directory entry's time: readable while another program holds the file open.
        WIN32_FIND_DATAA found;
        HANDLE find = FindFirstFileA(path.c_str(), &found);
        if (find == INVALID_HANDLE_VALUE) return 0;
        FindClose(find);
        FILETIME local;
        if (!FileTimeToLocalFileTime(&found.ftLastWriteTime, &local)) return 0;
        return (static_cast<FileTime>(local.dwHighDateTime) << 32) | local.dwLowDateTime;
    }
};

}  // namespace

FileTimes& SystemFileTimes() {
    static Win32FileTimes times;
    return times;
}

}  // namespace vantor
