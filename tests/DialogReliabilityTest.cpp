// Opening and closing the dialogs many times leaks neither heap blocks nor
// windows.
#include "DialogTestSupport.h"
#include "dialogs/HotKeyDlg.h"
#include "resources/resource.h"

namespace {

constexpr int Rounds = 100;

class DialogReliabilityTest : public StandInLauncherTest {};

TEST_F(DialogReliabilityTest, EditDialogHundredTimes)
{
    HotKey entry = MakeEntry('A', HotKeyWin, "C:\\tool.exe", "-x", "C:\\");
    int windowsBefore = -1, ok = 0;
    LONG blocksBefore = g_liveBlocks;
    for (int round = 0; round < Rounds; ++round) {
        HotKeyDlg dialog;
        dialog.hotKey = entry;
        INT_PTR result = ui::Drive(dialog, "Edit Hot Key", [&](HWND window) {
            PostMessageA(GetDlgItem(window, IDC_KEY), WM_KEYDOWN, VK_F1 + round % 12, 0);
            ui::SetItemText(window, IDC_PARAMETERS, round % 3 ? "changed" : "");
            ui::Click(window, round % 2 ? IDCANCEL : IDOK);
        });
        ASSERT_EQ(result, round % 2 ? IDCANCEL : IDOK) << round;
        if (result == IDOK) {
            ++ok;
            EXPECT_EQ(dialog.hotKey.key, static_cast<UINT>(VK_F1 + round % 12));
            EXPECT_EQ(TextOf(dialog.hotKey.parameters), round % 3 ? "changed" : "");
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
        RunCommand([&](HWND window) {
            ListView_SetItemState(GetDlgItem(window, IDC_LIST), 0, LVIS_SELECTED, LVIS_SELECTED);
            int action = round % 4;
            if (action == 1) {
                ui::Click(window, IDC_DELETE);
            } else {
                InEditDialog(window, action == 2 ? IDC_EDIT : IDC_ADD, [&](HWND edit) {
                    char command[32];
                    wsprintfA(command, "C:\\round%d.exe", round);
                    ui::SetItemText(edit, IDC_COMMAND_LINE, command);
                    ui::Click(edit, action == 3 ? IDCANCEL : IDOK);
                });
            }
            ui::Click(window, round % 2 ? IDCANCEL : IDOK);
        });
        ASSERT_EQ(ui::CountDialogs(), 0) << round;
        if (round == 0)
            windowsBefore = ui::CountWindows();
    }
    // OK after each add and edit, Cancel after each delete: a row more every
    // 4 rounds, and the first row as the last edit left it.
    ASSERT_EQ(g_hotKeys.count, 2 + Rounds / 4);
    EXPECT_EQ(TextOf(g_hotKeys.items[0].commandLine), "C:\\round98.exe");
    EXPECT_EQ(TextOf(g_hotKeys.items[g_hotKeys.count - 1].commandLine), "C:\\round96.exe");
    EXPECT_EQ(testreg::SubKeys(std::string(testreg::AppKey) + "\\Keys").size(), static_cast<size_t>(2 + Rounds / 4));
    EXPECT_EQ(ui::CountWindows(), windowsBefore);

    UnregisterHotKeys(launcher, g_hotKeys);
    DestroyHotKeys();
    ConstructHotKeys();
    EXPECT_EQ(g_liveBlocks, blocksBefore);
}

}  // namespace
