#include "controls/TextFieldTFTP.h"

#include "controls/EditMenuItems.h"
#include "platform/gui/MenuBarModel.h"
#include "platform/gui/MenuItem.h"

namespace ostrel {

TextFieldTFTP::TextFieldTFTP(QWidget* parent) : TextFieldPlus(parent) {
    AddMenuHandler(EditMenuItems::SelectAll, [this](int) { return _EditSelectAll_Action(); });
}

bool TextFieldTFTP::_EditSelectAll_Action() {
    SetSelection(0, static_cast<int>(Text().size()));
    return true;
}

void TextFieldTFTP::DimMe(bool dim) {
    setReadOnly(dim);
}

void TextFieldTFTP::Event_EnableMenuItemsTwo() {
    EnableSelectAll();
    OfferEnableMenuItemsTwo();
}

void TextFieldTFTP::OfferEnableMenuItemsTwo() {
    TextFieldPlus::Event_EnableMenuItemsTwo();
}

void TextFieldTFTP::EnableSelectAll() {
    if (MenuBarModel* model = MenuBarModel::Instance()) {
        if (MenuItem* item = model->Item(EditMenuItems::SelectAll))
            item->SetEnabled(true);
    }
}

}  // namespace ostrel
