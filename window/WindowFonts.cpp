#include "window/WindowFonts.h"

#include <QApplication>

#include <algorithm>

namespace ostrel {

namespace {

constexpr double SystemSize = 13.0;
constexpr double SmallSystemSize = 11.0;
constexpr double SmallestReadableSize = 7.0;

}  // namespace

QFont WindowFonts::System()
{
    return QApplication::font();
}

QFont WindowFonts::SmallSystem()
{
    QFont font = QApplication::font();
    const double size = font.pointSizeF() > 0 ? font.pointSizeF() : QFont().pointSizeF();
    font.setPointSizeF(std::max(size * SmallSystemSize / SystemSize, SmallestReadableSize));
    return font;
}

QFont WindowFonts::Named(const QString& family, int pointSize)
{
    QFont font(family, pointSize);
    font.setStyleHint(QFont::SansSerif);
    return font;
}

}  // namespace ostrel
