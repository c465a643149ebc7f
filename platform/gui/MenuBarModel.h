#pragma once
// The application's one menu bar, as named menus and items that handlers and
// enabling code find by name. It runs the enabling pass and dispatches
// commands (see MenuCommandTarget). On Linux each window shows its own
// QMenuBar over the same menus and actions; on macOS one bar is shared.
//
// A chosen item first runs its own Event_Action (window entries have one),
// then goes to the focused control, the front window and the application.
// When none of them handles it, the platform's defaults apply: the standard
// editing commands act on the focused editor, and the item with the Quit
// role (QAction::QuitRole) quits the application.
//
// The enabling pass runs before a menu opens, before a key press is matched
// against the items' shortcuts (MenuShortcuts) and whenever code calls
// EnableMenuItems(). Items whose auto-enable is on start it enabled, the
// others disabled; then the standard editing support, the application's,
// the front window's and the focused control's EnableMenuItems run.

#include <QKeySequence>
#include <QObject>
#include <QPointer>
#include <QString>

#include <vector>

class QMenu;
class QMenuBar;
class QWidget;

namespace ostrel {

class MenuCommandTarget;
class MenuItem;
class MenuShortcuts;

class MenuBarModel : public QObject {
    Q_OBJECT
public:
    // The model in use, or null while none exists.
    static MenuBarModel* Instance();
    explicit MenuBarModel(QObject* parent = nullptr);  // becomes Instance()
    ~MenuBarModel() override;

    // --- building ---
    QMenu* AddMenu(const QString& name, const QString& caption);
    // `shortcut` in portable form: "Ctrl+N", "Ctrl+Alt+W" (Ctrl is Cmd on
    // macOS, Alt is Option); empty for none. The Mac spelling ("Cmd+N",
    // "Cmd+Option+W") is accepted too.
    MenuItem* AddItem(QMenu* menu, const QString& name, const QString& caption,
                      const QString& shortcut, bool autoEnable, int index = 0);
    MenuItem* AddSeparator(QMenu* menu, const QString& name);
    // Appends an item made elsewhere (a subclass with a command of its own,
    // built over a QAction without a parent) and takes ownership of both.
    MenuItem* Adopt(QMenu* menu, MenuItem* item);
    // Takes the item out of its menu at once; the objects go later, so an
    // item may be removed from inside its own command.
    void RemoveItem(MenuItem* item);
    QMenu* Menu(const QString& name) const;
    std::vector<QMenu*> Menus() const;                // in bar order
    std::vector<MenuItem*> Items(QMenu* menu) const;  // in menu order
    // A menu bar showing these menus, for a window (null on macOS, where the
    // shared bar serves every window).
    QMenuBar* MakeMenuBar(QWidget* window);

    // --- lookup ---
    MenuItem* Item(const QString& name, int index = 0) const;
    // The visible item with this shortcut (an enabled one first), or null.
    MenuItem* ItemWithShortcut(const QKeySequence& sequence) const;
    bool AnyItemHasShortcut(const QKeySequence& sequence) const;

    // --- enabling and dispatch ---
    void SetApplicationTarget(MenuCommandTarget* target);
    MenuCommandTarget* ApplicationTarget() const { return appTarget_; }
    // The framework's EnableMenuItems call: runs the enabling pass now. Does
    // nothing while no model exists.
    static void EnableMenuItems();
    void RunEnablingPass();
    // Sends a command through focused control, front window, application,
    // then the platform's defaults.
    bool Dispatch(const QString& name, int index);
    // What choosing the item from its menu does: the enabling pass, then,
    // if the item is visible and enabled, its command. True when it ran.
    bool Choose(const QString& name, int index = 0);
    // Runs the command of an item the user chose.
    void Trigger(MenuItem* item);

    // The control whose commands come first: the focus widget of the front
    // window (Qt's focus widget when it lies there or no window is in front).
    static QWidget* FocusedControl();

private:
    struct NamedMenu {
        QString name;
        QMenu* menu;
    };

    MenuItem* Register(QMenu* menu, MenuItem* item);
    bool HandleByDefault(const QString& name, int index);

    static MenuBarModel* instance_;

    std::vector<NamedMenu> menus_;
    std::vector<MenuItem*> items_;  // every item, in the order of creation
    std::vector<QPointer<QMenuBar>> bars_;
    QMenuBar* sharedBar_ = nullptr;
    MenuCommandTarget* appTarget_ = nullptr;
    MenuShortcuts* shortcuts_ = nullptr;
    bool passRunning_ = false;
};

}  // namespace ostrel
