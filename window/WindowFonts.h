#pragma once
// The fonts the transfer window's controls are designed with, mapped onto
// the host: "System" is the application font, "SmallSystem" a smaller size
// of it (in the proportion of the classic 13 and 11 point system fonts), and
// a named font at a point size falls back to a sans-serif face where the
// host lacks it (Geneva is rarely found outside macOS).

#include <QFont>
#include <QString>

namespace ostrel {

class WindowFonts {
public:
    static QFont System();
    static QFont SmallSystem();
    static QFont Named(const QString& family, int pointSize);
};

}  // namespace ostrel
