#include "app/ErrorReport.h"

#include "app/M_String.h"
#include "platform/gui/Dialogs.h"

#include <QClipboard>
#include <QGuiApplication>

#include <cstdio>

namespace ostrel {

bool ErrorReport::showing_ = false;

namespace {

// Clears the showing flag however the dialog ends.
class ShowingScope {
public:
    explicit ShowingScope(bool& flag) : flag_(flag) { flag_ = true; }
    ~ShowingScope() { flag_ = false; }
    ShowingScope(const ShowingScope&) = delete;
    ShowingScope& operator=(const ShowingScope&) = delete;

private:
    bool& flag_;
};

void CopyToClipboard(const std::string& report)
{
    if (QClipboard* clipboard = QGuiApplication::clipboard())
        clipboard->setText(QString::fromUtf8(report.data(), static_cast<qsizetype>(report.size())));
}

}  // namespace

std::string ErrorReport::Compose(const std::string& message, const std::vector<std::string>& stack)
{
    std::string report;
    if (!message.empty())
        report = message + LineEnding + LineEnding;
    for (std::size_t i = 0; i < stack.size(); ++i) {
        if (i > 0)
            report += LineEnding;
        report += stack[i];
    }
    return report;
}

std::string ErrorReport::Compose(const RuntimeException& error)
{
    return Compose(error.Message(), error.Stack());
}

void ErrorReport::Show(const std::string& report)
{
    if (showing_) {
        std::fprintf(stderr, "Ostrel: a further unhandled error while a report is shown:\n%s\n",
                     report.c_str());
        return;
    }
    ShowingScope scope(showing_);

    MessageDialogRequest request;
    request.message = QString::fromLatin1(Message);
    const std::string head = M_String::Head_Kov(report, ShownLines);
    request.explanation = QString::fromUtf8(head.data(), static_cast<qsizetype>(head.size()));
    request.icon = DialogIcon::Caution;
    request.alternateCaption = QString::fromLatin1(CopyCaption);
    request.alternateVisible = true;
    if (Dialogs::ShowMessage(request) == DialogButton::Alternate)
        CopyToClipboard(report);
}

}  // namespace ostrel
