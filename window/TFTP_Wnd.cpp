#include "window/TFTP_Wnd.h"

#include "app/FileTypes.h"
#include "app/General_Methods.h"
#include "app/Window_Methods.h"
#include "controls/FilenameField.h"
#include "controls/IP_Field.h"
#include "controls/PushButton_Glue.h"
#include "controls/TFTP_Button.h"
#include "controls/TFTP_Dimmer.h"
#include "controls/TFTP_Dropper.h"
#include "controls/TextFieldTFTP.h"
#include "engine/TFTP_Reader.h"
#include "engine/TFTP_Writer.h"
#include "platform/gui/Dialogs.h"
#include "platform/gui/MenuBarModel.h"
#include "platform/gui/MenuItem.h"
#include "window/ElidedLabel.h"
#include "window/ProgressUpdater.h"
#include "window/ServerText.h"
#include "window/TypeBBtn.h"
#include "window/WindowFonts.h"

#include <QFile>
#include <QKeyEvent>
#include <QLayout>
#include <QLocale>
#include <QProgressBar>

#include <algorithm>
#include <limits>

namespace ostrel {

namespace {

// --- texts ---
constexpr const char* CreationTitle = "TFTP Send";
constexpr const char* SendTitle = "TFTP Send: ";
constexpr const char* ReceiveTitle = "TFTP Receive: ";
constexpr const char* NoFileText = "No file selected";
constexpr const char* InitialAddress = "Server Name or Address";
constexpr const char* StartCaption = "Start";
constexpr const char* StopCaption = "Stop...";
constexpr const char* CloseCaption = "Close";
constexpr const char* StartHelp = "This will start the transfer.";
// The break between the two sentences of the disabled help; a blank line.
constexpr const char* HelpParagraphBreak = "\n\n";
constexpr const char* StartDisabledReason =
    "It is disabled because you have not chosen a file or set an address.";
constexpr const char* StopHelp = "This will abort the transfer in progress.";
constexpr const char* CloseHelp = "This will close the window.";
constexpr const char* SentBlockText = "Sent block ";
constexpr const char* OfText = " of ";
constexpr const char* ReceivedBlockText = "Received block ";
constexpr const char* SucceededText = "Transfer completed successfully";
constexpr const char* ErrorPrefix = "Error: ";
constexpr const char* AbortQuestion = "Really abort the transfer in progress?";
constexpr const char* AbortYes = "Yes";
constexpr const char* AbortNo = "No";
constexpr const char* ReceiveNamePrompt = "Type the filename exactly";
constexpr const char* DropInReceiveMode = "You can't drop a file in Receive mode.";
constexpr const char* DropFolder = "You can only drop files, not folders or disks.";

constexpr const char* DropperHelp = "Drop a file to send here.";
constexpr const char* FileBtnHelp = "Choose a file to send or name a file to receive.";
constexpr const char* TypeHelp =
    "Press \u201CSend\u201D to send a file to the TFTP server. Use \u201CReceive\u201D to get a file.";
constexpr const char* AddressHelp = "Enter the name or address of the TFTP server.";
constexpr const char* PasswordHelp =
    "(Optional) Enter a password to send to the TFTP server. Note that passwords are "
    "non-standard and not all TFTP servers will recognize them.";

// --- menu items ---
constexpr const char* FileCloseItem = "FileClose";
constexpr const char* TransferTypeItem = "OptionsTransferType";

// --- design values ---
constexpr int OutputFontPoints = 9;
constexpr const char* OutputFontFamily = "Geneva";
constexpr int InitialBarMaximum = 100;
constexpr int DataBlockSize = TFTP_Base::DataBlockSize;

QString Text(const char* text) { return QString::fromUtf8(text); }

MenuItem* ItemNamed(const char* name, int index = 0)
{
    MenuBarModel* model = MenuBarModel::Instance();
    return model ? model->Item(Text(name), index) : nullptr;
}

}  // namespace

TFTP_Wnd::TFTP_Wnd(QWidget* parent) : WindowBase(parent)
{
    Layout();
    CreateControls();
    AddMenuHandlers();
}

TFTP_Wnd::~TFTP_Wnd()
{
    // A window destroyed without closing must not leave a transfer behind.
    DestroyTFTPObject();
}

// --- building ---

void TFTP_Wnd::Layout()
{
    setWindowTitle(Text(CreationTitle));
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    // The window takes the size of its content area and menu bar, and keeps it.
    layout()->setSizeConstraint(QLayout::SetFixedSize);
}

void TFTP_Wnd::CreateControls()
{
    _CreateControls0();
    centralWidget()->setFixedSize(ContentWidth, ContentHeight);
}

template <typename ControlType>
ControlType* TFTP_Wnd::Place(const QString& name, ControlType* control, const QRect& inWindow, int index)
{
    AddControl(name, control, index);
    QPoint origin;
    for (QWidget* w = control->parentWidget(); w && w != centralWidget(); w = w->parentWidget())
        origin += w->pos();
    control->setGeometry(inWindow.translated(-origin));
    return control;
}

void TFTP_Wnd::_CreateControls0()
{
    auto* dropper = Place(QStringLiteral("FileDropper"), new TFTP_Dropper, {5, 108, 310, 35});
    dropper->setToolTip(Text(DropperHelp));
    dropper->setFocusPolicy(Qt::NoFocus);
    connect(dropper, &TFTP_Dropper::Opened, this, [this] { FileDropper_Open(); });
    // The drop is handled once the drag has ended: a message shown from
    // inside the drop would hold the file manager that the drag came from.
    connect(dropper, &TFTP_Dropper::DropObject, this, [this](const std::vector<FolderItemPtr>& items) {
        QMetaObject::invokeMethod(this, [this, items] { FileDropper_DropObject(items); },
                                  Qt::QueuedConnection);
    });

    auto* fileBtn = Place(QStringLiteral("FileBtn"), new TFTP_Button(QStringLiteral("File..."), dropper),
                          {13, 115, 60, 20});
    fileBtn->setFont(WindowFonts::SmallSystem());
    fileBtn->setToolTip(Text(FileBtnHelp));
    connect(fileBtn, &QPushButton::clicked, this, [this] { FileBtn_Action(); });

    auto* fileFld = Place(QStringLiteral("FileFld"), new FilenameField(Text(NoFileText), dropper),
                          {90, 115, 215, 20});
    fileFld->setFont(WindowFonts::SmallSystem());
    fileFld->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    fileFld->setTextInteractionFlags(Qt::NoTextInteraction);

    auto* placard = Place(QStringLiteral("Placard1"), new QFrame, {10, 4, 300, 40});
    placard->setFrameStyle(QFrame::StyledPanel | QFrame::Raised);

    const QString typeCaptions[] = {QStringLiteral("Send"), QStringLiteral("Receive")};
    const QRect typePlaces[] = {{25, 11, 100, 25}, {195, 11, 100, 25}};
    for (int index : {DirectionSend, DirectionReceive}) {
        auto* button = Place(QStringLiteral("TypeBBtn"),
                             new ostrel::TypeBBtn(index, typeCaptions[index], placard),
                             typePlaces[index], index);
        button->setFont(WindowFonts::System());
        button->setToolTip(Text(TypeHelp));
        button->SetValue(index == DirectionSend);
        connect(button, &QPushButton::clicked, this, [this, button] { TypeBBtn_Action(button); });
    }

    auto* address = Place(QStringLiteral("StaticText1"), new QLabel(QStringLiteral("Address:")),
                          {15, 54, 55, 22});
    auto* password = Place(QStringLiteral("StaticText2"), new QLabel(QStringLiteral("Password:")),
                           {15, 83, 65, 22});
    for (QLabel* label : {address, password})
        label->setFont(WindowFonts::SmallSystem());

    auto* start = Place(QStringLiteral("StartBtn"), new PushButton_Glue(Text(StartCaption)),
                        {230, 159, 80, 20});
    start->setFont(WindowFonts::System());
    start->setDefault(true);
    connect(start, &QPushButton::clicked, this, [this] { StartBtn_Action(); });

    progressUpdater_ = std::make_unique<ostrel::ProgressUpdater>(*this);

    auto* bar = Place(QStringLiteral("TransferPBar"), new QProgressBar, {13, 163, 210, 12});
    bar->setRange(0, InitialBarMaximum);
    bar->setValue(0);
    bar->setTextVisible(false);
    bar->hide();

    auto* output = Place(QStringLiteral("OutputFld"), new QLabel, {13, 178, 210, 35});
    output->setFont(WindowFonts::Named(Text(OutputFontFamily), OutputFontPoints));
    output->setTextFormat(Qt::PlainText);
    output->setWordWrap(true);
    output->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    output->hide();

    auto* separator = Place(QStringLiteral("Separator1"), new QFrame, {5, 151, 310, 4});
    separator->setFrameStyle(QFrame::HLine | QFrame::Sunken);

    auto* addressFld = Place(QStringLiteral("AddressFld"), new IP_Field, {90, 54, 215, 22});
    addressFld->setFont(WindowFonts::SmallSystem());
    addressFld->setText(Text(InitialAddress));
    addressFld->setToolTip(Text(AddressHelp));
    connect(addressFld, &IP_Field::GotFocus, this, [this] { AddressFld_GotFocus(); });
    connect(addressFld, &IP_Field::TextChange, this, [this] { AddressFld_TextChange(); });

    auto* passwordFld = Place(QStringLiteral("PasswordFld"), new TextFieldTFTP, {90, 83, 215, 22});
    passwordFld->setFont(WindowFonts::SmallSystem());
    passwordFld->setEchoMode(QLineEdit::Password);
    passwordFld->setToolTip(Text(PasswordHelp));
    connect(passwordFld, &TextFieldTFTP::GotFocus, this, [this] { PasswordFld_GotFocus(); });

    auto* errorFld = Place(QStringLiteral("ErrorFld"), new ElidedLabel, {5, 185, 305, 18});
    errorFld->setFont(WindowFonts::SmallSystem());
    errorFld->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    errorFld->hide();
}

void TFTP_Wnd::AddMenuHandlers()
{
    AddMenuHandler(Text(FileCloseItem), [this](int) { return _FileClose_Action(); });
    AddMenuHandler(Text(TransferTypeItem), [this](int index) { return _OptionsTransferType_Action(index); });
}

// --- controls, by name ---

TFTP_Dropper* TFTP_Wnd::FileDropper() const
{
    return static_cast<TFTP_Dropper*>(Control(QStringLiteral("FileDropper")));
}

TFTP_Button* TFTP_Wnd::FileBtn() const
{
    return static_cast<TFTP_Button*>(Control(QStringLiteral("FileBtn")));
}

FilenameField* TFTP_Wnd::FileFld() const
{
    return static_cast<FilenameField*>(Control(QStringLiteral("FileFld")));
}

QFrame* TFTP_Wnd::Placard1() const
{
    return static_cast<QFrame*>(Control(QStringLiteral("Placard1")));
}

TFTP_BBtn* TFTP_Wnd::TypeBBtn(int index) const
{
    return static_cast<TFTP_BBtn*>(Control(QStringLiteral("TypeBBtn"), index));
}

QLabel* TFTP_Wnd::StaticText1() const
{
    return static_cast<QLabel*>(Control(QStringLiteral("StaticText1")));
}

QLabel* TFTP_Wnd::StaticText2() const
{
    return static_cast<QLabel*>(Control(QStringLiteral("StaticText2")));
}

PushButton_Glue* TFTP_Wnd::StartBtn() const
{
    return static_cast<PushButton_Glue*>(Control(QStringLiteral("StartBtn")));
}

Timer* TFTP_Wnd::ProgressUpdater() const
{
    return progressUpdater_.get();
}

QProgressBar* TFTP_Wnd::TransferPBar() const
{
    return static_cast<QProgressBar*>(Control(QStringLiteral("TransferPBar")));
}

QLabel* TFTP_Wnd::OutputFld() const
{
    return static_cast<QLabel*>(Control(QStringLiteral("OutputFld")));
}

QFrame* TFTP_Wnd::Separator1() const
{
    return static_cast<QFrame*>(Control(QStringLiteral("Separator1")));
}

IP_Field* TFTP_Wnd::AddressFld() const
{
    return static_cast<IP_Field*>(Control(QStringLiteral("AddressFld")));
}

TextFieldTFTP* TFTP_Wnd::PasswordFld() const
{
    return static_cast<TextFieldTFTP*>(Control(QStringLiteral("PasswordFld")));
}

ElidedLabel* TFTP_Wnd::ErrorFld() const
{
    return static_cast<ElidedLabel*>(Control(QStringLiteral("ErrorFld")));
}

// --- the Start button and the poll ---

void TFTP_Wnd::StartBtn_Action()
{
    // The caption is what the user saw when pressing.
    const QString caption = StartBtn()->text();
    if (caption.compare(Text(StartCaption), Qt::CaseInsensitive) == 0) {
        DestroyTFTPObject();
        if (TransferType == DirectionSend)
            TFTPObject = TFTP_Writer::Create();
        else
            TFTPObject = TFTP_Reader::Create();
        TFTPObject->StartTransfer(FileFld()->GetFile(), AddressFld()->Text().toStdString(),
                                  PasswordFld()->Text().toStdString(), Mode);
        TransferStatus = StatusRunning;
        progressUpdater_->SetMode(Timer::ModeMultiple);
        SetBarValue(0);
        OutputFld()->clear();
        UpdateControls();
        return;
    }
    if (caption.compare(Text(CloseCaption), Qt::CaseInsensitive) == 0) {
        close();
        return;
    }
    // A poll may have found the end while the question was open; then the
    // outcome is already on show and there is nothing left to stop.
    if (ConfirmAbort() && TransferStatus == StatusRunning) {
        if (TFTPObject)
            TFTPObject->Abort();
        TransferStatus = StatusIdle;
        UpdateControls();
    }
}

void TFTP_Wnd::ProgressUpdater_Action()
{
    if (!TFTPObject) {
        TransferPBar()->hide();
        OutputFld()->hide();
        return;
    }
    switch (TFTPObject->GetStage()) {
    case TransferStage::Running:
        UpdateProgressThermo();
        break;
    case TransferStage::Succeeded:
        ShowOutcome(Text(SucceededText), StatusSucceeded);
        break;
    case TransferStage::Failed:
        ShowOutcome(Text(ErrorPrefix) + ServerText::ForDisplay(TFTPObject->TerminationErrorString()),
                    StatusFailed);
        break;
    default:
        break;
    }
}

void TFTP_Wnd::ShowOutcome(const QString& text, int status)
{
    OutputFld()->clear();
    ErrorFld()->setText(text);
    progressUpdater_->SetMode(Timer::ModeOff);
    TransferStatus = status;
    UpdateControls();
}

void TFTP_Wnd::UpdateProgressThermo()
{
    const std::int64_t block = TFTPObject->GetLastBlock();
    const QLocale locale;
    const QString n = locale.toString(static_cast<qlonglong>(block));
    if (TransferType != DirectionSend) {
        OutputFld()->setText(Text(ReceivedBlockText) + n);
        return;
    }
    OutputFld()->setText(Text(SentBlockText) + n + Text(OfText) +
                         locale.toString(static_cast<qlonglong>(FileBlocks)));
    SetBarValue(block);
}

// --- bringing the window in line ---

bool TFTP_Wnd::StartCanBeEnabled() const
{
    return !AddressFld()->Text().isEmpty() && FileFld()->GetFile() != nullptr;
}

void TFTP_Wnd::UpdateControls()
{
    PushButton_Glue* start = StartBtn();
    switch (TransferStatus) {
    case StatusIdle:
    case StatusFailed: {
        DimControls(false);
        start->setText(Text(StartCaption));
        start->SetBalloonHelp(Text(StartHelp));
        start->SetDisabledBalloonHelp(Text(StartHelp) + Text(HelpParagraphBreak) + Text(StartDisabledReason));
        const bool enabled = StartCanBeEnabled();
        start->setEnabled(enabled);
        start->setToolTip(enabled ? start->BalloonHelp() : start->DisabledBalloonHelp());
        setWindowTitle(Text(TransferType == DirectionSend ? SendTitle : ReceiveTitle) + FileFld()->text());
        TransferPBar()->hide();
        OutputFld()->hide();
        ErrorFld()->setVisible(TransferStatus == StatusFailed);
        break;
    }
    case StatusRunning:
        DimControls(true);
        start->setText(Text(StopCaption));
        start->setToolTip(Text(StopHelp));
        TransferPBar()->show();
        ErrorFld()->hide();
        OutputFld()->show();
        break;
    default:
        DimControls(true);
        start->setText(Text(CloseCaption));
        start->setToolTip(Text(CloseHelp));
        start->setEnabled(true);
        TransferPBar()->hide();
        OutputFld()->hide();
        ErrorFld()->show();
        break;
    }
}

void TFTP_Wnd::DimControls(bool dim)
{
    for (const ControlEntry& entry : Controls()) {
        if (auto* dimmer = dynamic_cast<TFTP_Dimmer*>(entry.widget.data()))
            dimmer->DimMe(dim);
    }
}

bool TFTP_Wnd::ConfirmAbort()
{
    return General_Methods::QuickConfirmDialog(Text(AbortQuestion), Text(AbortYes), Text(AbortNo));
}

void TFTP_Wnd::DestroyTFTPObject()
{
    if (!TFTPObject)
        return;
    TFTPObject->Teardown();
    TFTPObject.reset();
}

// --- the progress bar ---

void TFTP_Wnd::SetBarMaximum(std::int64_t blocks)
{
    // The bar counts in int; a file of more blocks is shown in coarser steps.
    constexpr std::int64_t barLimit = std::numeric_limits<int>::max();
    blocksPerBarStep_ = blocks > barLimit ? blocks / barLimit + 1 : 1;
    TransferPBar()->setMaximum(static_cast<int>(blocks / blocksPerBarStep_));
}

void TFTP_Wnd::SetBarValue(std::int64_t block)
{
    QProgressBar* bar = TransferPBar();
    // With a maximum of 0 the bar only shows that a transfer runs.
    if (bar->maximum() == 0)
        return;
    const std::int64_t step = std::clamp<std::int64_t>(block / blocksPerBarStep_, 0, bar->maximum());
    bar->setValue(static_cast<int>(step));
}

// --- choosing the file ---

std::int64_t TFTP_Wnd::BlocksFor(std::uint64_t bytes)
{
    const std::uint64_t blocks = bytes / DataBlockSize + (bytes % DataBlockSize != 0 ? 1 : 0);
    return static_cast<std::int64_t>(blocks);
}

void TFTP_Wnd::SetSendFile(FolderItemPtr f)
{
    if (!f || !f->Exists() || f->Directory())
        return;
    // A window handed a file before it is first shown must not lose it when
    // the label opens.
    FileFld()->Open();
    FileFld()->SetFile(f);
    FileBlocks = BlocksFor(f->Length());
    SetBarMaximum(FileBlocks);
    UpdateControls();
}

void TFTP_Wnd::FileBtn_Action()
{
    if (TransferType == DirectionSend) {
        SetSendFile(Dialogs::GetOpenFolderItem(FileTypes::AllFiles().NameFilter()));
        return;
    }
    const FolderItemPtr held = FileFld()->GetFile();
    const QString defaultName = held ? QFile::decodeName(QByteArray::fromStdString(held->Name()))
                                     : Text(ReceiveNamePrompt);
    if (FolderItemPtr chosen = Dialogs::GetSaveFolderItem(FileTypes::TextPlain().NameFilter(), defaultName)) {
        FileFld()->SetFile(std::move(chosen));
        SetBarMaximum(0);
    }
    UpdateControls();
}

void TFTP_Wnd::TypeBBtn_Action(ostrel::TypeBBtn* button)
{
    if (button->Value())
        return;
    TransferType = button->Index();
    FileFld()->SetFile(nullptr);
    for (int index : {DirectionSend, DirectionReceive})
        TypeBBtn(index)->SetValue(false);
    button->SetValue(true);
    UpdateControls();
}

void TFTP_Wnd::FileDropper_Open()
{
    FileDropper()->AcceptFileDrop([](const FolderItem& item) { return FileTypes::AllFiles().Matches(item.Path()); });
    FileDropper()->AcceptFileDrop([](const FolderItem& item) { return FileTypes::TextPlain().Matches(item.Path()); });
}

void TFTP_Wnd::FileDropper_DropObject(const std::vector<FolderItemPtr>& items)
{
    if (TransferStatus == StatusRunning)
        return;
    if (TransferType == DirectionReceive) {
        General_Methods::QuickMessageDialog(Text(DropInReceiveMode));
        return;
    }
    for (const FolderItemPtr& item : items) {
        if (!item)
            continue;
        if (!item->Directory()) {
            SetSendFile(item);
            return;
        }
        General_Methods::QuickMessageDialog(Text(DropFolder));
    }
}

// --- the text fields ---

void TFTP_Wnd::AddressFld_GotFocus()
{
    AddressFld()->SetSelection(0, static_cast<int>(AddressFld()->Text().size()));
}

void TFTP_Wnd::AddressFld_TextChange()
{
    UpdateControls();
}

void TFTP_Wnd::PasswordFld_GotFocus()
{
    PasswordFld()->SetSelection(0, static_cast<int>(PasswordFld()->Text().size()));
}

// --- window events ---

void TFTP_Wnd::Event_Open()
{
    Window_Methods::RegisterWindow(this);
    FileDropper()->Open();
    FileFld()->Open();
    TransferType = DirectionSend;
    TransferStatus = StatusIdle;
    UpdateControls();
    // Typing in a new window goes to the server's address, replacing the
    // prompt there (the field selects its text when it gets the focus).
    AddressFld()->setFocus(Qt::OtherFocusReason);
}

bool TFTP_Wnd::Event_CancelClose(bool appQuitting)
{
    // Whatever starts the close, a running transfer gets the same question.
    Q_UNUSED(appQuitting);
    bool refuse = false;
    if (TransferStatus == StatusRunning) {
        if (ConfirmAbort()) {
            if (TFTPObject) {
                TFTPObject->Abort();
                TFTPObject->Close();
            }
            DestroyTFTPObject();
        } else {
            refuse = true;
        }
    }
    Window_Methods::WindowCloseWithOption();
    return refuse;
}

void TFTP_Wnd::Event_Close()
{
    Window_Methods::UnregisterWindow(this);
    CleanOptionsMenu();
    progressUpdater_->SetMode(Timer::ModeOff);
    DestroyTFTPObject();
}

void TFTP_Wnd::Event_Deactivate()
{
    CleanOptionsMenu();
}

void TFTP_Wnd::Event_EnableMenuItems()
{
    if (MenuItem* close = ItemNamed(FileCloseItem))
        close->SetEnabled(true);
    for (int index : {ModeBinary, ModeText}) {
        if (MenuItem* type = ItemNamed(TransferTypeItem, index)) {
            type->SetEnabled(true);
            type->SetChecked(index == Mode);
        }
    }
}

void TFTP_Wnd::CleanOptionsMenu()
{
    if (MenuItem* type = ItemNamed(TransferTypeItem, Mode))
        type->SetChecked(false);
}

// --- menu commands ---

bool TFTP_Wnd::_FileClose_Action()
{
    close();
    return false;
}

bool TFTP_Wnd::_OptionsTransferType_Action(int index)
{
    Mode = index;
    return false;
}

// --- keys ---

void TFTP_Wnd::keyPressEvent(QKeyEvent* event)
{
    const bool isReturn = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    const bool plain = (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
    PushButton_Glue* start = StartBtn();
    if (isReturn && plain && start->isEnabled() && start->isVisible()) {
        start->click();
        event->accept();
        return;
    }
    WindowBase::keyPressEvent(event);
}

}  // namespace ostrel
