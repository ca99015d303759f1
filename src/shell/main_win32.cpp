// vantor.exe: prepares the program folder (settings file and list files) and loads the lists.
#include <windows.h>

#include "shell/program_folder.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    vantor::ProgramLists lists;
    vantor::PrepareProgramFolder(vantor::ProgramFolderOf(vantor::RunningExecutablePath()), lists);
    return 0;
}
