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
    constexpr double ratio = SmallSystemSize / SystemSize;
    if (font.pointSizeF() > 0) {
        font.setPointSizeF(std::max(font.pointSizeF() * ratio, SmallestReadableSize));
    } else {
        // A font sized in pixels keeps its unit.
        font.setPixelSize(std::max(static_cast<int>(font.pixelSize() * ratio), static_cast<int>(SmallestReadableSize)));
    }
    return font;
}

QFont WindowFonts::Named(const QString& family, int pointSize)
{
    QFont font(family, pointSize);
    font.setStyleHint(QFont::SansSerif);
    return font;
}

}  // namespace ostrel
