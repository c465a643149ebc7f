#pragma once
// The About window: what TFTP is, what Ostrel does and how to use it, the
// acknowledgements, the contact details, the legal notice and the version.
// A title line and a credit line above five tabs of read-only marked-up
// text, opening on "About". There is at most one; it takes part in the
// window list and the Window menu like any window, closes with its close box
// or File > Close Window, and an Option-close of it closes the other windows
// too.

#include "platform/gui/WindowBase.h"

#include <QPointer>
#include <QString>

class QFrame;
class QLabel;
class QTabWidget;

namespace ostrel {

class Colored_F_Editfield;
class Version_Fld;

class About_Wnd : public WindowBase {
    Q_OBJECT
public:
    static constexpr int ContentWidth = 485;
    static constexpr int ContentHeight = 400;
    static constexpr const char* Title = "About Ostrel";

    // The tabs, in order.
    enum Tab { TabAbout, TabInstructions, TabAcknowledgements, TabContact, TabLegal };

    About_Wnd();
    ~About_Wnd() override;

    // The About command: makes the one instance if there is none, shows it
    // and brings it to the front.
    static About_Wnd* ShowInstance();
    // The open instance, or null.
    static About_Wnd* Instance();

    QTabWidget* TabPanel1() const { return tabPanel1_; }
    Version_Fld* StaticText3() const { return staticText3_; }
    Colored_F_Editfield* InstructionFld() const { return instructionFld_; }
    Colored_F_Editfield* fldAbout() const { return fldAbout_; }
    Colored_F_Editfield* fldLegal() const { return fldLegal_; }
    Colored_F_Editfield* FldAck() const { return fldAck_; }
    Colored_F_Editfield* ContactFld() const { return contactFld_; }
    QLabel* StaticText1() const { return staticText1_; }
    QLabel* StaticText2() const { return staticText2_; }

    // --- window events ---
    void Event_Open() override;
    void Event_Close() override;
    bool Event_CancelClose(bool appQuitting) override;
    void Event_EnableMenuItems() override;

    // --- menu commands ---
    bool _FileClose_Action();

    // --- control events ---
    void fldAbout_Open();
    void fldLegal_Open();
    void TabPanel1_Change();

private:
    void BuildControls();
    void AddMenuHandlers();
    void CentreOnMainScreen();
    // Registers a control that shows only on `tab` (-1: on every tab).
    template <class Widget>
    Widget* Place(const QString& name, Widget* control, int tab, const QRect& bounds);
    Colored_F_Editfield* MakeTextPane(const QString& name, int tab, const QRect& bounds);

    struct TabbedControl {
        QPointer<QWidget> widget;
        int tab;
    };

    static QPointer<About_Wnd> instance_;

    std::vector<TabbedControl> tabbed_;
    QTabWidget* tabPanel1_ = nullptr;
    Version_Fld* staticText3_ = nullptr;
    Colored_F_Editfield* instructionFld_ = nullptr;
    Colored_F_Editfield* fldAbout_ = nullptr;
    Colored_F_Editfield* fldLegal_ = nullptr;
    QFrame* separator1_ = nullptr;
    Colored_F_Editfield* fldAck_ = nullptr;
    Colored_F_Editfield* contactFld_ = nullptr;
    QLabel* staticText1_ = nullptr;
    QLabel* staticText2_ = nullptr;
};

}  // namespace ostrel
