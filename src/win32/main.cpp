// Entry point of the monitor. Start-up proper joins here as it is built; until then the program
// only proves that the Win32 layer links and runs.
#include <windows.h>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    return 0;
}
