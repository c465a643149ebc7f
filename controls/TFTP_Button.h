#pragma once
// A push button that takes part in group dimming: dimmed means disabled.

#include "controls/TFTP_Dimmer.h"

#include <QPushButton>

namespace ostrel {

class TFTP_Button : public QPushButton, public TFTP_Dimmer {
    Q_OBJECT
public:
    explicit TFTP_Button(QWidget* parent = nullptr);
    explicit TFTP_Button(const QString& caption, QWidget* parent = nullptr);

    void DimMe(bool dim) override;
};

}  // namespace ostrel
