#include "app/MNU_WindowItem.h"

#include "platform/gui/SystemBeep.h"

#include <QAction>

namespace ostrel {

MNU_WindowItem::MNU_WindowItem(const QString& name, int index, const QString& caption,
                               WindowBase* window)
    : MenuItem(name, index, new QAction(CaptionFor(caption), nullptr), false, nullptr),
      window_(window)
{
}

bool MNU_WindowItem::Event_Action()
{
    if (!window_ || window_->IsClosed()) {
        SystemBeep::Beep();
        return true;
    }
    window_->BringToFront();
    return true;
}

QString MNU_WindowItem::CaptionFor(const QString& title)
{
    QString caption;
    caption.reserve(title.size());
    for (QChar c : title) {
        if (c == QLatin1Char('&'))
            caption += QStringLiteral("&&");
        else if (c.category() == QChar::Other_Control)
            caption += QLatin1Char(' ');  // a tab would start the shortcut column
        else
            caption += c;
    }
    return caption;
}

}  // namespace ostrel
