#pragma once
// The field for the TFTP server's name or address. Host names and addresses
// never contain a space, so the field refuses the space key and withdraws
// Paste while the clipboard text holds a space. Text set by code is taken
// as it is.
//
// It takes KeyDown and EnableMenuItemsTwo for itself; its owner gets Opened,
// GotFocus, LostFocus, SelChange and TextChange.

#include "controls/TextFieldTFTP.h"

namespace ostrel {

class IP_Field : public TextFieldTFTP {
    Q_OBJECT
public:
    explicit IP_Field(QWidget* parent = nullptr);

    // True when the system clipboard holds text with a space in it.
    static bool ClipboardTextHasSpace();

protected:
    bool Event_KeyDown(const QString& key) override;
    // The Paste guard: runs in every enabling pass while the field has the
    // focus, after Select All is enabled. It only ever disables Paste.
    void OfferEnableMenuItemsTwo() override;

    // Paste also arrives as the field's own shortcut and context menu; both
    // follow the same guard.
    void keyPressEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
};

}  // namespace ostrel
