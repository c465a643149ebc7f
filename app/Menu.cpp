#include "app/Menu.h"

#include "app/MNU_WindowItem.h"
#include "platform/gui/MenuItem.h"

#include <QAction>
#include <QMenu>

namespace ostrel {

namespace {
constexpr bool AutoOn = true;
constexpr bool AutoOff = false;
}  // namespace

Menu::Menu(QObject* parent) : MenuBarModel(parent)
{
    Untitled1();
    Untitled2();
    Untitled3();
    Untitled4();
    AddAboutItem();
}

void Menu::Untitled1()
{
    QMenu* file = AddMenu("UntitledMenu5", "File");
    AddItem(file, "FileNew", "New", "Cmd+N", AutoOff);
    AddItem(file, "FileClose", "Close Window", "Cmd+W", AutoOff);
    AddItem(file, "FileCloseAll", "Close All", "Cmd+Option+W", AutoOff);
    AddSeparator(file, "UntitledMenu6");
    MenuItem* quit = AddItem(file, "FileQuit", "Quit", "Cmd+Q", AutoOn);
    quit->Action()->setMenuRole(QAction::QuitRole);
}

void Menu::Untitled2()
{
    QMenu* edit = AddMenu("UntitledMenu2", "Edit");
    AddItem(edit, "EditUndo", "Undo", "Cmd+Z", AutoOff);
    AddSeparator(edit, "UntitledMenu4");
    AddItem(edit, "EditCut", "Cut", "Cmd+X", AutoOff);
    AddItem(edit, "EditCopy", "Copy", "Cmd+C", AutoOff);
    AddItem(edit, "EditPaste", "Paste", "Cmd+V", AutoOff);
    AddItem(edit, "EditClear", "Clear", "", AutoOff);
    AddSeparator(edit, "UntitledMenu3");
    AddItem(edit, "EditSelectAll", "Select All", "Cmd+A", AutoOff);
}

void Menu::Untitled3()
{
    QMenu* options = AddMenu("UntitledMenu1", "Options");
    AddItem(options, "OptionsTransferType", "Transfer as Binary", "Cmd+B", AutoOff, 0);
    AddItem(options, "OptionsTransferType", "Transfer as Text", "Cmd+T", AutoOff, 1);
}

void Menu::Untitled4()
{
    QMenu* window = AddMenu(WindowMenuName, "Window");
    // Replaced by the window entries at the first menu update.
    Adopt(window, new MNU_WindowItem("WindowPlaceHolder", 0, "Place Holder", nullptr));
}

void Menu::AddAboutItem()
{
#ifdef Q_OS_MACOS
    // The About role moves it to the application menu.
    QMenu* host = MenuBarModel::Menu(WindowMenuName);
#else
    QMenu* host = AddMenu("HelpMenu", "Help");
#endif
    MenuItem* about = AddItem(host, "AppleAbout", "About Ostrel", "", AutoOn);
    about->Action()->setMenuRole(QAction::AboutRole);
}

}  // namespace ostrel
