#pragma once
// The About box and the target of its mail link.
#include "dialogs/Dialog.h"

// What the mail link opens: a new message to the maker about Zindral.
extern const char AboutMailTarget[];

// The About box: name, version, byline, notice and two links.
class AboutDialog : public Dialog {
public:
    AboutDialog();

    bool DialogProc(UINT message, WPARAM wParam, LPARAM lParam) override;
};
