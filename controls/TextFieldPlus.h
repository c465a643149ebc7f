#pragma once
// The single-line edit-aware field: a QLineEdit that relays its events to
// its owner (see TextRelay for the services it adds). Owners connect to the
// signals; subclasses override the Event_ hooks.

#include "controls/TextRelay.h"

#include <QLineEdit>

namespace ostrel {

class TextFieldPlus : public QLineEdit, public TextRelay {
    Q_OBJECT
public:
    explicit TextFieldPlus(QWidget* parent = nullptr);

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

    bool event(QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
};

}  // namespace ostrel
