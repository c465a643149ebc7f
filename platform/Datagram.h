#pragma once
// A UDP datagram as the engine sees it: the peer's numeric address in text
// form, the peer's port, and the payload as raw bytes.

#include <string>

namespace ostrel {

struct Datagram {
    std::string Address;  // numeric address text, as LookupIPAddress returns it
    int Port = 0;
    std::string Data;     // raw bytes, no text encoding
};

}  // namespace ostrel
