// The window registry: the Window menu's entries, Close All, the Option
// close, windows closed once and hidden ones never, and the menu-enabling
// timer on the simulated clock.

#include "ShellFixture.h"

#include "app/General_Methods.h"
#include "app/MNU_WindowItem.h"
#include "app/Menu.h"
#include "app/Menu_Enabler.h"
#include "platform/gui/DialogResponder.h"
#include "platform/gui/SystemBeep.h"
#include "platform/sim/SimWorld.h"

#include <QAction>
#include <QMenu>
#include <QtTest>

#include <memory>

using namespace ostrel;
using namespace ostrel::test;

class WindowMethodsTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void windowMenuListsElevenWindowsInOpeningOrder();
    void windowEntryBringsItsWindowForwardOrBeeps();
    void closeAllLeavesTheRefusingWindowOpen();
    void optionCloseClosesTheWindowsBehindFirst();
    void optionCloseOfABackWindowClosesEachWindowOnce();
    void registeringTwiceAndUnregisteringOnceLeavesOneEntry();
    void menuEnablerRefreshesOncePerSpellWithoutWindows();

private:
    ShellWindow* open(const QString& title)
    {
        auto* window = new ShellWindow(title, &journal_);
        window->show();
        return window;
    }
    std::vector<MenuItem*> windowEntries() const
    {
        return menu_->Items(menu_->WindowMenu());
    }

    std::unique_ptr<Menu> menu_;
    std::unique_ptr<AppStandIn> app_;
    QStringList journal_;
};

void WindowMethodsTest::init()
{
    menu_ = std::make_unique<Menu>();
    app_ = std::make_unique<AppStandIn>();
    menu_->SetApplicationTarget(app_.get());
    journal_.clear();
}

void WindowMethodsTest::cleanup()
{
    for (WindowBase* window : WindowList::Windows())
        delete window;
    Window_Methods::WindowArray.clear();
    QVERIFY(!Window_Methods::gCloseAllInProgress);
    menu_.reset();
    app_.reset();
}

void WindowMethodsTest::windowMenuListsElevenWindowsInOpeningOrder()
{
    std::vector<ShellWindow*> windows;
    for (int i = 1; i <= 11; ++i)
        windows.push_back(open(QString("W%1").arg(i)));
    WindowList::BringToFront(windows[4]);  // front-to-back order does not matter
    windows[2]->setWindowTitle("Renamed & more");

    MenuBarModel::EnableMenuItems();
    QStringList rows;
    for (MenuItem* entry : windowEntries())
        rows << QString("%1 %2 %3 %4").arg(entry->Caption(), entry->Shortcut()).arg(entry->Index())
                    .arg(entry->Enabled());
    QCOMPARE(rows, QStringList({"W1 Ctrl+1 0 1", "W2 Ctrl+2 1 1", "Renamed && more Ctrl+3 2 1",
                                "W4 Ctrl+4 3 1", "W5 Ctrl+5 4 1", "W6 Ctrl+6 5 1", "W7 Ctrl+7 6 1",
                                "W8 Ctrl+8 7 1", "W9 Ctrl+9 8 1", "W10 Ctrl+0 9 1", "W11  10 1"}));
    QCOMPARE(windowEntries()[2]->Action()->iconText(), QString("Renamed & more"));
    QCOMPARE(dynamic_cast<MNU_WindowItem*>(windowEntries()[10])->Tag(), windows[10]);
}

void WindowMethodsTest::windowEntryBringsItsWindowForwardOrBeeps()
{
    int beeps = 0;
    SystemBeep::SetHandler([&] { ++beeps; });
    ShellWindow* first = open("First");
    QPointer<ShellWindow> second = open("Second");
    open("Third");

    // Command-1 reaches the first entry, which the pass has just built.
    QTest::keyClick(WindowList::FrontWindow(), Qt::Key_1, Qt::ControlModifier);
    QCOMPARE(WindowList::FrontWindow(), first);

    // An entry whose window has gone since the menu was built beeps.
    MenuBarModel::EnableMenuItems();
    MenuItem* stale = windowEntries()[1];
    second->close();
    QTRY_VERIFY(second.isNull());
    stale->Action()->trigger();
    QCOMPARE(beeps, 1);
    QCOMPARE(WindowList::FrontWindow(), first);
    SystemBeep::SetHandler(nullptr);
}

void WindowMethodsTest::closeAllLeavesTheRefusingWindowOpen()
{
    DialogResponder responder;
    responder.SetMessageAnswer([](const MessageDialogRequest&) { return DialogButton::Cancel; });
    open("A");
    ShellWindow* busy = open("Busy");
    busy->refuses = [] {
        return !General_Methods::QuickConfirmDialog("Really abort the transfer in progress?", "Yes",
                                                    "No");
    };
    ShellWindow* hidden = open("Hidden");
    hidden->hide();
    open("C");

    OptionKey::Scoped option(true);  // Close All shows only with Option held
    QVERIFY(menu_->Choose("FileCloseAll"));

    // Back-most first; the refusal stops nothing else; the hidden window
    // is not asked.
    QCOMPARE(journal_, QStringList({"A:query", "A:close", "Busy:query", "C:query", "C:close"}));
    QCOMPARE(responder.Messages().size(), std::size_t(1));
    QCOMPARE(WindowList::Windows(), std::vector<WindowBase*>({busy, hidden}));
    QCOMPARE(Window_Methods::WindowArray.size(), std::size_t(2));
}

void WindowMethodsTest::optionCloseClosesTheWindowsBehindFirst()
{
    ShellWindow* back = open("Back");
    ShellWindow* hidden = open("Hidden");
    hidden->hide();
    open("Middle");
    ShellWindow* front = open("Front");
    QCOMPARE(menu_->Item("FileClose")->Caption(), QString("Close Window"));

    OptionKey::Scoped option(true);
    QVERIFY(front->close());

    QCOMPARE(journal_, QStringList({"Front:query", "Back:query", "Back:close", "Middle:query",
                                    "Middle:close", "Front:close"}));
    QCOMPARE(menu_->Item("FileClose")->Caption(), QString("Close"));
    QCOMPARE(WindowList::Windows(), std::vector<WindowBase*>({hidden}));
    QCOMPARE(back->isVisible(), false);
}

void WindowMethodsTest::optionCloseOfABackWindowClosesEachWindowOnce()
{
    ShellWindow* back = open("Back");
    ShellWindow* middle = open("Middle");
    ShellWindow* front = open("Front");

    // The back window's close box, Option held: the others behind the front
    // close with it, the front stays, and nobody is asked or closed twice.
    OptionKey::Scoped option(true);
    QVERIFY(back->close());

    QCOMPARE(journal_, QStringList({"Back:query", "Middle:query", "Middle:close", "Back:close"}));
    QCOMPARE(back->closes + middle->closes, 2);
    QCOMPARE(WindowList::Windows(), std::vector<WindowBase*>({front}));
}

void WindowMethodsTest::registeringTwiceAndUnregisteringOnceLeavesOneEntry()
{
    ShellWindow* w = open("W");
    Window_Methods::RegisterWindow(w);
    QCOMPARE(Window_Methods::WindowArray.size(), std::size_t(2));
    Window_Methods::UnregisterWindow(w);
    QCOMPARE(Window_Methods::WindowArray.size(), std::size_t(1));
    QCOMPARE(Window_Methods::WindowArray.front(), w);
    Window_Methods::UnregisterWindow(nullptr);
    QCOMPARE(Window_Methods::WindowArray.size(), std::size_t(1));

    // Once it has closed, even a doubly registered window leaves no entry.
    Window_Methods::RegisterWindow(w);
    w->close();
    QVERIFY(Window_Methods::WindowArray.empty());
    MenuBarModel::EnableMenuItems();
    QCOMPARE(windowEntries().front()->Caption(), QString("No windows"));
}

void WindowMethodsTest::menuEnablerRefreshesOncePerSpellWithoutWindows()
{
    sim::SimWorld world;
    General_Methods::gMenuEnabler = std::make_unique<Menu_Enabler>();
    auto entryCaption = [this] { return windowEntries().front()->Caption(); };
    QCOMPARE(entryCaption(), QString("Place Holder"));

    world.Advance(Menu_Enabler::PeriodMs - 1);
    QCOMPARE(app_->passes, 0);
    world.Advance(1);
    QCOMPARE(app_->passes, 1);
    QCOMPARE(entryCaption(), QString("No windows"));
    world.Advance(Menu_Enabler::PeriodMs * 4);
    QCOMPARE(app_->passes, 1);  // once per spell

    ShellWindow* w = open("W");
    MenuBarModel::EnableMenuItems();
    const int passesWithWindow = app_->passes;
    world.Advance(Menu_Enabler::PeriodMs * 2);
    QCOMPARE(app_->passes, passesWithWindow);  // windows open: the timer leaves the bar alone
    QCOMPARE(entryCaption(), QString("W"));

    w->close();
    world.Advance(Menu_Enabler::PeriodMs);
    QCOMPARE(app_->passes, passesWithWindow + 1);
    QCOMPARE(entryCaption(), QString("No windows"));
    General_Methods::gMenuEnabler.reset();
}

QTEST_MAIN(WindowMethodsTest)
#include "WindowMethodsTest.moc"
