// AttachLinkControl on the About template's own static texts, without
// running the dialog: what a link keeps, what it frees, and that a link which
// cannot be made leaves a plain static text behind.
#include <gtest/gtest.h>
#include <string>
#include <tuple>
#include "dialogs/LinkControl.h"
#include "tests/DialogDriver.h"
#include "tests/TestHeap.h"
#include "resources/resource.h"

namespace {

INT_PTR CALLBACK PlainDialogProc(HWND, UINT, WPARAM, LPARAM)
{
    return FALSE;
}

LinkControl* RecordOf(HWND control)
{
    return reinterpret_cast<LinkControl*>(GetWindowLongPtrA(control, GWLP_USERDATA));
}

// What a failed attach must leave exactly as it was: the style, the user
// data, the window procedure and the text.
using ControlState = std::tuple<LONG_PTR, LONG_PTR, LONG_PTR, std::string>;

ControlState StateOf(HWND control)
{
    return {GetWindowLongPtrA(control, GWL_STYLE), GetWindowLongPtrA(control, GWLP_USERDATA),
            GetWindowLongPtrA(control, GWLP_WNDPROC), ui::Text(control)};
}

// The About template as a hidden modeless dialog with plain static texts.
class AboutTemplate : public ::testing::Test {
protected:
    void SetUp() override
    {
        dialog = CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_ABOUT), nullptr,
                                    PlainDialogProc, 0);
        ASSERT_NE(dialog, nullptr);
        webLink = GetDlgItem(dialog, IDC_WEB_LINK);
        mailLink = GetDlgItem(dialog, IDC_MAIL_LINK);
        blocksBefore = g_liveBlocks;
    }
    void TearDown() override
    {
        g_allocationsBeforeFailure = -1;
        if (dialog)
            DestroyWindow(dialog);
        EXPECT_EQ(g_liveBlocks, blocksBefore);
    }

    HWND dialog = nullptr;
    HWND webLink = nullptr;
    HWND mailLink = nullptr;
    LONG blocksBefore = 0;
};

TEST_F(AboutTemplate, LinkKeepsItsTextAnUnderlinedDialogFontAndTheHand)
{
    LONG_PTR styleBefore = GetWindowLongPtrA(webLink, GWL_STYLE);
    std::string text = ui::Text(webLink);
    AttachLinkControl(webLink, nullptr);

    LinkControl* link = RecordOf(webLink);
    ASSERT_NE(link, nullptr);
    EXPECT_EQ(g_liveBlocks, blocksBefore + 2);   // the record and its target
    EXPECT_EQ(link->textLength, static_cast<LONG>(text.size()));
    EXPECT_EQ(std::string(link->windowText), text);
    EXPECT_EQ(link->pressed, 0);
    // Without a target the link opens its own text, from a block of its own.
    EXPECT_EQ(std::string(link->target), text);
    EXPECT_NE(link->target, link->windowText);
    EXPECT_EQ(link->cursor, LoadCursorA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDC_HAND_CURSOR)));
    EXPECT_NE(link->cursor, nullptr);
    EXPECT_EQ(GetWindowLongPtrA(webLink, GWL_STYLE), styleBefore | SS_NOTIFY);
    EXPECT_EQ(GetWindowLongPtrA(webLink, GWLP_WNDPROC), reinterpret_cast<LONG_PTR>(LinkWndProc));

    LOGFONTA dialogFont, linkFont;
    HFONT font = reinterpret_cast<HFONT>(SendMessageA(dialog, WM_GETFONT, 0, 0));
    ASSERT_EQ(GetObjectA(font, sizeof(dialogFont), &dialogFont), static_cast<int>(sizeof(dialogFont)));
    ASSERT_EQ(GetObjectA(link->font, sizeof(linkFont), &linkFont), static_cast<int>(sizeof(linkFont)));
    EXPECT_EQ(dialogFont.lfUnderline, 0);
    EXPECT_EQ(linkFont.lfUnderline, 1);
    EXPECT_EQ(linkFont.lfHeight, dialogFont.lfHeight);
    EXPECT_EQ(linkFont.lfWeight, dialogFont.lfWeight);
    EXPECT_STREQ(linkFont.lfFaceName, dialogFont.lfFaceName);
    EXPECT_NE(link->font, font);
}

TEST_F(AboutTemplate, DestroyingLinksFreesRecordsTargetsAndFonts)
{
    char target[] = "mailto:someone@orvane.net?subject=Zindral";
    AttachLinkControl(mailLink, target);
    AttachLinkControl(webLink, nullptr);
    ASSERT_NE(RecordOf(mailLink), nullptr);
    ASSERT_NE(RecordOf(webLink), nullptr);
    // The link keeps a copy: the caller's text may go away.
    target[7] = 'X';
    EXPECT_STREQ(RecordOf(mailLink)->target, "mailto:someone@orvane.net?subject=Zindral");
    EXPECT_EQ(g_liveBlocks, blocksBefore + 4);

    HFONT fonts[] = {RecordOf(mailLink)->font, RecordOf(webLink)->font};
    EXPECT_EQ(GetObjectType(fonts[0]), static_cast<DWORD>(OBJ_FONT));
    DestroyWindow(mailLink);
    EXPECT_EQ(g_liveBlocks, blocksBefore + 2);
    EXPECT_EQ(GetObjectType(fonts[0]), 0u);
    DestroyWindow(dialog);
    dialog = nullptr;
    EXPECT_EQ(GetObjectType(fonts[1]), 0u);
}

TEST_F(AboutTemplate, LinkWhoseRecordOrTargetCannotBeMadeStaysPlainText)
{
    // 0: the record fails; 1: the target copy fails.
    for (LONG allowed = 0; allowed < 2; ++allowed) {
        SCOPED_TRACE(allowed);
        ControlState before = StateOf(webLink);
        g_allocationsBeforeFailure = allowed;
        AttachLinkControl(webLink, nullptr);
        g_allocationsBeforeFailure = -1;
        EXPECT_EQ(StateOf(webLink), before);
        EXPECT_EQ(g_liveBlocks, blocksBefore);
        // Still an ordinary static that paints and answers.
        InvalidateRect(webLink, nullptr, TRUE);
        UpdateWindow(webLink);
        EXPECT_EQ(SendMessageA(webLink, WM_GETTEXTLENGTH, 0, 0),
                  static_cast<LRESULT>(std::get<3>(before).size()));
    }
    // Once memory is back the same control becomes a link.
    AttachLinkControl(webLink, nullptr);
    EXPECT_NE(RecordOf(webLink), nullptr);
}

// A parent that is not a dialog: answers WM_GETFONT with whatever g_parentFont holds.
HFONT g_parentFont;

LRESULT CALLBACK FontlessParentProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_GETFONT)
        return reinterpret_cast<LRESULT>(g_parentFont);
    return DefWindowProcA(window, message, wParam, lParam);
}

TEST(LinkWithoutDialogFont, StaysPlainTextAndLeaksNothing)
{
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = FontlessParentProc;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "LinkTestParent";
    RegisterClassA(&windowClass);
    HWND parent = CreateWindowExA(0, "LinkTestParent", "", WS_POPUP, 0, 0, 200, 50, nullptr, nullptr,
                                  GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(parent, nullptr);
    HWND control = CreateWindowExA(0, "STATIC", "http://www.orvane.net/zindral", WS_CHILD | WS_VISIBLE,
                                   0, 0, 200, 20, parent, nullptr, GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(control, nullptr);
    LONG blocksBefore = g_liveBlocks;

    // No font at all, then a font handle that no longer describes a font.
    HFONT deleted = CreateFontA(13, 0, 0, 0, FW_NORMAL, 0, 0, 0, ANSI_CHARSET, 0, 0, 0, 0, "Arial");
    DeleteObject(deleted);
    for (HFONT answer : {HFONT(nullptr), deleted}) {
        g_parentFont = answer;
        ControlState before = StateOf(control);
        AttachLinkControl(control, "mailto:info@orvane.net?subject=Zindral");
        EXPECT_EQ(StateOf(control), before);
        EXPECT_EQ(g_liveBlocks, blocksBefore);
    }
    g_parentFont = nullptr;
    DestroyWindow(parent);
    EXPECT_EQ(g_liveBlocks, blocksBefore);
}

TEST_F(AboutTemplate, OurTextsFitTheirControls)
{
    // Static texts are cut at their right edge. Only the byline, the notice
    // and the two addresses are ours to choose; the font that stands in for
    // the dialog's here is wider than the platform's, so fitting here leaves
    // room there.
    HFONT font = reinterpret_cast<HFONT>(SendMessageA(dialog, WM_GETFONT, 0, 0));
    HDC deviceContext = GetDC(dialog);
    HGDIOBJ previous = SelectObject(deviceContext, font);
    int texts = 0;
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        std::string text = ui::Text(child);
        int id = GetDlgCtrlID(child);
        bool ours = id == IDC_WEB_LINK || id == IDC_MAIL_LINK || text.rfind("(c)", 0) == 0 ||
                    text.rfind("Freeware", 0) == 0;
        if (!ours)
            continue;
        SIZE extent;
        GetTextExtentPoint32A(deviceContext, text.c_str(), static_cast<int>(text.size()), &extent);
        RECT client;
        GetClientRect(child, &client);
        EXPECT_LE(extent.cx, client.right) << text;
        ++texts;
    }
    SelectObject(deviceContext, previous);
    ReleaseDC(dialog, deviceContext);
    EXPECT_EQ(texts, 4);
}

}
