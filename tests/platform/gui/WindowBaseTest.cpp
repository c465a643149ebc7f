// The window base and the window list: each window event raised once and in
// its place, re-entrant close requests, controls by name, the front-to-back
// order, quitting, and the dialog seam.

#include "platform/gui/ApplicationQuit.h"
#include "platform/gui/DialogResponder.h"
#include "platform/gui/Dialogs.h"
#include "platform/gui/WindowBase.h"
#include "platform/gui/WindowList.h"

#include <QLabel>
#include <QPushButton>
#include <QtTest>

#include <functional>
#include <memory>
#include <vector>

using namespace ostrel;

namespace {

class EventWindow : public WindowBase {
public:
    explicit EventWindow(QString name, QStringList* journal = nullptr)
        : journal_(journal)
    {
        setWindowTitle(name);
        setAttribute(Qt::WA_DeleteOnClose, false);
    }
    void Event_Open() override { ++opens; Note("open"); }
    void Event_Close() override { ++closes; Note("close"); }
    bool Event_CancelClose(bool appQuitting) override
    {
        ++queries;
        quitting.push_back(appQuitting);
        Note("query");
        if (duringQuery)
            duringQuery();
        return refuse;
    }
    void Event_Deactivate() override { ++deactivations; Note("deactivate"); }

    int opens = 0, closes = 0, queries = 0, deactivations = 0;
    bool refuse = false;
    std::vector<bool> quitting;
    std::function<void()> duringQuery;

private:
    void Note(const char* what)
    {
        if (journal_)
            journal_->append(windowTitle() + ":" + what);
    }
    QStringList* journal_;
};

std::vector<WindowBase*> Order(std::initializer_list<WindowBase*> windows) { return windows; }

}  // namespace

class WindowBaseTest : public QObject {
    Q_OBJECT

private slots:
    void cleanup();

    void eventsAreRaisedOnceEach();
    void closeRequestDuringItsOwnQueryIsRefused();
    void controlsAreKeptByNameInCreationOrder();
    void listKeepsFrontToBackOrder();
    void formerFrontWindowIsDeactivatedOnce();
    void windowIsDeletedOnCloseByDefault();
    void quitClosesEveryWindowUnlessOneRefuses();
    void responderRecordsAndAnswersDialogs();

private:
    std::vector<std::unique_ptr<EventWindow>> windows_;
    EventWindow* make(const QString& name, QStringList* journal = nullptr)
    {
        windows_.push_back(std::make_unique<EventWindow>(name, journal));
        return windows_.back().get();
    }
};

void WindowBaseTest::cleanup()
{
    windows_.clear();
    QCOMPARE(WindowList::WindowCount(), 0);
}

void WindowBaseTest::eventsAreRaisedOnceEach()
{
    EventWindow* w = make("W");
    QCOMPARE(w->opens, 0);  // not before it is shown
    w->show();
    w->hide();
    w->show();
    QCOMPARE(w->opens, 1);
    QVERIFY(w->IsOpen());

    w->refuse = true;
    QVERIFY(!w->close());
    QCOMPARE(w->queries, 1);
    QCOMPARE(w->closes, 0);
    QVERIFY(w->IsOpen());
    QVERIFY(WindowList::Contains(w));

    w->refuse = false;
    QVERIFY(w->close());
    QCOMPARE(w->closes, 1);
    QVERIFY(w->IsClosed());
    QVERIFY(!WindowList::Contains(w));
    QCOMPARE(w->quitting, std::vector<bool>({false, false}));

    w->close();
    w->show();
    QCOMPARE(w->queries, 2);
    QCOMPARE(w->closes, 1);
    QCOMPARE(w->opens, 1);
    QVERIFY(!WindowList::Contains(w));
}

void WindowBaseTest::closeRequestDuringItsOwnQueryIsRefused()
{
    EventWindow* w = make("W");
    w->show();
    w->duringQuery = [&] { w->close(); };
    QVERIFY(w->close());
    QCOMPARE(w->queries, 1);
    QCOMPARE(w->closes, 1);
}

void WindowBaseTest::controlsAreKeptByNameInCreationOrder()
{
    EventWindow* w = make("W");
    auto* label = new QLabel;
    auto* send = new QPushButton(w);
    auto* receive = new QPushButton;
    QCOMPARE(w->AddControl("Label", label), label);
    w->AddControl("TypeBBtn", send, 0);
    w->AddControl("TypeBBtn", receive, 1);

    QStringList order;
    for (const WindowBase::ControlEntry& entry : w->Controls())
        order << entry.name + QString::number(entry.index);
    QCOMPARE(order, QStringList({"Label-1", "TypeBBtn0", "TypeBBtn1"}));
    QCOMPARE(w->Control("TypeBBtn", 1), receive);
    QCOMPARE(w->Control("Label"), label);
    QCOMPARE(w->Control("TypeBBtn"), nullptr);
    QCOMPARE(w->Control("Missing"), nullptr);
    // Controls without a parent land on the window.
    QCOMPARE(label->window(), w);
    QCOMPARE(receive->window(), w);

    delete receive;
    QCOMPARE(w->Control("TypeBBtn", 1), nullptr);
}

void WindowBaseTest::listKeepsFrontToBackOrder()
{
    EventWindow* a = make("A");
    EventWindow* b = make("B");
    EventWindow* c = make("C");
    a->show();
    b->show();
    c->show();
    QCoreApplication::processEvents();
    QCOMPARE(WindowList::Windows(), Order({c, b, a}));

    WindowList::BringToFront(a);
    QCOMPARE(WindowList::Windows(), Order({a, c, b}));
    QCOMPARE(WindowList::FrontWindow(), a);

    a->hide();  // a hidden window goes behind every visible one
    QCOMPARE(WindowList::Windows(), Order({c, b, a}));
    QCOMPARE(WindowList::Window(2), a);
    QCOMPARE(WindowList::Window(3), nullptr);

    c->hide();
    b->hide();
    QCOMPARE(WindowList::WindowCount(), 3);  // hidden windows stay open
    QCOMPARE(WindowList::FrontWindow(), nullptr);

    b->show();
    QVERIFY(b->close());
    QCOMPARE(WindowList::Windows(), Order({a, c}));
    windows_.erase(windows_.begin());  // destroying an open window takes it out too
    QCOMPARE(WindowList::Windows(), Order({c}));
}

void WindowBaseTest::formerFrontWindowIsDeactivatedOnce()
{
    EventWindow* a = make("A");
    EventWindow* b = make("B");
    a->show();
    b->show();
    QCOMPARE(a->deactivations, 1);
    QCOMPARE(b->deactivations, 0);
    WindowList::BringToFront(b);
    QCOMPARE(a->deactivations, 1);
    WindowList::BringToFront(a);
    QCOMPARE(b->deactivations, 1);
    // A window that closes is not told it was deactivated.
    QVERIFY(a->close());
    QCOMPARE(a->deactivations, 1);
    QCOMPARE(WindowList::FrontWindow(), b);
}

void WindowBaseTest::windowIsDeletedOnCloseByDefault()
{
    QPointer<WindowBase> w = new WindowBase;
    w->show();
    QCOMPARE(WindowList::WindowCount(), 1);
    w->close();
    QCOMPARE(WindowList::WindowCount(), 0);
    QTRY_VERIFY(w.isNull());
}

void WindowBaseTest::quitClosesEveryWindowUnlessOneRefuses()
{
    QStringList journal;
    EventWindow* a = make("A", &journal);
    EventWindow* b = make("B", &journal);
    EventWindow* hidden = make("H", &journal);
    hidden->show();
    hidden->hide();
    a->show();
    b->show();
    std::vector<int> exits;
    ApplicationQuit::SetExitHandler([&](int code) { exits.push_back(code); });

    a->refuse = true;
    journal.clear();
    QVERIFY(!ApplicationQuit::Request(0));
    QCOMPARE(journal, QStringList({"B:query", "B:close", "A:query"}));
    QVERIFY(exits.empty());
    QVERIFY(!ApplicationQuit::InProgress());

    a->refuse = false;
    QVERIFY(ApplicationQuit::Request(0));
    QVERIFY(a->IsClosed());
    QVERIFY(hidden->IsClosed());
    QCOMPARE(a->quitting, std::vector<bool>({true, true}));
    QCOMPARE(exits, std::vector<int>({0}));
    ApplicationQuit::SetExitHandler(nullptr);
}

void WindowBaseTest::responderRecordsAndAnswersDialogs()
{
    DialogResponder outer;
    {
        DialogResponder inner;
        inner.SetMessageAnswer([](const MessageDialogRequest& r) {
            return r.message == "second" ? DialogButton::Alternate : DialogButton::Cancel;
        });
        MessageDialogRequest request;
        request.title = "T";
        request.message = "first";
        request.cancelVisible = true;
        QCOMPARE(Dialogs::ShowMessage(request), DialogButton::Cancel);
        request.message = "second";
        QCOMPARE(Dialogs::ShowMessage(request), DialogButton::Alternate);
        QCOMPARE(inner.Messages().size(), std::size_t(2));
        QCOMPARE(inner.Messages()[0].title, QString("T"));
        QVERIFY(inner.Messages()[0].cancelVisible);

        auto chosen = std::make_shared<FolderItem>("/tmp/chosen.bin");
        inner.SetFileAnswer([&](const FileDialogRequest&) { return chosen; });
        QCOMPARE(Dialogs::GetSaveFolderItem("Text Files (*.txt)", "name"), chosen);
        QCOMPARE(inner.FileRequests().at(0).kind, FileDialogKind::Save);
        QCOMPARE(inner.FileRequests().at(0).defaultName, QString("name"));
    }
    // The outer responder answers again, with its defaults.
    QCOMPARE(Dialogs::ShowMessage(MessageDialogRequest{}), DialogButton::Action);
    QCOMPARE(Dialogs::GetOpenFolderItem("All Files (*)"), nullptr);
    QCOMPARE(outer.Messages().size(), std::size_t(1));
    QCOMPARE(outer.FileRequests().at(0).filter, QString("All Files (*)"));
}

QTEST_MAIN(WindowBaseTest)
#include "WindowBaseTest.moc"
