#pragma once
// Shared pieces of the control tests: a small menu bar with the Edit items
// the fields touch, an application target that logs every enabling pass,
// and a shown, active top-level window to hold the controls under test.

#include "controls/EditMenuItems.h"
#include "platform/gui/MenuBarModel.h"
#include "platform/gui/MenuCommandTarget.h"
#include "platform/gui/MenuItem.h"

#include <QApplication>
#include <QStringList>
#include <QTest>
#include <QVBoxLayout>
#include <QWidget>

#include <memory>

namespace ostrel::test {

// Records each enabling pass as "refresh" in a shared log.
class PassRecorder : public MenuCommandTarget {
public:
    explicit PassRecorder(QStringList& log) : log_(log) {}
    void EnableMenuItems() override { log_ << QStringLiteral("refresh"); }

private:
    QStringList& log_;
};

// The Edit menu items the fields enable and disable, all without auto-enable,
// so each pass starts them disabled.
class EditMenuFixture {
public:
    explicit EditMenuFixture(QStringList& log) : recorder_(log) {
        QMenu* edit = model_.AddMenu(QStringLiteral("UntitledMenu2"), QStringLiteral("Edit"));
        paste_ = model_.AddItem(edit, QString::fromLatin1(EditMenuItems::Paste),
                                QStringLiteral("Paste"), QString(), false);
        selectAll_ = model_.AddItem(edit, QString::fromLatin1(EditMenuItems::SelectAll),
                                    QStringLiteral("Select All"), QString(), false);
        model_.SetApplicationTarget(&recorder_);
    }
    ~EditMenuFixture() { model_.SetApplicationTarget(nullptr); }

    MenuBarModel& Model() { return model_; }
    MenuItem* Paste() const { return paste_; }
    MenuItem* SelectAll() const { return selectAll_; }

private:
    PassRecorder recorder_;
    MenuBarModel model_;
    MenuItem* paste_ = nullptr;
    MenuItem* selectAll_ = nullptr;
};

// A top-level window, shown and active, that lays out the widgets added to
// it; `other` is a plain widget that can take the focus away.
class HostWindow {
public:
    HostWindow() : other_(new QWidget) {
        other_->setFocusPolicy(Qt::StrongFocus);
        new QVBoxLayout(&window_);
        Add(other_);
    }

    template <typename W>
    W* Add(W* widget) {
        window_.layout()->addWidget(widget);
        return widget;
    }

    bool Show() {
        window_.show();
        window_.activateWindow();
        return QTest::qWaitForWindowActive(&window_);
    }

    QWidget& Window() { return window_; }
    QWidget* Other() const { return other_; }

private:
    QWidget window_;
    QWidget* other_;
};

}  // namespace ostrel::test
