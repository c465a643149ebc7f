// The About window: one instance for any number of About commands, listed in
// the Window menu under its title, its layout (size, tabs, the five panes and
// their texts, the instructions verbatim), the version label, File > Close,
// and the Option-close that closes the other windows unless Ostrel quits.

#include "AppFixture.h"

#include "app/About_Wnd.h"
#include "app/Menu.h"
#include "app/Version_Fld.h"
#include "controls/Colored_F_Editfield.h"
#include "platform/gui/OptionKey.h"

#include <QLabel>
#include <QMenu>
#include <QTabWidget>
#include <QtTest>

using namespace ostrel;
using namespace ostrel::test;

namespace {

// The instructions as the user reads them, written out independently of the
// window's own copy.
const char* const InstructionParagraphs[] = {
    "All the relevant controls for initiating a transfer are in the TFTP window. You can create a "
    "new TFTP window by choosing \xE2\x80\x9C<B>New</B>\xE2\x80\x9D from the <U>File</U> menu.",
    "The TFTP protocol allows you to initiate either a Send or Receive with the TFTP server. "
    "Choose the appropriate option.",
    "The \xE2\x80\x9C<B>Address</B>\xE2\x80\x9D field allows you to enter the name or address of "
    "the TFTP server.",
    "The \xE2\x80\x9C<B>Password</B>\xE2\x80\x9D field is optional. Some systems require and will "
    "use a password. Others won\xE2\x80\x99t. Note that a password is not part of the TFTP "
    "standard and will most likely be ignored by most servers.",
    "If you are sending, the \xE2\x80\x9C<B>File</B>\xE2\x80\x9D button will allow you to choose "
    "the file. You can also drag-and-drop the file onto the window or onto the Ostrel icon.",
    "If you are receiving, the \xE2\x80\x9C<B>File</B>\xE2\x80\x9D button will allow you to name "
    "the file you wish to receive and tell Ostrel where you want to place it. Note that this step "
    "does not create any file until you actually initiate the transfer.",
    "Certain systems may require a Text transfer rather than the default Binary transfer. You can "
    "switch this setting in the <U>Options</U> menu. Note that no conversion actually takes "
    "place. The transfer is identical as far as Ostrel is concerned. The setting is simply meant "
    "to fool the TFTP server into thinking it is a text transfer.",
    "When all the settings above are correct, press the \xE2\x80\x9C<B>Start</B>\xE2\x80\x9D "
    "button to begin the transfer. You can stop the transfer at any time by pressing "
    "\xE2\x80\x9C<B>Stop...</B>\xE2\x80\x9D.",
    "You can initiate multiple transfers simultaneously to the same server or a different server. "
    "Choose \xE2\x80\x9C<B>New</B>\xE2\x80\x9D from the <U>File</U> menu to open another TFTP "
    "window and fill in the settings as above.",
};

QString Instructions()
{
    QStringList paragraphs;
    for (const char* paragraph : InstructionParagraphs)
        paragraphs << QString::fromUtf8(paragraph);
    return paragraphs.join(QStringLiteral("\n\n"));
}

QString WithoutTags(QString text)
{
    for (const char* tag : {"<B>", "</B>", "<U>", "</U>"})
        text.remove(QString::fromLatin1(tag));
    return text;
}

}  // namespace

class AboutWndTest : public QObject {
    Q_OBJECT

private slots:
    void init() { fixture_ = std::make_unique<AppFixture>(); }
    void cleanup() { fixture_.reset(); }

    void secondAboutCommandBringsTheSameWindowForward();
    void windowMenuListsItUnderItsTitle();
    void layoutTabsAndTexts();
    void versionLabelShowsTheBuildsVersion();
    void closingAndReopeningMakesAFreshWindow();
    void optionCloseClosesTheOthersUnlessQuitting();

private:
    About_Wnd* about()
    {
        MenuBarModel::Instance()->Dispatch("AppleAbout", 0);
        return About_Wnd::Instance();
    }

    std::unique_ptr<AppFixture> fixture_;
};

void AboutWndTest::secondAboutCommandBringsTheSameWindowForward()
{
    About_Wnd* first = about();
    QVERIFY(first);
    QVERIFY(first->isVisible());
    fixture_->app->NewDocument();
    QVERIFY(WindowList::FrontWindow() != first);

    QCOMPARE(about(), first);
    QCOMPARE(WindowList::FrontWindow(), first);
    QCOMPARE(WindowList::WindowCount(), 2);
}

void AboutWndTest::windowMenuListsItUnderItsTitle()
{
    fixture_->app->NewDocument();
    about();
    fixture_->app->NewDocument();
    MenuBarModel::Instance()->RunEnablingPass();

    QStringList captions;
    for (MenuItem* item : fixture_->app->MenuBar()->Items(fixture_->app->MenuBar()->WindowMenu()))
        captions << item->Caption();
    QCOMPARE(captions, (QStringList{"Send", "About Ostrel", "Send"}));
    QVERIFY(AppFixture::Item("FileClose")->Enabled());  // the About window enables it
}

void AboutWndTest::layoutTabsAndTexts()
{
    About_Wnd* window = about();
    QCOMPARE(window->windowTitle(), QStringLiteral("About Ostrel"));
    QCOMPARE(window->centralWidget()->size(), QSize(485, 400));
    QCOMPARE(window->minimumSize(), window->maximumSize());  // not resizable
    QVERIFY(!(window->windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint)));

    QTabWidget* tabs = window->TabPanel1();
    QStringList captions;
    for (int i = 0; i < tabs->count(); ++i)
        captions << tabs->tabText(i);
    QCOMPARE(captions, (QStringList{"About", "Instructions", "Acknowledgements", "Contact", "Legal"}));
    QCOMPARE(tabs->currentIndex(), 0);
    QVERIFY(window->fldAbout()->isVisible());
    QVERIFY(window->StaticText3()->isVisible());
    QVERIFY(!window->InstructionFld()->isVisible());

    tabs->setCurrentIndex(About_Wnd::TabInstructions);
    QVERIFY(window->InstructionFld()->isVisible());
    QVERIFY(!window->fldAbout()->isVisible());
    QVERIFY(!window->StaticText3()->isVisible());
    QVERIFY(window->StaticText1()->isVisible());  // outside the tabs: always shown

    // Every pane is formatted from its opening on, read-only, with its text.
    QCOMPARE(window->InstructionFld()->GetUnformattedText(), Instructions());
    QCOMPARE(window->InstructionFld()->Text(), WithoutTags(Instructions()));
    const QString about = window->fldAbout()->Text();
    QVERIFY(about.startsWith(QStringLiteral("TFTP, or Trivial File Transfer Protocol, is a simple method")));
    QVERIFY(about.contains(QStringLiteral("Ostrel")));
    QVERIFY(about.endsWith(QStringLiteral(
        "It allows you to send or receive files from a TFTP server, perform multiple simultaneous "
        "transfers, etc.")));
    QCOMPARE(about.count(QStringLiteral("\n\n")), 1);
    QVERIFY(window->fldLegal()->Text().contains(QStringLiteral("MIT License")));
    QVERIFY(window->fldLegal()->Text().contains(QStringLiteral("WITHOUT WARRANTY OF ANY KIND")));
    for (Colored_F_Editfield* pane : {window->InstructionFld(), window->fldAbout(), window->fldLegal(),
                                      window->FldAck(), window->ContactFld()}) {
        QVERIFY(pane->isReadOnly());
        QVERIFY(!pane->Text().contains(QLatin1Char('<')));  // every tag rendered
    }
    QCOMPARE(window->StaticText1()->text(), QStringLiteral("Ostrel"));
    QCOMPARE(window->StaticText2()->text().count(QLatin1Char('\n')), 1);  // two lines
}

void AboutWndTest::versionLabelShowsTheBuildsVersion()
{
    Version_Fld unopened;
    QCOMPARE(unopened.text(), QStringLiteral("Version"));

    About_Wnd* window = about();
    QCOMPARE(window->StaticText3()->text(), QStringLiteral(OSTREL_VERSION));
    QVERIFY(window->StaticText3()->text() != QStringLiteral("Version"));
}

void AboutWndTest::closingAndReopeningMakesAFreshWindow()
{
    QPointer<About_Wnd> first = about();
    first->TabPanel1()->setCurrentIndex(About_Wnd::TabLegal);
    QVERIFY(MenuBarModel::Instance()->Choose("FileClose"));
    QVERIFY(first->IsClosed());
    QVERIFY(Window_Methods::WindowArray.empty());
    QVERIFY(!About_Wnd::Instance());

    About_Wnd* second = about();
    QVERIFY(second && second != first);
    QCOMPARE(second->TabPanel1()->currentIndex(), 0);  // opens on "About" again
    QTRY_VERIFY(first.isNull());
}

void AboutWndTest::optionCloseClosesTheOthersUnlessQuitting()
{
    fixture_->app->NewDocument();
    fixture_->app->NewDocument();
    About_Wnd* window = about();
    {
        OptionKey::Scoped option(true);
        window->close();
    }
    QCOMPARE(WindowList::WindowCount(), 0);

    fixture_->app->NewDocument();
    window = about();
    {
        OptionKey::Scoped option(true);
        QVERIFY(!window->Event_CancelClose(true));  // quitting: no close-all of its own
    }
    QCOMPARE(WindowList::WindowCount(), 2);
}

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    AboutWndTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "AboutWndTest.moc"
