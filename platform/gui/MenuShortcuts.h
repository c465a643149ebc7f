#pragma once
// Matches key presses against the menu items' shortcuts, after the enabling
// pass has brought the items up to date, so a shortcut never fires a
// disabled command and never misses one that the pass enables.
//
// An application-wide event filter: on the ShortcutOverride of a key press
// that may be a shortcut it runs the pass (taking the Option state from the
// event) and looks for a visible item with that shortcut. If there is one,
// it claims the key, so neither the focused widget's own handling (a line
// edit's native Paste, say) nor Qt's shortcut map acts on it, and on the key
// press that follows it runs the item's command if the item is enabled.
// Nothing is matched while a modal dialog or a popup is up.

#include <QKeySequence>
#include <QObject>
#include <QPointer>

class QKeyEvent;

namespace ostrel {

class MenuBarModel;
class MenuItem;

class MenuShortcuts : public QObject {
    Q_OBJECT
public:
    explicit MenuShortcuts(MenuBarModel* model);

    bool eventFilter(QObject* watched, QEvent* event) override;

    static QKeySequence SequenceOf(const QKeyEvent& event);

private:
    bool OnShortcutOverride(QObject* watched, QKeyEvent& event);
    bool OnKeyPress(QKeyEvent& event);
    bool MayBeShortcut(const QKeyEvent& event, const QKeySequence& sequence) const;

    MenuBarModel* model_;
    QKeySequence claimed_;          // the sequence whose key press comes to us
    QPointer<MenuItem> claimedItem_;
};

}  // namespace ostrel
