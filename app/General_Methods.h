#pragma once
// Services every window and the application object share: the two quick
// modal dialogs, titled with the application's name, and the one
// menu-enabling timer.

#include "app/Menu_Enabler.h"

#include <QString>

#include <memory>

namespace ostrel::General_Methods {

// The menu-enabling timer, created when the application opens.
extern std::unique_ptr<Menu_Enabler> gMenuEnabler;

// A modal Yes/No question; true when the user chose the affirmative button.
// Empty captions become "Yes" and "No".
bool QuickConfirmDialog(const QString& message, const QString& affirmative = QString(),
                        const QString& negative = QString());

// A modal message with one button (empty: "OK") and an optional
// explanation; returns once the user has dismissed it.
void QuickMessageDialog(const QString& message, const QString& button = QString(),
                        const QString& explanation = QString());

}  // namespace ostrel::General_Methods
