#include "controls/PushButton_Glue.h"

namespace ostrel {

PushButton_Glue::PushButton_Glue(QWidget* parent) : QPushButton(parent) {}

PushButton_Glue::PushButton_Glue(const QString& caption, QWidget* parent)
    : QPushButton(caption, parent) {}

}  // namespace ostrel
