#pragma once
// The marked-up field of the About window's panes: when it opens it takes
// the platform's window colour as its background, so a borderless pane
// reads as part of the window.

#include "controls/Formatting_EditField.h"

namespace ostrel {

class Colored_F_Editfield : public Formatting_EditField {
    Q_OBJECT
public:
    explicit Colored_F_Editfield(QWidget* parent = nullptr);

protected:
    // Sets the background, then offers Open to the owner.
    void OfferOpen() override;
};

}  // namespace ostrel
