#pragma once
// One button of the transfer window's Send/Receive pair. The pair is one
// control set told apart by index, and the index is the direction the button
// stands for (0 Send, 1 Receive), so the window stores it as its direction
// when the button is pressed. It never takes the keyboard focus.

#include "controls/TFTP_BBtn.h"

namespace ostrel {

class TypeBBtn : public TFTP_BBtn {
    Q_OBJECT
public:
    TypeBBtn(int index, const QString& caption, QWidget* parent = nullptr);

    int Index() const { return index_; }

private:
    int index_;
};

}  // namespace ostrel
