#include "app/OstrelApplication.h"

#include "app/CallStack.h"
#include "app/ErrorReport.h"
#include "platform/gui/ApplicationQuit.h"

#include <QFileOpenEvent>

#include <cstdio>
#include <exception>

namespace ostrel {

OstrelApplication::OstrelApplication(int& argc, char** argv) : QApplication(argc, argv) {}

bool OstrelApplication::notify(QObject* receiver, QEvent* event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (const RuntimeException& error) {
        HandleException(error);
    } catch (const std::exception& error) {
        // A foreign exception carries no stack of its own; the one here is
        // the best there is.
        HandleException(RuntimeException(error.what(), CallStack::Capture()));
    } catch (...) {
        HandleException(RuntimeException(std::string(), CallStack::Capture()));
    }
    return true;
}

void OstrelApplication::HandleException(const RuntimeException& error)
{
    try {
        if (exceptionHandler_)
            exceptionHandler_(error);
        else
            ErrorReport::Show(ErrorReport::Compose(error));
    } catch (...) {
        // The report itself failed; there is nowhere left to show it.
        std::fprintf(stderr, "Ostrel: unhandled error: %s\n", ErrorReport::Compose(error).c_str());
    }
}

bool OstrelApplication::event(QEvent* event)
{
    switch (event->type()) {
    case QEvent::FileOpen:
        if (fileOpenHandler_) {
            const auto* open = static_cast<QFileOpenEvent*>(event);
            fileOpenHandler_(open->file());
            return true;
        }
        break;
    case QEvent::Quit:
        // Asked by the system (the Dock's Quit, a log-out): the windows are
        // asked first, and a refusal keeps Ostrel running.
        event->setAccepted(ApplicationQuit::Request(0));
        return true;
#ifdef Q_OS_MACOS
    case QEvent::ApplicationActivate:
        if (reopenHandler_)
            reopenHandler_();
        break;
#endif
    default:
        break;
    }
    return QApplication::event(event);
}

}  // namespace ostrel
