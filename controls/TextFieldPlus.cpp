#include "controls/TextFieldPlus.h"

#include "controls/EditKeys.h"

#include <QFocusEvent>
#include <QKeyEvent>

#include <algorithm>

namespace ostrel {

TextFieldPlus::TextFieldPlus(QWidget* parent) : QLineEdit(parent) {
    connect(this, &QLineEdit::textChanged, this, [this] { RelayContentsChanged(); });
    connect(this, &QLineEdit::cursorPositionChanged, this, [this] { RelaySelectionMoved(); });
    connect(this, &QLineEdit::selectionChanged, this, [this] { RelaySelectionMoved(); });
}

QString TextFieldPlus::Text() const {
    return text();
}

int TextFieldPlus::SelStart() const {
    return hasSelectedText() ? selectionStart() : cursorPosition();
}

int TextFieldPlus::SelLength() const {
    return selectionLength();
}

void TextFieldPlus::SetSelection(int start, int length) {
    const int size = static_cast<int>(text().size());
    start = std::clamp(start, 0, size);
    length = std::clamp(length, 0, size - start);
    if (length == 0)
        setCursorPosition(start);
    else
        setSelection(start, length);
}

// Key presses are offered here rather than in keyPressEvent so that Tab,
// which QWidget turns into a focus move before keyPressEvent, is offered too.
bool TextFieldPlus::event(QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (EditKeys::IsReportedKey(*key) && RelayKeyDown(EditKeys::KeyString(*key))) {
            key->accept();
            return true;
        }
    }
    return QLineEdit::event(event);
}

void TextFieldPlus::showEvent(QShowEvent* event) {
    QLineEdit::showEvent(event);
    Open();
}

void TextFieldPlus::focusInEvent(QFocusEvent* event) {
    QLineEdit::focusInEvent(event);
    RelayFocusIn(event->reason());
}

void TextFieldPlus::focusOutEvent(QFocusEvent* event) {
    QLineEdit::focusOutEvent(event);
    RelayFocusOut(event->reason());
}

void TextFieldPlus::mousePressEvent(QMouseEvent* event) {
    QLineEdit::mousePressEvent(event);
    RelayMousePressed();
}

}  // namespace ostrel
