#pragma once
// Answers the application's modal dialogs in tests. While one exists, every
// dialog that Dialogs would show is recorded here instead and answered by the
// responder's functions; by default a message dialog gets its action button
// and a file dialog is cancelled. Responders nest: the newest one answers.

#include "platform/FolderItem.h"
#include "platform/gui/DialogRequests.h"

#include <functional>
#include <vector>

namespace ostrel {

class DialogResponder {
public:
    using MessageAnswer = std::function<DialogButton(const MessageDialogRequest&)>;
    using FileAnswer = std::function<FolderItemPtr(const FileDialogRequest&)>;

    DialogResponder();   // installs itself
    ~DialogResponder();  // puts back the one it replaced
    DialogResponder(const DialogResponder&) = delete;
    DialogResponder& operator=(const DialogResponder&) = delete;

    static DialogResponder* Current() { return current_; }

    void SetMessageAnswer(MessageAnswer answer) { messageAnswer_ = std::move(answer); }
    void SetFileAnswer(FileAnswer answer) { fileAnswer_ = std::move(answer); }

    const std::vector<MessageDialogRequest>& Messages() const { return messages_; }
    const std::vector<FileDialogRequest>& FileRequests() const { return fileRequests_; }

    // Called by Dialogs.
    DialogButton Respond(const MessageDialogRequest& request);
    FolderItemPtr Respond(const FileDialogRequest& request);

private:
    static DialogResponder* current_;

    DialogResponder* previous_;
    MessageAnswer messageAnswer_;
    FileAnswer fileAnswer_;
    std::vector<MessageDialogRequest> messages_;
    std::vector<FileDialogRequest> fileRequests_;
};

}  // namespace ostrel
