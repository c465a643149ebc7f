#pragma once
// The report shown for an exception that nothing else caught: the
// exception's message and its call stack. The dialog shows the report's
// first lines; "Copy To Clipboard" puts the whole report on the clipboard.
// The application goes on afterwards with its windows as they were.

#include "app/RuntimeException.h"

#include <string>
#include <vector>

namespace ostrel {

class ErrorReport {
public:
    // The lines of the report that the dialog itself shows.
    static constexpr int ShownLines = 15;
    static constexpr const char* LineEnding = "\n";
    static constexpr const char* Message =
        "An unkown error has occured. Please report this to the author. You should probably "
        "save any open documents and restart Ostrel to be on the safe side.";
    static constexpr const char* CopyCaption = "&Copy To Clipboard";

    // The message, when there is one, and a blank line, then one stack
    // frame per line with no line ending after the last.
    static std::string Compose(const std::string& message, const std::vector<std::string>& stack);
    static std::string Compose(const RuntimeException& error);

    // Shows the report and waits for the user. While one report is up, a
    // further one (an exception raised by an event the dialog's own loop
    // delivers) goes to the standard error stream instead, so a fault that
    // repeats on every repaint cannot stack dialogs without end.
    static void Show(const std::string& report);
    static bool IsShowing() { return showing_; }

private:
    static bool showing_;
};

}  // namespace ostrel
