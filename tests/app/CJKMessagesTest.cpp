#include "app/CJKMessages.h"
#include "support/ScriptedMessageBoxes.h"

#include <gtest/gtest.h>

using Button = MessageBoxRequest::Button;

TEST(InsertArgument, ReplacesOnlyTheFirstPlaceholder)
{
    EXPECT_EQ(CJKMessages::InsertArgument("a %1 b %1", "x"), "a x b %1");
    EXPECT_EQ(CJKMessages::InsertArgument("no placeholder", "x"), "no placeholder");
    EXPECT_EQ(CJKMessages::InsertArgument("%1", "%1%1"), "%1%1");  // not scanned again
    EXPECT_EQ(CJKMessages::InsertArgument("\"%1\"", ""), "\"\"");
}

TEST(InsertArguments, EachMarkTakesItsOwnArgumentUnscanned)
{
    EXPECT_EQ(CJKMessages::InsertArguments("to \"%1\". %2.", "/a %2", "no %1 space"),
              "to \"/a %2\". no %1 space.");
    EXPECT_EQ(CJKMessages::InsertArguments("%2 then %1", "one", "two"), "two then one");
    EXPECT_EQ(CJKMessages::InsertArguments("only %1", "one", "two"), "only one");
}

TEST(MessageText, UnknownCodesGetTheFallbackWithThePlaceholder)
{
    EXPECT_EQ(CJKMessages::MessageText(1234), "Unexpected error! (Code #1234 - [%1])");
    EXPECT_EQ(CJKMessages::MessageText(-7), "Unexpected error! (Code #-7 - [%1])");
}

TEST(MessageText, ParagraphsAreSeparatedByTwoLineBreaks)
{
    EXPECT_EQ(CJKMessages::MessageText(3700),
              "There are modules with same names assigned to this disc (e.g. C:\\FLY.MOD and "
              "C:\\MODS\\FLY.MOD).\r\n\r\nJukarium can't move all modules to a directory when "
              "there are modules with equal names.");
    EXPECT_EQ(CJKMessages::MessageText(3900),
              "General copy-error!\r\n\r\nMaybe there is a module with the same name in \"%1\". "
              "Please select a other directory and try again.");
}

class MessageBoxTest : public ::testing::Test {
protected:
    ScriptedMessageBoxes boxes;
};

TEST_F(MessageBoxTest, LoadErrorIsAnErrorBoxNamingThePath)
{
    CJKMessages::Show(1100, "/mods/song.xm");
    ASSERT_EQ(boxes.shown.size(), 1);
    const MessageBoxRequest& box = boxes.shown[0].request;
    EXPECT_EQ(box.caption, "Error");
    EXPECT_EQ(box.icon, MessageBoxRequest::Icon::Error);
    EXPECT_EQ(box.buttons, MessageBoxRequest::Buttons::Ok);
    EXPECT_EQ(box.text,
              "Load Error! Can't read module \"/mods/song.xm\".\r\n\r\nEither this is an unknown "
              "type, the module is corrupt or it doesn't exists.");
}

TEST_F(MessageBoxTest, CodesFrom20000AreInformation)
{
    CJKMessages::Show(19999, "");
    CJKMessages::Show(20000, "");
    ASSERT_EQ(boxes.shown.size(), 2);
    EXPECT_EQ(boxes.shown[0].request.icon, MessageBoxRequest::Icon::Error);
    EXPECT_EQ(boxes.shown[1].request.caption, "Information");
    EXPECT_EQ(boxes.shown[1].request.icon, MessageBoxRequest::Icon::Information);
    EXPECT_EQ(boxes.shown[1].request.text, "You have to open a module first to use this function.");
}

TEST_F(MessageBoxTest, FallbackTextCarriesCodeAndArgument)
{
    CJKMessages::Show(1600, "/target/song.mod");
    ASSERT_EQ(boxes.shown.size(), 1);
    EXPECT_EQ(boxes.shown[0].request.text, "Unexpected error! (Code #1600 - [/target/song.mod])");
}

TEST_F(MessageBoxTest, QuestionsUpTo30000OfferYesNoCancel)
{
    boxes.answers = {Button::Yes, Button::No, Button::Cancel};
    EXPECT_EQ(CJKMessages::Ask(30000, ""), CJKMessages::AnswerYes);
    EXPECT_EQ(CJKMessages::Ask(30000, ""), CJKMessages::AnswerNo);
    EXPECT_EQ(CJKMessages::Ask(30000, ""), CJKMessages::AnswerCancel);
    EXPECT_EQ(CJKMessages::Ask(30000, ""), CJKMessages::AnswerCancel);  // Escape or closed
    const MessageBoxRequest& box = boxes.shown[0].request;
    EXPECT_EQ(box.caption, "Confirm");
    EXPECT_EQ(box.icon, MessageBoxRequest::Icon::Question);
    EXPECT_EQ(box.buttons, MessageBoxRequest::Buttons::YesNoCancel);
    EXPECT_EQ(box.defaultButton, Button::Yes);
    EXPECT_EQ(box.escapeButton, Button::Cancel);
}

TEST_F(MessageBoxTest, QuestionsAbove30000OfferOkCancel)
{
    boxes.answers = {Button::Ok, Button::Cancel};
    EXPECT_EQ(CJKMessages::Ask(30100, "/m/a.mod"), CJKMessages::AnswerYes);
    EXPECT_EQ(CJKMessages::Ask(30100, "/m/a.mod"), CJKMessages::AnswerCancel);
    EXPECT_EQ(CJKMessages::Ask(30100, "/m/a.mod"), CJKMessages::AnswerCancel);
    const MessageBoxRequest& box = boxes.shown[0].request;
    EXPECT_EQ(box.buttons, MessageBoxRequest::Buttons::OkCancel);
    EXPECT_EQ(box.defaultButton, Button::Ok);
    EXPECT_EQ(box.escapeButton, Button::Cancel);
    EXPECT_EQ(box.text, "Are you really sure to delete \"/m/a.mod\"? Note: The module will NOT "
                        "be found in the trashcan!");
}

TEST_F(MessageBoxTest, BoxShowsTheArrowAndPutsBackTheHourglass)
{
    ScreenCursor::HourglassScope working;
    CJKMessages::Show(1000);
    CJKMessages::Ask(30000);
    ASSERT_EQ(boxes.shown.size(), 2);
    EXPECT_EQ(boxes.shown[0].cursor, CursorShape::Arrow);
    EXPECT_EQ(boxes.shown[1].cursor, CursorShape::Arrow);
    EXPECT_EQ(ScreenCursor::shape(), CursorShape::Hourglass);
}

TEST(MessageBoxWithoutSeam, QuestionsAnswerCancel)
{
    EXPECT_EQ(CJKMessages::Ask(30000), CJKMessages::AnswerCancel);
    CJKMessages::Show(1100, "x");  // shows nothing and returns
}
