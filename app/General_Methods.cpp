#include "app/General_Methods.h"

#include "platform/gui/Dialogs.h"

namespace ostrel::General_Methods {

std::unique_ptr<Menu_Enabler> gMenuEnabler;

namespace {

constexpr const char* DialogTitle = "Ostrel";
constexpr const char* DefaultAffirmative = "Yes";
constexpr const char* DefaultNegative = "No";
constexpr const char* DefaultButton = "OK";

QString OrDefault(const QString& caption, const char* fallback)
{
    return caption.isEmpty() ? QString::fromLatin1(fallback) : caption;
}

}  // namespace

bool QuickConfirmDialog(const QString& message, const QString& affirmative, const QString& negative)
{
    MessageDialogRequest request;
    request.title = DialogTitle;
    request.message = message;
    request.actionCaption = OrDefault(affirmative, DefaultAffirmative);
    request.cancelCaption = OrDefault(negative, DefaultNegative);
    request.cancelVisible = true;
    return Dialogs::ShowMessage(request) == DialogButton::Action;
}

void QuickMessageDialog(const QString& message, const QString& button, const QString& explanation)
{
    MessageDialogRequest request;
    request.title = DialogTitle;
    request.message = message;
    request.actionCaption = OrDefault(button, DefaultButton);
    request.explanation = explanation;
    Dialogs::ShowMessage(request);
}

}  // namespace ostrel::General_Methods
