// The transfer window's form: its controls in creation order with their
// places, texts, fonts and help tags, a new window's look, the fields that
// select their text on focus, Return as the Start button, and the Transfer
// Type items following the front window.

#include "WindowFixture.h"

#include "platform/gui/MenuBarModel.h"

#include <QApplication>
#include <QLocale>
#include <QtTest>

using namespace ostrel;
using namespace ostrel::test;

namespace {

struct Placed {
    const char* name;
    int index;
    QRect inWindow;
};

// Creation order is tab order; places are in window coordinates, also for
// the controls inside the drop area and the placard.
const Placed Design[] = {
    {"FileDropper", -1, {5, 108, 310, 35}},  {"FileBtn", -1, {13, 115, 60, 20}},
    {"FileFld", -1, {90, 115, 215, 20}},     {"Placard1", -1, {10, 4, 300, 40}},
    {"TypeBBtn", 0, {25, 11, 100, 25}},      {"TypeBBtn", 1, {195, 11, 100, 25}},
    {"StaticText1", -1, {15, 54, 55, 22}},   {"StaticText2", -1, {15, 83, 65, 22}},
    {"StartBtn", -1, {230, 159, 80, 20}},    {"TransferPBar", -1, {13, 163, 210, 12}},
    {"OutputFld", -1, {13, 178, 210, 35}},   {"Separator1", -1, {5, 151, 310, 4}},
    {"AddressFld", -1, {90, 54, 215, 22}},   {"PasswordFld", -1, {90, 83, 215, 22}},
    {"ErrorFld", -1, {5, 185, 305, 18}},
};

const QString TypeHelp = QString::fromUtf8(
    "Press \u201CSend\u201D to send a file to the TFTP server. Use \u201CReceive\u201D to get a file.");

}  // namespace

class TFTPWndLayoutTest : public QObject {
    Q_OBJECT

private slots:
    void init() { world_ = std::make_unique<WindowWorld>(); }
    void cleanup() { world_.reset(); }

    void controlsAreCreatedInOrderAtTheirPlaces();
    void newWindowLooksAsDesigned();
    void fieldsSelectTheirTextOnFocus_data();
    void fieldsSelectTheirTextOnFocus();
    void returnPressesStart_data();
    void returnPressesStart();
    void transferTypeItemsFollowTheFrontWindow();

private:
    std::unique_ptr<WindowWorld> world_;
};

void TFTPWndLayoutTest::controlsAreCreatedInOrderAtTheirPlaces()
{
    ProbeWnd* window = world_->Open();
    const auto& controls = window->Controls();
    QCOMPARE(controls.size(), std::size(Design));
    QWidget* area = window->centralWidget();
    for (std::size_t i = 0; i < controls.size(); ++i) {
        const Placed& placed = Design[i];
        QCOMPARE(controls[i].name, QString::fromLatin1(placed.name));
        QCOMPARE(controls[i].index, placed.index);
        QWidget* control = controls[i].widget;
        const QRect actual(control->mapTo(area, QPoint(0, 0)), control->size());
        QVERIFY2(actual == placed.inWindow, placed.name);
    }
    QCOMPARE(area->size(), QSize(TFTP_Wnd::ContentWidth, TFTP_Wnd::ContentHeight));
    QCOMPARE(window->minimumSize(), window->maximumSize());
    QVERIFY(window->windowFlags() & Qt::WindowCloseButtonHint);
    QVERIFY(!(window->windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint)));

    // Tab moves through the controls that take the focus in creation order.
    QList<QWidget*> chain;
    QWidget* next = window->FileBtn();
    do {
        if (next->focusPolicy() & Qt::TabFocus)
            chain << next;
        next = next->nextInFocusChain();
    } while (next != window->FileBtn());
    const QList<QWidget*> expected = {window->FileBtn(), window->StartBtn(), window->AddressFld(),
                                      window->PasswordFld()};
    QCOMPARE(chain, expected);
}

void TFTPWndLayoutTest::newWindowLooksAsDesigned()
{
    ProbeWnd* window = world_->Open();

    QCOMPARE(window->windowTitle(), QStringLiteral("TFTP Send: No file selected"));
    QCOMPARE(window->TransferType, TFTP_Wnd::DirectionSend);
    QCOMPARE(window->TransferStatus, TFTP_Wnd::StatusIdle);
    QCOMPARE(window->CurrentMode(), TFTP_Wnd::ModeBinary);
    QVERIFY(window->TypeBBtn(0)->Value());
    QVERIFY(!window->TypeBBtn(1)->Value());
    QCOMPARE(window->TypeBBtn(0)->text(), QStringLiteral("Send"));
    QCOMPARE(window->TypeBBtn(1)->text(), QStringLiteral("Receive"));
    QCOMPARE(window->TypeBBtn(1)->focusPolicy(), Qt::NoFocus);
    QCOMPARE(window->FileBtn()->text(), QStringLiteral("File..."));
    QCOMPARE(window->FileFld()->text(), QStringLiteral("No file selected"));
    QCOMPARE(window->StaticText1()->text(), QStringLiteral("Address:"));
    QCOMPARE(window->StaticText2()->text(), QStringLiteral("Password:"));
    QCOMPARE(window->AddressFld()->text(), QStringLiteral("Server Name or Address"));
    QVERIFY(window->AddressFld()->placeholderText().isEmpty());
    QCOMPARE(window->PasswordFld()->text(), QString());
    QCOMPARE(window->PasswordFld()->echoMode(), QLineEdit::Password);
    QCOMPARE(window->AddressFld()->echoMode(), QLineEdit::Normal);
    QCOMPARE(window->StartBtn()->text(), QStringLiteral("Start"));
    QVERIFY(window->StartBtn()->isDefault());
    QVERIFY(!window->StartBtn()->isEnabled());
    QCOMPARE(window->StartBtn()->toolTip(),
             QStringLiteral("This will start the transfer.\n\nIt is disabled because you have not chosen a "
                            "file or set an address."));
    QVERIFY(!Shown(window->TransferPBar()));
    QVERIFY(!Shown(window->OutputFld()));
    QVERIFY(!Shown(window->ErrorFld()));
    QCOMPARE(window->TransferPBar()->maximum(), 100);
    QCOMPARE(window->ProgressUpdater()->Period(), 1000);
    QCOMPARE(window->ProgressUpdater()->Mode(), Timer::ModeOff);

    // Help tags.
    QCOMPARE(window->FileDropper()->toolTip(), QStringLiteral("Drop a file to send here."));
    QCOMPARE(window->FileBtn()->toolTip(), QStringLiteral("Choose a file to send or name a file to receive."));
    QCOMPARE(window->TypeBBtn(0)->toolTip(), TypeHelp);
    QCOMPARE(window->TypeBBtn(1)->toolTip(), TypeHelp);
    QCOMPARE(window->AddressFld()->toolTip(), QStringLiteral("Enter the name or address of the TFTP server."));
    QVERIFY(window->PasswordFld()->toolTip().startsWith(QStringLiteral("(Optional) Enter a password")));

    // Fonts: System is the application font, SmallSystem a smaller one.
    const QFont system = QApplication::font();
    for (QWidget* control : {static_cast<QWidget*>(window->TypeBBtn(0)), static_cast<QWidget*>(window->StartBtn())})
        QCOMPARE(control->font().pointSizeF(), system.pointSizeF());
    for (QWidget* control : std::initializer_list<QWidget*>{window->FileBtn(), window->FileFld(), window->StaticText1(),
                                                            window->StaticText2(), window->AddressFld(),
                                                            window->PasswordFld(), window->ErrorFld()}) {
        QVERIFY2(control->font().pointSizeF() < system.pointSizeF(), qPrintable(control->objectName()));
        QCOMPARE(control->font().family(), system.family());
    }
    QCOMPARE(window->OutputFld()->font().pointSize(), 9);
    QCOMPARE(window->OutputFld()->textFormat(), Qt::PlainText);
    QCOMPARE(window->ErrorFld()->textFormat(), Qt::PlainText);

    // Labels show their whole caption at their designed size.
    for (QLabel* label : {window->StaticText1(), window->StaticText2()})
        QVERIFY(label->fontMetrics().horizontalAdvance(label->text()) <= label->width());
}

void TFTPWndLayoutTest::fieldsSelectTheirTextOnFocus_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("before");
    QTest::newRow("address") << "AddressFld" << "Server Name or Address";
    QTest::newRow("password") << "PasswordFld" << "old secret";
}

void TFTPWndLayoutTest::fieldsSelectTheirTextOnFocus()
{
    QFETCH(QString, field);
    QFETCH(QString, before);
    ProbeWnd* window = world_->Open();
    window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(window));
    // A new window starts in the address field, with its prompt selected.
    QTRY_VERIFY(window->AddressFld()->hasFocus());
    QCOMPARE(window->AddressFld()->selectedText(), QStringLiteral("Server Name or Address"));

    auto* edit = static_cast<QLineEdit*>(window->Control(field));
    edit->setText(before);
    window->FileBtn()->setFocus(Qt::TabFocusReason);
    QTRY_VERIFY(!edit->hasFocus());
    QTest::mouseClick(edit, Qt::LeftButton, Qt::NoModifier, QPoint(5, edit->height() / 2));
    QTRY_VERIFY(edit->hasFocus());
    QCOMPARE(edit->selectedText(), before);
    QTest::keyClicks(edit, QStringLiteral("tftp"));
    QCOMPARE(edit->text(), QStringLiteral("tftp"));
}

void TFTPWndLayoutTest::returnPressesStart_data()
{
    QTest::addColumn<bool>("withFile");
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("status");
    QTest::newRow("ready, Return") << true << int(Qt::Key_Return) << TFTP_Wnd::StatusRunning;
    QTest::newRow("ready, keypad Enter") << true << int(Qt::Key_Enter) << TFTP_Wnd::StatusRunning;
    QTest::newRow("Start disabled") << false << int(Qt::Key_Return) << TFTP_Wnd::StatusIdle;
}

void TFTPWndLayoutTest::returnPressesStart()
{
    QFETCH(bool, withFile);
    QFETCH(int, key);
    QFETCH(int, status);
    ProbeWnd* window = world_->Open();
    if (withFile)
        window->SetSendFile(world_->MakeFile("fw.bin", "data"));
    window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(window));
    window->PasswordFld()->setFocus();

    QTest::keyClick(window->PasswordFld(), static_cast<Qt::Key>(key),
                    key == Qt::Key_Enter ? Qt::KeypadModifier : Qt::NoModifier);
    QCOMPARE(window->TransferStatus, status);
}

void TFTPWndLayoutTest::transferTypeItemsFollowTheFrontWindow()
{
    ProbeWnd* a = world_->ReadyToSend("a.txt", "text");
    ProbeWnd* b = world_->ReadyToSend("b.bin", "binary");
    MenuBarModel* model = MenuBarModel::Instance();
    MenuItem* binary = Item("OptionsTransferType", 0);
    MenuItem* text = Item("OptionsTransferType", 1);
    auto checks = [&] {
        model->RunEnablingPass();
        return QList<bool>{binary->Enabled(), binary->Checked(), text->Enabled(), text->Checked()};
    };

    WindowList::BringToFront(a);
    QVERIFY(model->Choose("OptionsTransferType", 1));  // Ctrl+T
    QCOMPARE(a->CurrentMode(), TFTP_Wnd::ModeText);
    QCOMPARE(checks(), (QList<bool>{true, false, true, true}));

    WindowList::BringToFront(b);
    QCOMPARE(b->CurrentMode(), TFTP_Wnd::ModeBinary);
    QCOMPARE(checks(), (QList<bool>{true, true, true, false}));

    // Close and Transfer Type stay usable while a transfer runs.
    b->StartBtn()->click();
    QCOMPARE(checks(), (QList<bool>{true, true, true, false}));
    QVERIFY(Item("FileClose")->Enabled());

    WindowList::BringToFront(a);
    QCOMPARE(checks(), (QList<bool>{true, false, true, true}));
    a->StartBtn()->click();
    world_->Tick();
    const auto& requests = world_->server.Requests();
    QCOMPARE(requests.size(), std::size_t(2));
    QCOMPARE(requests[0].fileName, std::string("b.bin"));
    QCOMPARE(requests[0].mode, std::string("octet"));
    QCOMPARE(requests[1].fileName, std::string("a.txt"));
    QCOMPARE(requests[1].mode, std::string("netascii"));

    // Another kind of window in front: nothing checked, nothing enabled.
    auto* other = new WindowBase;
    other->show();
    WindowList::BringToFront(other);
    QCOMPARE(checks(), (QList<bool>{false, false, false, false}));
    delete other;
}

QTEST_MAIN(TFTPWndLayoutTest)
#include "TFTPWndLayoutTest.moc"
