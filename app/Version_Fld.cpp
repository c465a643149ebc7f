#include "app/Version_Fld.h"

namespace ostrel {

Version_Fld::Version_Fld(QWidget* parent) : QLabel(QString::fromLatin1(InitialText), parent)
{
    setTextFormat(Qt::PlainText);
}

void Version_Fld::Open()
{
    if (opened_)
        return;
    opened_ = true;
    Event_Open();
}

QString Version_Fld::ShortVersion() { return QString::fromLatin1(OSTREL_VERSION); }

void Version_Fld::Event_Open()
{
    setText(ShortVersion());
    emit Opened();
}

}  // namespace ostrel
