#pragma once
// A one-line label for text of any length, such as a reason sent by a
// server: what does not fit is cut off with an ellipsis, and while it is cut
// the whole text is offered as the tool tip. The text is always plain text,
// in the label and in its tool tip, so mark-up in it is shown as typed.

#include <QLabel>

namespace ostrel {

class ElidedLabel : public QLabel {
    Q_OBJECT
public:
    explicit ElidedLabel(QWidget* parent = nullptr);

    // The text as drawn: the whole text, or its start and an ellipsis.
    QString ShownText() const;
    bool IsElided() const { return ShownText() != text(); }
    // The tool tip offered for the current text (rich text made from the
    // plain text), or empty when the whole text is on show.
    QString FullTextTip() const;

    QSize minimumSizeHint() const override;

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
};

}  // namespace ostrel
