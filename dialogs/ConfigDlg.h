#pragma once
#include "dialogs/Dialog.h"
#include "model/HotKey.h"

// The whole hot-key table in a two-column list. Each row owns a heap copy of
// its entry while the dialog runs; on WM_DESTROY the rows go back into
// `table` in list order. Remembers its size and column widths under
// "ConfigDlg".
class ConfigDlg : public ResizableDialog {
public:
    ConfigDlg();

    bool DialogProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    Anchor* GetAnchors(int& count) override;

    void OnInitDialog();
    void OnDestroy();
    void SetupList();
    // Gives row `index` a copy of `entry` and its texts. False when the row
    // does not exist or the copy cannot be allocated: a row that had a record
    // then keeps it, and a row that had none is removed, so that every row
    // always carries its entry.
    bool SetItem(int index, const HotKey* entry);
    void AddHotKey();
    void EditSelected();
    void DeleteSelected();

    HotKeyList table;     // filled before Show, rebuilt from the rows on WM_DESTROY
    Anchor anchors[6];
    int minWidth;
    int minHeight;
    HWND listView;
    // False when WM_DESTROY could not move every row back into `table`; the
    // table is then not the user's and must not replace the live one.
    bool tableComplete;

private:
    void OnNotify(const NMHDR* header);
    void OnCommand(int id);
    HotKey* RowRecord(int index);
    int FirstSelectedRow();
    int InsertEmptyRow(int index);
    void DeleteRow(int index);
    void SaveGeometry();
};
