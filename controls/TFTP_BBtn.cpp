#include "controls/TFTP_BBtn.h"

namespace ostrel {

TFTP_BBtn::TFTP_BBtn(QWidget* parent) : TFTP_BBtn(QString(), parent) {}

TFTP_BBtn::TFTP_BBtn(const QString& caption, QWidget* parent) : QPushButton(caption, parent) {
    setCheckable(true);
}

void TFTP_BBtn::DimMe(bool dim) {
    setEnabled(!dim);
}

}  // namespace ostrel
