#include "controls/Colored_F_Editfield.h"

#include <QPalette>

namespace ostrel {

Colored_F_Editfield::Colored_F_Editfield(QWidget* parent) : Formatting_EditField(parent) {}

void Colored_F_Editfield::OfferOpen() {
    QPalette colours = palette();
    for (auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
        colours.setColor(group, QPalette::Base, colours.color(group, QPalette::Window));
    setPalette(colours);
    Formatting_EditField::OfferOpen();
}

}  // namespace ostrel
