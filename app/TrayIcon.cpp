#include "app/TrayIcon.h"

#include <QApplication>
#include <QMenu>
#include <QSystemTrayIcon>

namespace ostrel {

TrayIcon::TrayIcon(Commands commands, QObject* parent)
    : QObject(parent), commands_(std::move(commands)), menu_(new QMenu)
{
    // Queued: the commands open windows and may quit, which must not happen
    // inside the tray menu's own handling of the click.
    auto run = [this](const std::function<void()>& command) {
        return [this, command] {
            if (command)
                QMetaObject::invokeMethod(this, command, Qt::QueuedConnection);
        };
    };
    menu_->addAction(QStringLiteral("New"), this, run(commands_.newWindow));
    menu_->addAction(QStringLiteral("About Ostrel"), this, run(commands_.about));
    menu_->addSeparator();
    menu_->addAction(QStringLiteral("Quit"), this, run(commands_.quit));
}

TrayIcon::~TrayIcon()
{
    delete icon_;
    delete menu_;
}

bool TrayIcon::Available() { return QSystemTrayIcon::isSystemTrayAvailable(); }

void TrayIcon::Update(int openWindows)
{
    const bool wanted = openWindows == 0 && Available();
    if (!wanted) {
        if (icon_)
            icon_->hide();
        return;
    }
    if (!icon_) {
        icon_ = new QSystemTrayIcon(QApplication::windowIcon());
        icon_->setToolTip(QStringLiteral("Ostrel"));
        icon_->setContextMenu(menu_);
        connect(icon_, &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason reason) {
            if (reason == QSystemTrayIcon::Trigger && commands_.newWindow)
                QMetaObject::invokeMethod(this, commands_.newWindow, Qt::QueuedConnection);
        });
    }
    icon_->show();
}

bool TrayIcon::IsShown() const { return icon_ && icon_->isVisible(); }

}  // namespace ostrel
