#include "window/ElidedLabel.h"

#include <QHelpEvent>
#include <QPainter>
#include <QStyle>
#include <QTextDocument>
#include <QToolTip>

namespace ostrel {

ElidedLabel::ElidedLabel(QWidget* parent) : QLabel(parent)
{
    setTextFormat(Qt::PlainText);
    setWordWrap(false);
    setTextInteractionFlags(Qt::NoTextInteraction);
}

QString ElidedLabel::ShownText() const
{
    return fontMetrics().elidedText(text(), Qt::ElideRight, contentsRect().width());
}

QString ElidedLabel::FullTextTip() const
{
    if (!IsElided())
        return QString();
    // Escaped, so that a tool tip never reads the text as mark-up.
    return Qt::convertFromPlainText(text(), Qt::WhiteSpaceNormal);
}

QSize ElidedLabel::minimumSizeHint() const
{
    // Any width will do: the text is cut to fit.
    return {0, QLabel::minimumSizeHint().height()};
}

bool ElidedLabel::event(QEvent* event)
{
    if (event->type() == QEvent::ToolTip && toolTip().isEmpty()) {
        const QString tip = FullTextTip();
        auto* help = static_cast<QHelpEvent*>(event);
        if (tip.isEmpty())
            QToolTip::hideText();
        else
            QToolTip::showText(help->globalPos(), tip, this);
        return true;
    }
    return QLabel::event(event);
}

void ElidedLabel::paintEvent(QPaintEvent* event)
{
    Q_UNUSED(event);
    QPainter painter(this);
    drawFrame(&painter);
    style()->drawItemText(&painter, contentsRect(), static_cast<int>(alignment()), palette(),
                          isEnabled(), ShownText(), foregroundRole());
}

}  // namespace ostrel
