#pragma once
// A control that takes part in group dimming: while a transfer runs, and
// after a successful one, the transfer window walks its controls and dims
// every one that implements this interface. Each control decides for itself
// what dimmed means (read-only for text fields, disabled for buttons and the
// file label). Calling DimMe twice with the same value equals calling it once.

namespace ostrel {

class TFTP_Dimmer {
public:
    virtual ~TFTP_Dimmer() = default;
    virtual void DimMe(bool dim) = 0;
};

}  // namespace ostrel
