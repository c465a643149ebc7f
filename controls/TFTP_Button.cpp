#include "controls/TFTP_Button.h"

namespace ostrel {

TFTP_Button::TFTP_Button(QWidget* parent) : QPushButton(parent) {}

TFTP_Button::TFTP_Button(const QString& caption, QWidget* parent) : QPushButton(caption, parent) {}

void TFTP_Button::DimMe(bool dim) {
    setEnabled(!dim);
}

}  // namespace ostrel
