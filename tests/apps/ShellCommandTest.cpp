#include "ShellCommand.h"
#include "ValueText.h"

#include <gtest/gtest.h>

using Kind = ShellCommand::Kind;

TEST(ShellCommandParse, KindsOfLine) {
    EXPECT_EQ(ShellCommand::Parse("").kind, Kind::Nothing);
    EXPECT_EQ(ShellCommand::Parse(" # Width = 1").kind, Kind::Nothing);
    EXPECT_EQ(ShellCommand::Parse("Width").kind, Kind::Get);
    EXPECT_EQ(ShellCommand::Parse("Width=1").kind, Kind::Put);
    EXPECT_EQ(ShellCommand::Parse("Width = 1").kind, Kind::Put);
    EXPECT_EQ(ShellCommand::Parse("Add 1 2").kind, Kind::Call);
    EXPECT_EQ(ShellCommand::Parse(".size 1 2").kind, Kind::Directive);
}

TEST(ShellCommandParse, NamesValuesAndWords) {
    const ShellCommand put = ShellCommand::Parse("\tCaption   =  \"a = b\"  ");
    EXPECT_EQ(put.name, "Caption");
    ASSERT_EQ(put.values.size(), 1u);
    EXPECT_EQ(put.values[0].narrow(), "a = b");

    const ShellCommand call = ShellCommand::Parse("Set_2 [1 2] \"x\" -1");
    EXPECT_EQ(call.name, "Set_2");
    EXPECT_EQ(call.values.size(), 3u);

    const ShellCommand directive = ShellCommand::Parse(".render  \"a b.png\"  10 ");
    EXPECT_EQ(directive.name, "render");
    EXPECT_EQ(directive.words, (std::vector<std::string>{"a b.png", "10"}));
}

TEST(ShellCommandParse, Malformed) {
    for (const char* line : {"Name(1)", "1abc", "= 3", "Name = ", "Name = 1 2", "Name \"open",
                             "_x-y", ".render \"open"})
        EXPECT_THROW(ShellCommand::Parse(line), SyntaxError) << line;
}
