// A stand-in for the winhlp32.exe of Windows 10 and 11, which cannot show help files: only its
// version record (viewer_stub.rc) matters. Were it started, as it should not be, it would show
// nothing, and the help page would never reach the browser.
#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    return 0;
}
