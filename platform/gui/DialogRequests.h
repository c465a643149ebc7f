#pragma once
// Plain descriptions of the modal dialogs the application shows, as the
// dialog seam (Dialogs) receives them and a test's DialogResponder records
// them.

#include <QString>

namespace ostrel {

enum class DialogButton { Action, Cancel, Alternate };

enum class DialogIcon { Note = 0, Caution = 1, Stop = 2, Question = 3 };

// A message dialog with up to three buttons. The action button is the
// default button; the cancel and alternate buttons show only when made
// visible. All texts are shown as plain text.
struct MessageDialogRequest {
    QString title;
    QString message;
    QString explanation;  // empty: none
    QString actionCaption = QStringLiteral("OK");
    QString cancelCaption = QStringLiteral("Cancel");
    bool cancelVisible = false;
    QString alternateCaption = QStringLiteral("Don't Save");
    bool alternateVisible = false;
    DialogIcon icon = DialogIcon::Note;
};

enum class FileDialogKind { Open, Save };

struct FileDialogRequest {
    FileDialogKind kind = FileDialogKind::Open;
    QString filter;       // a QFileDialog name filter ("Text Files (*.txt)")
    QString defaultName;  // save dialogs: the name offered at first
};

}  // namespace ostrel
