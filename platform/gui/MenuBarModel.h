#pragma once
// The application's one menu bar, as named menus and items that handlers and
// enabling code find by name. It runs the enabling pass and dispatches
// commands (see MenuCommandTarget). On Linux each window shows its own
// QMenuBar over the same menus and actions; on macOS one bar is shared.

#include <QObject>
#include <QString>

#include <vector>

class QMenu;
class QMenuBar;
class QWidget;

namespace ostrel {

class MenuCommandTarget;
class MenuItem;

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
    // macOS, Alt is Option); empty for none.
    MenuItem* AddItem(QMenu* menu, const QString& name, const QString& caption,
                      const QString& shortcut, bool autoEnable, int index = 0);
    MenuItem* AddSeparator(QMenu* menu, const QString& name);
    void RemoveItem(MenuItem* item);
    QMenu* Menu(const QString& name) const;
    std::vector<MenuItem*> Items(QMenu* menu) const;  // in menu order
    // A menu bar showing these menus, for a window (null on macOS, where the
    // shared bar serves every window).
    QMenuBar* MakeMenuBar(QWidget* window);

    // --- lookup ---
    MenuItem* Item(const QString& name, int index = 0) const;

    // --- enabling and dispatch ---
    void SetApplicationTarget(MenuCommandTarget* target);
    // The framework's EnableMenuItems call: runs the enabling pass now. Does
    // nothing while no model exists.
    static void EnableMenuItems();
    // Sends a command through focused control, front window, application.
    bool Dispatch(const QString& name, int index);
};

}  // namespace ostrel
