#include "platform/gui/Dialogs.h"

#include "platform/gui/DialogResponder.h"
#include "platform/gui/WindowBase.h"
#include "platform/gui/WindowList.h"

#include <QApplication>
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>

#include <memory>

namespace ostrel {

namespace {

QWidget* DialogParent()
{
    if (QWidget* front = WindowList::FrontWindow())
        return front;
    return QApplication::activeWindow();
}

QMessageBox::Icon IconOf(DialogIcon icon)
{
    switch (icon) {
    case DialogIcon::Caution:
        return QMessageBox::Warning;
    case DialogIcon::Stop:
        return QMessageBox::Critical;
    case DialogIcon::Question:
        return QMessageBox::Question;
    case DialogIcon::Note:
        break;
    }
    return QMessageBox::Information;
}

void ShowExplanationAsPlainText(QMessageBox& box, const QString& explanation)
{
    if (explanation.isEmpty())
        return;
    box.setInformativeText(explanation);
    // QMessageBox guesses the format of its informative text; reports and
    // messages may carry anything, so pin it.
    for (QLabel* label : box.findChildren<QLabel*>()) {
        if (label->text() == explanation)
            label->setTextFormat(Qt::PlainText);
    }
}

FolderItemPtr ItemFor(const QString& path)
{
    if (path.isEmpty())
        return nullptr;
    return std::make_shared<FolderItem>(QFile::encodeName(path).toStdString());
}

}  // namespace

DialogButton Dialogs::ShowMessage(const MessageDialogRequest& request)
{
    if (DialogResponder* responder = DialogResponder::Current())
        return responder->Respond(request);

    QMessageBox box(DialogParent());
    box.setWindowTitle(request.title);
    box.setTextFormat(Qt::PlainText);
    box.setText(request.message);
    ShowExplanationAsPlainText(box, request.explanation);
    box.setIcon(IconOf(request.icon));
    QPushButton* action = box.addButton(request.actionCaption, QMessageBox::AcceptRole);
    QPushButton* cancel = nullptr;
    QPushButton* alternate = nullptr;
    if (request.alternateVisible)
        alternate = box.addButton(request.alternateCaption, QMessageBox::ActionRole);
    if (request.cancelVisible)
        cancel = box.addButton(request.cancelCaption, QMessageBox::RejectRole);
    box.setDefaultButton(action);
    box.setEscapeButton(cancel ? cancel : action);
    box.exec();

    QAbstractButton* clicked = box.clickedButton();
    if (alternate && clicked == alternate)
        return DialogButton::Alternate;
    if (clicked == action)
        return DialogButton::Action;
    return cancel ? DialogButton::Cancel : DialogButton::Action;
}

FolderItemPtr Dialogs::GetOpenFolderItem(const QString& filter)
{
    if (DialogResponder* responder = DialogResponder::Current())
        return responder->Respond(FileDialogRequest{FileDialogKind::Open, filter, QString()});
    return ItemFor(QFileDialog::getOpenFileName(DialogParent(), QString(), QString(), filter));
}

FolderItemPtr Dialogs::GetSaveFolderItem(const QString& filter, const QString& defaultName)
{
    if (DialogResponder* responder = DialogResponder::Current())
        return responder->Respond(FileDialogRequest{FileDialogKind::Save, filter, defaultName});
    return ItemFor(QFileDialog::getSaveFileName(DialogParent(), QString(), defaultName, filter));
}

}  // namespace ostrel
