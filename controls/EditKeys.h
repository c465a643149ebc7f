#pragma once
// Key presses as the text fields see them: a key is a string whose first
// character's code tells the key (8 backward delete, 127 forward delete,
// 9 Tab, 13 Return, 3 Enter, 27 Escape, 28 to 31 the arrows left, right, up,
// down), everything else is the typed text. Translates Qt's key events into
// that form and predicts the text a key press leaves in a field.

#include <QString>

class QKeyEvent;

namespace ostrel {

class EditKeys {
public:
    static constexpr char16_t HomeCode = 1;
    static constexpr char16_t EnterCode = 3;
    static constexpr char16_t EndCode = 4;
    static constexpr char16_t BackspaceCode = 8;
    static constexpr char16_t TabCode = 9;
    static constexpr char16_t PageUpCode = 11;
    static constexpr char16_t PageDownCode = 12;
    static constexpr char16_t ReturnCode = 13;
    static constexpr char16_t EscapeCode = 27;
    static constexpr char16_t LeftArrowCode = 28;
    static constexpr char16_t RightArrowCode = 29;
    static constexpr char16_t UpArrowCode = 30;
    static constexpr char16_t DownArrowCode = 31;
    static constexpr char16_t ForwardDeleteCode = 127;

    // False for presses of a modifier key alone (Shift, Ctrl, Alt, ...),
    // which are not key presses a field reports.
    static bool IsReportedKey(const QKeyEvent& event);
    // The key string for a press: the control code of an editing or
    // navigation key, otherwise the text the key types (may be empty).
    static QString KeyString(const QKeyEvent& event);

    // The text a field holding `text`, with the selection starting at
    // selStart (zero-based) and selLength long, holds after `key` is pressed.
    // Positions count QString characters; the delete keys remove a surrogate
    // pair as one character. Out-of-range selections are clamped.
    static QString ValueAfterKey(const QString& text, int selStart, int selLength,
                                 const QString& key);
};

}  // namespace ostrel
