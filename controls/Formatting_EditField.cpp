#include "controls/Formatting_EditField.h"

#include <QDesktopServices>
#include <QMouseEvent>
#include <QScrollBar>
#include <QStringList>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QUrl>

#include <algorithm>

namespace ostrel {

namespace {

// The tag kinds, one comma-separated field per kind, processed in this order.
constexpr const char* OpeningTags = "<B>,<I>,<U>,<A HREF";
constexpr const char* ClosingTags = "</B>,</I>,</U>,</A>";
constexpr const char* StyleNames = "bold,italic,underline,link";
constexpr char16_t QuoteCode = 34;
constexpr const char* LinkTagEnd = ">";
const QColor LinkColour(0, 0, 255);

Formatting_EditField::ShowURLFunction& ShowURLSeam() {
    static Formatting_EditField::ShowURLFunction seam;
    return seam;
}

}  // namespace

Formatting_EditField::Formatting_EditField(QWidget* parent) : TextAreaTFTP(parent) {
    viewport()->setMouseTracking(true);
}

void Formatting_EditField::SetShowURL(ShowURLFunction showURL) {
    ShowURLSeam() = std::move(showURL);
}

void Formatting_EditField::ShowURL(const QString& target) {
    if (ShowURLSeam())
        ShowURLSeam()(target);
    else
        QDesktopServices::openUrl(QUrl(target));
}

void Formatting_EditField::SetText(const QString& text) {
    setPlainText(text);
    FormatMe();
}

void Formatting_EditField::DeleteText(int position, int length) {
    SetSelection(position - 1, length);
    QTextCursor cursor = textCursor();
    cursor.removeSelectedText();
    setTextCursor(cursor);
}

void Formatting_EditField::FormatMe() {
    ++formattingPasses_;
    linkStartPos_.clear();
    linkEndPos_.clear();
    link_.clear();
    unformattedText_ = Text();

    SetDisableSelChange(true);
    SetDisableTextChange(true);
    SetDisableLastValue(true);

    const QStringList opening = QString::fromLatin1(OpeningTags).split(QLatin1Char(','));
    const QStringList closing = QString::fromLatin1(ClosingTags).split(QLatin1Char(','));
    const QStringList styles = QString::fromLatin1(StyleNames).split(QLatin1Char(','));
    for (qsizetype kind = 0; kind < opening.size(); ++kind)
        FormatKind(opening[kind], closing[kind], StyleNamed(styles[kind]));

    SetSelection(0, 0);
    verticalScrollBar()->setValue(0);
    horizontalScrollBar()->setValue(0);

    SetDisableSelChange(false);
    SetDisableTextChange(false);
    SetDisableLastValue(false);
}

Formatting_EditField::Style Formatting_EditField::StyleNamed(const QString& name) {
    if (name == QLatin1String("bold"))
        return Style::Bold;
    if (name == QLatin1String("italic"))
        return Style::Italic;
    if (name == QLatin1String("underline"))
        return Style::Underline;
    return Style::Link;
}

void Formatting_EditField::FormatKind(const QString& openTag, const QString& closeTag, Style style) {
    const int openLength = static_cast<int>(openTag.size());
    const int closeLength = static_cast<int>(closeTag.size());
    int i = Find(openTag, 1);
    while (i > 0) {
        int k = Find(closeTag, i + 1);
        int resume = 0;
        if (k == 0) {
            resume = i + 1;  // unmatched: the opening tag stays as text
        } else {
            // From the opening tag's second character up to and including the
            // closing tag's first: once both tags are cut, exactly the text
            // between them carries the style.
            SetSelection(i, k - i);
            if (style == Style::Link) {
                ProcessLink(i, k, closeTag);
                resume = k;
            } else {
                ApplyStyleToSelection(style);
                DeleteText(k, closeLength);  // the closing tag first, so i stays valid
                DeleteText(i, openLength);
                resume = k - openLength - 1;
            }
        }
        i = Find(openTag, resume);
    }
}

void Formatting_EditField::ApplyStyleToSelection(Style style) {
    QTextCursor cursor = textCursor();
    if (!cursor.hasSelection())
        return;  // an empty run: nothing to style (and no block format to touch)
    QTextCharFormat format;
    switch (style) {
    case Style::Bold: format.setFontWeight(QFont::Bold); break;
    case Style::Italic: format.setFontItalic(true); break;
    case Style::Underline: format.setFontUnderline(true); break;
    case Style::Link:
        format.setFontUnderline(true);
        format.setForeground(blue_);
        break;
    }
    cursor.mergeCharFormat(format);
}

int Formatting_EditField::Find(const QString& what, int from) const {
    if (what.isEmpty())
        return 0;
    const qsizetype index = RawText().indexOf(what, std::max(from - 1, 0), Qt::CaseInsensitive);
    return index < 0 ? 0 : static_cast<int>(index) + 1;
}

void Formatting_EditField::ProcessLink(int start, int& closePos, const QString& closeTag) {
    // Before the field opens Quote is empty: Find then reports no quote and
    // the link stays as written.
    const int q1 = Find(quote_, start + 1);
    if (q1 == 0 || q1 >= closePos)
        return;
    const int q2 = Find(quote_, q1 + 1);
    if (q2 == 0 || q2 >= closePos)
        return;
    const int gt = Find(QString::fromLatin1(LinkTagEnd), q2 + 1);
    if (gt == 0 || gt >= closePos)
        return;

    link_.push_back(RawText().mid(q1, q2 - q1 - 1));
    const int openLength = gt - start + 1;
    DeleteText(closePos, static_cast<int>(closeTag.size()));
    DeleteText(start, openLength);
    closePos = closePos - openLength - 1;
    linkStartPos_.push_back(start);
    linkEndPos_.push_back(closePos);

    SetSelection(start - 1, closePos - start + 1);
    ApplyStyleToSelection(Style::Link);
}

void Formatting_EditField::ProcessClick() {
    const int p = SelStart();  // zero-based; the table is one-based
    for (std::size_t n = 0; n < link_.size(); ++n) {
        if (p < linkStartPos_[n])
            return;
        if (p < linkEndPos_[n]) {
            ShowURL(link_[n]);
            return;
        }
    }
}

void Formatting_EditField::ProcessMouseMove(int /*x*/, int /*y*/) {
    // A window keeps WA_SetCursor once it had a cursor; its shape tells
    // whether one is set now.
    QWidget* win = window();
    if (!win->testAttribute(Qt::WA_SetCursor) || win->cursor().shape() == Qt::ArrowCursor)
        return;
    win->unsetCursor();
    unsetCursor();
}

void Formatting_EditField::OfferOpen() {
    TextAreaTFTP::Event_Open();
}

void Formatting_EditField::Event_Open() {
    quote_ = QString(QChar(QuoteCode));
    blue_ = LinkColour;
    const int passesBefore = formattingPasses_;
    OfferOpen();
    // An owner that formatted its text itself (SetText) while opening
    // already has the finished text; a second pass would find no tags left
    // and empty the link table.
    if (formattingPasses_ == passesBefore)
        FormatMe();
}

bool Formatting_EditField::Event_KeyDown(const QString& key) {
    keyPressed_ = true;
    return TextAreaTFTP::Event_KeyDown(key);
}

void Formatting_EditField::Event_SelChange() {
    ++selChangesOffered_;
    TextAreaTFTP::Event_SelChange();
    TakeAsClick();
}

void Formatting_EditField::TakeAsClick() {
    if (mousePresent_ && !keyPressed_ && SelLength() == 0)
        ProcessClick();
    keyPressed_ = false;
}

void Formatting_EditField::enterEvent(QEnterEvent* event) {
    TextAreaTFTP::enterEvent(event);
    mousePresent_ = true;
    emit MouseEnter();
}

void Formatting_EditField::leaveEvent(QEvent* event) {
    TextAreaTFTP::leaveEvent(event);
    window()->unsetCursor();
    mousePresent_ = false;
    emit MouseExit();
}

void Formatting_EditField::mouseMoveEvent(QMouseEvent* event) {
    TextAreaTFTP::mouseMoveEvent(event);
    const QPoint at = event->position().toPoint();
    ProcessMouseMove(at.x(), at.y());
    emit MouseMove(at.x(), at.y());
}

// A press that leaves the insertion point where it was raises no selection
// change; it is still a click.
void Formatting_EditField::mousePressEvent(QMouseEvent* event) {
    const int offeredBefore = selChangesOffered_;
    TextAreaTFTP::mousePressEvent(event);
    if (event->button() == Qt::LeftButton && selChangesOffered_ == offeredBefore &&
        !DisableSelChange())
        TakeAsClick();
}

}  // namespace ostrel
