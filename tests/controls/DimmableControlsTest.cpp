// Group dimming over every control kind, focus and selection kept by dimmed
// text fields, the bevel button that only code presses, and drops onto the
// drop area.

#include "ControlsTestSupport.h"

#include "controls/FilenameField.h"
#include "controls/IP_Field.h"
#include "controls/PushButton_Glue.h"
#include "controls/TFTP_BBtn.h"
#include "controls/TFTP_Button.h"
#include "controls/TFTP_Dropper.h"
#include "controls/TextAreaTFTP.h"
#include "controls/TextFieldTFTP.h"

#include <QDir>
#include <QDropEvent>
#include <QLabel>
#include <QMimeData>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>

#include <fstream>
#include <type_traits>

using namespace ostrel;
using namespace ostrel::test;

Q_DECLARE_METATYPE(std::vector<ostrel::FolderItemPtr>)

namespace {

// The transfer window's walk: every child that is a dimmer, in order.
void DimGroup(QWidget& window, bool dim) {
    for (QWidget* control : window.findChildren<QWidget*>()) {
        if (auto* dimmer = dynamic_cast<TFTP_Dimmer*>(control))
            dimmer->DimMe(dim);
    }
}

template <typename F>
void SetTextOf(F* field, const QString& text) {
    if constexpr (std::is_base_of_v<QLineEdit, F>)
        field->setText(text);
    else
        field->setPlainText(text);
}

// Delivers a whole drag onto `target`: enter, move, drop.
bool Drop(QWidget* target, const QList<QUrl>& urls, Qt::DropActions actions, Qt::DropAction* taken) {
    QMimeData data;
    data.setUrls(urls);
    const QPoint at(target->width() / 2, target->height() / 2);
    QDragEnterEvent enter(at, actions, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &enter);
    if (!enter.isAccepted())
        return false;
    QDropEvent drop(at, actions, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &drop);
    *taken = drop.dropAction();
    return drop.isAccepted();
}

}  // namespace

class DimmableControlsTest : public QObject {
    Q_OBJECT

private:
    template <typename F> void DimmedFieldKeepsFocusAndSelection();

private slots:
    void groupDimming();
    void dimmedFieldKeepsFocusAndSelection() {
        DimmedFieldKeepsFocusAndSelection<TextFieldTFTP>();
        DimmedFieldKeepsFocusAndSelection<TextAreaTFTP>();
    }
    void bevelButtonIsPressedOnlyByCode();
    void dropRaisesDropObjectWithItemsInOrder();
    void dropAreaRefusesDragsWithoutAcceptedFiles();
};

void DimmableControlsTest::groupDimming() {
    QWidget window;
    auto* address = new IP_Field(&window);
    auto* password = new TextFieldTFTP(&window);
    auto* area = new TextAreaTFTP(&window);
    area->setReadOnly(true);  // read-only by design; undimming makes it editable
    auto* label = new FilenameField(QStringLiteral("No file selected"), &window);
    auto* fileButton = new TFTP_Button(QStringLiteral("File..."), &window);
    auto* send = new TFTP_BBtn(QStringLiteral("Send"), &window);
    auto* start = new PushButton_Glue(QStringLiteral("Start"), &window);
    start->setToolTip(QStringLiteral("This will start the transfer."));
    auto* dropper = new TFTP_Dropper(&window);
    auto* plainLabel = new QLabel(QStringLiteral("Address:"), &window);
    label->Open();
    send->SetValue(true);

    for (int pass = 0; pass < 2; ++pass)  // dimming twice is dimming once
        DimGroup(window, true);
    QVERIFY(address->isReadOnly());
    QVERIFY(password->isReadOnly());
    QVERIFY(area->isReadOnly());
    QVERIFY(!label->isEnabled());
    QVERIFY(!fileButton->isEnabled());
    QVERIFY(!send->isEnabled());
    QVERIFY(send->Value());
    // Outside the group.
    QVERIFY(start->isEnabled());
    QCOMPARE(start->toolTip(), QStringLiteral("This will start the transfer."));
    QVERIFY(dropper->isEnabled() && !dropper->isHidden());
    QVERIFY(plainLabel->isEnabled());
    for (QWidget* field : {static_cast<QWidget*>(address), static_cast<QWidget*>(password),
                           static_cast<QWidget*>(area)})
        QVERIFY(field->isEnabled());  // readable and copyable

    DimGroup(window, false);
    QVERIFY(!address->isReadOnly());
    QVERIFY(!password->isReadOnly());
    QVERIFY(!area->isReadOnly());
    QVERIFY(label->isEnabled());
    QVERIFY(fileButton->isEnabled());
    QVERIFY(send->isEnabled());
}

template <typename F>
void DimmableControlsTest::DimmedFieldKeepsFocusAndSelection() {
    HostWindow host;
    auto* field = host.Add(new F);
    SetTextOf(field, QStringLiteral("192.168.0.1"));
    QVERIFY(host.Show());
    field->setFocus();
    field->SetSelection(4, 3);

    field->DimMe(true);
    QCOMPARE(QApplication::focusWidget(), field);
    QVERIFY(field->HasFocus());
    QCOMPARE(field->SelStart(), 4);
    QCOMPARE(field->SelLength(), 3);

    QTest::keyClicks(field, QStringLiteral("x"));
    QTest::keyClick(field, Qt::Key_Backspace);
    QCOMPARE(field->Text(), QStringLiteral("192.168.0.1"));

    field->DimMe(false);
    QTest::keyClicks(field, QStringLiteral("x"));
    QCOMPARE(field->Text(), QStringLiteral("192.x.0.1"));
}

void DimmableControlsTest::bevelButtonIsPressedOnlyByCode() {
    HostWindow host;
    auto* send = host.Add(new TFTP_BBtn(QStringLiteral("Send")));
    auto* receive = host.Add(new TFTP_BBtn(QStringLiteral("Receive")));
    QVERIFY(host.Show());
    send->SetValue(true);
    QSignalSpy clicked(receive, &QPushButton::clicked);

    QTest::mouseClick(receive, Qt::LeftButton);
    receive->click();
    QCOMPARE(clicked.count(), 2);
    QVERIFY(!receive->Value());
    QVERIFY(send->Value());

    // The owner decides which one looks pressed.
    send->SetValue(false);
    receive->SetValue(true);
    QTest::mouseClick(receive, Qt::LeftButton);
    QVERIFY(receive->Value());
    QVERIFY(!send->Value());
}

void DimmableControlsTest::dropRaisesDropObjectWithItemsInOrder() {
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString folder = dir.filePath(QStringLiteral("configs"));
    const QString file = dir.filePath(QStringLiteral("router config.txt"));
    QVERIFY(QDir().mkdir(folder));
    std::ofstream(file.toStdString()) << "hostname r1\n";

    HostWindow host;
    auto* dropper = host.Add(new TFTP_Dropper);
    dropper->setMinimumSize(100, 30);
    QSignalSpy opened(dropper, &TFTP_Dropper::Opened);
    std::vector<std::vector<FolderItemPtr>> drops;
    connect(dropper, &TFTP_Dropper::DropObject, this,
            [&drops](const std::vector<FolderItemPtr>& items) { drops.push_back(items); });
    QVERIFY(host.Show());
    QCOMPARE(opened.count(), 1);

    // Proposed as a move, taken as a copy: the source must keep its file.
    Qt::DropAction taken = Qt::IgnoreAction;
    QVERIFY(Drop(dropper,
                 {QUrl::fromLocalFile(folder), QUrl(QStringLiteral("https://example.com/x")),
                  QUrl::fromLocalFile(file)},
                 Qt::CopyAction | Qt::MoveAction, &taken));
    QCOMPARE(taken, Qt::CopyAction);
    QCOMPARE(drops.size(), std::size_t{1});
    const std::vector<FolderItemPtr>& items = drops.front();
    QCOMPARE(items.size(), std::size_t{3});
    QVERIFY(items[0] && items[0]->Directory());
    QCOMPARE(QString::fromStdString(items[0]->Name()), QStringLiteral("configs"));
    QVERIFY(!items[1]);
    QVERIFY(items[2] && items[2]->Exists() && !items[2]->Directory());
    QCOMPARE(QString::fromStdString(items[2]->Name()), QStringLiteral("router config.txt"));
}

void DimmableControlsTest::dropAreaRefusesDragsWithoutAcceptedFiles() {
    HostWindow host;
    auto* dropper = host.Add(new TFTP_Dropper);
    dropper->setMinimumSize(100, 30);
    QSignalSpy dropped(dropper, &TFTP_Dropper::DropObject);
    QVERIFY(host.Show());
    Qt::DropAction taken = Qt::IgnoreAction;

    QVERIFY(!Drop(dropper, {QUrl(QStringLiteral("https://example.com/fw.bin"))}, Qt::CopyAction, &taken));
    QVERIFY(!Drop(dropper, {QUrl::fromLocalFile(QStringLiteral("/tmp/a.bin"))}, Qt::MoveAction, &taken));

    // Only declared kinds are taken; others come as entries without a file.
    dropper->AcceptFileDrop([](const FolderItem& item) { return item.Path().extension() == ".txt"; });
    QVERIFY(!Drop(dropper, {QUrl::fromLocalFile(QStringLiteral("/tmp/a.bin"))}, Qt::CopyAction, &taken));
    QCOMPARE(dropped.count(), 0);
    QVERIFY(Drop(dropper,
                 {QUrl::fromLocalFile(QStringLiteral("/tmp/a.bin")),
                  QUrl::fromLocalFile(QStringLiteral("/tmp/b.txt"))},
                 Qt::CopyAction, &taken));
    QCOMPARE(dropped.count(), 1);
    const auto items = dropped.front().front().value<std::vector<FolderItemPtr>>();
    QCOMPARE(items.size(), std::size_t{2});
    QVERIFY(!items[0]);
    QVERIFY(items[1] && items[1]->Name() == "b.txt");
}

QTEST_MAIN(DimmableControlsTest)
#include "DimmableControlsTest.moc"
