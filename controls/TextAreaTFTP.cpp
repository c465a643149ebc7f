#include "controls/TextAreaTFTP.h"

#include "controls/EditMenuItems.h"
#include "platform/gui/MenuBarModel.h"
#include "platform/gui/MenuItem.h"

namespace ostrel {

TextAreaTFTP::TextAreaTFTP(QWidget* parent) : TextAreaPlus(parent) {
    AddMenuHandler(EditMenuItems::SelectAll, [this](int) { return _EditSelectAll_Action(); });
}

bool TextAreaTFTP::_EditSelectAll_Action() {
    SetSelection(0, static_cast<int>(Text().size()));
    return true;
}

void TextAreaTFTP::DimMe(bool dim) {
    setReadOnly(dim);
}

void TextAreaTFTP::Event_EnableMenuItemsTwo() {
    EnableSelectAll();
    OfferEnableMenuItemsTwo();
}

void TextAreaTFTP::OfferEnableMenuItemsTwo() {
    TextAreaPlus::Event_EnableMenuItemsTwo();
}

void TextAreaTFTP::EnableSelectAll() {
    if (MenuBarModel* model = MenuBarModel::Instance()) {
        if (MenuItem* item = model->Item(EditMenuItems::SelectAll))
            item->SetEnabled(true);
    }
}

}  // namespace ostrel
