#pragma once
// The fixture and helpers of the in-process dialog tests.
#include "DialogDriver.h"
#include <commctrl.h>
#include "TestRegistry.h"
#include "tests/TestHeap.h"
#include "dialogs/Commands.h"
#include "launcher/Launcher.h"
#include "tests/TestEntry.h"

inline std::string TextOf(const SharedString& text) { return text.TextOrEmpty(); }

// Every dialog test starts without settings and must leave no dialog open.
class DialogTest : public testing::Test {
protected:
    void SetUp() override
    {
        testreg::DeleteSettings();
        g_allocationsBeforeFailure = -1;
    }
    void TearDown() override
    {
        g_allocationsBeforeFailure = -1;
        EXPECT_EQ(ui::CountDialogs(), 0);
    }

    static std::string DialogKey(const char* name) { return std::string(testreg::AppKey) + "\\" + name; }
};

// Opens the edit dialog with `button` of the configuration dialog, runs
// `edit` with its window and waits until it has closed.
inline void InEditDialog(HWND config, int button, const std::function<void(HWND)>& edit)
{
    ui::Click(config, button);
    HWND window = ui::WaitForDialog("Edit Hot Key");
    ASSERT_TRUE(window);
    EXPECT_EQ(GetWindow(window, GW_OWNER), config);
    edit(window);
    ASSERT_TRUE(ui::WaitGone(window));
}

// The Configuration command against a stand-in launcher window, which owns
// the dialog and holds the live table's hot keys.
class StandInLauncherTest : public DialogTest {
protected:
    void SetUp() override
    {
        DialogTest::SetUp();
        launcher = CreateWindowExA(0, "STATIC", "launcher", 0, 0, 0, 0, 0, nullptr, nullptr,
                                   GetModuleHandleA(nullptr), nullptr);
        ASSERT_TRUE(launcher);
        g_hotKeys = HotKeyList();
    }
    void TearDown() override
    {
        UnregisterHotKeys(launcher, g_hotKeys);
        g_hotKeys = HotKeyList();
        DestroyWindow(launcher);
        DialogTest::TearDown();
    }

    // The command runs on this thread while `script` runs beside it.
    void RunCommandWith(const std::function<void()>& script)
    {
        ui::RunWithScript(
            [&] {
                ConfigurationCommand(launcher);
                return INT_PTR(0);
            },
            script);
    }

    // `script` works the configuration dialog that the command opens.
    void RunCommand(const std::function<void(HWND)>& script)
    {
        RunCommandWith([&] {
            HWND window = ui::WaitForDialog("Hot Key Configuration");
            ASSERT_TRUE(window);
            EXPECT_EQ(GetWindow(window, GW_OWNER), launcher);
            EXPECT_EQ(g_dialogOpen, 1);
            script(window);
        });
    }

    HWND launcher = nullptr;
};
