#include "controls/TextAreaPlus.h"

#include "controls/EditKeys.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QTextCursor>
#include <QTextDocument>

#include <algorithm>

namespace ostrel {

TextAreaPlus::TextAreaPlus(QWidget* parent) : QTextEdit(parent) {
    setAcceptRichText(false);
    connect(this, &QTextEdit::textChanged, this, [this] { RelayContentsChanged(); });
    connect(this, &QTextEdit::cursorPositionChanged, this, [this] { RelaySelectionMoved(); });
    connect(this, &QTextEdit::selectionChanged, this, [this] { RelaySelectionMoved(); });
}

QString TextAreaPlus::RawText() const {
    return document()->toRawText();
}

// Keeps one character per document position (unlike toPlainText, which
// also turns non-breaking spaces into spaces), so positions found in the
// text are positions in the field.
QString TextAreaPlus::Text() const {
    QString text = RawText();
    for (QChar& c : text) {
        if (c == QChar::ParagraphSeparator || c == QChar::LineSeparator)
            c = QLatin1Char('\n');
    }
    return text;
}

int TextAreaPlus::SelStart() const {
    return textCursor().selectionStart();
}

int TextAreaPlus::SelLength() const {
    const QTextCursor cursor = textCursor();
    return cursor.selectionEnd() - cursor.selectionStart();
}

void TextAreaPlus::SetSelection(int start, int length) {
    const int size = static_cast<int>(RawText().size());
    start = std::clamp(start, 0, size);
    length = std::clamp(length, 0, size - start);
    QTextCursor cursor = textCursor();
    cursor.setPosition(start);
    cursor.setPosition(start + length, QTextCursor::KeepAnchor);
    setTextCursor(cursor);
}

// Key presses are offered here rather than in keyPressEvent so that Tab,
// which a read-only area turns into a focus move, is offered too.
bool TextAreaPlus::event(QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (EditKeys::IsReportedKey(*key) && RelayKeyDown(EditKeys::KeyString(*key))) {
            key->accept();
            return true;
        }
    }
    return QTextEdit::event(event);
}

void TextAreaPlus::showEvent(QShowEvent* event) {
    QTextEdit::showEvent(event);
    Open();
}

void TextAreaPlus::focusInEvent(QFocusEvent* event) {
    QTextEdit::focusInEvent(event);
    RelayFocusIn(event->reason());
}

void TextAreaPlus::focusOutEvent(QFocusEvent* event) {
    QTextEdit::focusOutEvent(event);
    RelayFocusOut(event->reason());
}

void TextAreaPlus::mousePressEvent(QMouseEvent* event) {
    QTextEdit::mousePressEvent(event);
    RelayMousePressed();
}

}  // namespace ostrel
