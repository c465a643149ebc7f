// The menu layer: shortcut spelling, the enabling pass and its order, command
// dispatch along focused control, front window and application, key presses
// matched only after the pass, and the standard editing commands.

#include "platform/gui/MenuBarModel.h"
#include "platform/gui/MenuCommandTarget.h"
#include "platform/gui/MenuItem.h"
#include "platform/gui/WindowBase.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextEdit>
#include <QtTest>

#include <functional>
#include <memory>

using namespace ostrel;

namespace {

// Records what reaches one command target; its enabling and whether it
// handles "Probe" are settable per test.
class Probe {
public:
    Probe(QString label, QStringList* journal, MenuCommandTarget& target)
        : label_(std::move(label)), journal_(journal)
    {
        target.AddMenuHandler("Probe", [this](int index) {
            journal_->append(label_ + ":Probe" + QString::number(index));
            return handles;
        });
    }
    void Enable()
    {
        journal_->append(label_ + ":enable");
        if (enable)
            enable();
    }
    bool handles = false;
    std::function<void()> enable;

private:
    QString label_;
    QStringList* journal_;
};

class ProbeTarget : public MenuCommandTarget, public Probe {
public:
    explicit ProbeTarget(QStringList* journal) : Probe("app", journal, *this) {}
    void EnableMenuItems() override { Enable(); }
};

class ProbeField : public QLineEdit, public MenuCommandTarget, public Probe {
public:
    explicit ProbeField(QStringList* journal) : Probe("field", journal, *this) {}
    void EnableMenuItems() override { Enable(); }
};

class ProbeWindow : public WindowBase, public Probe {
public:
    explicit ProbeWindow(QStringList* journal) : Probe("window", journal, *this)
    {
        setAttribute(Qt::WA_DeleteOnClose, false);
    }
    void Event_EnableMenuItems() override { Enable(); }
};

}  // namespace

class MenuBarModelTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void shortcutsAcceptTheMacSpelling();
    void passStartsFromAutoEnableThenRunsEachLevelInOrder();
    void commandGoesToControlThenWindowThenApplication();
    void keyReachesAnItemThatOnlyThePassEnables();
    void keyOfADisabledItemIsSwallowed();
    void menuOpeningRunsThePass();
    void choosingAnItemLeavesItsCheckMarkAlone();
    void standardEditingIsEnabledOnlyWhereItApplies();
    void standardEditingIsCarriedOutWhenNoHandlerTakesIt();

private:
    MenuItem* item(const char* name) { return model_->Item(name); }

    std::unique_ptr<MenuBarModel> model_;
    QStringList journal_;
    std::unique_ptr<ProbeTarget> app_;
    std::unique_ptr<ProbeWindow> window_;
    ProbeField* field_ = nullptr;
};

void MenuBarModelTest::init()
{
    QGuiApplication::clipboard()->clear();
    journal_.clear();
    model_ = std::make_unique<MenuBarModel>();
    QMenu* file = model_->AddMenu("FileMenu", "File");
    model_->AddItem(file, "Probe", "Probe", "Cmd+K", false);
    model_->AddItem(file, "AutoItem", "Auto", "", true);
    model_->AddItem(file, "Unhandled", "Unhandled", "Cmd+Option+U", false);
    QMenu* edit = model_->AddMenu("EditMenu", "Edit");
    model_->AddItem(edit, "EditUndo", "Undo", "Cmd+Z", false);
    model_->AddItem(edit, "EditCut", "Cut", "Cmd+X", false);
    model_->AddItem(edit, "EditCopy", "Copy", "Cmd+C", false);
    model_->AddItem(edit, "EditPaste", "Paste", "Cmd+V", false);
    model_->AddItem(edit, "EditClear", "Clear", "", false);

    app_ = std::make_unique<ProbeTarget>(&journal_);
    model_->SetApplicationTarget(app_.get());
    window_ = std::make_unique<ProbeWindow>(&journal_);
    field_ = new ProbeField(&journal_);
    window_->AddControl("Field", field_);
    window_->show();
    field_->setFocus();
}

void MenuBarModelTest::cleanup()
{
    window_.reset();
    model_->SetApplicationTarget(nullptr);
    app_.reset();
    model_.reset();
}

void MenuBarModelTest::shortcutsAcceptTheMacSpelling()
{
    const struct {
        const char* given;
        const char* portable;
    } cases[] = {
        {"Cmd+N", "Ctrl+N"},
        {"Cmd+Option+W", "Ctrl+Alt+W"},
        {"Ctrl+Alt+W", "Ctrl+Alt+W"},
        {"Cmd+1", "Ctrl+1"},
        {"", ""},
    };
    MenuItem* probe = item("Probe");
    for (const auto& c : cases) {
        probe->SetShortcut(c.given);
        QCOMPARE(probe->Shortcut(), QString(c.portable));
    }
}

void MenuBarModelTest::passStartsFromAutoEnableThenRunsEachLevelInOrder()
{
    item("AutoItem")->SetEnabled(false);
    item("Probe")->SetEnabled(true);
    bool probeWasDisabledWhenAppRan = false;
    app_->enable = [&] { probeWasDisabledWhenAppRan = !item("Probe")->Enabled(); };
    // Standard editing runs first, so the field can still withdraw Paste.
    QGuiApplication::clipboard()->setText("clip");
    field_->enable = [&] { item("EditPaste")->SetEnabled(false); };

    MenuBarModel::EnableMenuItems();

    QCOMPARE(journal_, QStringList({"app:enable", "window:enable", "field:enable"}));
    QVERIFY(probeWasDisabledWhenAppRan);
    QVERIFY(item("AutoItem")->Enabled());
    QVERIFY(!item("Probe")->Enabled());
    QVERIFY(!item("EditPaste")->Enabled());
}

void MenuBarModelTest::commandGoesToControlThenWindowThenApplication()
{
    const struct {
        bool field, window, app;
        const char* last;  // the journal's last entry: who handled it
    } cases[] = {
        {true, true, true, "field:Probe0"},
        {false, true, true, "window:Probe0"},
        {false, false, true, "app:Probe0"},
    };
    for (const auto& c : cases) {
        journal_.clear();
        field_->handles = c.field;
        window_->handles = c.window;
        app_->handles = c.app;
        QVERIFY(model_->Dispatch("Probe", 0));
        QCOMPARE(journal_.last(), QString(c.last));
        QCOMPARE(journal_.first(), QString("field:Probe0"));
    }
    app_->handles = false;
    QVERIFY(!model_->Dispatch("Probe", 0));
    QVERIFY(!model_->Dispatch("NoSuchItem", 0));
}

void MenuBarModelTest::keyReachesAnItemThatOnlyThePassEnables()
{
    window_->handles = true;
    window_->enable = [&] { item("Probe")->SetEnabled(true); };
    item("Probe")->SetEnabled(false);

    QTest::keyClick(field_, Qt::Key_K, Qt::ControlModifier);

    QVERIFY(journal_.contains("window:Probe0"));
    // The pass ran before the key was matched, once.
    QCOMPARE(journal_.count("window:enable"), 1);
    QVERIFY(journal_.indexOf("window:enable") < journal_.indexOf("window:Probe0"));
    QCOMPARE(field_->text(), QString());  // the key did not type into the field
}

void MenuBarModelTest::keyOfADisabledItemIsSwallowed()
{
    // A field that withdraws Paste must not get the key and paste natively.
    QGuiApplication::clipboard()->setText("pasted");
    field_->enable = [&] { item("EditPaste")->SetEnabled(false); };
    QTest::keyClick(field_, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(field_->text(), QString());

    // With Paste left enabled, the same key pastes through the menu command.
    field_->enable = nullptr;
    QTest::keyClick(field_, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(field_->text(), QString("pasted"));

    // Keys no item claims keep their ordinary meaning.
    QTest::keyClick(field_, Qt::Key_Left, Qt::ControlModifier);
    QTest::keyClick(field_, Qt::Key_X);
    QCOMPARE(field_->text(), QString("xpasted"));
}

void MenuBarModelTest::menuOpeningRunsThePass()
{
    emit model_->Menu("EditMenu")->aboutToShow();
    QCOMPARE(journal_, QStringList({"app:enable", "window:enable", "field:enable"}));
}

void MenuBarModelTest::choosingAnItemLeavesItsCheckMarkAlone()
{
    window_->handles = true;
    window_->enable = [&] { item("Probe")->SetEnabled(true); };
    item("Probe")->SetChecked(true);
    QVERIFY(model_->Choose("Probe"));
    QVERIFY(item("Probe")->Checked());
    item("Probe")->SetChecked(false);
    QVERIFY(model_->Choose("Probe"));
    QVERIFY(!item("Probe")->Checked());
    QCOMPARE(journal_.count("window:Probe0"), 2);
}

void MenuBarModelTest::standardEditingIsEnabledOnlyWhereItApplies()
{
    QLineEdit line;
    QLineEdit password;
    password.setEchoMode(QLineEdit::Password);
    QTextEdit text;
    QPlainTextEdit plain;
    QPushButton button;
    for (QWidget* w : std::initializer_list<QWidget*>{&line, &password, &text, &plain, &button})
        window_->AddControl(w->metaObject()->className(), w)->show();

    auto fill = [](QWidget* w, bool select, bool readOnly) {
        if (auto* l = qobject_cast<QLineEdit*>(w)) {
            l->setText("abc");  // code-set text leaves nothing to undo
            l->setReadOnly(readOnly);
            if (select)
                l->selectAll();
            else
                l->deselect();
        } else if (auto* t = qobject_cast<QTextEdit*>(w)) {
            t->setPlainText("abc");
            t->setReadOnly(readOnly);
            if (select)
                t->selectAll();
        } else if (auto* p = qobject_cast<QPlainTextEdit*>(w)) {
            p->setPlainText("abc");
            p->setReadOnly(readOnly);
            if (select)
                p->selectAll();
        }
    };
    const struct {
        const char* what;
        QWidget* focus;
        bool select, readOnly, clipboard;
        const char* enabled;  // initials of the enabled items: Undo Cut cOpy Paste cLear
    } cases[] = {
        {"line, no selection, empty clipboard", &line, false, false, false, ""},
        {"line, no selection, clipboard text", &line, false, false, true, "P"},
        {"line, selection", &line, true, false, false, "XOL"},
        {"read-only line, selection, clipboard", &line, true, true, true, "O"},
        {"password, selection, clipboard", &password, true, false, true, "PL"},
        {"text edit, selection, clipboard", &text, true, false, true, "XOPL"},
        {"read-only text edit, selection", &text, true, true, true, "O"},
        {"plain text edit, selection", &plain, true, false, false, "XOL"},
        {"a button", &button, false, false, true, ""},
    };
    const struct {
        const char* name;
        char initial;
    } items[] = {{"EditUndo", 'U'}, {"EditCut", 'X'}, {"EditCopy", 'O'}, {"EditPaste", 'P'},
                 {"EditClear", 'L'}};
    for (const auto& c : cases) {
        fill(c.focus, c.select, c.readOnly);
        if (c.clipboard)
            QGuiApplication::clipboard()->setText("clip");
        else
            QGuiApplication::clipboard()->clear();
        c.focus->setFocus();
        MenuBarModel::EnableMenuItems();
        for (const auto& i : items) {
            const bool expected = QByteArray(c.enabled).contains(i.initial);
            QVERIFY2(item(i.name)->Enabled() == expected,
                     qPrintable(QString("%1: %2").arg(c.what, i.name)));
        }
    }

    // Undo follows the editor's own undo history.
    line.setReadOnly(false);
    line.setFocus();
    line.end(false);
    line.insert("d");
    MenuBarModel::EnableMenuItems();
    QVERIFY(item("EditUndo")->Enabled());
}

void MenuBarModelTest::standardEditingIsCarriedOutWhenNoHandlerTakesIt()
{
    field_->setText("hello world");
    field_->setSelection(0, 5);
    QVERIFY(model_->Choose("EditCopy"));
    QCOMPARE(QGuiApplication::clipboard()->text(), QString("hello"));

    field_->setSelection(5, 6);
    QVERIFY(model_->Choose("EditClear"));
    QCOMPARE(field_->text(), QString("hello"));

    field_->selectAll();
    QVERIFY(model_->Choose("EditCut"));
    QCOMPARE(field_->text(), QString());
    QCOMPARE(QGuiApplication::clipboard()->text(), QString("hello"));

    QVERIFY(model_->Choose("EditPaste"));
    QVERIFY(model_->Choose("EditPaste"));
    QCOMPARE(field_->text(), QString("hellohello"));

    QVERIFY(model_->Choose("EditUndo"));
    QCOMPARE(field_->text(), QString("hello"));

    // A handler that takes the command keeps the platform out of it.
    field_->AddMenuHandler("EditPaste", [](int) { return true; });
    QVERIFY(model_->Choose("EditPaste"));
    QCOMPARE(field_->text(), QString("hello"));
}

QTEST_MAIN(MenuBarModelTest)
#include "MenuBarModelTest.moc"
