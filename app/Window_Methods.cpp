#include "app/Window_Methods.h"

#include "app/MNU_WindowItem.h"
#include "app/Menu.h"
#include "platform/gui/MenuBarModel.h"
#include "platform/gui/MenuItem.h"
#include "platform/gui/OptionKey.h"
#include "platform/gui/WindowList.h"

#include <QMenu>

#include <algorithm>

namespace ostrel::Window_Methods {

std::vector<QPointer<WindowBase>> WindowArray;
bool gCloseAllInProgress = false;

namespace {

constexpr int DigitShortcutCount = 10;  // Ctrl+1 ... Ctrl+9, then Ctrl+0
constexpr const char* WindowEntryName = "WindowWindowSelection";
constexpr const char* NoWindowsEntryName = "WindowNoWindows";
constexpr const char* NoWindowsCaption = "No windows";
constexpr const char* CloseItemName = "FileClose";
constexpr const char* ShortCloseCaption = "Close";

// A window that has closed (or was destroyed) keeps no entry, even one left
// by a second registration: the Window menu must not offer it.
void DropDestroyedEntries()
{
    WindowArray.erase(std::remove_if(WindowArray.begin(), WindowArray.end(),
                                     [](const QPointer<WindowBase>& w) {
                                         return w.isNull() || w->IsClosed();
                                     }),
                      WindowArray.end());
}

// Clears gCloseAllInProgress when the close-all ends, also by an exception.
class CloseAllScope {
public:
    CloseAllScope() { gCloseAllInProgress = true; }
    ~CloseAllScope() { gCloseAllInProgress = false; }
    CloseAllScope(const CloseAllScope&) = delete;
    CloseAllScope& operator=(const CloseAllScope&) = delete;
};

// Visible windows from the back-most up to, but not including, position
// `frontLimit` of the platform's front-to-back list.
std::vector<QPointer<WindowBase>> VisibleWindowsBackToFront(int frontLimit)
{
    std::vector<QPointer<WindowBase>> collected;
    const std::vector<WindowBase*> windows = ostrel::WindowList::Windows();
    for (int position = static_cast<int>(windows.size()) - 1; position >= frontLimit; --position) {
        WindowBase* window = windows[static_cast<std::size_t>(position)];
        if (window->isVisible())
            collected.emplace_back(window);
    }
    return collected;
}

void CloseVisibleWindows(int frontLimit)
{
    if (gCloseAllInProgress)
        return;
    CloseAllScope scope;
    for (const QPointer<WindowBase>& window : VisibleWindowsBackToFront(frontLimit)) {
        // An earlier close may have taken this one with it.
        if (window && !window->IsClosed())
            window->close();
    }
}

QString ShortcutFor(int position)
{
    if (position >= DigitShortcutCount)
        return QString();
    const int digit = (position + 1) % DigitShortcutCount;
    return QStringLiteral("Ctrl+%1").arg(digit);
}

}  // namespace

void RegisterWindow(WindowBase* window)
{
    DropDestroyedEntries();
    if (window)
        WindowArray.emplace_back(window);
}

void UnregisterWindow(WindowBase* window)
{
    auto found = std::find(WindowArray.begin(), WindowArray.end(), window);
    if (found != WindowArray.end())
        WindowArray.erase(found);
    DropDestroyedEntries();
}

void CloseAllWindows() { CloseVisibleWindows(0); }

void CloseAllButFront() { CloseVisibleWindows(1); }

void WindowCloseWithOption()
{
    if (!OptionKey::IsDown() || gCloseAllInProgress)
        return;
    CloseAllButFront();
    if (MenuBarModel* model = MenuBarModel::Instance()) {
        if (MenuItem* close = model->Item(CloseItemName))
            close->SetCaption(ShortCloseCaption);
    }
}

void EnableWindowMenu()
{
    MenuBarModel* model = MenuBarModel::Instance();
    QMenu* menu = model ? model->Menu(Menu::WindowMenuName) : nullptr;
    if (!menu)
        return;
    std::vector<MenuItem*> items = model->Items(menu);
    for (auto item = items.rbegin(); item != items.rend(); ++item) {
        if (dynamic_cast<MNU_WindowItem*>(*item))
            model->RemoveItem(*item);
    }

    DropDestroyedEntries();
    if (WindowArray.empty()) {
        MenuItem* none = model->Adopt(menu, new MNU_WindowItem(NoWindowsEntryName, 0,
                                                               NoWindowsCaption, nullptr));
        none->SetEnabled(false);
        return;
    }
    for (std::size_t i = 0; i < WindowArray.size(); ++i) {
        WindowBase* window = WindowArray[i];
        const int position = static_cast<int>(i);
        auto* entry = new MNU_WindowItem(WindowEntryName, position, window->windowTitle(), window);
        entry->SetShortcut(ShortcutFor(position));
        model->Adopt(menu, entry)->SetEnabled(true);
    }
}

}  // namespace ostrel::Window_Methods
