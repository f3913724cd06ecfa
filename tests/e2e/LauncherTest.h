// The fixture of the tests that work the real zindral.exe: a clean registry
// and no copy running before each case; afterwards its dialogs are cancelled
// and every copy ended.
#pragma once
#include <gtest/gtest.h>
#include "tests/e2e/Driver.h"

namespace e2e {

// The bits of an entry's "Modifier".
const UINT Alt = 1, Ctrl = 2, Shift = 4, Win = 8;

class LauncherTest : public ::testing::Test {
protected:
    void SetUp() override { ResetZindral(); }
    void TearDown() override
    {
        for (HWND window : ProcessWindows(zindral.Id()))
            PostMessageA(window, WM_COMMAND, IDCANCEL, 0);
        ResetZindral();
    }

    // Entry 0 writes the sentinel file. Posted messages are handled in
    // order: once its command has run, everything posted before it has been
    // handled too.
    void SeedSentinel()
    {
        sentinel = FreshTempFile("zindral-sentinel.txt");
        testreg::SeedEntry(0, "F7", Ctrl | Shift, Cmd, WriteMarker(sentinel).c_str());
    }

    void PostSentinelAndWait()
    {
        DeleteFileA(sentinel.c_str());
        PostMessageA(launcher, WM_HOTKEY, FirstHotKeyId, 0);
        ASSERT_TRUE(AppearsSoon(sentinel)) << "entry 0 did not run";
    }

    bool Start(const std::string& exe = ZindralExe)
    {
        return StartZindral(zindral, 15000, exe) && (launcher = FindLauncher()) != nullptr;
    }

    HWND WaitForDialog(const char* caption) { return e2e::WaitForDialog(zindral.Id(), caption); }

    Process zindral;
    HWND launcher = nullptr;
    std::string sentinel;
};

}  // namespace e2e
