// The dialog tests run the dialogs on this main thread; the driver's scripts
// run beside it.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>
#include "DialogDriver.h"
#include "model/HotKey.h"

int main(int argc, char** argv)
{
    INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&controls);
    ConstructHotKeys();
    ui::InstallOn(GetCurrentThreadId());
    testing::InitGoogleTest(&argc, argv);
    int result = RUN_ALL_TESTS();
    DestroyHotKeys();
    return result;
}
