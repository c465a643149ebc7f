#include "controls/TextRelay.h"

#include "controls/EditKeys.h"
#include "platform/gui/MenuBarModel.h"

namespace ostrel {

void TextRelay::Open() {
    if (opened_)
        return;
    opened_ = true;
    trackedText_ = Text();
    trackedSelStart_ = SelStart();
    trackedSelLength_ = SelLength();
    lastValue_ = trackedText_;
    Event_Open();
}

QString TextRelay::ValueAfterKey(const QString& key) const {
    return EditKeys::ValueAfterKey(Text(), SelStart(), SelLength(), key);
}

void TextRelay::EnableMenuItems() {
    Event_EnableMenuItemsTwo();
}

bool TextRelay::Event_KeyDown(const QString& key) {
    return keyDownHandler_ ? keyDownHandler_(key) : false;
}

void TextRelay::RelayFocusIn(Qt::FocusReason reason) {
    if (reason == Qt::MouseFocusReason && !hasFocus_) {
        focusAwaitsPress_ = true;
        return;
    }
    GainFocus();
}

void TextRelay::RelayFocusOut(Qt::FocusReason reason) {
    if (reason == Qt::PopupFocusReason)
        return;
    focusAwaitsPress_ = false;
    if (!hasFocus_)
        return;
    hasFocus_ = false;
    Event_LostFocus();
}

void TextRelay::RelayMousePressed() {
    if (focusAwaitsPress_)
        GainFocus();
}

void TextRelay::GainFocus() {
    focusAwaitsPress_ = false;
    if (hasFocus_)
        return;
    hasFocus_ = true;
    Event_GotFocus();
    RefreshMenus();
}

bool TextRelay::RelayKeyDown(const QString& key) {
    // A key reaching the field before any press completes a focus gained by
    // a click whose press went elsewhere.
    if (focusAwaitsPress_)
        GainFocus();
    return Event_KeyDown(key);
}

void TextRelay::RelaySelectionMoved() {
    const int start = SelStart();
    const int length = SelLength();
    if (start == trackedSelStart_ && length == trackedSelLength_)
        return;
    trackedSelStart_ = start;
    trackedSelLength_ = length;
    if (disableSelChange_)
        return;
    Event_SelChange();
    if (hasFocus_)
        RefreshMenus();
}

void TextRelay::RelayContentsChanged() {
    QString text = Text();
    if (text == trackedText_)
        return;
    trackedText_ = std::move(text);
    if (!disableTextChange_) {
        Event_TextChange();
        if (hasFocus_)
            RefreshMenus();
    }
    // Read again: the owner may have edited the text while handling the change.
    if (!disableLastValue_)
        lastValue_ = Text();
}

void TextRelay::RefreshMenus() {
    MenuBarModel::EnableMenuItems();
}

}  // namespace ostrel
