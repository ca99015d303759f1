// Posts a message to the first top-level window of a class, as the tray or a menu would:
//   post_message CLASS MESSAGE [WPARAM]     (numbers decimal or 0x-hex)
// Exits 1 when there is no such window.
#include <windows.h>

#include <cstdlib>

int main(int argc, char** argv) {
    if (argc < 3) return 2;
    HWND window = FindWindowA(argv[1], nullptr);
    if (!window) return 1;
    const UINT message = static_cast<UINT>(std::strtoul(argv[2], nullptr, 0));
    const WPARAM wParam = argc > 3 ? std::strtoul(argv[3], nullptr, 0) : 0;
    return PostMessageA(window, message, wParam, 0) ? 0 : 3;
}
