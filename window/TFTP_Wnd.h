#pragma once
// The transfer window: one window sets up, runs, watches and ends one TFTP
// transfer at a time. The user picks Send or Receive, the server, an optional
// password and the local file, and presses Start; the window then samples its
// transfer object once a second (it is never called back by it), shows the
// block counter and finally the outcome, and asks before a running transfer
// is stopped or the window closed under it.
//
// State lives in the plain integers below; UpdateControls is the one place
// that derives captions, help tags, visibility, dimming and the title from
// them, and every handler that changes state ends by calling it. Any number
// of these windows may run side by side; they share nothing.
//
// Made with `new TFTP_Wnd` and then shown; it deletes itself when it closes.

#include "engine/TFTP_Base.h"
#include "platform/FolderItem.h"
#include "platform/gui/WindowBase.h"

#include <QString>

#include <cstdint>
#include <memory>
#include <vector>

class QFrame;
class QLabel;
class QProgressBar;

namespace ostrel {

class ElidedLabel;
class FilenameField;
class IP_Field;
class PushButton_Glue;
class TFTP_BBtn;
class TFTP_Button;
class TFTP_Dropper;
class TextFieldTFTP;
class Timer;
class TypeBBtn;
class ProgressUpdater;

class TFTP_Wnd : public WindowBase {
    Q_OBJECT
public:
    // The content area below the menu bar; the window does not resize.
    static constexpr int ContentWidth = 320;
    static constexpr int ContentHeight = 205;

    // TransferStatus: nothing running, or the transfer stage the window last
    // reacted to.
    static constexpr int StatusIdle = 0;
    static constexpr int StatusRunning = TransferStage::Running;
    static constexpr int StatusSucceeded = TransferStage::Succeeded;
    static constexpr int StatusFailed = TransferStage::Failed;

    // TransferType, which is also the index of the Send/Receive buttons.
    static constexpr int DirectionSend = 0;
    static constexpr int DirectionReceive = 1;

    // Mode, which is also the index of the Transfer Type menu items.
    static constexpr int ModeBinary = 0;
    static constexpr int ModeText = TFTP_Base::TextMode;

    explicit TFTP_Wnd(QWidget* parent = nullptr);
    ~TFTP_Wnd() override;

    // --- state ---
    // Blocks of 512 bytes in the file chosen for sending, rounded up.
    std::int64_t FileBlocks = 0;
    int TransferStatus = StatusIdle;
    int TransferType = DirectionSend;

    // --- controls, by name ---
    TFTP_Dropper* FileDropper() const;
    TFTP_Button* FileBtn() const;
    FilenameField* FileFld() const;
    QFrame* Placard1() const;
    TFTP_BBtn* TypeBBtn(int index) const;
    QLabel* StaticText1() const;
    QLabel* StaticText2() const;
    PushButton_Glue* StartBtn() const;
    Timer* ProgressUpdater() const;
    QProgressBar* TransferPBar() const;
    QLabel* OutputFld() const;
    QFrame* Separator1() const;
    IP_Field* AddressFld() const;
    TextFieldTFTP* PasswordFld() const;
    ElidedLabel* ErrorFld() const;

    // --- control events ---
    void FileDropper_DropObject(const std::vector<FolderItemPtr>& items);
    void FileDropper_Open();
    void FileBtn_Action();
    void TypeBBtn_Action(ostrel::TypeBBtn* button);
    void StartBtn_Action();
    void ProgressUpdater_Action();
    void AddressFld_GotFocus();
    void AddressFld_TextChange();
    void PasswordFld_GotFocus();

    // --- window events ---
    void Event_Open() override;
    void Event_Close() override;
    bool Event_CancelClose(bool appQuitting) override;
    void Event_Deactivate() override;
    void Event_EnableMenuItems() override;

    // --- menu commands ---
    bool _FileClose_Action();
    bool _OptionsTransferType_Action(int index);

    // --- the rest of the controller ---
    void UpdateControls();
    void DimControls(bool dim);
    bool ConfirmAbort();
    void UpdateProgressThermo();
    // Takes an existing file (not a folder) as the file to send; anything
    // else leaves the earlier choice. Also used for documents handed to the
    // application.
    void SetSendFile(FolderItemPtr f);
    void DestroyTFTPObject();

protected:
    int Mode = ModeBinary;
    std::shared_ptr<TFTP_Base> TFTPObject;

    void CleanOptionsMenu();

    // Return and Enter press the default button, as they would in a dialog.
    void keyPressEvent(QKeyEvent* event) override;

private:
    void Layout();
    void CreateControls();
    void _CreateControls0();
    void AddMenuHandlers();

    // Registers a control and places it at its window coordinates, whatever
    // its parent.
    template <typename ControlType>
    ControlType* Place(const QString& name, ControlType* control, const QRect& inWindow, int index = -1);

    void ShowOutcome(const QString& text, int status);
    bool StartCanBeEnabled() const;
    void SetBarMaximum(std::int64_t blocks);
    void SetBarValue(std::int64_t block);
    static std::int64_t BlocksFor(std::uint64_t bytes);

    std::unique_ptr<ostrel::ProgressUpdater> progressUpdater_;
    // Blocks per step of the bar, for files with more blocks than it counts.
    std::int64_t blocksPerBarStep_ = 1;
};

}  // namespace ostrel
