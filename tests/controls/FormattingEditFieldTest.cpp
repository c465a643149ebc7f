// The marked-up fields: the four tag kinds in their nesting and failure
// cases, the link table, which insertion points open a link, and how key
// presses, selections and reformatting affect clicks.

#include "ControlsTestSupport.h"

#include "controls/Colored_F_Editfield.h"
#include "controls/Formatting_EditField.h"

#include <QEnterEvent>
#include <QSignalSpy>
#include <QTest>
#include <QTextBlock>
#include <QTextDocument>

using namespace ostrel;
using namespace ostrel::test;

namespace {

const QColor LinkBlue(0, 0, 255);

class Probe : public Formatting_EditField {
public:
    using Formatting_EditField::Formatting_EditField;

    // "start-end:target" per link, in table order.
    QStringList Links() const {
        QStringList links;
        for (std::size_t n = 0; n < link_.size(); ++n)
            links << QStringLiteral("%1-%2:%3").arg(linkStartPos_[n]).arg(linkEndPos_[n]).arg(link_[n]);
        return links;
    }
};

// The text with its styles, written as runs: "{B}" bold, "{I}" italic,
// "{U}" underlined, "{L}" link blue (combined in that order); "{}" returns
// to plain. Each line starts plain.
QString Describe(const QTextDocument& document) {
    QString out;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        if (block != document.begin())
            out += QLatin1Char('\n');
        QString current;
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            const QTextCharFormat format = fragment.charFormat();
            QString flags;
            if (format.fontWeight() > QFont::Normal)
                flags += QLatin1Char('B');
            if (format.fontItalic())
                flags += QLatin1Char('I');
            if (format.fontUnderline())
                flags += QLatin1Char('U');
            if (format.foreground().color() == LinkBlue)
                flags += QLatin1Char('L');
            if (flags != current)
                out += QLatin1Char('{') + flags + QLatin1Char('}');
            current = flags;
            out += fragment.text();
        }
    }
    return out;
}

// Installs a ShowURL that records the targets instead of opening them.
class ShowURLRecorder {
public:
    ShowURLRecorder() {
        Formatting_EditField::SetShowURL([this](const QString& target) { opened << target; });
    }
    ~ShowURLRecorder() { Formatting_EditField::SetShowURL(nullptr); }
    QStringList opened;
};

void MouseEnters(QWidget* field) {
    QEnterEvent enter(QPointF(2, 2), QPointF(2, 2), field->mapToGlobal(QPointF(2, 2)));
    QApplication::sendEvent(field, &enter);
}

const QString LinkText = QStringLiteral("x<A HREF = \"t\">ab</A>y");  // shown as "xaby"

}  // namespace

class FormattingEditFieldTest : public QObject {
    Q_OBJECT

private slots:
    void markUp_data();
    void markUp();
    void insertionPointsThatOpenALink_data();
    void insertionPointsThatOpenALink();
    void keyPressBeforeClickAndSelectionsOpenNothing();
    void realClicksOpenTheLinkEachTime();
    void setTextReplacesTheLinkTable();
    void openingOrder();
    void setTextWhileOpeningKeepsTheLinks();
    void mouseTracking();
};

void FormattingEditFieldTest::markUp_data() {
    QTest::addColumn<QString>("source");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QStringList>("links");

    const QStringList none;
    QTest::newRow("no tags") << "Plain <text> & \"quotes\"" << "Plain <text> & \"quotes\"" << none;
    QTest::newRow("html is text") << "<p>&amp;<br></p>" << "<p>&amp;<br></p>" << none;
    QTest::newRow("nested kinds") << "<U><B>AS IS</B></U>" << "{BU}AS IS" << none;
    QTest::newRow("runs close together") << "<B>a</B> <B>b</B>" << "{B}a{} {B}b" << none;
    QTest::newRow("same kind does not nest") << "<B>a<B>b</B>c</B>" << "{B}a<B>b{}c</B>" << none;
    QTest::newRow("kinds overlap") << "<B>a<I>b</B>c</I>" << "{B}a{BI}b{I}c" << none;
    QTest::newRow("any case") << "<b>x</B><i>y</I>" << "{B}x{I}y" << none;
    QTest::newRow("opening tag alone") << "x<B>y<U>z" << "x<B>y<U>z" << none;
    QTest::newRow("closing tag alone") << "x</B>y</A>" << "x</B>y</A>" << none;
    QTest::newRow("empty run") << "<B></B>x" << "x" << none;
    QTest::newRow("link") << LinkText << "x{UL}ab{}y" << QStringList{"2-3:t"};
    QTest::newRow("lowercase link") << "go <a href=\"mailto:a@b.c\">mail</a>"
                                    << "go {UL}mail" << QStringList{"4-7:mailto:a@b.c"};
    QTest::newRow("link without quotes, then one with")
        << "<A HREF=t>x</A> <A HREF=\"u\">y</A>" << "<A HREF=t>x</A> {UL}y" << QStringList{"17-17:u"};
    QTest::newRow("second quote past the closing tag")
        << "<A HREF=\"t>x</A>\"" << "<A HREF=\"t>x</A>\"" << none;
    QTest::newRow("styled link") << "<A HREF=\"t\"><B>go</B></A>!" << "{BUL}go{}!" << QStringList{"1-2:t"};
    QTest::newRow("links in order over lines")
        << "<A HREF=\"1\">a</A>\r\r<A HREF=\"2\">bc</A>" << "{UL}a\n\n{UL}bc"
        << QStringList{"1-1:1", "4-5:2"};
}

void FormattingEditFieldTest::markUp() {
    QFETCH(QString, source);
    QFETCH(QString, shown);
    QFETCH(QStringList, links);

    Probe field;
    field.Open();
    field.SetText(source);
    QCOMPARE(Describe(*field.document()), shown);
    QCOMPARE(field.Links(), links);
    QCOMPARE(field.GetUnformattedText(), source.replace(QLatin1Char('\r'), QLatin1Char('\n')));
    QCOMPARE(field.SelStart(), 0);
    QCOMPARE(field.SelLength(), 0);
    // The notifications are on again afterwards.
    QVERIFY(!field.DisableTextChange() && !field.DisableSelChange() && !field.DisableLastValue());
}

void FormattingEditFieldTest::insertionPointsThatOpenALink_data() {
    QTest::addColumn<QString>("source");
    QTest::addColumn<QStringList>("expected");  // "point:target" for each opening
    QTest::newRow("two characters") << LinkText << QStringList{"2:t"};
    QTest::newRow("one character") << "x<A HREF=\"s\">k</A>y" << QStringList{};
    QTest::newRow("two links") << "<A HREF=\"p\">abc</A>-<A HREF=\"q\">de</A>"
                               << QStringList{"1:p", "2:p", "5:q"};
}

// From just after a link's first character to just before its last.
void FormattingEditFieldTest::insertionPointsThatOpenALink() {
    QFETCH(QString, source);
    QFETCH(QStringList, expected);
    ShowURLRecorder showURL;
    HostWindow host;
    auto* field = host.Add(new Formatting_EditField);
    field->setReadOnly(true);
    QVERIFY(host.Show());
    field->SetText(source);
    MouseEnters(field);

    QStringList opened;
    const int length = static_cast<int>(field->Text().size());
    for (int point = length; point >= 0; --point) {  // each step moves the insertion point
        showURL.opened.clear();
        field->SetSelection(point, 0);
        for (const QString& target : showURL.opened)
            opened.prepend(QStringLiteral("%1:%2").arg(point).arg(target));
    }
    QCOMPARE(opened, expected);
}

void FormattingEditFieldTest::keyPressBeforeClickAndSelectionsOpenNothing() {
    ShowURLRecorder showURL;
    HostWindow host;
    auto* field = host.Add(new Formatting_EditField);
    field->setReadOnly(true);
    QVERIFY(host.Show());
    field->SetText(LinkText);

    // Without the mouse over the field a selection change is no click.
    field->SetSelection(2, 0);
    QVERIFY(showURL.opened.isEmpty());

    MouseEnters(field);
    field->SetSelection(0, 0);
    field->setFocus();
    QTest::keyClick(field, Qt::Key_C);
    field->SetSelection(2, 0);  // follows the key press: only clears it
    QVERIFY(showURL.opened.isEmpty());
    field->SetSelection(1, 2);  // dragged across the link: not empty
    QVERIFY(showURL.opened.isEmpty());
    field->SetSelection(2, 0);
    QCOMPARE(showURL.opened, QStringList{QStringLiteral("t")});
}

// Real presses: the first moves the insertion point into the link, the
// second lands on the same point and moves nothing, and still opens it.
void FormattingEditFieldTest::realClicksOpenTheLinkEachTime() {
    ShowURLRecorder showURL;
    HostWindow host;
    auto* field = host.Add(new Colored_F_Editfield);
    field->setReadOnly(true);
    QVERIFY(host.Show());
    field->SetText(LinkText);
    MouseEnters(field);

    QTextCursor between(field->document());
    between.setPosition(2);
    const QPoint at = field->cursorRect(between).center();
    QTest::mouseClick(field->viewport(), Qt::LeftButton, {}, at);
    QCOMPARE(field->SelStart(), 2);
    QCOMPARE(showURL.opened, QStringList{QStringLiteral("t")});
    QTest::mouseClick(field->viewport(), Qt::LeftButton, {}, at);
    QCOMPARE(showURL.opened, (QStringList{QStringLiteral("t"), QStringLiteral("t")}));
}

void FormattingEditFieldTest::setTextReplacesTheLinkTable() {
    ShowURLRecorder showURL;
    HostWindow host;
    auto* field = host.Add(new Probe);
    QVERIFY(host.Show());
    field->SetText(QStringLiteral("<A HREF=\"old\">abcdef</A>"));
    field->SetText(QStringLiteral("<A HREF=\"new\">xy</A>z abcdef"));
    QCOMPARE(field->Links(), QStringList{QStringLiteral("1-2:new")});

    MouseEnters(field);
    for (int point : {4, 1})
        field->SetSelection(point, 0);
    QCOMPARE(showURL.opened, QStringList{QStringLiteral("new")});
}

// Opening: the window colour becomes the background before the owner hears
// of it, and the text the owner sets then is formatted afterwards.
void FormattingEditFieldTest::openingOrder() {
    HostWindow host;
    auto* field = host.Add(new Colored_F_Editfield);
    QSignalSpy textChange(field, &Colored_F_Editfield::TextChange);
    bool backgroundSetFirst = false;
    connect(field, &Colored_F_Editfield::Opened, this, [&] {
        const QPalette shown = field->viewport()->palette();
        backgroundSetFirst = shown.color(QPalette::Base) == shown.color(QPalette::Window);
        field->setPlainText(QStringLiteral("<I>About</I> <A HREF=\"https://ostrel.invalid\">site</A>"));
    });
    QVERIFY(field->palette().color(QPalette::Base) != field->palette().color(QPalette::Window));
    QVERIFY(host.Show());

    QVERIFY(backgroundSetFirst);
    QCOMPARE(Describe(*field->document()), QStringLiteral("{I}About{} {UL}site"));
    QCOMPARE(textChange.count(), 1);  // the owner's change; formatting raises none
}

// An owner that formats its text itself while the field opens keeps its
// links: the opening does not format the finished text a second time.
void FormattingEditFieldTest::setTextWhileOpeningKeepsTheLinks() {
    Probe field;
    connect(&field, &Probe::Opened, this,
            [&field] { field.SetText(QStringLiteral("<A HREF=\"mailto:x@y.z\">mail</A>")); });
    field.Open();
    QCOMPARE(field.Links(), QStringList{QStringLiteral("1-4:mailto:x@y.z")});
    QCOMPARE(Describe(*field.document()), QStringLiteral("{UL}mail"));
}

void FormattingEditFieldTest::mouseTracking() {
    HostWindow host;
    auto* field = host.Add(new Formatting_EditField);
    QVERIFY(host.Show());
    QSignalSpy enter(field, &Formatting_EditField::MouseEnter);
    QSignalSpy exit(field, &Formatting_EditField::MouseExit);
    QSignalSpy move(field, &Formatting_EditField::MouseMove);

    host.Window().setCursor(Qt::WaitCursor);
    QTest::mouseMove(field->viewport(), QPoint(5, 6));  // enters, then moves
    QCOMPARE(enter.count(), 1);
    QCOMPARE(move.count(), 1);
    QCOMPARE(move.front(), (QList<QVariant>{5, 6}));
    QCOMPARE(host.Window().cursor().shape(), Qt::ArrowCursor);

    host.Window().setCursor(Qt::WaitCursor);
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(field, &leave);
    QCOMPARE(exit.count(), 1);
    QCOMPARE(host.Window().cursor().shape(), Qt::ArrowCursor);
}

QTEST_MAIN(FormattingEditFieldTest)
#include "FormattingEditFieldTest.moc"
