#pragma once
// One named menu item over a QAction: name and index (items that share a
// name are told apart by index), caption, shortcut, check mark, visibility,
// enabled state and the auto-enable flag. Items with auto-enable off start
// every enabling pass disabled. Created and owned by MenuBarModel.
//
// A subclass may give the item a command of its own (Event_Action); it runs
// before the command is dispatched by name.

#include <QKeySequence>
#include <QObject>
#include <QString>

class QAction;
class QMenu;

namespace ostrel {

class MenuItem : public QObject {
    Q_OBJECT
public:
    MenuItem(const QString& name, int index, QAction* action, bool autoEnable, QObject* parent);

    QString Name() const { return name_; }
    int Index() const { return index_; }
    QAction* Action() const { return action_; }
    bool AutoEnable() const { return autoEnable_; }

    QString Caption() const;
    void SetCaption(const QString& caption);
    bool Enabled() const;
    void SetEnabled(bool enabled);
    bool Checked() const;  // the check mark
    void SetChecked(bool checked);
    bool Visible() const;
    void SetVisible(bool visible);

    // The shortcut in portable form ("Ctrl+N", "Ctrl+Alt+W"); empty for none.
    QString Shortcut() const;
    // Accepts the portable form and the Mac spelling ("Cmd+Option+W"): Cmd
    // becomes Ctrl (which Qt shows as Command on macOS), Option becomes Alt.
    void SetShortcut(const QString& shortcut);
    bool HasShortcut(const QKeySequence& sequence) const;
    bool IsSeparator() const;

    // The item's own command, run before the command goes to the handlers
    // registered under its name; true when it handled the command.
    virtual bool Event_Action() { return false; }

    static QKeySequence ParseShortcut(const QString& shortcut);

private:
    QString name_;
    int index_;
    QAction* action_;
    bool autoEnable_;
};

}  // namespace ostrel
