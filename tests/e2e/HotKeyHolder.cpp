// Holds one hot key for the end-to-end tests, as the Windows taskbar holds
// Win+digit, until the process is ended:
//   hotkey_holder MODIFIERS KEY   (decimal, as RegisterHotKey takes them)
#include <windows.h>
#include <cstdlib>

int main(int argc, char** argv)
{
    if (argc != 3 || !RegisterHotKey(nullptr, 1, std::atoi(argv[1]), std::atoi(argv[2])))
        return 1;
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0)
        DispatchMessageA(&msg);
    return 0;
}
