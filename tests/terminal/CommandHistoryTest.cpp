// The terminal's history of 51 commands: the last-command buttons and the
// arrow keys.

#include "support/QtPrinters.h"
#include "terminal/CommandHistory.h"

#include <gtest/gtest.h>

namespace {

std::string Command(int n) {
    return "0X" + std::to_string(n) + "!";
}

CommandHistory WithCommands(int count) {
    CommandHistory history;
    for (int n = 1; n <= count; ++n)
        history.Store(Command(n));
    return history;
}

std::string Up(CommandHistory& history) {
    std::string entry = "(unchanged)";
    history.Older(entry);
    return entry;
}

std::string Down(CommandHistory& history) {
    std::string entry = "(unchanged)";
    history.Newer(entry);
    return entry;
}

} // namespace

TEST(CommandHistoryTest, AfterFiftyThreeCommandsTheButtonsShowTheFiveMostRecent) {
    const CommandHistory history = WithCommands(53);
    EXPECT_EQ(history.WriteIndex(), 2) << "53 commands wrapped the ring of 51 slots";
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(history.Recent(i), Command(53 - i)) << i;
    EXPECT_EQ(WithCommands(2).Recent(2), "") << "no third command yet";
}

TEST(CommandHistoryTest, LongCommandsAreShortenedOnTheirButtons) {
    EXPECT_EQ(CommandHistory::ButtonCaption("0ABCDEFGHIJKL!"), "0ABCDEFGHIJKL!") << "14 characters";
    EXPECT_EQ(CommandHistory::ButtonCaption("0ABCDEFGHIJKLMNOPQR!"), "0ABCDEFGHIJKLMN ...")
        << "20 characters: the first 15 and \" ...\"";
}

TEST(CommandHistoryTest, UpWithAnEmptyHistoryEmptiesTheEntryField) {
    CommandHistory history;
    EXPECT_EQ(Up(history), "");
    EXPECT_EQ(Down(history), "(unchanged)");
}

TEST(CommandHistoryTest, UpShowsTheLastCommandThenOlderOnesDownToTheFirst) {
    CommandHistory history = WithCommands(3);
    EXPECT_EQ(Up(history), Command(3));
    EXPECT_EQ(Up(history), Command(2));
    EXPECT_EQ(Up(history), Command(1));
    EXPECT_EQ(Up(history), Command(1)) << "browsing does not wrap";
    // Down shows the command at the browse position, then the newer ones.
    EXPECT_EQ(Down(history), Command(1));
    EXPECT_EQ(Down(history), Command(2));
    EXPECT_EQ(Down(history), Command(3));
    EXPECT_EQ(Down(history), "(unchanged)");
    history.Store("0I!");
    EXPECT_EQ(Up(history), "0I!") << "a send starts browsing again at the newest";
}

TEST(CommandHistoryTest, AfterTheRingWrapsUpStillStartsWithTheNewest) {
    for (const int count : {50, 51, 52, 53, 120}) {
        CommandHistory history = WithCommands(count);
        EXPECT_EQ(Up(history), Command(count)) << count;
        EXPECT_EQ(Up(history), Command(count - 1)) << count;
    }
    CommandHistory full = WithCommands(60);
    std::string entry;
    for (int i = 0; i < 60; ++i)
        full.Older(entry);
    EXPECT_EQ(entry, Command(10)) << "the oldest of the 51 kept";
}
