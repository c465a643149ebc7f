// The edit-aware fields: the order in which each layer does its own work and
// passes events on, the three muting switches, the key path and its
// prediction, Select All, and focus gained by a click.

#include "ControlsTestSupport.h"

#include "controls/TextAreaTFTP.h"
#include "controls/TextFieldTFTP.h"

#include <QFocusEvent>
#include <QSignalSpy>
#include <QTest>

#include <type_traits>

using namespace ostrel;
using namespace ostrel::test;

namespace {

template <typename Base>
class Probe : public Base {
public:
    using Base::Base;
    using Base::LastValue;
};

using LineProbe = Probe<TextFieldTFTP>;
using AreaProbe = Probe<TextAreaTFTP>;

template <typename F>
void SetTextOf(F* field, const QString& text) {
    if constexpr (std::is_base_of_v<QLineEdit, F>)
        field->setText(text);
    else
        field->setPlainText(text);
}

template <typename F>
QWidget* ClickTarget(F* field) {
    if constexpr (std::is_base_of_v<QLineEdit, F>)
        return field;
    else
        return field->viewport();
}

// Logs every event the field offers its owner, with what the owner can see
// at that moment.
template <typename F>
void LogEvents(F* field, QStringList& log) {
    QObject::connect(field, &F::Opened, field,
                     [=, &log] { log << QStringLiteral("Open last=") + field->LastValue(); });
    QObject::connect(field, &F::GotFocus, field, [=, &log] {
        log << QStringLiteral("GotFocus has=%1").arg(field->HasFocus());
    });
    QObject::connect(field, &F::LostFocus, field, [=, &log] {
        log << QStringLiteral("LostFocus has=%1").arg(field->HasFocus());
    });
    QObject::connect(field, &F::SelChange, field, [&log] { log << QStringLiteral("SelChange"); });
    QObject::connect(field, &F::TextChange, field, [=, &log] {
        log << QStringLiteral("TextChange last=%1 now=%2").arg(field->LastValue(), field->Text());
    });
    QObject::connect(field, &F::EnableMenuItemsTwo, field,
                     [&log] { log << QStringLiteral("EnableMenuItemsTwo"); });
}

// Each event passed on while the field has the focus is followed by exactly
// one enabling pass, in which the focused field takes part.
QStringList Refreshed(const QString& event) {
    return {event, QStringLiteral("refresh"), QStringLiteral("EnableMenuItemsTwo")};
}

bool ContainsRun(const QStringList& log, const QStringList& run) {
    for (qsizetype at = 0; at + run.size() <= log.size(); ++at) {
        if (log.mid(at, run.size()) == run)
            return true;
    }
    return false;
}

}  // namespace

class TextFieldsTest : public QObject {
    Q_OBJECT

private:
    template <typename F> void RelayOrder();
    template <typename F> void MutingSwitches();
    template <typename F> void PredictsValueAfterKey();
    template <typename F> void SelectAll();
    template <typename F> void ClickFocusKeepsOwnersSelection();

private slots:
    void relayOrder() {
        RelayOrder<LineProbe>();
        RelayOrder<AreaProbe>();
    }
    void mutingSwitches_data();
    void mutingSwitches() {
        MutingSwitches<LineProbe>();
        MutingSwitches<AreaProbe>();
    }
    void valueAfterKey_data();
    void valueAfterKey() {
        PredictsValueAfterKey<LineProbe>();
        PredictsValueAfterKey<AreaProbe>();
    }
    void keyEventsReachKeyDownAsKeyStrings_data();
    void keyEventsReachKeyDownAsKeyStrings();
    void keyDownAnswerConsumesKey();
    void selectAll() {
        SelectAll<LineProbe>();
        SelectAll<AreaProbe>();
    }
    void clickFocusKeepsOwnersSelection() {
        ClickFocusKeepsOwnersSelection<LineProbe>();
        ClickFocusKeepsOwnersSelection<AreaProbe>();
    }
};

template <typename F>
void TextFieldsTest::RelayOrder() {
    QStringList log;
    EditMenuFixture menus(log);
    HostWindow host;
    auto* field = host.Add(new F);
    SetTextOf(field, QStringLiteral("abc"));
    LogEvents(field, log);

    // Opening: LastValue already holds the text when the owner hears of it.
    QVERIFY(host.Show());
    field->Open();  // a second opening is not raised
    QCOMPARE(log, QStringList{QStringLiteral("Open last=abc")});
    field->SetSelection(3, 0);

    log.clear();
    field->setFocus(Qt::OtherFocusReason);
    QCOMPARE(log, Refreshed(QStringLiteral("GotFocus has=1")));

    // While the owner handles TextChange, LastValue is the text before it.
    // (Which of the two changes Qt reports first differs between its line
    // and its text edit.)
    log.clear();
    QTest::keyClick(field, Qt::Key_X);
    QCOMPARE(log.size(), 6);
    QVERIFY(ContainsRun(log, Refreshed(QStringLiteral("TextChange last=abc now=abcx"))));
    QVERIFY(ContainsRun(log, Refreshed(QStringLiteral("SelChange"))));
    QCOMPARE(field->LastValue(), QStringLiteral("abcx"));

    // A popup taking the keyboard for a moment is no focus change.
    log.clear();
    QFocusEvent popupOut(QEvent::FocusOut, Qt::PopupFocusReason);
    QApplication::sendEvent(field, &popupOut);
    QVERIFY(field->HasFocus());
    QVERIFY(log.isEmpty());

    // Losing the focus refreshes nothing.
    host.Other()->setFocus(Qt::OtherFocusReason);
    QCOMPARE(log, QStringList{QStringLiteral("LostFocus has=0")});

    // Changes by code while another control has the focus are passed on but
    // refresh no menu.
    log.clear();
    SetTextOf(field, QStringLiteral("zz"));
    field->SetSelection(0, 1);
    QVERIFY(log.contains(QStringLiteral("TextChange last=abcx now=zz")));
    QVERIFY(log.contains(QStringLiteral("SelChange")));
    QVERIFY(!log.contains(QStringLiteral("refresh")));
    QCOMPARE(field->LastValue(), QStringLiteral("zz"));
}

void TextFieldsTest::mutingSwitches_data() {
    QTest::addColumn<bool>("disableTextChange");
    QTest::addColumn<bool>("disableSelChange");
    QTest::addColumn<bool>("disableLastValue");
    QTest::newRow("none") << false << false << false;
    QTest::newRow("text change") << true << false << false;
    QTest::newRow("text change and last value") << true << false << true;
    QTest::newRow("last value") << false << false << true;
    QTest::newRow("selection change") << false << true << false;
    QTest::newRow("all") << true << true << true;
}

template <typename F>
void TextFieldsTest::MutingSwitches() {
    QFETCH(bool, disableTextChange);
    QFETCH(bool, disableSelChange);
    QFETCH(bool, disableLastValue);

    QStringList log;
    EditMenuFixture menus(log);
    HostWindow host;
    auto* field = host.Add(new F);
    SetTextOf(field, QStringLiteral("old"));
    LogEvents(field, log);
    QVERIFY(host.Show());
    field->setFocus(Qt::OtherFocusReason);

    field->SetDisableTextChange(disableTextChange);
    field->SetDisableSelChange(disableSelChange);
    field->SetDisableLastValue(disableLastValue);
    log.clear();
    SetTextOf(field, QStringLiteral("new text"));
    field->SetSelection(1, 2);

    const auto passed = [&log](const QString& prefix) {
        return std::count_if(log.begin(), log.end(),
                             [&](const QString& entry) { return entry.startsWith(prefix); });
    };
    QCOMPARE(passed(QStringLiteral("TextChange")) > 0, !disableTextChange);
    QCOMPARE(passed(QStringLiteral("SelChange")) > 0, !disableSelChange);
    QCOMPARE(passed(QStringLiteral("refresh")),
             passed(QStringLiteral("TextChange")) + passed(QStringLiteral("SelChange")));
    QCOMPARE(field->LastValue(), disableLastValue ? QStringLiteral("old") : QStringLiteral("new text"));

    // The field never resets the switches itself.
    QCOMPARE(field->DisableTextChange(), disableTextChange);
    QCOMPARE(field->DisableSelChange(), disableSelChange);
    QCOMPARE(field->DisableLastValue(), disableLastValue);
}

void TextFieldsTest::valueAfterKey_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("selStart");
    QTest::addColumn<int>("selLength");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("expected");

    const QString back(QChar(8)), forward(QChar(127)), tab(QChar(9)), ret(QChar(13));
    const QString enter(QChar(3)), escape(QChar(27));
    const QString arrows[] = {QString(QChar(28)), QString(QChar(29)), QString(QChar(30)),
                              QString(QChar(31))};
    const QString abcd = QStringLiteral("abcd");

    QTest::newRow("point: backward delete") << abcd << 1 << 0 << back << "bcd";
    QTest::newRow("point: forward delete") << abcd << 1 << 0 << forward << "acd";
    QTest::newRow("point: letter") << abcd << 1 << 0 << "x" << "axbcd";
    QTest::newRow("point: tab") << abcd << 1 << 0 << tab << "abcd";
    for (const QString& arrow : arrows)
        QTest::addRow("point: arrow %d", arrow.at(0).unicode()) << abcd << 1 << 0 << arrow << "abcd";
    QTest::newRow("start: backward delete") << abcd << 0 << 0 << back << "abcd";
    QTest::newRow("end: forward delete") << abcd << 4 << 0 << forward << "abcd";

    for (const QString& key : {back, forward, tab, ret, arrows[0], arrows[1], arrows[2], arrows[3]})
        QTest::addRow("selection: key %d", key.at(0).unicode()) << abcd << 1 << 2 << key << "ad";
    QTest::newRow("selection: letter") << abcd << 1 << 2 << "x" << "axd";
    QTest::newRow("selection: enter is inserted") << abcd << 1 << 2 << enter << "a" + enter + "d";
    QTest::newRow("selection: escape is inserted") << abcd << 1 << 2 << escape << "a" + escape + "d";
    QTest::newRow("selection: empty key") << abcd << 1 << 2 << "" << "ad";
    QTest::newRow("point: empty key") << abcd << 1 << 0 << "" << "abcd";

    const QString emoji = QString::fromUtf8("a\xF0\x9F\x98\x80" "b");  // a, a surrogate pair, b
    QTest::newRow("pair: backward delete") << emoji << 3 << 0 << back << "ab";
    QTest::newRow("pair: forward delete") << emoji << 1 << 0 << forward << "ab";
}

template <typename F>
void TextFieldsTest::PredictsValueAfterKey() {
    QFETCH(QString, text);
    QFETCH(int, selStart);
    QFETCH(int, selLength);
    QFETCH(QString, key);
    QFETCH(QString, expected);

    F field;
    SetTextOf(&field, text);
    field.SetSelection(selStart, selLength);
    QCOMPARE(field.ValueAfterKey(key), expected);
    QCOMPARE(field.Text(), text);  // only a prediction
}

void TextFieldsTest::keyEventsReachKeyDownAsKeyStrings_data() {
    QTest::addColumn<int>("qtKey");
    QTest::addColumn<QString>("expected");
    QTest::newRow("backspace") << int(Qt::Key_Backspace) << QString(QChar(8));
    QTest::newRow("delete") << int(Qt::Key_Delete) << QString(QChar(127));
    QTest::newRow("tab") << int(Qt::Key_Tab) << QString(QChar(9));
    QTest::newRow("return") << int(Qt::Key_Return) << QString(QChar(13));
    QTest::newRow("enter") << int(Qt::Key_Enter) << QString(QChar(3));
    QTest::newRow("left") << int(Qt::Key_Left) << QString(QChar(28));
    QTest::newRow("right") << int(Qt::Key_Right) << QString(QChar(29));
    QTest::newRow("up") << int(Qt::Key_Up) << QString(QChar(30));
    QTest::newRow("down") << int(Qt::Key_Down) << QString(QChar(31));
    QTest::newRow("letter") << int(Qt::Key_Q) << QStringLiteral("q");
}

void TextFieldsTest::keyEventsReachKeyDownAsKeyStrings() {
    QFETCH(int, qtKey);
    QFETCH(QString, expected);

    HostWindow host;
    auto* line = host.Add(new TextFieldTFTP);
    auto* area = host.Add(new TextAreaTFTP);
    QVERIFY(host.Show());
    for (TextRelay* field : {static_cast<TextRelay*>(line), static_cast<TextRelay*>(area)}) {
        QStringList keys;
        field->SetKeyDownHandler([&keys](const QString& key) {
            keys << key;
            return true;  // consumed, so the key does nothing else
        });
        QWidget* widget = dynamic_cast<QWidget*>(field);
        widget->setFocus();
        QTest::keyClick(widget, Qt::Key(qtKey));
        QTest::keyClick(widget, Qt::Key_Shift);  // a modifier alone is no key press
        QCOMPARE(keys, QStringList{expected});
        QCOMPARE(QApplication::focusWidget(), widget);  // not even Tab moved the focus
    }
}

void TextFieldsTest::keyDownAnswerConsumesKey() {
    HostWindow host;
    auto* line = host.Add(new TextFieldTFTP);
    auto* area = host.Add(new TextAreaTFTP);
    QVERIFY(host.Show());
    for (TextRelay* field : {static_cast<TextRelay*>(line), static_cast<TextRelay*>(area)}) {
        field->SetKeyDownHandler([](const QString& key) { return key == QStringLiteral("q"); });
        QWidget* widget = dynamic_cast<QWidget*>(field);
        widget->setFocus();
        QTest::keyClicks(widget, QStringLiteral("aqb"));
        QCOMPARE(field->Text(), QStringLiteral("ab"));
    }
}

template <typename F>
void TextFieldsTest::SelectAll() {
    QStringList log;
    EditMenuFixture menus(log);
    HostWindow host;
    auto* field = host.Add(new F);
    SetTextOf(field, QStringLiteral("select me"));
    QVERIFY(host.Show());

    // Enabled by the field only while it has the focus.
    menus.Model().RunEnablingPass();
    QVERIFY(!menus.SelectAll()->Enabled());
    field->setFocus();
    menus.Model().RunEnablingPass();
    QVERIFY(menus.SelectAll()->Enabled());

    field->SetSelection(2, 0);
    QVERIFY(menus.Model().Dispatch(QString::fromLatin1(EditMenuItems::SelectAll), 0));
    QCOMPARE(field->SelStart(), 0);
    QCOMPARE(field->SelLength(), 9);

    SetTextOf(field, QString());
    QVERIFY(field->_EditSelectAll_Action());
    QCOMPARE(field->SelStart(), 0);
    QCOMPARE(field->SelLength(), 0);
}

// An owner that selects the whole text when the field gets the focus (as the
// transfer window's fields do) still has it selected after the click that
// gave the focus.
template <typename F>
void TextFieldsTest::ClickFocusKeepsOwnersSelection() {
    HostWindow host;
    auto* field = host.Add(new F);
    SetTextOf(field, QStringLiteral("Server Name or Address"));
    QVERIFY(host.Show());
    QSignalSpy gotFocus(field, &F::GotFocus);
    QObject::connect(field, &F::GotFocus, field, [field] { field->SetSelection(0, 22); });

    QWidget* target = ClickTarget(field);
    QTest::mouseClick(target, Qt::LeftButton, {}, QPoint(target->width() / 2, target->height() / 2));
    QCOMPARE(gotFocus.count(), 1);
    QVERIFY(field->HasFocus());
    QCOMPARE(field->SelStart(), 0);
    QCOMPARE(field->SelLength(), 22);
}

QTEST_MAIN(TextFieldsTest)
#include "TextFieldsTest.moc"
