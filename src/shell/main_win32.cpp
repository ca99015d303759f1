// vantor.exe entry point; the start-up work lives in the shell's portable code.
#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) { return 0; }
