#include "platform/gui/StandardEditing.h"

#include "platform/gui/MenuBarModel.h"
#include "platform/gui/MenuItem.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QLineEdit>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QTextEdit>

namespace ostrel {

namespace {

// What the commands need to know about an editor, whatever its class.
struct EditorState {
    bool isEditor = false;
    bool editable = false;
    bool hasSelection = false;
    bool undoAvailable = false;
    bool secret = false;  // password echo: its text never leaves the field
};

EditorState StateOf(QWidget* focus)
{
    EditorState state;
    if (auto* line = qobject_cast<QLineEdit*>(focus)) {
        state.isEditor = true;
        state.editable = !line->isReadOnly() && line->isEnabled();
        state.hasSelection = line->hasSelectedText();
        state.undoAvailable = line->isUndoAvailable();
        state.secret = line->echoMode() != QLineEdit::Normal;
    } else if (auto* text = qobject_cast<QTextEdit*>(focus)) {
        state.isEditor = true;
        state.editable = !text->isReadOnly() && text->isEnabled();
        state.hasSelection = text->textCursor().hasSelection();
        state.undoAvailable = text->isUndoRedoEnabled() && text->document()->isUndoAvailable();
    } else if (auto* plain = qobject_cast<QPlainTextEdit*>(focus)) {
        state.isEditor = true;
        state.editable = !plain->isReadOnly() && plain->isEnabled();
        state.hasSelection = plain->textCursor().hasSelection();
        state.undoAvailable = plain->isUndoRedoEnabled() && plain->document()->isUndoAvailable();
    }
    return state;
}

bool ClipboardHasText()
{
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    return data && data->hasText() && !data->text().isEmpty();
}

template <class Editor>
void RemoveSelection(Editor* editor)
{
    QTextCursor cursor = editor->textCursor();
    cursor.removeSelectedText();
    editor->setTextCursor(cursor);
}

template <class Editor>
bool PerformOnTextEditor(Editor* editor, const QString& itemName)
{
    if (itemName == StandardEditing::Undo)
        editor->undo();
    else if (itemName == StandardEditing::Cut)
        editor->cut();
    else if (itemName == StandardEditing::Copy)
        editor->copy();
    else if (itemName == StandardEditing::Paste)
        editor->paste();
    else if (itemName == StandardEditing::Clear)
        RemoveSelection(editor);
    else
        return false;
    return true;
}

bool PerformOnLineEdit(QLineEdit* line, const QString& itemName)
{
    if (itemName == StandardEditing::Undo)
        line->undo();
    else if (itemName == StandardEditing::Cut)
        line->cut();
    else if (itemName == StandardEditing::Copy)
        line->copy();
    else if (itemName == StandardEditing::Paste)
        line->paste();
    else if (itemName == StandardEditing::Clear)
        line->del();  // with a selection, deletes just the selection
    else
        return false;
    return true;
}

}  // namespace

bool StandardEditing::IsEditCommand(const QString& itemName)
{
    return itemName == Undo || itemName == Cut || itemName == Copy || itemName == Paste ||
           itemName == Clear;
}

bool StandardEditing::Applies(const QString& itemName, QWidget* focus)
{
    const EditorState state = StateOf(focus);
    if (!state.isEditor)
        return false;
    if (itemName == Undo)
        return state.editable && state.undoAvailable;
    if (itemName == Cut)
        return state.editable && state.hasSelection && !state.secret;
    if (itemName == Copy)
        return state.hasSelection && !state.secret;
    if (itemName == Paste)
        return state.editable && ClipboardHasText();
    if (itemName == Clear)
        return state.editable && state.hasSelection;
    return false;
}

void StandardEditing::EnableItems(MenuBarModel& model, QWidget* focus)
{
    for (const char* name : {Undo, Cut, Copy, Paste, Clear}) {
        if (MenuItem* item = model.Item(QString::fromLatin1(name)))
            item->SetEnabled(Applies(QString::fromLatin1(name), focus));
    }
}

bool StandardEditing::Perform(const QString& itemName, QWidget* focus)
{
    if (!Applies(itemName, focus))
        return false;
    if (auto* line = qobject_cast<QLineEdit*>(focus))
        return PerformOnLineEdit(line, itemName);
    if (auto* text = qobject_cast<QTextEdit*>(focus))
        return PerformOnTextEditor(text, itemName);
    if (auto* plain = qobject_cast<QPlainTextEdit*>(focus))
        return PerformOnTextEditor(plain, itemName);
    return false;
}

}  // namespace ostrel
