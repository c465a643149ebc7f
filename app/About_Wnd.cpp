#include "app/About_Wnd.h"

#include "app/About_Texts.h"
#include "app/Version_Fld.h"
#include "app/Window_Methods.h"
#include "controls/Colored_F_Editfield.h"
#include "platform/gui/MenuBarModel.h"
#include "platform/gui/MenuItem.h"

#include <QApplication>
#include <QFrame>
#include <QLabel>
#include <QLayout>
#include <QScreen>
#include <QTabWidget>

namespace ostrel {

QPointer<About_Wnd> About_Wnd::instance_;

namespace {

constexpr const char* PaneFamily = "Geneva";
constexpr int PanePointSize = 10;
constexpr int SmallPointSize = 9;

// The layout's bounds: left, top, width, height, in the window's content.
const QRect TabPanelBounds(5, 58, 475, 329);
const QRect VersionBounds(408, 362, 60, 16);
const QRect FullPaneBounds(13, 90, 459, 284);
const QRect AboutPaneBounds(13, 90, 459, 256);
const QRect SeparatorBounds(15, 343, 455, 4);
const QRect TitleBounds(13, 4, 459, 22);
const QRect CreditBounds(13, 22, 459, 29);
constexpr int OnEveryTab = -1;

const char* const TabCaptions[] = {"About", "Instructions", "Acknowledgements", "Contact", "Legal"};

// Geneva is rarely found outside macOS; a sans-serif face stands in.
QFont Named(const char* family, int pointSize)
{
    QFont font(QString::fromLatin1(family), pointSize);
    font.setStyleHint(QFont::SansSerif);
    return font;
}

}  // namespace

About_Wnd::About_Wnd()
{
    setWindowTitle(QString::fromLatin1(Title));
    // A close box only: no zoom, no minimise, and the size is fixed below.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);
    BuildControls();
    AddMenuHandlers();
    TabPanel1_Change();
    centralWidget()->setFixedSize(ContentWidth, ContentHeight);
    layout()->setSizeConstraint(QLayout::SetFixedSize);
    adjustSize();
    CentreOnMainScreen();
}

About_Wnd::~About_Wnd() = default;

About_Wnd* About_Wnd::Instance()
{
    if (instance_ && !instance_->IsClosed())
        return instance_;
    return nullptr;
}

About_Wnd* About_Wnd::ShowInstance()
{
    About_Wnd* window = Instance();
    if (!window) {
        window = new About_Wnd();
        instance_ = window;
    }
    window->BringToFront();
    return window;
}

template <class Widget>
Widget* About_Wnd::Place(const QString& name, Widget* control, int tab, const QRect& bounds)
{
    AddControl(name, control);
    control->setGeometry(bounds);
    if (tab != OnEveryTab)
        tabbed_.push_back({control, tab});
    return control;
}

Colored_F_Editfield* About_Wnd::MakeTextPane(const QString& name, int tab, const QRect& bounds)
{
    auto* pane = Place(name, new Colored_F_Editfield, tab, bounds);
    pane->setReadOnly(true);
    pane->setFrameShape(QFrame::NoFrame);
    pane->setFocusPolicy(Qt::ClickFocus);
    pane->setAttribute(Qt::WA_MacShowFocusRect, false);
    pane->setLineWrapMode(QTextEdit::WidgetWidth);
    // Every pane scrolls when its text outgrows it, not only the
    // instructions: nothing of the notices may be cut off.
    pane->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    pane->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    pane->setFont(Named(PaneFamily, PanePointSize));
    QPalette colours = pane->palette();
    colours.setColor(QPalette::Text, Qt::black);
    pane->setPalette(colours);
    return pane;
}

void About_Wnd::BuildControls()
{
    tabPanel1_ = Place("TabPanel1", new QTabWidget, OnEveryTab, TabPanelBounds);
    for (const char* caption : TabCaptions)
        tabPanel1_->addTab(new QWidget, QString::fromLatin1(caption));
    tabPanel1_->setCurrentIndex(TabAbout);
    tabPanel1_->setUsesScrollButtons(false);
    connect(tabPanel1_, &QTabWidget::currentChanged, this, [this] { TabPanel1_Change(); });

    staticText3_ = Place("StaticText3", new Version_Fld, TabAbout, VersionBounds);
    staticText3_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    staticText3_->setFont(Named(PaneFamily, SmallPointSize));

    instructionFld_ = MakeTextPane("InstructionFld", TabInstructions, FullPaneBounds);
    instructionFld_->setPlainText(About_Texts::Instructions());
    fldAbout_ = MakeTextPane("fldAbout", TabAbout, AboutPaneBounds);
    connect(fldAbout_, &Colored_F_Editfield::Opened, this, [this] { fldAbout_Open(); });
    fldLegal_ = MakeTextPane("fldLegal", TabLegal, FullPaneBounds);
    connect(fldLegal_, &Colored_F_Editfield::Opened, this, [this] { fldLegal_Open(); });

    separator1_ = Place("Separator1", new QFrame, TabAbout, SeparatorBounds);
    separator1_->setFrameShape(QFrame::HLine);
    separator1_->setFrameShadow(QFrame::Sunken);

    fldAck_ = MakeTextPane("FldAck", TabAcknowledgements, FullPaneBounds);
    fldAck_->setPlainText(About_Texts::Acknowledgements());
    contactFld_ = MakeTextPane("ContactFld", TabContact, FullPaneBounds);
    contactFld_->setPlainText(About_Texts::Contact());

    staticText1_ = Place("StaticText1", new QLabel(QStringLiteral("Ostrel")), OnEveryTab, TitleBounds);
    staticText1_->setAlignment(Qt::AlignCenter);
    staticText1_->setTextFormat(Qt::PlainText);

    staticText2_ = Place("StaticText2", new QLabel(About_Texts::Credit()), OnEveryTab, CreditBounds);
    staticText2_->setAlignment(Qt::AlignCenter);
    staticText2_->setTextFormat(Qt::PlainText);
    staticText2_->setFont(Named(PaneFamily, SmallPointSize));
}

void About_Wnd::AddMenuHandlers()
{
    AddMenuHandler("FileClose", [this](int) { return _FileClose_Action(); });
}

void About_Wnd::CentreOnMainScreen()
{
    if (QScreen* screen = QGuiApplication::primaryScreen()) {
        QRect frame = frameGeometry();
        frame.moveCenter(screen->availableGeometry().center());
        move(frame.topLeft());
    }
}

// --- window events ---

void About_Wnd::Event_Open()
{
    // The controls open with their window, before its own open handler.
    for (Colored_F_Editfield* pane : {instructionFld_, fldAbout_, fldLegal_, fldAck_, contactFld_})
        pane->Open();
    staticText3_->Open();
    Window_Methods::RegisterWindow(this);
}

void About_Wnd::Event_Close() { Window_Methods::UnregisterWindow(this); }

bool About_Wnd::Event_CancelClose(bool appQuitting)
{
    if (!appQuitting)
        Window_Methods::WindowCloseWithOption();
    return false;
}

void About_Wnd::Event_EnableMenuItems()
{
    if (MenuBarModel* model = MenuBarModel::Instance()) {
        if (MenuItem* close = model->Item("FileClose"))
            close->SetEnabled(true);
    }
}

// --- menu commands ---

bool About_Wnd::_FileClose_Action()
{
    close();
    return true;
}

// --- control events ---

void About_Wnd::fldAbout_Open() { fldAbout_->setPlainText(About_Texts::About()); }

void About_Wnd::fldLegal_Open() { fldLegal_->setPlainText(About_Texts::Legal()); }

void About_Wnd::TabPanel1_Change()
{
    const int current = tabPanel1_->currentIndex();
    for (const TabbedControl& control : tabbed_) {
        if (control.widget)
            control.widget->setVisible(control.tab == current);
    }
}

}  // namespace ostrel
