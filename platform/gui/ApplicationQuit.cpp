#include "platform/gui/ApplicationQuit.h"

#include "platform/gui/WindowBase.h"
#include "platform/gui/WindowList.h"

#include <QCoreApplication>
#include <QMetaObject>
#include <QPointer>

#include <utility>
#include <vector>

namespace ostrel {

bool ApplicationQuit::inProgress_ = false;
std::function<void(int)> ApplicationQuit::exitHandler_;

bool ApplicationQuit::Request(int exitCode)
{
    if (inProgress_)
        return false;
    inProgress_ = true;
    bool allClosed = false;
    try {
        allClosed = CloseEveryWindow();
    } catch (...) {
        inProgress_ = false;
        throw;
    }
    inProgress_ = false;
    if (!allClosed)
        return false;
    if (exitHandler_) {
        exitHandler_(exitCode);
    } else if (QCoreApplication* app = QCoreApplication::instance()) {
        QMetaObject::invokeMethod(app, [exitCode] { QCoreApplication::exit(exitCode); },
                                  Qt::QueuedConnection);
    }
    return true;
}

bool ApplicationQuit::CloseEveryWindow()
{
    std::vector<QPointer<WindowBase>> windows;
    for (WindowBase* window : WindowList::Windows())
        windows.emplace_back(window);
    for (const QPointer<WindowBase>& window : windows) {
        if (!window || window->IsClosed())
            continue;
        window->close();
        if (window && !window->IsClosed())
            return false;
    }
    return true;
}

std::function<void(int)> ApplicationQuit::SetExitHandler(std::function<void(int)> handler)
{
    return std::exchange(exitHandler_, std::move(handler));
}

}  // namespace ostrel
