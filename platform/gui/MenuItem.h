#pragma once
// One named menu item over a QAction: name and index (items that share a
// name are told apart by index), caption, shortcut, check mark, visibility,
// enabled state and the auto-enable flag. Items with auto-enable off start
// every enabling pass disabled. Created and owned by MenuBarModel.

#include <QObject>
#include <QString>

class QAction;

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

private:
    QString name_;
    int index_;
    QAction* action_;
    bool autoEnable_;
};

}  // namespace ostrel
