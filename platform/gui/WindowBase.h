#pragma once
// The base of every Ostrel window: a QMainWindow that takes part in menu
// dispatch and enabling, shows the menu bar, keeps its controls by name in
// creation order, and raises the window events the application uses:
//
//   Event_Open                 once, when the window is first shown
//   Event_CancelClose(quit)    on every close request; true refuses it
//   Event_Close                once, when the window really closes
//   Event_Deactivate           when it stops being the front window
//   Event_EnableMenuItems      its part of the menu enabling pass
//
// A close request that arrives while the window's own close query is still
// running (a close-all started from that query reaches it again) is refused,
// so no window is ever closed twice. Windows delete themselves on close.

#include "platform/gui/MenuCommandTarget.h"

#include <QMainWindow>
#include <QPointer>
#include <QString>

#include <vector>

namespace ostrel {

class WindowBase : public QMainWindow, public MenuCommandTarget {
    Q_OBJECT
public:
    struct ControlEntry {
        QString name;
        int index;  // -1 for a control that is not one of an indexed set
        QPointer<QWidget> widget;
    };

    explicit WindowBase(QWidget* parent = nullptr);
    ~WindowBase() override;

    // Registers a control under its name (and index, for a set of controls
    // sharing one name). A control without a parent is placed on the
    // window's central widget. Returns the control.
    QWidget* AddControl(const QString& name, QWidget* control, int index = -1);
    const std::vector<ControlEntry>& Controls() const { return controls_; }
    QWidget* Control(const QString& name, int index = -1) const;

    bool IsOpen() const { return opened_ && !closed_; }
    bool IsClosed() const { return closed_; }

    // Shows the window if needed and makes it the front window.
    void BringToFront();

    // --- window events, for subclasses ---
    virtual void Event_Open() {}
    virtual void Event_Close() {}
    virtual bool Event_CancelClose(bool appQuitting);
    virtual void Event_Deactivate() {}
    virtual void Event_EnableMenuItems() {}

    // MenuCommandTarget: the window's part of the enabling pass.
    void EnableMenuItems() override { Event_EnableMenuItems(); }

    // Called by WindowList when the window has lost the front position.
    void NotifyDeactivated();

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    QWidget* ControlArea();

    std::vector<ControlEntry> controls_;
    bool opened_ = false;
    bool closeQueryRunning_ = false;
    bool closed_ = false;
};

}  // namespace ostrel
