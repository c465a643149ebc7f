#include "platform/gui/WindowList.h"

#include "platform/gui/WindowBase.h"

#include <algorithm>

namespace ostrel {

std::vector<WindowBase*> WindowList::order_;
WindowBase* WindowList::front_ = nullptr;

std::vector<WindowBase*> WindowList::Windows() { return order_; }

int WindowList::WindowCount() { return static_cast<int>(order_.size()); }

WindowBase* WindowList::Window(int position)
{
    if (position < 0 || position >= WindowCount())
        return nullptr;
    return order_[static_cast<std::size_t>(position)];
}

WindowBase* WindowList::FrontWindow()
{
    if (order_.empty() || !order_.front()->isVisible())
        return nullptr;
    return order_.front();
}

bool WindowList::Contains(const WindowBase* window)
{
    return std::find(order_.begin(), order_.end(), window) != order_.end();
}

void WindowList::BringToFront(WindowBase* window)
{
    if (!window || !Contains(window))
        return;
    MoveToFront(window);
    window->raise();
    window->activateWindow();
}

void WindowList::Shown(WindowBase* window) { MoveToFront(window); }

void WindowList::Hidden(WindowBase* window)
{
    auto found = std::find(order_.begin(), order_.end(), window);
    if (found == order_.end())
        return;
    order_.erase(found);
    order_.push_back(window);
    FrontMayHaveChanged();
}

void WindowList::Activated(WindowBase* window)
{
    if (Contains(window))
        MoveToFront(window);
}

void WindowList::Deactivated(WindowBase* window, bool toOwnWindow)
{
    // Activation moving between our windows is handled when the other one
    // reports its activation; here only the application losing the focus
    // (or a dialog taking it) is left.
    if (toOwnWindow || window != front_)
        return;
    front_ = nullptr;
    window->NotifyDeactivated();
}

void WindowList::Removed(WindowBase* window)
{
    auto found = std::find(order_.begin(), order_.end(), window);
    if (found != order_.end())
        order_.erase(found);
    if (front_ == window)
        front_ = nullptr;
    FrontMayHaveChanged();
}

void WindowList::MoveToFront(WindowBase* window)
{
    auto found = std::find(order_.begin(), order_.end(), window);
    if (found != order_.end())
        order_.erase(found);
    order_.insert(order_.begin(), window);
    FrontMayHaveChanged();
}

void WindowList::FrontMayHaveChanged()
{
    WindowBase* now = FrontWindow();
    if (now == front_)
        return;
    WindowBase* former = front_;
    front_ = now;
    if (former)
        former->NotifyDeactivated();
}

}  // namespace ostrel
