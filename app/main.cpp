// Ostrel's entry point: the menu bar, the menu-enabling timer and the first
// transfer windows. Each file named on the command line (a desktop launcher
// hands them over with %F) gets a window set to send it; folders and missing
// files are passed over. With no such file there is one empty window.
// Quit asks every window first (its close query), so a running transfer is
// never dropped without the question.

#include "app/General_Methods.h"
#include "app/Menu.h"
#include "app/Menu_Enabler.h"
#include "platform/FolderItem.h"
#include "platform/ProcessSignals.h"
#include "window/TFTP_Wnd.h"

#include <QApplication>
#include <QFile>
#include <QStringList>

#include <memory>

namespace {

ostrel::FolderItemPtr SendableFile(const QString& argument)
{
    auto item = std::make_shared<ostrel::FolderItem>(QFile::encodeName(argument).toStdString());
    if (!item->Exists() || item->Directory())
        return nullptr;
    return item;
}

void OpenWindow(const ostrel::FolderItemPtr& file)
{
    auto* window = new ostrel::TFTP_Wnd;
    window->show();
    window->SetSendFile(file);
}

}  // namespace

int main(int argc, char** argv)
{
    ostrel::ProcessSignals::IgnoreFatalWriteSignals();
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Ostrel"));

    ostrel::Menu menuBar;
    ostrel::General_Methods::gMenuEnabler = std::make_unique<ostrel::Menu_Enabler>();

    int opened = 0;
    for (const QString& argument : QApplication::arguments().mid(1)) {
        if (ostrel::FolderItemPtr file = SendableFile(argument)) {
            OpenWindow(file);
            ++opened;
        }
    }
    if (opened == 0)
        OpenWindow(nullptr);

    const int exitCode = QApplication::exec();
    ostrel::General_Methods::gMenuEnabler.reset();
    return exitCode;
}
