#pragma once
// The modal dialogs: message and confirmation dialogs described by a
// MessageDialogRequest, and the open-file and save-file dialogs. Shown with
// QMessageBox and QFileDialog, texts as plain text; while a DialogResponder
// exists it answers instead.

#include "platform/FolderItem.h"
#include "platform/gui/DialogRequests.h"

#include <QString>

namespace ostrel {

class Dialogs {
public:
    // Shows the dialog and waits; returns the button that was pressed.
    static DialogButton ShowMessage(const MessageDialogRequest& request);
    // The chosen file, or null when the user cancels. `filter` is a
    // QFileDialog name filter (several separated by ";;").
    static FolderItemPtr GetOpenFolderItem(const QString& filter);
    static FolderItemPtr GetSaveFolderItem(const QString& filter, const QString& defaultName);
};

}  // namespace ostrel
