// Opening the configuration dialog on the 999-entry table, from the tray's
// double-click message to the dialog shown with its list filled: Zindral
// against the baseline (DialogBaseline.cpp), which fills a list view of the
// same template with the same rows. Opens alternate; each round gives the
// ratio of its two medians, and the verdict is the median of those ratios.
//
//   dialog_bench [ROUNDS [REPEAT]]   (Zindral and the baseline resident)
//   dialog_bench end                 ends both (Exit, and WM_CLOSE)
#include <windows.h>
#include <commctrl.h>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>
#include "launcher/Launcher.h"
#include "resources/resource.h"

namespace {

const char Caption[] = "Hot Key Configuration";
const LRESULT Rows = 999;

HWND FilledDialog()
{
    HWND dialog = FindWindowA("#32770", Caption);
    if (!dialog || !IsWindowVisible(dialog))
        return nullptr;
    return SendMessageA(GetDlgItem(dialog, IDC_LIST), LVM_GETITEMCOUNT, 0, 0) == Rows ? dialog : nullptr;
}

// Milliseconds from the message to the filled dialog; negative when none
// came. The dialog is cancelled afterwards.
double Open(HWND resident, double ticksPerMs)
{
    LARGE_INTEGER begin, end;
    QueryPerformanceCounter(&begin);
    PostMessageA(resident, TrayMessage, TrayMessage, WM_LBUTTONDBLCLK);
    HWND dialog = nullptr;
    for (DWORD start = GetTickCount(); !(dialog = FilledDialog()); Sleep(1)) {
        if (GetTickCount() - start > 20000)
            return -1;
    }
    QueryPerformanceCounter(&end);
    PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    for (int i = 0; i < 400 && IsWindow(dialog); ++i)
        Sleep(5);
    Sleep(50);
    return (end.QuadPart - begin.QuadPart) / ticksPerMs;
}

bool EndResidents()
{
    HWND window;
    while ((window = FindWindowA(LauncherClassName, nullptr)) || (window = FindWindowA("ZindralDialogBaseline", nullptr))) {
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
    int repeat = argc > 2 ? std::atoi(argv[2]) : 5;
    HWND zindral = FindWindowA(LauncherClassName, nullptr);
    HWND baseline = FindWindowA("ZindralDialogBaseline", nullptr);
    if (!zindral || !baseline) {
        std::printf("  dialog_bench: Zindral and the baseline must both be resident\n");
        return 1;
    }
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    double ticksPerMs = frequency.QuadPart / 1000.0;

    for (HWND resident : {zindral, baseline, zindral, baseline}) {
        if (Open(resident, ticksPerMs) < 0) {
            std::printf("  dialog_bench: no dialog with %d rows opened\n", int(Rows));
            return 1;
        }
    }
    std::printf("Configuration dialog on %d entries (x86_64 twin under wine64; tray message to the filled "
                "list; %d rounds of %d opens each, alternating):\n", int(Rows), rounds, repeat);
    std::printf("  medians per round: Zindral, baseline (the same rows in a list view of the same template)\n");
    std::vector<double> ratios;
    for (int round = 0; round < rounds; ++round) {
        std::vector<double> z, b;
        for (int i = 0; i < repeat; ++i) {
            z.push_back(Open(zindral, ticksPerMs));
            b.push_back(Open(baseline, ticksPerMs));
        }
        double zm = Median(z), bm = Median(b);
        ratios.push_back(zm / bm);
        std::printf("    %7.1f ms %7.1f ms   ratio %.2fx\n", zm, bm, zm / bm);
    }
    std::vector<double> sorted = ratios;
    std::sort(sorted.begin(), sorted.end());
    double median = Median(ratios);
    std::printf("  ratio: median %.2fx, spread %.2fx to %.2fx; goal <= 1.5x: %s\n", median, sorted.front(),
                sorted.back(), median <= 1.5 ? "met" : "MISSED");
    return 0;
}
