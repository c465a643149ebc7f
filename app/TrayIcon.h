#pragma once
// Ostrel's icon in the desktop's system tray, shown while no window is open
// so that a running Ostrel without windows can still be reached: its menu
// offers New, About and Quit. On a desktop without a tray it never shows.

#include <QObject>

#include <functional>

class QMenu;
class QSystemTrayIcon;

namespace ostrel {

class TrayIcon : public QObject {
    Q_OBJECT
public:
    struct Commands {
        std::function<void()> newWindow;
        std::function<void()> about;
        std::function<void()> quit;
    };

    TrayIcon(Commands commands, QObject* parent = nullptr);
    ~TrayIcon() override;

    static bool Available();
    // Shows the icon while no window is open, where a tray exists.
    void Update(int openWindows);
    bool IsShown() const;

    QMenu* Menu() const { return menu_; }

private:
    Commands commands_;
    QMenu* menu_ = nullptr;
    QSystemTrayIcon* icon_ = nullptr;
};

}  // namespace ostrel
