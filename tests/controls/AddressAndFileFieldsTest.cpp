// The server address field (space filter, Paste guard against the real
// clipboard) and the file label (initial text, set and clear, plain text).

#include "ControlsTestSupport.h"

#include "controls/FilenameField.h"
#include "controls/IP_Field.h"
#include "controls/TextFieldTFTP.h"

#include <QClipboard>
#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QMenu>
#include <QMimeData>
#include <QSignalSpy>
#include <QTest>

using namespace ostrel;
using namespace ostrel::test;

namespace {

constexpr const char* InitialText = "No file selected";

FolderItemPtr Item(const char* path) {
    return std::make_shared<FolderItem>(std::filesystem::path(path));
}

}  // namespace

class AddressAndFileFieldsTest : public QObject {
    Q_OBJECT

private slots:
    void spaceKeyIsRefused_data();
    void spaceKeyIsRefused();
    void ownerGetsNoKeyDownButTheOtherEvents();
    void pasteGuard_data();
    void pasteGuard();
    void filenameFieldShowsNameOrInitialText();
    void filenameFieldShowsNamesAsPlainText();
};

void AddressAndFileFieldsTest::spaceKeyIsRefused_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("expected");
    QTest::newRow("spaces") << "10.0.0.1 " << "10.0.0.1";
    QTest::newRow("host and port") << " router-1.lan:69" << "router-1.lan:69";
    QTest::newRow("ipv6") << "fe80::1 %eth0" << "fe80::1%eth0";
    QTest::newRow("non-breaking space passes") << QString::fromUtf8("a\xC2\xA0" "b")
                                               << QString::fromUtf8("a\xC2\xA0" "b");
}

void AddressAndFileFieldsTest::spaceKeyIsRefused() {
    QFETCH(QString, typed);
    QFETCH(QString, expected);
    HostWindow host;
    auto* field = host.Add(new IP_Field);
    QVERIFY(host.Show());
    field->setFocus();
    QTest::keyClicks(field, typed);
    QCOMPARE(field->text(), expected);

    // Text set by code is taken as it is.
    field->setText(QStringLiteral("a b"));
    QCOMPARE(field->text(), QStringLiteral("a b"));
}

void AddressAndFileFieldsTest::ownerGetsNoKeyDownButTheOtherEvents() {
    QStringList log;
    EditMenuFixture menus(log);
    HostWindow host;
    auto* field = host.Add(new IP_Field);
    bool keyDownReached = false;
    field->SetKeyDownHandler([&](const QString&) { return keyDownReached = true; });
    QSignalSpy enable(field, &IP_Field::EnableMenuItemsTwo);
    QSignalSpy gotFocus(field, &IP_Field::GotFocus);
    QSignalSpy textChange(field, &IP_Field::TextChange);
    QSignalSpy selChange(field, &IP_Field::SelChange);
    QVERIFY(host.Show());

    field->setFocus();
    QTest::keyClicks(field, QStringLiteral("x y"));
    QCOMPARE(field->text(), QStringLiteral("xy"));
    QVERIFY(!keyDownReached);
    QCOMPARE(enable.count(), 0);
    QVERIFY(menus.SelectAll()->Enabled());  // still enabled by the layer below
    QCOMPARE(gotFocus.count(), 1);
    QCOMPARE(textChange.count(), 2);
    QVERIFY(selChange.count() >= 2);
}

void AddressAndFileFieldsTest::pasteGuard_data() {
    QTest::addColumn<bool>("hasText");
    QTest::addColumn<QString>("clipboard");
    QTest::addColumn<bool>("refused");
    QTest::newRow("address") << true << "192.168.1.1" << false;
    QTest::newRow("space inside") << true << "192.168. 1.1" << true;
    QTest::newRow("space at the end") << true << "router " << true;
    QTest::newRow("other white space") << true << "a\tb\nc\r" << false;
    QTest::newRow("no text") << false << "" << false;
}

// Paste stays exactly as the platform's editing support sets it for an
// ordinary field, except that a space in the clipboard text withdraws it:
// from the menu, from the field's own shortcut and from its context menu.
void AddressAndFileFieldsTest::pasteGuard() {
    QFETCH(bool, hasText);
    QFETCH(QString, clipboard);
    QFETCH(bool, refused);
    if (hasText)
        QGuiApplication::clipboard()->setText(clipboard);
    else
        QGuiApplication::clipboard()->setMimeData(new QMimeData);

    QStringList log;
    EditMenuFixture menus(log);
    HostWindow host;
    auto* plain = host.Add(new TextFieldTFTP);
    auto* field = host.Add(new IP_Field);
    QVERIFY(host.Show());

    plain->setFocus();
    menus.Model().RunEnablingPass();
    const bool platformPaste = menus.Paste()->Enabled();
    QCOMPARE(platformPaste, hasText);

    field->setFocus();
    menus.Model().RunEnablingPass();
    QCOMPARE(menus.Paste()->Enabled(), platformPaste && !refused);
    QVERIFY(menus.SelectAll()->Enabled());

    QTest::keyClick(field, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(field->text(), refused ? QString() : clipboard);

    QContextMenuEvent menuEvent(QContextMenuEvent::Mouse, QPoint(1, 1), field->mapToGlobal(QPoint(1, 1)));
    QApplication::sendEvent(field, &menuEvent);
    auto* menu = field->findChild<QMenu*>();
    QVERIFY(menu);
    const QString pasteShortcut = QKeySequence(QKeySequence::Paste).toString(QKeySequence::NativeText);
    const QList<QAction*> actions = menu->actions();
    auto paste = std::find_if(actions.begin(), actions.end(), [&](QAction* action) {
        return action->text().endsWith(pasteShortcut);
    });
    QVERIFY(paste != actions.end());
    QCOMPARE((*paste)->isEnabled(), hasText && !refused);
    menu->close();
}

void AddressAndFileFieldsTest::filenameFieldShowsNameOrInitialText() {
    FilenameField label(QString::fromLatin1(InitialText));
    QSignalSpy opened(&label, &FilenameField::Opened);
    label.Open();
    label.Open();
    QCOMPARE(opened.count(), 1);
    QCOMPARE(label.GetFile(), nullptr);
    QCOMPARE(label.text(), QString::fromLatin1(InitialText));

    // A file that does not exist yet is named all the same, without folders.
    const FolderItemPtr file = Item("/no/such/folder/firmware-v2.bin");
    label.SetFile(file);
    QCOMPARE(label.GetFile(), file);
    QCOMPARE(label.text(), QStringLiteral("firmware-v2.bin"));

    label.DimMe(true);
    QVERIFY(!label.isEnabled());
    QCOMPARE(label.text(), QStringLiteral("firmware-v2.bin"));
    QCOMPARE(label.GetFile(), file);
    label.DimMe(false);
    QVERIFY(label.isEnabled());

    // The initial text is the one captured at opening, whatever the owner
    // wrote in between.
    label.setText(QStringLiteral("changed by the owner"));
    label.SetFile(nullptr);
    QCOMPARE(label.GetFile(), nullptr);
    QCOMPARE(label.text(), QString::fromLatin1(InitialText));

    // Showing does not open it a second time (which would drop the file).
    label.SetFile(file);
    label.show();
    QCOMPARE(label.GetFile(), file);
    QCOMPARE(opened.count(), 1);
}

void AddressAndFileFieldsTest::filenameFieldShowsNamesAsPlainText() {
    FilenameField label(QString::fromLatin1(InitialText));
    label.Open();
    QCOMPARE(label.textFormat(), Qt::PlainText);

    label.SetFile(Item("/tmp/<b>bold<\\b>&amp;.txt"));
    QCOMPARE(label.text(), QStringLiteral("<b>bold<\\b>&amp;.txt"));

    // A line break or other control character in a name would break the
    // one-line label.
    label.SetFile(Item("/tmp/two\nlines\x1b.cfg"));
    QCOMPARE(label.text(), QStringLiteral("two\uFFFDlines\uFFFD.cfg"));
}

QTEST_MAIN(AddressAndFileFieldsTest)
#include "AddressAndFileFieldsTest.moc"
