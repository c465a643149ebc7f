// The quick dialogs, as the dialog seam sees them, and the named file types
// as file dialog filters and drop tests.

#include "app/FileTypes.h"
#include "app/General_Methods.h"
#include "platform/gui/DialogResponder.h"

#include <gtest/gtest.h>

using namespace ostrel;

TEST(QuickDialogs, ConfirmCaptionsDefaultToYesAndNo)
{
    const struct {
        const char* affirmative;
        const char* negative;
        const char* shownAction;
        const char* shownCancel;
    } cases[] = {
        {"", "", "Yes", "No"},
        {"Abort", "", "Abort", "No"},
        {"", "Keep", "Yes", "Keep"},
    };
    for (const auto& c : cases) {
        DialogResponder responder;
        General_Methods::QuickConfirmDialog("Really?", c.affirmative, c.negative);
        ASSERT_EQ(responder.Messages().size(), 1u);
        const MessageDialogRequest& shown = responder.Messages()[0];
        EXPECT_EQ(shown.title, "Ostrel");
        EXPECT_EQ(shown.message, "Really?");
        EXPECT_EQ(shown.actionCaption, c.shownAction);
        EXPECT_EQ(shown.cancelCaption, c.shownCancel);
        EXPECT_TRUE(shown.cancelVisible);
        EXPECT_FALSE(shown.alternateVisible);
        EXPECT_TRUE(shown.explanation.isEmpty());
    }
}

TEST(QuickDialogs, ConfirmIsTrueOnlyForTheAffirmativeButton)
{
    DialogResponder responder;
    for (DialogButton pressed : {DialogButton::Action, DialogButton::Cancel}) {
        responder.SetMessageAnswer([pressed](const MessageDialogRequest&) { return pressed; });
        EXPECT_EQ(General_Methods::QuickConfirmDialog("Really?", "Yes", "No"),
                  pressed == DialogButton::Action);
    }
}

TEST(QuickDialogs, MessageHasOneButtonDefaultingToOK)
{
    DialogResponder responder;
    General_Methods::QuickMessageDialog("Folders cannot be sent.");
    General_Methods::QuickMessageDialog("You need a newer system.", "Quit", "Details <b>here</b>");
    ASSERT_EQ(responder.Messages().size(), 2u);
    EXPECT_EQ(responder.Messages()[0].actionCaption, "OK");
    EXPECT_TRUE(responder.Messages()[0].explanation.isEmpty());
    EXPECT_EQ(responder.Messages()[1].actionCaption, "Quit");
    EXPECT_EQ(responder.Messages()[1].explanation, "Details <b>here</b>");
    for (const MessageDialogRequest& shown : responder.Messages()) {
        EXPECT_EQ(shown.title, "Ostrel");
        EXPECT_FALSE(shown.cancelVisible);
        EXPECT_FALSE(shown.alternateVisible);
    }
}

TEST(FileTypes, AreFoundByNameAndGiveDialogFilters)
{
    ASSERT_EQ(FileTypes::Named("AllFiles"), &FileTypes::AllFiles());
    ASSERT_EQ(FileTypes::Named("text/plain"), &FileTypes::TextPlain());
    EXPECT_EQ(FileTypes::Named("image/png"), nullptr);
    EXPECT_EQ(FileTypes::AllFiles().NameFilter(), "All Files (*)");
    EXPECT_EQ(FileTypes::TextPlain().NameFilter(), "Text Files (*.asc *.ascii *.text *.txt)");
    EXPECT_EQ(FileTypes::NameFilters({&FileTypes::TextPlain(), &FileTypes::AllFiles()}),
              "Text Files (*.asc *.ascii *.text *.txt);;All Files (*)");
    EXPECT_EQ(FileTypes::TextPlain().MacType(), "TEXT");
    EXPECT_EQ(FileTypes::TextPlain().MacCreator(), "ttxt");
}

TEST(FileTypes, MatchFilePaths)
{
    const struct {
        const char* path;
        bool allFiles;
        bool textPlain;
    } cases[] = {
        {"/tmp/firmware.bin", true, false},
        {"/tmp/notes.txt", true, true},
        {"/tmp/NOTES.TXT", true, true},
        {"/tmp/a.ascii", true, true},
        {"/tmp/a.asc", true, true},
        {"/tmp/a.text", true, true},
        {"/tmp/txt", true, false},
        {"/tmp/a.txt.gz", true, false},
        {"/tmp/no extension", true, false},
        {"/tmp/folder/", true, false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FileTypes::AllFiles().Matches(c.path), c.allFiles) << c.path;
        EXPECT_EQ(FileTypes::TextPlain().Matches(c.path), c.textPlain) << c.path;
    }
}
