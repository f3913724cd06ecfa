#pragma once
// The dialog base classes and the anchors of resizable dialogs.
#include "settings/Settings.h"
#include <windows.h>

// One control that follows the dialog's size. Positions are pixels in the
// dialog's client coordinates, taken while the dialog has its template size.
struct Anchor {
    LONG controlId;
    LONG top;
    LONG left;
    LONG rightMargin;    // client width minus the control's right edge
    LONG bottomMargin;   // client height minus the control's bottom edge
    LONG width;
    LONG height;
    // Horizontal rule in the low four bits, vertical rule in the next four:
    // 0 fixed, 1 follows the right (bottom) edge, anything else stretches.
    LONG mode;

    void Capture(HWND dialog, int controlId, int mode);
    void Reposition(HWND dialog, int clientWidth, int clientHeight) const;
};

enum : LONG {
    AnchorFollowRight = 0x01,
    AnchorWiden = 0x02,
    AnchorGrowBoth = 0x22,
};

// How a dialog's table names one of its anchored controls.
struct AnchorRule {
    WORD controlId;
    WORD mode;
};

// A modal dialog bound to an object. Objects live on the stack of whoever
// shows them and outlive their window; none is ever deleted through a base.
class Dialog {
public:
    explicit Dialog(int templateId) : hwnd(nullptr), templateId(templateId) {}

    // Runs the dialog modally with the template from the program's own
    // module; the code given to EndDialog, or the platform's failure value.
    INT_PTR Show(HWND owner);

    // Base handling: TRUE for WM_INITDIALOG, OK and Cancel end the dialog.
    virtual bool DialogProc(UINT message, WPARAM wParam, LPARAM lParam);

    // The one dialog procedure of every dialog: binds window and object on
    // WM_INITDIALOG and hands every later message to the object.
    static INT_PTR CALLBACK StaticDialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    HWND hwnd;         // set on WM_INITDIALOG, valid until WM_DESTROY ends
    int templateId;    // dialog template resource number
};

// A dialog with anchored controls, a size grip in the bottom-right corner and
// centring on the work area.
class ResizableDialog : public Dialog {
public:
    explicit ResizableDialog(int templateId);

    // The dialog's anchors, repositioned in array order; the base has none.
    virtual Anchor* GetAnchors(int& count);

    // Fills the GetAnchors array from `rules`, which has one rule per anchor.
    void CaptureAnchors(const AnchorRule* rules);
    // On WM_INITDIALOG, while the window has its template size: the anchors
    // from `rules`, and as the minimum tracking size that size in fifths.
    void CaptureLayout(const AnchorRule* rules, int* minWidth, int* minHeight, int widthFifths,
                       int heightFifths);
    // WM_GETMINMAXINFO: the minimum tracking size, and minHeight as the
    // maximum height too when the height is fixed. Not yet measured before
    // WM_INITDIALOG: the platform's limits stand.
    static void LimitTracking(LPARAM lParam, int minWidth, int minHeight, bool fixedHeight);
    void CenterOnWorkArea();
    void PaintSizeGrip(HDC deviceContext);
    void Relayout(int clientWidth, int clientHeight);
    // WM_SIZE, WM_PAINT and WM_NCHITTEST; a derived dialog procedure passes
    // every message it does not handle itself here and returns the result.
    bool LayoutProc(UINT message, WPARAM wParam, LPARAM lParam);

    // Applies "Width" and "Height" under the dialog's settings key, only when
    // both are stored; nothing is created. A centred dialog is moved to the
    // middle of the work area, any other keeps its place.
    void ApplyStoredSize(const char* settingsName, bool centre);
    // Creates the dialog's settings key in `settings` and writes the size of
    // the normal (restored) window rectangle there; false when the key
    // cannot be created.
    bool SaveNormalSize(RegKey& settings, const char* settingsName);

    int gripWidth;
    int gripHeight;

private:
    // The grip's corner of the client area, in client coordinates.
    void GripRect(RECT* grip);
};
