#pragma once
// What the transfer window tests share: a simulated world (virtual clock and
// network, made before any window so that every timer and socket lives in
// it) with a scripted TFTP server, the application's menu bar, a dialog
// responder that records every dialog, a folder for local files, and
// windows opened the way the application opens them. ProbeWnd lets a test
// look at the window's transfer object and mode.

#include "app/Menu.h"
#include "app/Window_Methods.h"
#include "controls/FilenameField.h"
#include "controls/IP_Field.h"
#include "controls/PushButton_Glue.h"
#include "controls/TFTP_BBtn.h"
#include "controls/TFTP_Button.h"
#include "controls/TFTP_Dropper.h"
#include "controls/TextFieldTFTP.h"
#include "platform/gui/DialogResponder.h"
#include "platform/gui/MenuItem.h"
#include "platform/gui/WindowList.h"
#include "platform/sim/SimWorld.h"
#include "support/ScriptedTftpServer.h"
#include "support/TempDir.h"
#include "window/ElidedLabel.h"
#include "window/ProgressUpdater.h"
#include "window/TFTP_Wnd.h"

#include <QCoreApplication>
#include <QFile>
#include <QPointer>
#include <QProgressBar>
#include <QStringList>

#include <memory>
#include <string>
#include <vector>

namespace ostrel::test {

constexpr const char* ServerAddress = "10.0.0.2";
constexpr int PollMs = ProgressUpdater::PeriodMs;
constexpr const char* AbortQuestion = "Really abort the transfer in progress?";

class ProbeWnd : public TFTP_Wnd {
public:
    const std::shared_ptr<TFTP_Base>& Transfer() const { return TFTPObject; }
    int CurrentMode() const { return Mode; }
};

inline MenuItem* Item(const QString& name, int index = 0)
{
    return MenuBarModel::Instance()->Item(name, index);
}

class WindowWorld {
public:
    WindowWorld() : server(world, ServerAddress) {}
    ~WindowWorld()
    {
        // Windows hold timers and sockets of this world: they go first.
        for (const QPointer<ProbeWnd>& window : windows_)
            delete window.data();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    WindowWorld(const WindowWorld&) = delete;
    WindowWorld& operator=(const WindowWorld&) = delete;

    // A shown window, as the application opens one.
    ProbeWnd* Open()
    {
        auto* window = new ProbeWnd;
        windows_.emplace_back(window);
        window->show();
        return window;
    }

    FolderItemPtr MakeFile(const std::string& name, const std::string& bytes)
    {
        testsupport::TempDir::WriteFile(files / name, bytes);
        return FileAt(files / name);
    }
    FolderItemPtr FileAt(const std::filesystem::path& path) const { return std::make_shared<FolderItem>(path); }

    // Ready to send `bytes` to the scripted server.
    ProbeWnd* ReadyToSend(const std::string& name, const std::string& bytes)
    {
        ProbeWnd* window = Open();
        window->SetSendFile(MakeFile(name, bytes));
        window->AddressFld()->setText(ServerAddress);
        return window;
    }

    // Ready to receive `name` from the scripted server into the files folder.
    ProbeWnd* ReadyToReceive(const std::string& name)
    {
        ProbeWnd* window = Open();
        window->TypeBBtn(TFTP_Wnd::DirectionReceive)->click();
        AnswerFileDialogs(FileAt(files / name));
        window->FileBtn()->click();
        window->AddressFld()->setText(ServerAddress);
        return window;
    }

    void AnswerFileDialogs(FolderItemPtr item)
    {
        dialogs.SetFileAnswer([item](const FileDialogRequest&) { return item; });
    }
    // Answers every Yes/No question with Yes (true) or No.
    void AnswerQuestions(bool yes)
    {
        dialogs.SetMessageAnswer([yes](const MessageDialogRequest& request) {
            return request.cancelVisible && !yes ? DialogButton::Cancel : DialogButton::Action;
        });
    }
    QStringList Messages() const
    {
        QStringList texts;
        for (const MessageDialogRequest& request : dialogs.Messages())
            texts << request.message;
        return texts;
    }

    void Tick(int count = 1) { world.Advance(static_cast<std::int64_t>(count) * PollMs); }

    sim::SimWorld world;
    Menu menu;
    DialogResponder dialogs;
    testsupport::TempDir files;
    testsupport::ScriptedTftpServer server;

private:
    std::vector<QPointer<ProbeWnd>> windows_;
};

// What a window shows, in one comparable line per aspect.
inline bool Shown(const QWidget* control) { return control->isVisibleTo(control->window()); }

}  // namespace ostrel::test
