#pragma once
#include <gtest/gtest.h>
#include <string>
#include "DialogDriver.h"
#include "TestRegistry.h"
#include "tests/TestHeap.h"
#include "model/HotKey.h"

inline HotKey MakeEntry(UINT key, UINT modifiers, const char* commandLine,
                        const char* parameters = nullptr, const char* workingDirectory = nullptr)
{
    HotKey entry;
    entry.key = key;
    entry.modifiers = modifiers;
    entry.commandLine.Assign(commandLine);
    entry.parameters.Assign(parameters);
    entry.workingDirectory.Assign(workingDirectory);
    return entry;
}

inline std::string TextOf(const SharedString& text)
{
    return text.Text() ? text.Text() : "";
}

// Every dialog test starts without settings and must leave no dialog open.
class DialogTest : public testing::Test {
protected:
    void SetUp() override
    {
        testreg::DeleteSettings();
        g_allocationsBeforeFailure = -1;
    }
    void TearDown() override
    {
        g_allocationsBeforeFailure = -1;
        EXPECT_EQ(ui::CountDialogs(), 0);
    }

    static std::string DialogKey(const char* name)
    {
        return std::string(testreg::AppKey) + "\\" + name;
    }
};
