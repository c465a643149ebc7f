#include "window/ServerText.h"

namespace ostrel {

namespace {

bool IsLayoutWhitespace(QChar c)
{
    return c == QLatin1Char('\n') || c == QLatin1Char('\r') || c == QLatin1Char('\t') ||
           c == QLatin1Char('\v') || c == QLatin1Char('\f');
}

bool IsHiddenCharacter(QChar c)
{
    const QChar::Category category = c.category();
    return category == QChar::Other_Control || category == QChar::Other_Format;
}

}  // namespace

QString ServerText::ForDisplay(const std::string& bytes)
{
    QString shown = QString::fromUtf8(bytes.data(), static_cast<qsizetype>(bytes.size()));
    for (QChar& c : shown) {
        if (IsLayoutWhitespace(c))
            c = QLatin1Char(' ');
        else if (IsHiddenCharacter(c))
            c = QChar::ReplacementCharacter;
    }
    return shown;
}

}  // namespace ostrel
