#include "platform/gui/DialogResponder.h"

namespace ostrel {

DialogResponder* DialogResponder::current_ = nullptr;

DialogResponder::DialogResponder() : previous_(current_) { current_ = this; }

DialogResponder::~DialogResponder()
{
    if (current_ == this)
        current_ = previous_;
}

DialogButton DialogResponder::Respond(const MessageDialogRequest& request)
{
    messages_.push_back(request);
    return messageAnswer_ ? messageAnswer_(request) : DialogButton::Action;
}

FolderItemPtr DialogResponder::Respond(const FileDialogRequest& request)
{
    fileRequests_.push_back(request);
    return fileAnswer_ ? fileAnswer_(request) : nullptr;
}

}  // namespace ostrel
