#pragma once
// Ostrel's menu bar: File, Edit, Options and Window, built once when the
// application starts. Handlers and enabling code find the items by name
// ("FileNew", "FileClose", "EditSelectAll", "OptionsTransferType" with the
// indexes 0 Binary and 1 Text, ...). The Quit item carries the Quit role;
// About carries the About role, so on macOS both move to the application
// menu, while on Linux Quit stays in File and About gets a Help menu.

#include "platform/gui/MenuBarModel.h"

namespace ostrel {

class Menu : public MenuBarModel {
    Q_OBJECT
public:
    explicit Menu(QObject* parent = nullptr);

    static constexpr const char* WindowMenuName = "WindowMenu";

    // Inside this class `Menu` names the class, so the base's Menu(name)
    // needs qualifying; the Window menu is asked for often enough to get
    // its own accessor.
    QMenu* WindowMenu() const { return MenuBarModel::Menu(WindowMenuName); }

private:
    void Untitled1();  // File
    void Untitled2();  // Edit
    void Untitled3();  // Options
    void Untitled4();  // Window
    void AddAboutItem();
};

}  // namespace ostrel
