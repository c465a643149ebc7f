#pragma once
// A multi-line styled field that shows a text written in a small tag
// language: <B>…</B> bold, <I>…</I> italic, <U>…</U> underlined and
// <A HREF="target">…</A> a link (underlined, blue). Tags are found without
// regard to case. Clicking inside a link's text hands its target to the
// system (ShowURL). The text itself is always taken as plain characters;
// nothing but these four tag kinds is interpreted.
//
// Formatting works inside the field's own styled text: each kind in turn is
// styled with its tags still in place and then the tags are cut out, so the
// style stays on the characters between them. Tags of one kind do not nest;
// different kinds nest and overlap freely. Links are converted last, so the
// positions in the link table are positions in the finished text.
//
// A click is a selection change to an empty selection while the mouse is
// over the field and no key was pressed since the previous selection change.
// A press at the current insertion point counts as well, so the same link
// can be opened again.

#include "controls/TextAreaTFTP.h"

#include <QColor>

#include <functional>
#include <vector>

namespace ostrel {

class Formatting_EditField : public TextAreaTFTP {
    Q_OBJECT
public:
    // Opens a link target with the system's default application.
    using ShowURLFunction = std::function<void(const QString& target)>;

    explicit Formatting_EditField(QWidget* parent = nullptr);

    // Replaces the text (an ordinary text change) and formats it.
    void SetText(const QString& text);
    // One formatting pass over the current text.
    void FormatMe();
    // The text as it was before the latest formatting pass, tags included.
    QString GetUnformattedText() const { return unformattedText_; }
    // Removes `length` characters from the one-based `position` through the
    // selection; the styles of the other characters stay.
    void DeleteText(int position, int length);

    // The ShowURL seam: every field hands link targets to this function
    // (QDesktopServices::openUrl until replaced; null restores that).
    static void SetShowURL(ShowURLFunction showURL);
    static void ShowURL(const QString& target);

signals:
    void MouseEnter();
    void MouseExit();
    void MouseMove(int x, int y);

protected:
    // Converts the link whose opening tag starts at `start` and whose closing
    // tag starts at `closePos` (both one-based). When the tag is well formed
    // it cuts both tags, styles the link text, adds a link table entry and
    // moves closePos to the link text's last character; otherwise it changes
    // nothing.
    void ProcessLink(int start, int& closePos, const QString& closeTag);
    // Opens the link under the insertion point, if any.
    void ProcessClick();
    // Resets the window's and the field's mouse cursor when the window has
    // one set.
    void ProcessMouseMove(int x, int y);

    // Open as this class offers it: after Quote and Blue are set, before the
    // first formatting pass.
    virtual void OfferOpen();

    void Event_Open() override;
    bool Event_KeyDown(const QString& key) override;
    void Event_SelChange() override;

    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

    // The link table, one entry per link in text order.
    std::vector<int> linkStartPos_;  // one-based position of the link text's first character
    std::vector<int> linkEndPos_;    // one-based position of its last character
    std::vector<QString> link_;      // its target, exactly as written between the quotes
    QString quote_;
    QColor blue_ = QColor(Qt::black);
    bool mousePresent_ = false;
    bool keyPressed_ = false;
    QString unformattedText_;

private:
    enum class Style { Bold, Italic, Underline, Link };
    static Style StyleNamed(const QString& name);

    void FormatKind(const QString& openTag, const QString& closeTag, Style style);
    void ApplyStyleToSelection(Style style);
    // One-based position of the first occurrence of `what` that begins at or
    // after the one-based position `from`, 0 when there is none.
    int Find(const QString& what, int from) const;
    void TakeAsClick();

    int selChangesOffered_ = 0;
    int formattingPasses_ = 0;
};

}  // namespace ostrel
