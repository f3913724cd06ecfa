// Opening and closing the dialogs many times leaks neither heap blocks nor
// windows.
#include <windows.h>
#include <commctrl.h>
#include "DialogTestSupport.h"
#include "dialogs/Commands.h"
#include "dialogs/HotKeyDlg.h"
#include "launcher/Launcher.h"
#include "resources/resource.h"
#include "settings/Settings.h"

namespace {

constexpr int Rounds = 100;

class DialogReliabilityTest : public DialogTest {};

TEST_F(DialogReliabilityTest, EditDialogHundredTimes)
{
    HotKey entry = MakeEntry('A', HotKeyWin, "C:\\tool.exe", "-x", "C:\\");
    int windowsBefore = -1, ok = 0;
    LONG blocksBefore = g_liveBlocks;
    for (int round = 0; round < Rounds; ++round) {
        HotKeyDlg dialog;
        dialog.hotKey = entry;
        INT_PTR result = ui::RunWithScript([&] { return dialog.Show(nullptr); },
                                           [&] {
                                               HWND window = ui::WaitForDialog("Edit Hot Key");
                                               ASSERT_TRUE(window);
                                               PostMessageA(GetDlgItem(window, IDC_KEY), WM_KEYDOWN, VK_F1 + round % 12, 0);
                                               ui::SetItemText(window, IDC_PARAMETERS, round % 3 ? "changed" : "");
                                               ui::Click(window, round % 2 ? IDCANCEL : IDOK);
                                           });
        ASSERT_EQ(result, round % 2 ? IDCANCEL : IDOK) << round;
        if (result == IDOK) {
            ++ok;
            EXPECT_EQ(dialog.hotKey.key, static_cast<UINT>(VK_F1 + round % 12));
        }
        if (round == 0)
            windowsBefore = ui::CountWindows();
    }
    EXPECT_EQ(ok, Rounds / 2);
    EXPECT_EQ(g_liveBlocks, blocksBefore);
    EXPECT_EQ(ui::CountWindows(), windowsBefore);
    EXPECT_EQ(ui::CountDialogs(), 0);
}

TEST_F(DialogReliabilityTest, ConfigurationHundredTimesWithRowsAddedEditedAndDeleted)
{
    HWND launcher = CreateWindowExA(0, "STATIC", "launcher", 0, 0, 0, 0, 0, nullptr, nullptr,
                                    GetModuleHandleA(nullptr), nullptr);
    ASSERT_TRUE(launcher);
    testreg::CreateKey(testreg::AppKey);
    // A clean live table whose every block the test can account for.
    DestroyHotKeys();
    ConstructHotKeys();
    LONG blocksBefore = g_liveBlocks;
    g_hotKeys.Append(MakeEntry('1', HotKeyWin, "C:\\one.exe", "1"));
    g_hotKeys.Append(MakeEntry('2', HotKeyWin, "C:\\two.exe"));
    RegisterHotKeys(launcher, g_hotKeys);

    int windowsBefore = -1;
    for (int round = 0; round < Rounds; ++round) {
        ui::RunWithScript(
            [&] {
                ConfigurationCommand(launcher);
                return INT_PTR(0);
            },
            [&] {
                HWND window = ui::WaitForDialog("Hot Key Configuration");
                ASSERT_TRUE(window);
                HWND list = GetDlgItem(window, IDC_LIST);
                LVITEMA selected = {};
                selected.stateMask = selected.state = LVIS_SELECTED;
                SendMessageA(list, LVM_SETITEMSTATE, 0, reinterpret_cast<LPARAM>(&selected));
                int action = round % 4;
                if (action == 1) {
                    ui::Click(window, IDC_DELETE);
                } else {
                    ui::Click(window, action == 2 ? IDC_EDIT : IDC_ADD);
                    HWND edit = ui::WaitForDialog("Edit Hot Key");
                    ASSERT_TRUE(edit);
                    char command[32];
                    wsprintfA(command, "C:\\round%d.exe", round);
                    ui::SetItemText(edit, IDC_COMMAND_LINE, command);
                    ui::Click(edit, action == 3 ? IDCANCEL : IDOK);
                    ASSERT_TRUE(ui::WaitGone(edit));
                }
                ui::Click(window, round % 2 ? IDCANCEL : IDOK);
            });
        ASSERT_EQ(ui::CountDialogs(), 0) << round;
        if (round == 0)
            windowsBefore = ui::CountWindows();
    }
    // OK after each add, Cancel after each delete: a row more every 4 rounds.
    EXPECT_EQ(g_hotKeys.count, 2 + Rounds / 4);
    EXPECT_EQ(ui::CountWindows(), windowsBefore);

    UnregisterHotKeys(launcher, g_hotKeys);
    DestroyHotKeys();
    ConstructHotKeys();
    EXPECT_EQ(g_liveBlocks, blocksBefore);
    DestroyWindow(launcher);
}

}  // namespace
