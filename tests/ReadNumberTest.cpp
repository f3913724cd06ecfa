// dravik's reading of numbers from its command line.
#include "dravik/ReadNumber.h"
#include <gtest/gtest.h>
#include <cstring>

namespace {

struct Reading {
    int value;
    int stop;   // characters consumed
};

Reading Read(const char* text)
{
    const char* position = text;
    int value = ReadNumber(position);
    return {value, static_cast<int>(position - text)};
}

TEST(ReadNumber, SkipsSpacesAndStopsAfterTheLastDigit)
{
    Reading r = Read("  1024 768");
    EXPECT_EQ(1024, r.value);
    EXPECT_EQ(6, r.stop);

    const char* text = "  800    600 and more";
    const char* position = text;
    EXPECT_EQ(800, ReadNumber(position));
    EXPECT_EQ(600, ReadNumber(position));
    EXPECT_STREQ(" and more", position);

    EXPECT_EQ(7, Read("007").value);
}

TEST(ReadNumber, NoDigitGivesZeroAndStopsAfterTheSpaces)
{
    Reading empty = Read("");
    EXPECT_EQ(0, empty.value);
    EXPECT_EQ(0, empty.stop);

    Reading minus = Read("  -800");
    EXPECT_EQ(0, minus.value);
    EXPECT_EQ(2, minus.stop);

    // Only code 32 counts as a space.
    Reading tab = Read("\t600");
    EXPECT_EQ(0, tab.value);
    EXPECT_EQ(0, tab.stop);

    // Characters above 127 are no digits either.
    EXPECT_EQ(0, Read("\xb9\xb2").value);
}

TEST(ReadNumber, SeparatorsOtherThanSpaceLeaveTheSecondNumberZero)
{
    for (const char* text : {"640x480", "800,600", "800\t600"}) {
        const char* position = text;
        EXPECT_NE(0, ReadNumber(position)) << text;
        EXPECT_EQ(0, ReadNumber(position)) << text;
    }
}

TEST(ReadNumber, NumbersBeyondThirtyOneBitsGiveZeroButAreConsumed)
{
    EXPECT_EQ(2147483647, Read("2147483647").value);

    for (const char* text : {"2147483648", "2147483650", "4294967296", "99999999999999999999",
                             "21474836470"}) {
        Reading r = Read(text);
        EXPECT_EQ(0, r.value) << text;
        EXPECT_EQ(static_cast<int>(strlen(text)), r.stop) << text;
    }

    // An oversized first number is read to its end, so the second one is not
    // taken from its digits.
    const char* position = "4294967296 600";
    EXPECT_EQ(0, ReadNumber(position));
    EXPECT_EQ(600, ReadNumber(position));
}

}  // namespace
