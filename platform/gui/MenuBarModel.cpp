#include "platform/gui/MenuBarModel.h"

#include "platform/gui/ApplicationQuit.h"
#include "platform/gui/MenuCommandTarget.h"
#include "platform/gui/MenuItem.h"
#include "platform/gui/MenuShortcuts.h"
#include "platform/gui/StandardEditing.h"
#include "platform/gui/WindowBase.h"
#include "platform/gui/WindowList.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QMenuBar>

#include <algorithm>

namespace ostrel {

MenuBarModel* MenuBarModel::instance_ = nullptr;

namespace {

// Clears a flag when the scope ends, also when a handler throws.
class FlagScope {
public:
    explicit FlagScope(bool& flag) : flag_(flag) { flag_ = true; }
    ~FlagScope() { flag_ = false; }
    FlagScope(const FlagScope&) = delete;
    FlagScope& operator=(const FlagScope&) = delete;

private:
    bool& flag_;
};

}  // namespace

MenuBarModel* MenuBarModel::Instance() { return instance_; }

MenuBarModel::MenuBarModel(QObject* parent) : QObject(parent)
{
    instance_ = this;
#ifdef Q_OS_MACOS
    sharedBar_ = new QMenuBar(nullptr);
#endif
    if (QCoreApplication::instance()) {
        shortcuts_ = new MenuShortcuts(this);
        QCoreApplication::instance()->installEventFilter(shortcuts_);
    }
}

MenuBarModel::~MenuBarModel()
{
    if (instance_ == this)
        instance_ = nullptr;
    for (const NamedMenu& named : menus_)
        delete named.menu;
    menus_.clear();
    items_.clear();
    delete sharedBar_;
}

QMenu* MenuBarModel::AddMenu(const QString& name, const QString& caption)
{
    auto* menu = new QMenu(caption);
    menu->setObjectName(name);
    menus_.push_back({name, menu});
    connect(menu, &QMenu::aboutToShow, this, &MenuBarModel::RunEnablingPass);
    if (sharedBar_)
        sharedBar_->addMenu(menu);
    for (const QPointer<QMenuBar>& bar : bars_) {
        if (bar)
            bar->addMenu(menu);
    }
    return menu;
}

MenuItem* MenuBarModel::AddItem(QMenu* menu, const QString& name, const QString& caption,
                                const QString& shortcut, bool autoEnable, int index)
{
    auto* action = new QAction(caption, nullptr);
    auto* item = new MenuItem(name, index, action, autoEnable, nullptr);
    item->SetShortcut(shortcut);
    return Adopt(menu, item);
}

MenuItem* MenuBarModel::AddSeparator(QMenu* menu, const QString& name)
{
    auto* action = new QAction(nullptr);
    action->setSeparator(true);
    return Adopt(menu, new MenuItem(name, 0, action, false, nullptr));
}

MenuItem* MenuBarModel::Adopt(QMenu* menu, MenuItem* item)
{
    item->setParent(this);
    item->Action()->setParent(menu);
    menu->addAction(item->Action());
    return Register(menu, item);
}

MenuItem* MenuBarModel::Register(QMenu* menu, MenuItem* item)
{
    Q_UNUSED(menu);
    items_.push_back(item);
    QPointer<MenuItem> guard(item);
    connect(item->Action(), &QAction::triggered, this, [this, guard](bool checked) {
        if (!guard)
            return;
        // A check mark changes only through code, never by being chosen.
        if (guard->Action()->isCheckable())
            guard->Action()->setChecked(!checked);
        Trigger(guard);
    });
    return item;
}

void MenuBarModel::RemoveItem(MenuItem* item)
{
    auto found = std::find(items_.begin(), items_.end(), item);
    if (found == items_.end())
        return;
    items_.erase(found);
    QAction* action = item->Action();
    action->disconnect(this);
    for (const NamedMenu& named : menus_)
        named.menu->removeAction(action);
    action->deleteLater();
    item->deleteLater();
}

QMenu* MenuBarModel::Menu(const QString& name) const
{
    for (const NamedMenu& named : menus_) {
        if (named.name == name)
            return named.menu;
    }
    return nullptr;
}

std::vector<QMenu*> MenuBarModel::Menus() const
{
    std::vector<QMenu*> menus;
    for (const NamedMenu& named : menus_)
        menus.push_back(named.menu);
    return menus;
}

std::vector<MenuItem*> MenuBarModel::Items(QMenu* menu) const
{
    std::vector<MenuItem*> inMenu;
    if (!menu)
        return inMenu;
    for (QAction* action : menu->actions()) {
        for (MenuItem* item : items_) {
            if (item->Action() == action) {
                inMenu.push_back(item);
                break;
            }
        }
    }
    return inMenu;
}

QMenuBar* MenuBarModel::MakeMenuBar(QWidget* window)
{
    if (sharedBar_)
        return nullptr;
    auto* bar = new QMenuBar(window);
    for (const NamedMenu& named : menus_)
        bar->addMenu(named.menu);
    bars_.erase(std::remove_if(bars_.begin(), bars_.end(),
                               [](const QPointer<QMenuBar>& known) { return known.isNull(); }),
                bars_.end());
    bars_.emplace_back(bar);
    return bar;
}

MenuItem* MenuBarModel::Item(const QString& name, int index) const
{
    for (MenuItem* item : items_) {
        if (item->Name() == name && item->Index() == index)
            return item;
    }
    return nullptr;
}

MenuItem* MenuBarModel::ItemWithShortcut(const QKeySequence& sequence) const
{
    MenuItem* disabledMatch = nullptr;
    for (MenuItem* item : items_) {
        if (!item->Visible() || !item->HasShortcut(sequence))
            continue;
        if (item->Enabled())
            return item;
        if (!disabledMatch)
            disabledMatch = item;
    }
    return disabledMatch;
}

bool MenuBarModel::AnyItemHasShortcut(const QKeySequence& sequence) const
{
    return std::any_of(items_.begin(), items_.end(),
                       [&](const MenuItem* item) { return item->HasShortcut(sequence); });
}

void MenuBarModel::SetApplicationTarget(MenuCommandTarget* target) { appTarget_ = target; }

void MenuBarModel::EnableMenuItems()
{
    if (instance_)
        instance_->RunEnablingPass();
}

void MenuBarModel::RunEnablingPass()
{
    // A handler that asks for a pass while one runs gets the running one.
    if (passRunning_)
        return;
    FlagScope running(passRunning_);
    for (MenuItem* item : items_)
        item->SetEnabled(item->AutoEnable());
    StandardEditing::EnableItems(*this, FocusedControl());
    if (appTarget_)
        appTarget_->EnableMenuItems();
    WindowBase* front = WindowList::FrontWindow();
    if (front)
        front->EnableMenuItems();
    auto* control = dynamic_cast<MenuCommandTarget*>(FocusedControl());
    if (control && control != static_cast<MenuCommandTarget*>(front) && control != appTarget_)
        control->EnableMenuItems();
}

bool MenuBarModel::Dispatch(const QString& name, int index)
{
    // Each step looks again: a handler may have changed the focus or closed
    // a window before returning false.
    auto* control = dynamic_cast<MenuCommandTarget*>(FocusedControl());
    if (control && control->HandleMenuCommand(name, index))
        return true;
    QPointer<WindowBase> front = WindowList::FrontWindow();
    if (front && static_cast<MenuCommandTarget*>(front) != control &&
        front->HandleMenuCommand(name, index))
        return true;
    if (appTarget_ && appTarget_->HandleMenuCommand(name, index))
        return true;
    return HandleByDefault(name, index);
}

bool MenuBarModel::HandleByDefault(const QString& name, int index)
{
    if (StandardEditing::IsEditCommand(name))
        return StandardEditing::Perform(name, FocusedControl());
    MenuItem* item = Item(name, index);
    if (item && item->Action()->menuRole() == QAction::QuitRole) {
        ApplicationQuit::Request();
        return true;
    }
    return false;
}

bool MenuBarModel::Choose(const QString& name, int index)
{
    RunEnablingPass();
    QPointer<MenuItem> item = Item(name, index);
    if (!item || !item->Visible() || !item->Enabled())
        return false;
    Trigger(item);
    return true;
}

void MenuBarModel::Trigger(MenuItem* item)
{
    // Copies: the item's own command may remove the item from its menu.
    const QString name = item->Name();
    const int index = item->Index();
    if (item->Event_Action())
        return;
    Dispatch(name, index);
}

QWidget* MenuBarModel::FocusedControl()
{
    QWidget* focus = QApplication::focusWidget();
    WindowBase* front = WindowList::FrontWindow();
    if (front && (!focus || focus->window() != front))
        focus = front->focusWidget();
    return focus;
}

}  // namespace ostrel
