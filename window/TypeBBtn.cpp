#include "window/TypeBBtn.h"

namespace ostrel {

TypeBBtn::TypeBBtn(int index, const QString& caption, QWidget* parent)
    : TFTP_BBtn(caption, parent), index_(index)
{
    setFocusPolicy(Qt::NoFocus);
}

}  // namespace ostrel
