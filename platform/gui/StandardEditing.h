#pragma once
// The platform's standard editing commands (Undo, Cut, Copy, Paste, Clear)
// on the focused QLineEdit, QTextEdit or QPlainTextEdit. In the enabling pass
// it enables each command only where it applies; when no handler takes one
// of these commands, it carries the command out on the focused editor.

#include <QString>

class QWidget;

namespace ostrel {

class MenuBarModel;

class StandardEditing {
public:
    static constexpr const char* Undo = "EditUndo";
    static constexpr const char* Cut = "EditCut";
    static constexpr const char* Copy = "EditCopy";
    static constexpr const char* Paste = "EditPaste";
    static constexpr const char* Clear = "EditClear";

    static bool IsEditCommand(const QString& itemName);
    // Enables the items of the commands that apply to `focus` (null: none).
    static void EnableItems(MenuBarModel& model, QWidget* focus);
    // Carries out the command on `focus` if it applies; true when it did.
    static bool Perform(const QString& itemName, QWidget* focus);
    static bool Applies(const QString& itemName, QWidget* focus);
};

}  // namespace ostrel
