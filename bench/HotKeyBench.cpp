// One hot-key launch, from the key press to the started process: Zindral's
// Ctrl+Shift+F7 against the baseline's Ctrl+Shift+F8 (HotKeyBaseline.cpp),
// both bound to LaunchProbe.exe, which sets a named event once it runs.
// Presses alternate; each round gives the ratio of its two medians, and the
// verdict is the median of those ratios.
//
//   hotkey_bench [ROUNDS [REPEAT]]   (Zindral and the baseline resident)
//   hotkey_bench end                 ends both (Exit, and WM_CLOSE)
#include <windows.h>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>
#include "launcher/Launcher.h"
#include "resources/resource.h"

namespace {

void Pump(DWORD milliseconds)
{
    DWORD end = GetTickCount() + milliseconds;
    for (;;) {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageA(&msg);
        DWORD now = GetTickCount();
        if (static_cast<LONG>(end - now) <= 0)
            return;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, end - now, QS_ALLINPUT);
    }
}

INPUT Key(WORD key, bool up)
{
    INPUT input = {};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = key;
    input.ki.wScan = static_cast<WORD>(MapVirtualKeyA(key, MAPVK_VK_TO_VSC));
    input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    return input;
}

// Milliseconds from the key press until the started program ran; negative
// when it never did.
double Launch(WORD key, HANDLE started, double ticksPerMs)
{
    ResetEvent(started);
    INPUT chord[] = {Key(VK_CONTROL, false), Key(VK_SHIFT, false), Key(key, false),
                     Key(key, true), Key(VK_SHIFT, true), Key(VK_CONTROL, true)};
    LARGE_INTEGER begin, end;
    QueryPerformanceCounter(&begin);
    SendInput(6, chord, sizeof(INPUT));
    for (;;) {
        DWORD wait = MsgWaitForMultipleObjects(1, &started, FALSE, 10000, QS_ALLINPUT);
        if (wait == WAIT_OBJECT_0)
            break;
        if (wait != WAIT_OBJECT_0 + 1)
            return -1;
        Pump(0);
    }
    QueryPerformanceCounter(&end);
    // Let the probe end before the next press.
    Pump(50);
    return (end.QuadPart - begin.QuadPart) / ticksPerMs;
}

bool EndResidents()
{
    HWND window;
    while ((window = FindWindowA(LauncherClassName, nullptr)) || (window = FindWindowA("ZindralHotKeyBaseline", nullptr))) {
        PostMessageA(window, WM_COMMAND, IDM_EXIT, 0);
        PostMessageA(window, WM_CLOSE, 0, 0);
        for (int i = 0; i < 100 && IsWindow(window); ++i)
            Sleep(50);
        if (IsWindow(window))
            return false;
    }
    return true;
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[(values.size() - 1) / 2];
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc > 1 && std::string(argv[1]) == "end")
        return EndResidents() ? 0 : 1;
    int rounds = argc > 1 ? std::atoi(argv[1]) : 7;
    int repeat = argc > 2 ? std::atoi(argv[2]) : 15;
    if (!FindWindowA(LauncherClassName, nullptr) || !FindWindowA("ZindralHotKeyBaseline", nullptr)) {
        std::printf("  hotkey_bench: Zindral and the baseline must both be resident\n");
        return 1;
    }
    HANDLE started = CreateEventA(nullptr, FALSE, FALSE, "ZindralBenchLaunched");
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    double ticksPerMs = frequency.QuadPart / 1000.0;
    // Keys go to the foreground window's queue first: a window of ours.
    HWND focus = CreateWindowExA(0, "STATIC", "hotkey_bench", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                                 50, 50, 200, 100, nullptr, nullptr, nullptr, nullptr);
    for (int i = 0; i < 50 && GetForegroundWindow() != focus; ++i) {
        SetForegroundWindow(focus);
        Pump(100);
    }

    for (int i = 0; i < 3; ++i) {
        for (WORD key : {VK_F7, VK_F8}) {
            if (Launch(key, started, ticksPerMs) < 0) {
                std::printf("  hotkey_bench: Ctrl+Shift+F%d started nothing\n", key - VK_F1 + 1);
                return 1;
            }
        }
    }
    std::printf("Hot-key launch (x86_64 twin under wine64; key press to started process; "
                "%d rounds of %d presses each, alternating):\n", rounds, repeat);
    std::printf("  medians per round: Zindral, baseline (ShellExecuteExA on WM_HOTKEY)\n");
    std::vector<double> ratios;
    for (int round = 0; round < rounds; ++round) {
        std::vector<double> zindral, baseline;
        for (int i = 0; i < repeat; ++i) {
            zindral.push_back(Launch(VK_F7, started, ticksPerMs));
            baseline.push_back(Launch(VK_F8, started, ticksPerMs));
        }
        double z = Median(zindral), b = Median(baseline);
        ratios.push_back(z / b);
        std::printf("    %7.2f ms %7.2f ms   ratio %.3fx\n", z, b, z / b);
    }
    std::vector<double> sorted = ratios;
    std::sort(sorted.begin(), sorted.end());
    double median = Median(ratios);
    std::printf("  ratio: median %.3fx, spread %.3fx to %.3fx; goal <= 1.05x: %s\n", median,
                sorted.front(), sorted.back(), median <= 1.05 ? "met" : "MISSED");
    DestroyWindow(focus);
    CloseHandle(started);
    return 0;
}
