#include "platform/gui/MenuCommandTarget.h"

#include <utility>

namespace ostrel {

void MenuCommandTarget::AddMenuHandler(const QString& itemName, Handler handler)
{
    handlers_[itemName] = std::move(handler);
}

bool MenuCommandTarget::HasMenuHandler(const QString& itemName) const
{
    return handlers_.find(itemName) != handlers_.end();
}

bool MenuCommandTarget::HandleMenuCommand(const QString& itemName, int index)
{
    auto found = handlers_.find(itemName);
    if (found == handlers_.end() || !found->second)
        return false;
    // A copy, so a handler that replaces itself (or destroys its target's
    // handler table) does not pull the function out from under its own call.
    Handler handler = found->second;
    return handler(index);
}

}  // namespace ostrel
