// The About box: its texts, its links and the About command that shows it.
#include "dialogs/AboutDialog.h"
#include "dialogs/Commands.h"
#include "dialogs/LinkControl.h"
#include "launcher/Launcher.h"
#include "resources/resource.h"

const char AboutMailTarget[] = "mailto:info@orvane.net?subject=Zindral";

AboutDialog::AboutDialog() : Dialog(IDD_ABOUT)
{
}

bool AboutDialog::DialogProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG:
        g_dialogWindow = hwnd;
        // The web link opens the address that it shows.
        AttachLinkControl(GetDlgItem(hwnd, IDC_WEB_LINK), nullptr);
        AttachLinkControl(GetDlgItem(hwnd, IDC_MAIL_LINK), AboutMailTarget);
        return true;
    default:
        return Dialog::DialogProc(message, wParam, lParam);
    }
}

void AboutCommand()
{
    // No owner: nothing of Zindral is disabled meanwhile, the flag alone
    // keeps the tray from opening another dialog or its menu.
    g_dialogOpen = 1;
    AboutDialog dialog;
    dialog.Show(nullptr);
    g_dialogOpen = 0;
    g_dialogWindow = nullptr;
}
