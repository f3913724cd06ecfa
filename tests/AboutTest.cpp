// The About box as the user meets it: it runs on the test's main thread
// while a second thread moves the real mouse and presses real keys. What the
// links open is seen through a recorder program that stands in for the
// browser and the mail program.
#include <gtest/gtest.h>
#include <algorithm>
#include <fstream>
#include <string>
#include <tuple>
#include <vector>
#include "dialogs/AboutDialog.h"
#include "dialogs/Commands.h"
#include "dialogs/LinkControl.h"
#include "launcher/Launcher.h"
#include "tests/TestHeap.h"
#include "resources/resource.h"
#include "tests/DialogDriver.h"
#include "tests/e2e/Driver.h"

namespace {

using e2e::WaitUntil;

// While alive, the shell hands http and mailto targets to the recorder,
// which appends each to a log. Wine's shell reads these handlers from
// HKEY_CLASSES_ROOT only (HKCU\Software\Classes is not consulted there), so
// the prefix's own entries are replaced for the test and restored after.
class OpenedTargets {
public:
    OpenedTargets() : log(e2e::ProgramFolder() + "about-opened.log")
    {
        DeleteFileA(log.c_str());
        std::string command = "\"" + e2e::ProgramFolder() + "about_recorder.exe\" \"" + log + "\" \"%1\"";
        for (int i = 0; i < 2; ++i)
            saved[i] = Replace(Schemes[i], command);
    }
    ~OpenedTargets()
    {
        for (int i = 0; i < 2; ++i)
            Replace(Schemes[i], saved[i]);
        DeleteFileA(log.c_str());
    }

    std::vector<std::string> Lines() const
    {
        std::vector<std::string> lines;
        std::ifstream stream(log);
        for (std::string line; std::getline(stream, line);)
            lines.push_back(line);
        return lines;
    }

    // Waits for `count` targets, then a little longer, so that a stray
    // extra one (opened twice, opened when it should not) shows up as well.
    std::vector<std::string> WaitForLines(size_t count) const
    {
        WaitUntil([&] { return Lines().size() >= count; }, 15000);
        Sleep(1500);
        return Lines();
    }

private:
    static constexpr const char* Schemes[2] = {"http\\shell\\open\\command", "mailto\\shell\\open\\command"};

    // Returns the command that was there ("" if none).
    static std::string Replace(const char* key, const std::string& command)
    {
        char old[1024] = "";
        DWORD size = sizeof(old);
        RegGetValueA(HKEY_CLASSES_ROOT, key, nullptr, RRF_RT_REG_SZ, nullptr, old, &size);
        RegSetKeyValueA(HKEY_CLASSES_ROOT, key, nullptr, REG_SZ, command.c_str(),
                        static_cast<DWORD>(command.size() + 1));
        return old;
    }

    std::string log;
    std::string saved[2];
};

HWND CaptureOf(DWORD thread)
{
    GUITHREADINFO info = {sizeof(info)};
    return GetGUIThreadInfo(thread, &info) ? info.hwndCapture : nullptr;
}

POINT CenterOf(HWND window)
{
    RECT bounds = ui::ScreenRect(window);
    return {(bounds.left + bounds.right) / 2, (bounds.top + bounds.bottom) / 2};
}

// Wine moves the X pointer as well, and a late report of an earlier pointer
// position can move the cursor back: set it until it stays put.
void MoveMouseTo(POINT point)
{
    int steady = 0;
    for (int tries = 0; tries < 250 && steady < 10; ++tries) {
        POINT now;
        GetCursorPos(&now);
        if (now.x == point.x && now.y == point.y) {
            ++steady;
        } else {
            steady = 0;
            SetCursorPos(point.x, point.y);
        }
        Sleep(20);
    }
    EXPECT_GE(steady, 10) << "the cursor does not stay at " << point.x << "," << point.y;
}

// Presses or releases the left button, and waits until the box's thread
// has taken that input from its queue: the driver shares the box's input
// state, whose key state follows the messages that the box has read.
void LeftButton(DWORD flag)
{
    INPUT input = {INPUT_MOUSE};
    input.mi.dwFlags = flag;
    SendInput(1, &input, sizeof(input));
    bool down = flag == MOUSEEVENTF_LEFTDOWN;
    EXPECT_TRUE(WaitUntil([&] { return ((GetKeyState(VK_LBUTTON) & 0x8000) != 0) == down; }));
}

LinkControl* RecordOf(HWND control)
{
    return reinterpret_cast<LinkControl*>(GetWindowLongPtrA(control, GWLP_USERDATA));
}

// The About box on this thread while `script(dialog, thread)` drives it
// from another, with the box in the foreground and the driver sharing its
// input state. Returns what Show returned.
template <typename Script>
INT_PTR ShowAbout(Script script)
{
    DWORD thread = GetCurrentThreadId();
    AboutDialog about;
    return ui::Drive(about, "About", [&](HWND dialog) {
        // Keys and clicks go to the active window: make sure it is the box.
        EXPECT_TRUE(e2e::MakeForeground(dialog));
        AttachThreadInput(GetCurrentThreadId(), thread, TRUE);
        script(dialog, thread);
        AttachThreadInput(GetCurrentThreadId(), thread, FALSE);
        WaitUntil([&] { return !IsWindow(dialog); });
    });
}

// A press and release of the left button, each seen through the capture
// (the link takes it on the press); ends with the capture released.
void ClickLink(HWND link, DWORD thread)
{
    MoveMouseTo(CenterOf(link));
    LeftButton(MOUSEEVENTF_LEFTDOWN);
    EXPECT_TRUE(WaitUntil([&] { return CaptureOf(thread) == link; }));
    LeftButton(MOUSEEVENTF_LEFTUP);
    EXPECT_TRUE(WaitUntil([&] { return CaptureOf(thread) == nullptr; }));
}

void ClickAt(POINT point)
{
    MoveMouseTo(point);
    LeftButton(MOUSEEVENTF_LEFTDOWN);
    LeftButton(MOUSEEVENTF_LEFTUP);
}

// A point of the close box, found through the platform's own hit test
// along the middle of the caption.
bool FindCloseBox(HWND dialog, POINT& point)
{
    RECT window = ui::ScreenRect(dialog);
    RECT client;
    GetClientRect(dialog, &client);
    MapWindowPoints(dialog, HWND_DESKTOP, reinterpret_cast<POINT*>(&client), 2);
    point.y = (window.top + client.top) / 2;
    for (point.x = window.right - 1; point.x > window.left; --point.x) {
        if (SendMessageA(dialog, WM_NCHITTEST, 0, MAKELPARAM(point.x, point.y)) == HTCLOSE)
            return true;
    }
    return false;
}

// Any point of the box that belongs to no link: the label left of the web link.
POINT Elsewhere(HWND dialog)
{
    RECT link = ui::ScreenRect(GetDlgItem(dialog, IDC_WEB_LINK));
    return {link.left - 20, (link.top + link.bottom) / 2};
}

class AboutBox : public ::testing::Test {
protected:
    OpenedTargets opened;
};

TEST_F(AboutBox, EachLinkOpensExactlyItsTargetOnceAndOkEndsTheBox)
{
    std::vector<std::string> expected;
    INT_PTR result = ShowAbout([&](HWND dialog, DWORD thread) {
        HWND web = GetDlgItem(dialog, IDC_WEB_LINK);
        HWND mail = GetDlgItem(dialog, IDC_MAIL_LINK);
        EXPECT_EQ(ui::Text(web), "http://www.orvane.net/zindral");
        expected = {ui::Text(web), "mailto:" + ui::Text(mail) + "?subject=Zindral"};
        ClickLink(web, thread);
        EXPECT_EQ(opened.WaitForLines(1).size(), 1u);
        ClickLink(mail, thread);
        opened.WaitForLines(2);
        ClickAt(CenterOf(GetDlgItem(dialog, IDOK)));
    });
    EXPECT_EQ(result, IDOK);
    EXPECT_EQ(opened.Lines(), expected);
}

TEST_F(AboutBox, OnlyPressAndReleaseBothOnTheLinkOpenIt)
{
    INT_PTR result = ShowAbout([&](HWND dialog, DWORD thread) {
        HWND web = GetDlgItem(dialog, IDC_WEB_LINK);
        HWND mail = GetDlgItem(dialog, IDC_MAIL_LINK);
        // Press on the link, release elsewhere.
        MoveMouseTo(CenterOf(web));
        LeftButton(MOUSEEVENTF_LEFTDOWN);
        EXPECT_TRUE(WaitUntil([&] { return CaptureOf(thread) == web; }));
        MoveMouseTo(Elsewhere(dialog));
        LeftButton(MOUSEEVENTF_LEFTUP);
        EXPECT_TRUE(WaitUntil([&] { return CaptureOf(thread) == nullptr; }));
        EXPECT_EQ(RecordOf(web)->pressed, 0);

        // Press elsewhere, release on the link.
        LeftButton(MOUSEEVENTF_LEFTDOWN);
        MoveMouseTo(CenterOf(web));
        LeftButton(MOUSEEVENTF_LEFTUP);

        // Press on the link, lose the capture (as when the system cancels
        // modes), release on the link: that release was never armed.
        LeftButton(MOUSEEVENTF_LEFTDOWN);
        EXPECT_TRUE(WaitUntil([&] { return CaptureOf(thread) == web; }));
        SendMessageA(web, WM_CANCELMODE, 0, 0);
        EXPECT_EQ(CaptureOf(thread), nullptr);
        LeftButton(MOUSEEVENTF_LEFTUP);

        // A whole click afterwards: whatever the presses above opened would
        // have been opened before it.
        ClickLink(mail, thread);
        EXPECT_EQ(opened.WaitForLines(1).size(), 1u);
        ui::PressKey(VK_ESCAPE, false);
    });
    EXPECT_EQ(result, IDCANCEL);
    EXPECT_EQ(opened.Lines(), std::vector<std::string>{AboutMailTarget});
}

TEST_F(AboutBox, CursorIsTheHandOverLinksOnlyAndTheCloseBoxEndsTheBox)
{
    HCURSOR hand = LoadCursorA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDC_HAND_CURSOR));
    HCURSOR arrow = LoadCursorA(nullptr, IDC_ARROW);
    ASSERT_NE(hand, nullptr);
    auto shown = [] {
        CURSORINFO info = {sizeof(info)};
        GetCursorInfo(&info);
        return info.hCursor;
    };
    INT_PTR result = ShowAbout([&](HWND dialog, DWORD) {
        for (int id : {IDC_WEB_LINK, IDC_MAIL_LINK}) {
            HWND link = GetDlgItem(dialog, id);
            MoveMouseTo(Elsewhere(dialog));
            EXPECT_TRUE(WaitUntil([&] { return shown() == arrow; })) << id;
            MoveMouseTo(CenterOf(link));
            EXPECT_TRUE(WaitUntil([&] { return shown() == hand; })) << id;
            EXPECT_EQ(SendMessageA(link, WM_SETCURSOR, reinterpret_cast<WPARAM>(link),
                                   MAKELPARAM(HTCLIENT, WM_MOUSEMOVE)), 1);
        }
        POINT closeBox;
        ASSERT_TRUE(FindCloseBox(dialog, closeBox));
        ClickAt(closeBox);
    });
    EXPECT_EQ(result, IDCANCEL);
}

// Counts the pixels of one colour in each row of a window's client area.
std::vector<int> ColouredPixelsPerRow(HWND window, COLORREF colour)
{
    RECT client;
    GetClientRect(window, &client);
    HDC deviceContext = GetDC(window);
    std::vector<int> rows;
    for (int y = 0; y < client.bottom; ++y) {
        int count = 0;
        for (int x = 0; x < client.right; ++x)
            count += GetPixel(deviceContext, x, y) == colour;
        rows.push_back(count);
    }
    ReleaseDC(window, deviceContext);
    return rows;
}

TEST_F(AboutBox, LinksAreDrawnUnderlinedInDarkBlue)
{
    ShowAbout([&](HWND dialog, DWORD) {
        MoveMouseTo(CenterOf(GetDlgItem(dialog, IDOK)));
        for (int id : {IDC_WEB_LINK, IDC_MAIL_LINK}) {
            HWND link = GetDlgItem(dialog, id);
            SIZE extent = {};
            HDC deviceContext = GetDC(link);
            HGDIOBJ previous = SelectObject(deviceContext, RecordOf(link)->font);
            std::string text = ui::Text(link);
            GetTextExtentPoint32A(deviceContext, text.c_str(), static_cast<int>(text.size()), &extent);
            SelectObject(deviceContext, previous);
            ReleaseDC(link, deviceContext);
            // The underline is one row of dark blue as wide as the text;
            // no pixel of the text is black, the static's own colour.
            EXPECT_TRUE(WaitUntil([&] {
                std::vector<int> blue = ColouredPixelsPerRow(link, RGB(0, 0, 128));
                return *std::max_element(blue.begin(), blue.end()) >= extent.cx * 9 / 10;
            })) << id;
            for (int count : ColouredPixelsPerRow(link, RGB(0, 0, 0)))
                EXPECT_EQ(count, 0) << id;
        }
        PostMessageA(dialog, WM_COMMAND, IDOK, 0);
    });
}

TEST(AboutCommandTest, MarksADialogOpenAndShowsTheBoxWithoutOwner)
{
    int flagWhileOpen = -1;
    HWND owner = reinterpret_cast<HWND>(1);
    g_dialogOpen = 0;
    ui::RunWithScript([] { AboutCommand(); return INT_PTR(0); }, [&] {
        HWND dialog = ui::WaitForDialog("About");
        ASSERT_TRUE(dialog) << "the About box did not open";
        flagWhileOpen = g_dialogOpen;
        owner = GetWindow(dialog, GW_OWNER);
        PostMessageA(dialog, WM_COMMAND, IDOK, 0);
    });
    EXPECT_EQ(flagWhileOpen, 1);
    EXPECT_EQ(owner, nullptr);
    EXPECT_EQ(g_dialogOpen, 0);
    EXPECT_EQ(g_dialogWindow, nullptr);
}

TEST(AboutCommandTest, HundredOpeningsLeaveNoBlockFontOrWindow)
{
    int windowsBefore = ui::CountWindows();
    LONG blocksBefore = g_liveBlocks;
    std::vector<HFONT> fonts;
    const int openings = 100;
    // OK, Escape (Cancel) and the close box, in turn.
    const struct {
        UINT message;
        WPARAM command;
    } endings[] = {{WM_COMMAND, IDOK}, {WM_COMMAND, IDCANCEL}, {WM_SYSCOMMAND, SC_CLOSE}};
    for (int i = 0; i < openings; ++i) {
        ui::RunWithScript([] { AboutCommand(); return INT_PTR(0); }, [&] {
            HWND dialog = ui::WaitForDialog("About");
            ASSERT_TRUE(dialog) << "opening " << i << " failed";
            for (int id : {IDC_WEB_LINK, IDC_MAIL_LINK}) {
                LinkControl* link = RecordOf(GetDlgItem(dialog, id));
                if (link)
                    fonts.push_back(link->font);
            }
            PostMessageA(dialog, endings[i % 3].message, endings[i % 3].command, 0);
        });
    }

    EXPECT_EQ(fonts.size(), 2u * openings);
    for (HFONT font : fonts)
        EXPECT_EQ(GetObjectType(font), 0u);
    EXPECT_EQ(g_liveBlocks, blocksBefore);
    EXPECT_EQ(ui::CountWindows(), windowsBefore);
}

// --- AttachLinkControl on the About template's own static texts, without
// running the dialog: what a link keeps, what it frees, and that a link which
// cannot be made leaves a plain static text behind. ---

INT_PTR CALLBACK PlainDialogProc(HWND, UINT, WPARAM, LPARAM)
{
    return FALSE;
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

}  // namespace
