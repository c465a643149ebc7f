#pragma once
// The edit-aware behaviour that the single-line field (TextFieldPlus) and
// the multi-line field (TextAreaPlus) share, kept apart from their Qt bases:
// it knows whether the field has the keyboard focus, keeps the text as it
// stood before the latest change, lets code that edits the field step by
// step mute the change notifications, and asks the menu bar to recompute its
// enabled items when the focused field's text or selection changes.
//
// Each notification is handled here first and then offered through an
// Event_ hook. The Qt classes implement the hooks by emitting their signals;
// subclasses override a hook to do their own work before or after offering
// the event further (by calling the base hook). KeyDown needs an answer, so
// its hook ends at an owner-settable handler instead of a signal.

#include "platform/gui/MenuCommandTarget.h"

#include <QString>
#include <Qt>

#include <functional>

namespace ostrel {

class TextRelay : public MenuCommandTarget {
public:
    // Answers a key press: true when the key is consumed (nothing is
    // inserted), false when the field processes it normally.
    using KeyDownHandler = std::function<bool(const QString& key)>;

    TextRelay() = default;
    TextRelay(const TextRelay&) = delete;
    TextRelay& operator=(const TextRelay&) = delete;

    // The field's opening: raised once, either by its window when the window
    // opens or, failing that, by the field's first show.
    void Open();
    bool IsOpen() const { return opened_; }

    bool HasFocus() const { return hasFocus_; }
    bool DisableTextChange() const { return disableTextChange_; }
    void SetDisableTextChange(bool disable) { disableTextChange_ = disable; }
    bool DisableSelChange() const { return disableSelChange_; }
    void SetDisableSelChange(bool disable) { disableSelChange_ = disable; }
    bool DisableLastValue() const { return disableLastValue_; }
    void SetDisableLastValue(bool disable) { disableLastValue_ = disable; }

    // The owner's answer to key presses; without one every key is processed
    // normally.
    void SetKeyDownHandler(KeyDownHandler handler) { keyDownHandler_ = std::move(handler); }

    // The field's text, and its selection in QString characters: SelStart is
    // the zero-based insertion point, SelLength the number of selected
    // characters.
    virtual QString Text() const = 0;
    virtual int SelStart() const = 0;
    virtual int SelLength() const = 0;
    // Selects `length` characters from `start`, or places the insertion point
    // at `start` when length is 0; clamped to the text.
    virtual void SetSelection(int start, int length) = 0;

    // The text the field would hold after `key` is pressed (see EditKeys).
    QString ValueAfterKey(const QString& key) const;

    // The menu bar's enabling pass reaching the focused field: offered as
    // EnableMenuItemsTwo.
    void EnableMenuItems() final;

protected:
    ~TextRelay() override = default;

    // The text as of the field's opening or its latest text change; while
    // TextChange is being handled it still holds the text before the change.
    const QString& LastValue() const { return lastValue_; }

    // --- the events as this layer offers them ---
    virtual void Event_Open() = 0;
    virtual void Event_GotFocus() = 0;
    virtual void Event_LostFocus() = 0;
    virtual bool Event_KeyDown(const QString& key);  // the owner's handler, else false
    virtual void Event_SelChange() = 0;
    virtual void Event_TextChange() = 0;
    virtual void Event_EnableMenuItemsTwo() = 0;

    // --- called by the Qt classes as the notifications arrive ---
    // A menu or other popup taking the keyboard for a moment is not a focus
    // change. Focus gained by a click counts once the click's press has been
    // handled (RelayMousePressed), so that an owner selecting the text on
    // GotFocus is not undone by the press placing the insertion point.
    void RelayFocusIn(Qt::FocusReason reason);
    void RelayFocusOut(Qt::FocusReason reason);
    void RelayMousePressed();
    bool RelayKeyDown(const QString& key);
    // The selection or insertion point may have moved; raises SelChange only
    // when it really did.
    void RelaySelectionMoved();
    // The contents may have changed; raises TextChange only when the text
    // really did (style-only changes are not text changes).
    void RelayContentsChanged();

private:
    static void RefreshMenus();
    void GainFocus();

    bool disableTextChange_ = false;
    bool hasFocus_ = false;
    QString lastValue_;
    bool disableSelChange_ = false;
    bool disableLastValue_ = false;

    bool opened_ = false;
    bool focusAwaitsPress_ = false;
    KeyDownHandler keyDownHandler_;
    QString trackedText_;
    int trackedSelStart_ = 0;
    int trackedSelLength_ = 0;
};

}  // namespace ostrel
