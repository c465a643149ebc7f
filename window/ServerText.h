#pragma once
// Turns bytes that came from the network (a TFTP server's error message) into
// text that is safe to show on one line. The bytes carry no declared
// encoding: they are read as UTF-8, with anything invalid shown as U+FFFD,
// up to the zero byte that ends a TFTP message.
// Line breaks and tabs become spaces; other control characters, and the
// invisible formatting characters that could reorder or hide what is shown
// (bidirectional overrides, zero-width characters), become U+FFFD, so that
// nothing the server sends is silently lost or able to disguise itself.

#include <QString>

#include <string>

namespace ostrel {

class ServerText {
public:
    static QString ForDisplay(const std::string& bytes);
};

}  // namespace ostrel
