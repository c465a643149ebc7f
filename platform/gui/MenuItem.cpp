#include "platform/gui/MenuItem.h"

#include <QAction>

namespace ostrel {

MenuItem::MenuItem(const QString& name, int index, QAction* action, bool autoEnable, QObject* parent)
    : QObject(parent), name_(name), index_(index), action_(action), autoEnable_(autoEnable)
{
    // The menu layer matches shortcuts itself, after the enabling pass; Qt's
    // own shortcut map would fire before the pass could run.
    action_->setShortcutContext(Qt::WidgetShortcut);
}

QString MenuItem::Caption() const { return action_->text(); }
void MenuItem::SetCaption(const QString& caption) { action_->setText(caption); }
bool MenuItem::Enabled() const { return action_->isEnabled(); }
void MenuItem::SetEnabled(bool enabled) { action_->setEnabled(enabled); }
bool MenuItem::Checked() const { return action_->isChecked(); }

void MenuItem::SetChecked(bool checked)
{
    if (checked)
        action_->setCheckable(true);
    action_->setChecked(checked);
}

bool MenuItem::Visible() const { return action_->isVisible(); }
void MenuItem::SetVisible(bool visible) { action_->setVisible(visible); }

QString MenuItem::Shortcut() const
{
    return action_->shortcut().toString(QKeySequence::PortableText);
}

void MenuItem::SetShortcut(const QString& shortcut)
{
    action_->setShortcut(ParseShortcut(shortcut));
}

bool MenuItem::HasShortcut(const QKeySequence& sequence) const
{
    return !sequence.isEmpty() && action_->shortcut() == sequence;
}

bool MenuItem::IsSeparator() const { return action_->isSeparator(); }

QKeySequence MenuItem::ParseShortcut(const QString& shortcut)
{
    QString portable = shortcut;
    portable.replace(QStringLiteral("Cmd"), QStringLiteral("Ctrl"), Qt::CaseInsensitive);
    portable.replace(QStringLiteral("Option"), QStringLiteral("Alt"), Qt::CaseInsensitive);
    return QKeySequence::fromString(portable, QKeySequence::PortableText);
}

}  // namespace ostrel
