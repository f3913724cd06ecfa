// dravik's sizing run in this process on windows of its own: the system
// writes the placement of a process's own windows, so here the placement
// path runs, not the restore-and-move fallback that other processes' windows
// get under Wine.
#include "dravik/WindowSize.h"
#include "tests/ImportSlot.h"
#include "tests/e2e/Driver.h"
#include <gtest/gtest.h>
#include <string>
#include <vector>

IMPORT_SLOT(GetWindowPlacement, 8);
IMPORT_SLOT(SetWindowPlacement, 8);

using namespace e2e;

namespace {

// The placements that reached the system, and one to give out in place of
// the window's own.
std::vector<WINDOWPLACEMENT> g_placed;
WINDOWPLACEMENT g_given;
BOOL WINAPI RecordPlacement(HWND window, const WINDOWPLACEMENT* placement)
{
    g_placed.push_back(*placement);
    return Intercept<SetWindowPlacementSlot>::original(window, placement);
}
BOOL WINAPI GivePlacement(HWND, WINDOWPLACEMENT* placement)
{
    *placement = g_given;
    return TRUE;
}

RECT NormalRect(HWND window)
{
    WINDOWPLACEMENT placement = {sizeof(placement)};
    GetWindowPlacement(window, &placement);
    return placement.rcNormalPosition;
}

// A static control's window in a sizing frame: no class to register.
HWND CreateSizeableWindow()
{
    return CreateWindowExA(0, "STATIC", "sizeable", WS_OVERLAPPEDWINDOW, 100, 50, 500, 400, nullptr, nullptr,
                           GetModuleHandleA(nullptr), nullptr);
}

TEST(SizeWindow, ShowsEveryWindowRestoredWithTheSizeThroughItsPlacement)
{
    const RECT expected = {100, 50, 1124, 818};
    const struct {
        const char* name;
        int firstShow, thenShow;
    } states[] = {{"normal", SW_SHOWNORMAL, 0},
                  {"maximised", SW_MAXIMIZE, 0},
                  {"minimised", SW_MINIMIZE, 0},
                  {"minimised from maximised", SW_MAXIMIZE, SW_MINIMIZE}};
    for (const auto& state : states) {
        SCOPED_TRACE(state.name);
        HWND window = CreateSizeableWindow();
        ASSERT_NE(nullptr, window);
        ShowWindow(window, state.firstShow);
        if (state.thenShow)
            ShowWindow(window, state.thenShow);
        Pump(0);
        if (state.thenShow) {
            // What makes this case hard: the system means to bring it back maximised.
            WINDOWPLACEMENT placement = {sizeof(placement)};
            ASSERT_TRUE(GetWindowPlacement(window, &placement));
            ASSERT_NE(0u, placement.flags & WPF_RESTORETOMAXIMIZED);
        }

        ASSERT_TRUE(IsSizeable(window));
        g_placed.clear();
        {
            // Wine ignores the flag, so its clearing shows in the record alone.
            Intercept<SetWindowPlacementSlot> placing(RecordPlacement);
            EXPECT_TRUE(SizeWindow(window, 1024, 768, false)) << "the fallback ran";
        }
        ASSERT_EQ(1u, g_placed.size());
        EXPECT_EQ(0u, g_placed[0].flags & WPF_RESTORETOMAXIMIZED);
        // The sizing after it would mend a wrong size: the record shows it.
        EXPECT_TRUE(SameRect(expected, g_placed[0].rcNormalPosition)) << Describe(g_placed[0].rcNormalPosition);
        Pump(0);

        EXPECT_TRUE(SameRect(expected, NormalRect(window))) << Describe(NormalRect(window));
        EXPECT_TRUE(SameRect(expected, WindowRect(window))) << Describe(WindowRect(window));
        EXPECT_FALSE(IsZoomed(window));
        EXPECT_FALSE(IsIconic(window));
        EXPECT_TRUE(IsWindowVisible(window));
        DestroyWindow(window);
    }
}

// No window lies that far out, so its placement is made up: an edge beyond
// the 32-bit range leaves the window alone rather than wrapping around.
TEST(SizeWindow, LeavesAWindowAloneWhoseEdgeWouldOverflow)
{
    HWND window = CreateSizeableWindow();
    ASSERT_NE(nullptr, window);
    g_placed.clear();
    for (int axis = 0; axis < 2; ++axis) {
        g_given = {sizeof(g_given)};
        g_given.showCmd = SW_SHOWNORMAL;
        g_given.rcNormalPosition = {100, 50, 600, 450};
        (axis == 0 ? g_given.rcNormalPosition.left : g_given.rcNormalPosition.top) = 0x7FFFFFFF - 500;
        Intercept<GetWindowPlacementSlot> reading(GivePlacement);
        Intercept<SetWindowPlacementSlot> placing(RecordPlacement);
        EXPECT_FALSE(SizeWindow(window, 1024, 768, false)) << axis;
    }
    EXPECT_TRUE(g_placed.empty());
    DestroyWindow(window);
}

// Windows 8 to 11 draw no resize border: the window rectangle reaches past
// the visible frame. Wine reports the frame as the rectangle itself.
TEST(SizeWindow, AskedSizeIsThatOfTheVisibleFrame)
{
    // Windows 10 at 100 %: 7 pixels left, right and bottom, none at the top.
    const RECT window = {93, 50, 907, 657};
    const RECT frame = {100, 50, 900, 650};
    SIZE outer = {};
    ASSERT_TRUE(OuterSize(window, frame, 1024, 768, &outer));
    EXPECT_EQ(1038, outer.cx);
    EXPECT_EQ(775, outer.cy);
    // A frame of physical pixels around a rectangle of logical ones (150 %),
    // or borders hundreds of pixels wide, are no frame: the rectangle counts.
    for (const RECT& mixed : {window, RECT{140, 75, 1350, 975}, RECT{100, 50, 600, 450}}) {
        ASSERT_TRUE(OuterSize(window, mixed, 1024, 768, &outer));
        EXPECT_EQ(1024, outer.cx) << Describe(mixed);
        EXPECT_EQ(768, outer.cy) << Describe(mixed);
    }
    // The borders must not carry an edge past the 32-bit range.
    const RECT atOrigin = {0, 0, 814, 607};
    const RECT seen = {7, 0, 807, 600};
    EXPECT_FALSE(OuterSize(atOrigin, seen, 0x7FFFFFFF - 10, 600, &outer));
    EXPECT_FALSE(OuterSize(atOrigin, seen, 800, 0x7FFFFFFF - 3, &outer));
}

// A snapped window's placement still holds where it was before the snap.
// Wine has no snap: a maximised window stands in, being another whose
// placement holds a rectangle other than the one it has now.
TEST(SizeWindow, ArrangedWindowIsSizedWhereItIsNow)
{
    HWND window = CreateSizeableWindow();
    ASSERT_NE(nullptr, window);
    ShowWindow(window, SW_MAXIMIZE);
    Pump(0);
    const RECT now = WindowRect(window);
    ASSERT_FALSE(SameRect(now, NormalRect(window))) << Describe(now);

    SizeWindow(window, 640, 480, true);
    Pump(0);
    const RECT expected = {now.left, now.top, now.left + 640, now.top + 480};
    EXPECT_TRUE(SameRect(expected, WindowRect(window))) << Describe(WindowRect(window));
    DestroyWindow(window);
}

}  // namespace
