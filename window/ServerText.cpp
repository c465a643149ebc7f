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
    // A TFTP message is a string ended by a zero byte; anything after it is
    // padding, not text.
    const std::string text = bytes.substr(0, bytes.find('\0'));
    QString shown = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
    for (QChar& c : shown) {
        if (IsLayoutWhitespace(c))
            c = QLatin1Char(' ');
        else if (IsHiddenCharacter(c))
            c = QChar::ReplacementCharacter;
    }
    return shown;
}

}  // namespace ostrel
