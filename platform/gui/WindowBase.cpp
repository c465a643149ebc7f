#include "platform/gui/WindowBase.h"

#include "platform/gui/ApplicationQuit.h"
#include "platform/gui/MenuBarModel.h"
#include "platform/gui/WindowList.h"

#include <QApplication>
#include <QCloseEvent>
#include <QMenuBar>

namespace ostrel {

WindowBase::WindowBase(QWidget* parent) : QMainWindow(parent)
{
    setAttribute(Qt::WA_DeleteOnClose);
    if (MenuBarModel* model = MenuBarModel::Instance()) {
        if (QMenuBar* bar = model->MakeMenuBar(this))
            setMenuBar(bar);
    }
}

WindowBase::~WindowBase()
{
    // A window destroyed without closing (at exit, or by its owner) must
    // not stay in the list.
    WindowList::Removed(this);
}

QWidget* WindowBase::AddControl(const QString& name, QWidget* control, int index)
{
    if (!control)
        return nullptr;
    if (!control->parentWidget())
        control->setParent(ControlArea());
    if (control->objectName().isEmpty())
        control->setObjectName(name);
    controls_.push_back({name, index, control});
    return control;
}

QWidget* WindowBase::Control(const QString& name, int index) const
{
    for (const ControlEntry& entry : controls_) {
        if (entry.name == name && entry.index == index)
            return entry.widget;
    }
    return nullptr;
}

QWidget* WindowBase::ControlArea()
{
    if (!centralWidget())
        setCentralWidget(new QWidget(this));
    return centralWidget();
}

void WindowBase::BringToFront()
{
    if (closed_)
        return;
    if (!isVisible())
        show();
    WindowList::BringToFront(this);
}

bool WindowBase::Event_CancelClose(bool appQuitting)
{
    Q_UNUSED(appQuitting);
    return false;
}

void WindowBase::NotifyDeactivated()
{
    if (!closed_)
        Event_Deactivate();
}

void WindowBase::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    if (closed_ || event->spontaneous())
        return;
    WindowList::Shown(this);
    if (!opened_) {
        opened_ = true;
        Event_Open();
    }
}

void WindowBase::hideEvent(QHideEvent* event)
{
    QMainWindow::hideEvent(event);
    // A spontaneous hide is a minimise: the window is still open and visible
    // as far as the window list is concerned.
    if (!closed_ && !event->spontaneous())
        WindowList::Hidden(this);
}

void WindowBase::closeEvent(QCloseEvent* event)
{
    if (closed_) {
        event->accept();
        return;
    }
    if (closeQueryRunning_) {
        // This window's own close is already under way further up the stack.
        event->ignore();
        return;
    }
    closeQueryRunning_ = true;
    bool refused = false;
    try {
        refused = Event_CancelClose(ApplicationQuit::InProgress() || QCoreApplication::closingDown());
    } catch (...) {
        closeQueryRunning_ = false;
        event->ignore();
        throw;
    }
    closeQueryRunning_ = false;
    if (refused) {
        event->ignore();
        return;
    }
    closed_ = true;
    WindowList::Removed(this);
    event->accept();
    Event_Close();
}

void WindowBase::changeEvent(QEvent* event)
{
    QMainWindow::changeEvent(event);
    if (event->type() != QEvent::ActivationChange || closed_ || !opened_)
        return;
    if (isActiveWindow()) {
        WindowList::Activated(this);
        return;
    }
    auto* nowActive = qobject_cast<WindowBase*>(QApplication::activeWindow());
    WindowList::Deactivated(this, nowActive != nullptr && nowActive != this);
}

}  // namespace ostrel
