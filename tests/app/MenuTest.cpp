// The menu bar: its menus and items as built, the enabling rules with and
// without a window in front, and shortcuts that reach items only the
// enabling pass makes available.

#include "ShellFixture.h"

#include "app/Menu.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QtTest>

#include <memory>

using namespace ostrel;
using namespace ostrel::test;

class MenuTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void barHoldsTheMenusAndItemsInOrder();
    void enablingWithNoWindowOpen();
    void enablingWithAWindowInFront();
    void shortcutsReachItemsThatOnlyThePassShows();

private:
    QStringList enabledItems() const;

    std::unique_ptr<Menu> menu_;
    std::unique_ptr<AppStandIn> app_;
    QStringList journal_;
};

void MenuTest::init()
{
    menu_ = std::make_unique<Menu>();
    app_ = std::make_unique<AppStandIn>();
    menu_->SetApplicationTarget(app_.get());
}

void MenuTest::cleanup()
{
    for (WindowBase* window : WindowList::Windows())
        delete window;
    Window_Methods::WindowArray.clear();
    menu_.reset();
    app_.reset();
}

QStringList MenuTest::enabledItems() const
{
    QStringList names;
    for (QMenu* menu : menu_->Menus()) {
        for (MenuItem* item : menu_->Items(menu)) {
            if (item->Enabled() && item->Visible() && !item->IsSeparator())
                names << item->Name() + (item->Index() ? QString::number(item->Index()) : "");
        }
    }
    return names;
}

void MenuTest::barHoldsTheMenusAndItemsInOrder()
{
    // name/index, caption, shortcut, auto-enable; "-" marks a separator.
    const QStringList expected[] = {
        {"UntitledMenu5 File", "FileNew/0|New|Ctrl+N|off", "FileClose/0|Close Window|Ctrl+W|off",
         "FileCloseAll/0|Close All|Ctrl+Alt+W|off", "UntitledMenu6/0|-||off", "FileQuit/0|Quit|Ctrl+Q|on"},
        {"UntitledMenu2 Edit", "EditUndo/0|Undo|Ctrl+Z|off", "UntitledMenu4/0|-||off",
         "EditCut/0|Cut|Ctrl+X|off", "EditCopy/0|Copy|Ctrl+C|off", "EditPaste/0|Paste|Ctrl+V|off",
         "EditClear/0|Clear||off", "UntitledMenu3/0|-||off", "EditSelectAll/0|Select All|Ctrl+A|off"},
        {"UntitledMenu1 Options", "OptionsTransferType/0|Transfer as Binary|Ctrl+B|off",
         "OptionsTransferType/1|Transfer as Text|Ctrl+T|off"},
        {"WindowMenu Window", "WindowPlaceHolder/0|Place Holder||off"},
        {"HelpMenu Help", "AppleAbout/0|About Ostrel||on"},
    };
    const std::vector<QMenu*> menus = menu_->Menus();
    QCOMPARE(menus.size(), std::size(expected));
    for (std::size_t m = 0; m < menus.size(); ++m) {
        QStringList actual{menus[m]->objectName() + " " + menus[m]->title()};
        for (MenuItem* item : menu_->Items(menus[m])) {
            actual << QString("%1/%2|%3|%4|%5")
                          .arg(item->Name())
                          .arg(item->Index())
                          .arg(item->IsSeparator() ? "-" : item->Caption(), item->Shortcut(),
                               item->AutoEnable() ? "on" : "off");
        }
        QCOMPARE(actual, expected[m]);
    }
    QCOMPARE(menu_->Item("FileQuit")->Action()->menuRole(), QAction::QuitRole);
    QCOMPARE(menu_->Item("AppleAbout")->Action()->menuRole(), QAction::AboutRole);

    // Each window shows a bar over the same menus.
    ShellWindow window("W", &journal_);
    QVERIFY(window.menuBar());
    QCOMPARE(window.menuBar()->actions().size(), qsizetype(menus.size()));
    QCOMPARE(window.menuBar()->actions().first(), menus.front()->menuAction());
}

void MenuTest::enablingWithNoWindowOpen()
{
    MenuBarModel::EnableMenuItems();
    QCOMPARE(enabledItems(), QStringList({"FileNew", "FileQuit", "AppleAbout"}));
    QVERIFY(menu_->Item("FileClose")->Visible());
    QVERIFY(!menu_->Item("FileCloseAll")->Visible());
    const std::vector<MenuItem*> entries = menu_->Items(menu_->WindowMenu());
    QCOMPARE(entries.size(), std::size_t(1));
    QCOMPARE(entries[0]->Caption(), QString("No windows"));
    QVERIFY(!entries[0]->Enabled());

    // Option held, still no window: Close All takes Close's place, disabled.
    OptionKey::Scoped option(true);
    MenuBarModel::EnableMenuItems();
    QVERIFY(!menu_->Item("FileClose")->Visible());
    QVERIFY(menu_->Item("FileCloseAll")->Visible());
    QVERIFY(!menu_->Item("FileCloseAll")->Enabled());
}

void MenuTest::enablingWithAWindowInFront()
{
    auto* window = new ShellWindow("Front", &journal_);
    window->show();
    MenuBarModel::EnableMenuItems();
    QCOMPARE(enabledItems(),
             QStringList({"FileNew", "FileClose", "FileQuit", "WindowWindowSelection", "AppleAbout"}));

    OptionKey::Scoped option(true);
    MenuBarModel::EnableMenuItems();
    QVERIFY(!menu_->Item("FileClose")->Visible());
    QVERIFY(menu_->Item("FileCloseAll")->Visible());
    QVERIFY(menu_->Item("FileCloseAll")->Enabled());
}

void MenuTest::shortcutsReachItemsThatOnlyThePassShows()
{
    auto* back = new ShellWindow("Back", &journal_);
    auto* front = new ShellWindow("Front", &journal_);
    back->show();
    front->show();
    MenuBarModel::EnableMenuItems();
    QVERIFY(!menu_->Item("FileCloseAll")->Visible());

    // The Option state comes from the key event itself.
    QTest::keyClick(front, Qt::Key_W, Qt::ControlModifier | Qt::AltModifier);
    QCOMPARE(journal_, QStringList({"Back:query", "Back:close", "Front:query", "Front:close"}));
    QCOMPARE(WindowList::WindowCount(), 0);

    journal_.clear();
    auto* only = new ShellWindow("Only", &journal_);
    only->show();
    MenuBarModel::EnableMenuItems();
    menu_->Item("FileClose")->SetEnabled(false);  // only the pass enables it
    QTest::keyClick(only, Qt::Key_W, Qt::ControlModifier);
    QCOMPARE(journal_, QStringList({"Only:query", "Only:close"}));
}

QTEST_MAIN(MenuTest)
#include "MenuTest.moc"
