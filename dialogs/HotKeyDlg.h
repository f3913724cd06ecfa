#pragma once
// The edit dialog of one hot-key entry.
#include "dialogs/Dialog.h"
#include "model/HotKey.h"

// Edits one hot-key entry: its key captured from a real key press, its
// modifiers, command line, parameters and working directory. It can be made
// wider but not taller, and remembers its size under "HotKeyDlg".
class HotKeyDlg : public ResizableDialog {
public:
    HotKeyDlg();

    bool DialogProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    Anchor* GetAnchors(int& count) override;

    void OnInitDialog();
    void OnDestroy();
    void Browse();

    // The key field: shows the name of the last key pressed, never typed text.
    static LRESULT CALLBACK KeyCaptureEdit(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    HotKey hotKey;        // filled by the owner before Show, read after OK
    Anchor anchors[6];
    WNDPROC oldKeyEditProc;
    int minHeight;        // both the minimum and the maximum tracking height
    int minWidth;
    // False when a field's text could not be read back (the heap failed):
    // `hotKey` is then not what the user saw, and the owner must not take it.
    bool textsRead;

private:
    bool OnCommand(int id);
    bool CaptureKey(HWND field, UINT key);
};
