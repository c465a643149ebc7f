#pragma once
// A push button carrying two help texts, one for its enabled and one for its
// disabled state. The button does nothing with them itself: its owner copies
// the one that matches the state into the tool tip whenever it enables or
// disables the button. Not part of group dimming.

#include <QPushButton>

namespace ostrel {

class PushButton_Glue : public QPushButton {
    Q_OBJECT
public:
    explicit PushButton_Glue(QWidget* parent = nullptr);
    explicit PushButton_Glue(const QString& caption, QWidget* parent = nullptr);

    QString BalloonHelp() const { return balloonHelp_; }
    void SetBalloonHelp(const QString& help) { balloonHelp_ = help; }
    QString DisabledBalloonHelp() const { return disabledBalloonHelp_; }
    void SetDisabledBalloonHelp(const QString& help) { disabledBalloonHelp_ = help; }

private:
    QString balloonHelp_;
    QString disabledBalloonHelp_;
};

}  // namespace ostrel
