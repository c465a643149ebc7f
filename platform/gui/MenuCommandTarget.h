#pragma once
// Something that handles menu commands by item name and takes part in the
// menu enabling pass: the application object, each window and each control
// that has commands of its own (text fields answer Select All).
//
// A command goes to the focused control first, then to the front window,
// then to the application; the first handler that returns true ends the
// dispatch. Before a menu opens and before a shortcut is matched, every item
// whose auto-enable is off is disabled, and then the application's, the
// front window's and the focused control's EnableMenuItems run, in that
// order (MenuBarModel::EnableMenuItems).

#include <QString>

#include <functional>
#include <map>

namespace ostrel {

class MenuCommandTarget {
public:
    // Called with the index of the chosen item (0 for items without one);
    // returns true when it handled the command.
    using Handler = std::function<bool(int index)>;

    virtual ~MenuCommandTarget() = default;

    // Registers the handler for every item of this name (one per name).
    void AddMenuHandler(const QString& itemName, Handler handler);
    bool HasMenuHandler(const QString& itemName) const;
    // Runs the handler registered under itemName; false when there is none
    // or it did not handle the command.
    bool HandleMenuCommand(const QString& itemName, int index);

    // This target's part of the enabling pass.
    virtual void EnableMenuItems() {}

private:
    std::map<QString, Handler> handlers_;
};

}  // namespace ostrel
