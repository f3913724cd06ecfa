// The shared texts, the entries and the table, with a heap that fails on request.
#include "tests/TestHeap.h"
#include "tests/TestEntry.h"
#include <gtest/gtest.h>
#include <string>

namespace {

std::string Repeat(char c, int n) { return std::string(static_cast<size_t>(n), c); }

// Makes the heap fail from the next allocation on, for one scope.
struct HeapFailure {
    HeapFailure() { g_allocationsBeforeFailure = 0; }
    ~HeapFailure() { g_allocationsBeforeFailure = -1; }
};

TEST(SharedString, EmptyHandleHasNoText)
{
    SharedString s;
    EXPECT_EQ(nullptr, s.Text());
    EXPECT_EQ(0, s.Length());
    SharedString copy(s);
    EXPECT_EQ(nullptr, BufferOf(copy));
}

TEST(SharedString, CapacityGrowsInStepsOf128)
{
    SharedString s;
    s.Reserve(0);
    ASSERT_NE(nullptr, BufferOf(s));
    EXPECT_EQ(128, BufferOf(s)->capacity);
    EXPECT_STREQ("", s.Text());

    struct { int length; LONG capacity; } cases[] = {{0, 128}, {126, 128}, {127, 256}, {300, 384}};
    for (auto c : cases) {
        SharedString t;
        t.Assign(Repeat('x', c.length).c_str());
        EXPECT_EQ(c.capacity, BufferOf(t)->capacity) << c.length;
        EXPECT_EQ(c.length, t.Length());
        EXPECT_EQ(Repeat('x', c.length), t.Text());
    }

    // A sole owner of capacity 128 keeps its buffer for 127 characters.
    SharedString u;
    u.Assign("short");
    const SharedStringBuffer* before = BufferOf(u);
    u.Assign(Repeat('y', 127).c_str());
    EXPECT_EQ(before, BufferOf(u));
    EXPECT_EQ(127, u.Length());
}

TEST(SharedString, WritingASharedTextNeverChangesTheOtherHandle)
{
    SharedString a;
    a.Assign("first");
    SharedString b(a);
    EXPECT_EQ(BufferOf(a), BufferOf(b));
    EXPECT_EQ(2, BufferOf(a)->refs);

    b.Assign("second");
    EXPECT_STREQ("first", a.Text());
    EXPECT_STREQ("second", b.Text());
    EXPECT_EQ(1, BufferOf(a)->refs);

    SharedString c;
    c = a;
    c.Reserve(10);   // a writer on a shared text starts afresh
    EXPECT_STREQ("first", a.Text());
    EXPECT_STREQ("", c.Text());

    a = a;           // self-assignment keeps the text alive
    EXPECT_STREQ("first", a.Text());
}

TEST(SharedString, AppendJoinsAndGrowsOnlyPastCapacity)
{
    SharedString s;
    s.Append("Ctrl + ").Append("Space");
    EXPECT_STREQ("Ctrl + Space", s.Text());
    EXPECT_EQ(12, s.Length());
    EXPECT_EQ(128, BufferOf(s)->capacity);

    SharedString t;
    t.Append(Repeat('a', 100).c_str()).Append(Repeat('b', 28).c_str());
    EXPECT_EQ(128, BufferOf(t)->capacity);   // exactly full: the spare bytes hold the zero
    EXPECT_EQ(128, t.Length());
    t.Append("c");
    EXPECT_EQ(256, BufferOf(t)->capacity);
    EXPECT_EQ(Repeat('a', 100) + Repeat('b', 28) + "c", t.Text());
}

TEST(SharedString, AssignCountedTakesUnterminatedData)
{
    const char data[3] = {'a', 'b', 'c'};
    SharedString s;
    s.AssignCounted(data, 2);
    EXPECT_STREQ("ab", s.Text());
    s.Assign(nullptr);
    EXPECT_EQ(nullptr, s.Text());
}

TEST(SharedString, HeapFailureLeavesTargetUnchangedOrEmpty)
{
    LONG live = g_liveBlocks;
    SharedString s;
    s.Assign("kept");
    {
        HeapFailure failing;
        s.Assign(Repeat('z', 500).c_str());   // would need a bigger buffer
        EXPECT_STREQ("kept", s.Text());
        s.Append(Repeat('z', 500).c_str());
        EXPECT_STREQ("kept", s.Text());
        SharedString shared(s);
        shared.Assign("other");               // a writer of a shared text keeps it
        EXPECT_EQ(BufferOf(s), BufferOf(shared));
        EXPECT_EQ(2, BufferOf(s)->refs);
        EXPECT_FALSE(shared.AssignCounted("other", 5));
        EXPECT_STREQ("kept", shared.Text());
        SharedString fresh;
        fresh.Append("x");
        EXPECT_EQ(nullptr, fresh.Text());
    }
    s.Release();
    EXPECT_EQ(live, g_liveBlocks);
}

TEST(SharedString, AssignFromWindowReadsTheControlText)
{
    HWND edit = CreateWindowExA(0, "EDIT", "", WS_POPUP, 0, 0, 100, 20, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(nullptr, edit);
    SharedString s;
    s.AssignFromWindow(edit);
    EXPECT_NE(nullptr, s.Text());   // an empty control gives an empty text, not no text
    EXPECT_EQ(0, s.Length());
    SetWindowTextA(edit, "C:\\Tools\\dravik.exe");
    SharedString shared(s);
    s.AssignFromWindow(edit);
    EXPECT_STREQ("C:\\Tools\\dravik.exe", s.Text());
    EXPECT_EQ(19, s.Length());
    EXPECT_STREQ("", shared.Text());
    DestroyWindow(edit);
}

TEST(HotKey, CopiesShareTextsUntilWritten)
{
    HotKey a;
    a.key = 'A';
    a.modifiers = HotKeyWin;
    a.commandLine.Assign("notepad.exe");
    a.parameters.Assign("x.txt");
    HotKey b(a);
    EXPECT_EQ(BufferOf(a.commandLine), BufferOf(b.commandLine));
    EXPECT_EQ(BufferOf(a.parameters), BufferOf(b.parameters));
    b.commandLine.Assign("cmd.exe");
    EXPECT_STREQ("notepad.exe", a.commandLine.Text());
    HotKey c;
    c = a;
    EXPECT_EQ(HotKeyWin, c.modifiers);
    EXPECT_EQ(BufferOf(a.parameters), BufferOf(c.parameters));
    EXPECT_EQ(nullptr, c.workingDirectory.Text());
}

HotKey Entry(UINT key, const char* command) { return MakeEntry(key, HotKeyWin, command); }

TEST(HotKeyList, GrowsInStepsOf20AndKeepsRecords)
{
    LONG live = g_liveBlocks;
    {
        HotKeyList list;
        EXPECT_EQ(0, list.capacity);
        EXPECT_EQ(nullptr, list.items);
        list.Append(Entry('A', "a"));
        EXPECT_EQ(20, list.capacity);
        EXPECT_EQ(1, list.count);
        for (int i = 1; i < 21; ++i)
            list.Append(Entry('A', std::to_string(i).c_str()));
        EXPECT_EQ(40, list.capacity);
        EXPECT_EQ(21, list.count);
        for (int i = 1; i < 21; ++i)
            EXPECT_EQ(std::to_string(i), list.items[i].commandLine.Text());
    }
    EXPECT_EQ(live, g_liveBlocks);
}

TEST(HotKeyList, AssignmentCopiesCountAndSharesTexts)
{
    HotKeyList three, twentyFive, empty, target;
    for (int i = 0; i < 3; ++i)
        three.Append(Entry('0' + i, "three"));
    for (int i = 0; i < 25; ++i)
        twentyFive.Append(Entry('A' + i % 26, "many"));
    target.Append(Entry('Z', "old"));
    HotKey* array = target.items;

    target = three;
    EXPECT_EQ(20, target.capacity);
    EXPECT_EQ(3, target.count);
    EXPECT_EQ(array, target.items);
    EXPECT_EQ(BufferOf(three.items[2].commandLine), BufferOf(target.items[2].commandLine));
    EXPECT_EQ(UINT('2'), target.items[2].key);

    target = twentyFive;
    EXPECT_EQ(25, target.capacity);   // exactly, no step of 20
    EXPECT_EQ(25, target.count);
    EXPECT_EQ(UINT('A' + 24), target.items[24].key);

    HotKey* kept = target.items;
    target = empty;
    EXPECT_EQ(0, target.count);
    EXPECT_EQ(kept, target.items);
}

TEST(HotKeyList, HeapFailureLeavesTheListAsItWas)
{
    HotKeyList list, big;
    for (int i = 0; i < 20; ++i)
        list.Append(Entry('A', "a"));
    for (int i = 0; i < 30; ++i)
        big.Append(Entry('B', "b"));
    HeapFailure failing;
    EXPECT_EQ(nullptr, list.Append(Entry('C', "c")));
    EXPECT_EQ(20, list.count);
    list = big;
    EXPECT_EQ(20, list.count);
    EXPECT_EQ(20, list.capacity);
    EXPECT_STREQ("a", list.items[19].commandLine.Text());
}

TEST(HotKeyList, LiveTableIsConstructedAndDestroyedExplicitly)
{
    ConstructHotKeys();
    EXPECT_EQ(0, g_hotKeys.count);
    g_hotKeys.Append(Entry('1', "x"));
    EXPECT_EQ(1, g_hotKeys.count);
    LONG live = g_liveBlocks;
    DestroyHotKeys();
    EXPECT_EQ(live - 2, g_liveBlocks);   // the array and the one text
}

} // namespace
