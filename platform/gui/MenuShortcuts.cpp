#include "platform/gui/MenuShortcuts.h"

#include "platform/gui/MenuBarModel.h"
#include "platform/gui/MenuItem.h"
#include "platform/gui/OptionKey.h"
#include "platform/gui/WindowBase.h"
#include "platform/gui/WindowList.h"

#include <QApplication>
#include <QKeyEvent>
#include <QWidget>

namespace ostrel {

namespace {

constexpr Qt::KeyboardModifiers ShortcutModifiers =
    Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier;

bool IsModifierKey(int key)
{
    return key == Qt::Key_Control || key == Qt::Key_Alt || key == Qt::Key_Shift ||
           key == Qt::Key_Meta || key == Qt::Key_AltGr || key == Qt::Key_unknown ||
           key == 0;
}

bool MenusAreReachable()
{
    return !QApplication::activeModalWidget() && !QApplication::activePopupWidget();
}

}  // namespace

MenuShortcuts::MenuShortcuts(MenuBarModel* model) : QObject(model), model_(model) {}

QKeySequence MenuShortcuts::SequenceOf(const QKeyEvent& event)
{
    const Qt::KeyboardModifiers modifiers = event.modifiers() & ~Qt::KeypadModifier;
    return QKeySequence(QKeyCombination(modifiers, static_cast<Qt::Key>(event.key())));
}

bool MenuShortcuts::eventFilter(QObject* watched, QEvent* event)
{
    const QEvent::Type type = event->type();
    if (type != QEvent::ShortcutOverride && type != QEvent::KeyPress)
        return false;
    if (!watched->isWidgetType())
        return false;
    auto& key = static_cast<QKeyEvent&>(*event);
    if (type == QEvent::ShortcutOverride)
        return OnShortcutOverride(watched, key);
    return OnKeyPress(key);
}

bool MenuShortcuts::MayBeShortcut(const QKeyEvent& event, const QKeySequence& sequence) const
{
    if (IsModifierKey(event.key()))
        return false;
    // Window entries come and go with the pass, so any key with a command
    // modifier is worth a pass; other keys only when an item has them.
    return (event.modifiers() & ShortcutModifiers) != 0 || model_->AnyItemHasShortcut(sequence);
}

bool MenuShortcuts::OnShortcutOverride(QObject* watched, QKeyEvent& event)
{
    claimed_ = QKeySequence();
    claimedItem_ = nullptr;
    if (!MenusAreReachable())
        return false;
    const QKeySequence sequence = SequenceOf(event);
    if (!MayBeShortcut(event, sequence))
        return false;
    // The key arrived in this window, so it is the one in front, whatever
    // Qt's (asynchronous) activation has reported so far.
    if (auto* window = qobject_cast<WindowBase*>(static_cast<QWidget*>(watched)->window());
        window && WindowList::Contains(window) && window->isVisible())
        WindowList::Activated(window);
    {
        OptionKey::FromKeyEvent option((event.modifiers() & Qt::AltModifier) != 0);
        model_->RunEnablingPass();
    }
    MenuItem* item = model_->ItemWithShortcut(sequence);
    if (!item)
        return false;
    claimed_ = sequence;
    claimedItem_ = item;
    event.accept();
    return true;
}

bool MenuShortcuts::OnKeyPress(QKeyEvent& event)
{
    if (claimed_.isEmpty() || SequenceOf(event) != claimed_)
        return false;
    QPointer<MenuItem> item = claimedItem_;
    claimed_ = QKeySequence();
    claimedItem_ = nullptr;
    // A disabled item swallows its key: the command does not apply here.
    if (item && item->Visible() && item->Enabled()) {
        OptionKey::FromKeyEvent option((event.modifiers() & Qt::AltModifier) != 0);
        model_->Trigger(item);
    }
    return true;
}

}  // namespace ostrel
