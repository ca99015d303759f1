// vantor.exe: the program lives in the application (start-up, message loop, shutdown).
#include <windows.h>

#include "shell/app_win32.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    return vantor::RunApplication(instance);
}
