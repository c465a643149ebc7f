#pragma once
// A bevel button that shows a pressed or released look (its Value) but never
// toggles by itself: clicking it only reports the click, and code decides
// which button of a group looks pressed. Takes part in group dimming:
// dimmed means disabled.

#include "controls/TFTP_Dimmer.h"

#include <QPushButton>

namespace ostrel {

class TFTP_BBtn : public QPushButton, public TFTP_Dimmer {
    Q_OBJECT
public:
    explicit TFTP_BBtn(QWidget* parent = nullptr);
    explicit TFTP_BBtn(const QString& caption, QWidget* parent = nullptr);

    // True while the button looks pressed.
    bool Value() const { return isChecked(); }
    void SetValue(bool on) { setChecked(on); }

    void DimMe(bool dim) override;

protected:
    // A click leaves the look as it is.
    void nextCheckState() override {}
};

}  // namespace ostrel
