#include "controls/IP_Field.h"

#include "controls/EditMenuItems.h"
#include "platform/gui/MenuBarModel.h"
#include "platform/gui/MenuItem.h"

#include <QAction>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>

namespace ostrel {

namespace {

constexpr QChar Space = QLatin1Char(' ');
// The name newer Qt versions give the Paste entry of a line edit's standard
// context menu; older ones only show the Paste shortcut after a tab.
constexpr const char* ContextMenuPasteName = "edit-paste";

bool IsPasteEntry(const QAction& action) {
    static const QString shortcutSuffix =
        QLatin1Char('\t') + QKeySequence(QKeySequence::Paste).toString(QKeySequence::NativeText);
    return action.objectName() == QLatin1String(ContextMenuPasteName) ||
           action.text().endsWith(shortcutSuffix);
}

}  // namespace

IP_Field::IP_Field(QWidget* parent) : TextFieldTFTP(parent) {}

bool IP_Field::ClipboardTextHasSpace() {
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    return data && data->hasText() && data->text().contains(Space);
}

bool IP_Field::Event_KeyDown(const QString& key) {
    return key == QString(Space);
}

void IP_Field::OfferEnableMenuItemsTwo() {
    if (!ClipboardTextHasSpace())
        return;
    if (MenuBarModel* model = MenuBarModel::Instance()) {
        if (MenuItem* paste = model->Item(EditMenuItems::Paste))
            paste->SetEnabled(false);
    }
}

void IP_Field::keyPressEvent(QKeyEvent* event) {
    if (event->matches(QKeySequence::Paste) && ClipboardTextHasSpace()) {
        event->accept();
        return;
    }
    TextFieldTFTP::keyPressEvent(event);
}

void IP_Field::contextMenuEvent(QContextMenuEvent* event) {
    QMenu* menu = createStandardContextMenu();  // a child of this field
    menu->setAttribute(Qt::WA_DeleteOnClose);
    if (ClipboardTextHasSpace()) {
        for (QAction* action : menu->actions()) {
            if (IsPasteEntry(*action))
                action->setEnabled(false);
        }
    }
    menu->popup(event->globalPos());
}

}  // namespace ostrel
