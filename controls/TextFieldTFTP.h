#pragma once
// The single-line field every editable field and marked-up pane of the
// application derives from: it carries out and enables Edit > Select All
// while it has the focus, and as a group member is dimmed by becoming
// read-only (its text stays visible, selectable and copyable).

#include "controls/TFTP_Dimmer.h"
#include "controls/TextFieldPlus.h"

namespace ostrel {

class TextFieldTFTP : public TextFieldPlus, public TFTP_Dimmer {
    Q_OBJECT
public:
    explicit TextFieldTFTP(QWidget* parent = nullptr);

    // Selects the whole text; always reports the command handled.
    bool _EditSelectAll_Action();

    void DimMe(bool dim) override;

protected:
    // Enables Select All, then offers EnableMenuItemsTwo further.
    void Event_EnableMenuItemsTwo() override;
    // EnableMenuItemsTwo as this layer offers it: to the owner, unless a
    // subclass takes it.
    virtual void OfferEnableMenuItemsTwo();

    static void EnableSelectAll();
};

}  // namespace ostrel
