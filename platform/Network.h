#pragma once
// Name lookup and random numbers, through the current backend.

#include <functional>
#include <string>

namespace ostrel::Network {

// The numeric address, as text, for a host name or an address literal; empty
// when it cannot be resolved. IPv4-mapped IPv6 results read as dotted IPv4.
std::string LookupIPAddress(const std::string& host);

// The same result, without blocking on a slow resolver: `done` runs inside
// this call when the answer is at hand (address literals), otherwise later on
// the event loop, and exactly once either way.
void LookupIPAddressLater(const std::string& host, std::function<void(std::string)> done);

}  // namespace ostrel::Network

namespace ostrel::Random {

// An integer from low to high inclusive.
int InRange(int low, int high);

}  // namespace ostrel::Random
