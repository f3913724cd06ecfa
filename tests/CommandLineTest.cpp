// The start-up's split of the full command line into program name and tail.
#include "launcher/Startup.h"
#include <gtest/gtest.h>
#include <string>

namespace {

std::string Tail(const char* commandLine)
{
    std::string line = commandLine;   // the start-up gets a writable line
    return CommandLineTail(&line[0]);
}

TEST(CommandLineTail, QuotedProgramPath)
{
    EXPECT_EQ("1024 768", Tail("\"C:\\Program Files\\Zindral\\dravik.exe\"  1024 768"));
    EXPECT_EQ("", Tail("\"C:\\Program Files\\dravik.exe\""));
    EXPECT_EQ("", Tail("\"C:\\Program Files\\dravik.exe\"   "));
    // The tail may follow the closing quote without a blank.
    EXPECT_EQ("800 600", Tail("\"C:\\dravik.exe\"800 600"));
    // No closing quote: the whole line is the program name.
    EXPECT_EQ("", Tail("\"C:\\Program Files\\dravik.exe 800 600"));
    EXPECT_EQ("", Tail("\""));
    EXPECT_EQ("x", Tail("\"\" x"));
}

TEST(CommandLineTail, UnquotedProgramPath)
{
    EXPECT_EQ("", Tail("C:\\zindral.exe"));
    EXPECT_EQ("640 480", Tail("C:\\dravik.exe 640 480"));
    EXPECT_EQ("640 480  words", Tail("dravik 640 480  words"));
    EXPECT_EQ("", Tail(""));
    EXPECT_EQ("1 2", Tail(" 1 2"));   // an empty program name
}

TEST(CommandLineTail, BlanksAndControlCharactersAreSkippedAfterTheName)
{
    EXPECT_EQ("800\t600", Tail("dravik.exe \t\r\n 800\t600"));
    EXPECT_EQ("800", Tail("dravik.exe\t800"));
    EXPECT_EQ("800", Tail("dravik.exe\x01\x1f 800"));
    EXPECT_EQ("800", Tail("\"C:\\dravik.exe\"\t\x01 800"));
    EXPECT_EQ("", Tail("dravik.exe \t \x1f"));
    // Code 33 and up belong to the text.
    EXPECT_EQ("!x", Tail("dravik.exe !x"));
}

TEST(CommandLineTail, CharactersAbove127AreOrdinary)
{
    EXPECT_EQ("800 600", Tail("C:\\Z\xfcrich\\dravik.exe 800 600"));
    EXPECT_EQ("800 600", Tail("C:\\\x80\xff\xa0.exe 800 600"));
    EXPECT_EQ("\xe9t\xe9 1", Tail("\"C:\\Z\xfcrich\\dravik.exe\" \xe9t\xe9 1"));
    // Not skipped as blanks after the name either.
    EXPECT_EQ("\xa0" "800", Tail("dravik.exe \xa0" "800"));
}

TEST(CommandLineTail, TailPointsIntoTheGivenLine)
{
    char line[] = "\"C:\\dravik.exe\" 1 2";
    EXPECT_EQ(line + 16, CommandLineTail(line));
    char bare[] = "dravik";
    EXPECT_EQ(bare + 6, CommandLineTail(bare));
    EXPECT_EQ('\0', *CommandLineTail(bare));
}

} // namespace
