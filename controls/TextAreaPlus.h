#pragma once
// The multi-line edit-aware field: a QTextEdit that relays its events to its
// owner (see TextRelay for the services it adds). It takes only plain text
// from the clipboard and from drops; styles come from code alone. Its text
// reports line breaks as "\n".

#include "controls/TextRelay.h"

#include <QTextEdit>

namespace ostrel {

class TextAreaPlus : public QTextEdit, public TextRelay {
    Q_OBJECT
public:
    explicit TextAreaPlus(QWidget* parent = nullptr);

    QString Text() const override;
    int SelStart() const override;
    int SelLength() const override;
    void SetSelection(int start, int length) override;

signals:
    void Opened();
    void GotFocus();
    void LostFocus();
    void SelChange();
    void TextChange();
    void EnableMenuItemsTwo();

protected:
    void Event_Open() override { emit Opened(); }
    void Event_GotFocus() override { emit GotFocus(); }
    void Event_LostFocus() override { emit LostFocus(); }
    void Event_SelChange() override { emit SelChange(); }
    void Event_TextChange() override { emit TextChange(); }
    void Event_EnableMenuItemsTwo() override { emit EnableMenuItemsTwo(); }

    // The document's characters, one per position: block breaks appear as
    // QChar::ParagraphSeparator, and no character is converted.
    QString RawText() const;

    bool event(QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
};

}  // namespace ostrel
