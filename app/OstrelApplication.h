#pragma once
// Ostrel's QApplication: where every event is dispatched, it catches the
// exceptions that escape event handlers and hands them to the application
// object's error report, so Ostrel goes on running. It also turns the
// platform's own application events into the application object's: files
// the system asks Ostrel to open (QFileOpenEvent, macOS), re-activation
// (macOS), and the system's quit request, which passes every window's
// close query like File > Quit.

#include "app/RuntimeException.h"

#include <QApplication>
#include <QString>

#include <functional>

namespace ostrel {

class OstrelApplication : public QApplication {
    Q_OBJECT
public:
    using ExceptionHandler = std::function<void(const RuntimeException& error)>;
    using FileOpenHandler = std::function<void(const QString& path)>;
    using ReopenHandler = std::function<void()>;

    OstrelApplication(int& argc, char** argv);

    void SetExceptionHandler(ExceptionHandler handler) { exceptionHandler_ = std::move(handler); }
    void SetFileOpenHandler(FileOpenHandler handler) { fileOpenHandler_ = std::move(handler); }
    void SetReopenHandler(ReopenHandler handler) { reopenHandler_ = std::move(handler); }

    bool notify(QObject* receiver, QEvent* event) override;

    // Reports an exception that was caught where events are dispatched.
    void HandleException(const RuntimeException& error);

protected:
    bool event(QEvent* event) override;

private:
    ExceptionHandler exceptionHandler_;
    FileOpenHandler fileOpenHandler_;
    ReopenHandler reopenHandler_;
};

}  // namespace ostrel
