#pragma once
// Where a transfer stands. The values are fixed because the window reads them
// through GetStage(); every value from FirstTerminal on means the transfer
// has ended.

namespace ostrel::TransferStage {

inline constexpr int New = 0;         // constructed, not started
inline constexpr int Running = 1;     // request sent, blocks moving
inline constexpr int FinalBlock = 2;  // last block sent (awaiting its ACK) or received (lingering)
inline constexpr int Succeeded = 11;
inline constexpr int Failed = 12;

inline constexpr int FirstTerminal = 10;

constexpr bool HasEnded(int stage) { return stage >= FirstTerminal; }

}  // namespace ostrel::TransferStage
