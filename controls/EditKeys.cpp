#include "controls/EditKeys.h"

#include <QKeyEvent>

#include <algorithm>

namespace ostrel {

namespace {

// Start of the character that ends at `pos`, treating a surrogate pair as one.
int PreviousCharacter(const QString& text, int pos) {
    if (pos >= 2 && text.at(pos - 1).isLowSurrogate() && text.at(pos - 2).isHighSurrogate())
        return pos - 2;
    return pos - 1;
}

// End of the character that starts at `pos`, treating a surrogate pair as one.
int NextCharacter(const QString& text, int pos) {
    if (pos + 1 < text.size() && text.at(pos).isHighSurrogate() && text.at(pos + 1).isLowSurrogate())
        return pos + 2;
    return pos + 1;
}

}  // namespace

bool EditKeys::IsReportedKey(const QKeyEvent& event) {
    switch (event.key()) {
    case Qt::Key_Shift:
    case Qt::Key_Control:
    case Qt::Key_Meta:
    case Qt::Key_Alt:
    case Qt::Key_AltGr:
    case Qt::Key_CapsLock:
    case Qt::Key_NumLock:
    case Qt::Key_ScrollLock:
    case Qt::Key_Super_L:
    case Qt::Key_Super_R:
    case Qt::Key_Hyper_L:
    case Qt::Key_Hyper_R:
        return false;
    default:
        return true;
    }
}

QString EditKeys::KeyString(const QKeyEvent& event) {
    auto code = [](char16_t c) { return QString(QChar(c)); };
    switch (event.key()) {
    case Qt::Key_Backspace: return code(BackspaceCode);
    case Qt::Key_Delete: return code(ForwardDeleteCode);
    case Qt::Key_Tab:
    case Qt::Key_Backtab: return code(TabCode);
    case Qt::Key_Return: return code(ReturnCode);
    case Qt::Key_Enter: return code(EnterCode);
    case Qt::Key_Escape: return code(EscapeCode);
    case Qt::Key_Left: return code(LeftArrowCode);
    case Qt::Key_Right: return code(RightArrowCode);
    case Qt::Key_Up: return code(UpArrowCode);
    case Qt::Key_Down: return code(DownArrowCode);
    case Qt::Key_Home: return code(HomeCode);
    case Qt::Key_End: return code(EndCode);
    case Qt::Key_PageUp: return code(PageUpCode);
    case Qt::Key_PageDown: return code(PageDownCode);
    default: return event.text();
    }
}

QString EditKeys::ValueAfterKey(const QString& text, int selStart, int selLength,
                                const QString& key) {
    const int size = static_cast<int>(text.size());
    int start = std::clamp(selStart, 0, size);
    int length = std::clamp(selLength, 0, size - start);

    QString inserted;
    const char16_t code = key.isEmpty() ? char16_t{0} : key.at(0).unicode();
    switch (code) {
    case BackspaceCode:
        if (length == 0 && start > 0) {
            const int end = start;
            start = PreviousCharacter(text, start);
            length = end - start;
        }
        break;
    case ForwardDeleteCode:
        if (length == 0 && start < size)
            length = NextCharacter(text, start) - start;
        break;
    case TabCode:
    case ReturnCode:
    case LeftArrowCode:
    case RightArrowCode:
    case UpArrowCode:
    case DownArrowCode:
        break;
    default:
        inserted = key;  // an empty key inserts nothing
        break;
    }
    return text.left(start) + inserted + text.mid(start + length);
}

}  // namespace ostrel
