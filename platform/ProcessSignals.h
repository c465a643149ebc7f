#pragma once
// Signals that would otherwise end the process for conditions a caller must
// see as ordinary errors: SIGPIPE (writing to a closed pipe or socket gives
// EPIPE instead) and SIGXFSZ (exceeding the file-size limit gives EFBIG).

namespace ostrel::ProcessSignals {

// Ignores both signals; safe to call any number of times.
void IgnoreFatalWriteSignals();

}  // namespace ostrel::ProcessSignals
