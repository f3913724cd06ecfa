#pragma once
// The configuration dialog, which edits the whole hot-key table.
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
    // Column "Key" of every row shows HotKeyText and, for a row that would
    // not register if OK were pressed now, " (in use)" or " (refused)".
    void ShowMarks();

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
    LRESULT List(UINT message, WPARAM wParam, LPARAM lParam);
    // LVM_INSERTITEMA or LVM_GETITEMA for row `index` with its item data
    // alone, which ends up in `record`.
    LRESULT RowMessage(UINT message, int index, HotKey** record);
    // False when there is no row `index`; a row may carry no record.
    bool ReadRow(int index, HotKey** record);
    // The first selected row and its record, or -1 when none is selected.
    int FirstSelectedRow(HotKey** record);
    int InsertEmptyRow(int index);
    // Row `index` shows the record's key followed by `mark`, and carries
    // the record.
    bool SetKeyColumn(int index, HotKey* record, const char* mark);
    // The edit dialog on `start`, or on a new entry when it is null; on OK
    // row `index` gets the result, or a new last row when index is negative.
    void EditRow(int index, const HotKey* start);
    void SaveGeometry();
};
