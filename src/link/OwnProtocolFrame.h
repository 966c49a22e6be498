#pragma once
// The maker's binary frame. Request: STX, address, 0, command, 0, LEN (data bytes + 2),
// data, checksum, ETX. Reply: STX, address, ACK, echoed command, any, N (data bytes + 2),
// data, checksum (not examined), ETX.
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace vs {

// The byte that makes STX through the checksum add up to a multiple of 256.
std::int16_t ComputeOwnProtocolChecksum(int addr, int cmd, int len, std::string_view data);

// The whole request frame. addr and cmd are byte values; data holds at most 253 bytes.
std::string BuildOwnProtocolFrame(int addr, int cmd, std::string_view data);

// OwnProtocolChannelList: the count 8 and the eight channels the next "P" reply reports.
std::string GasChannelList(int gasModelIndex, bool extendedHcRange);  // models 0 to 2
std::string OpaChannelList();                                         // models 0 to 4

enum class OwnReplyCheck {
  Waiting,   // incomplete: the buffer is kept for more input
  Dropped,   // rejected: the buffer has been emptied
  Complete,  // the buffer holds exactly one reply frame
};

// Judges the receive buffer of a binary exchange against the address byte and the
// command byte of the last request. A buffer longer than its frame is emptied, so a stray
// byte cannot stall the link.
OwnReplyCheck CheckOwnProtocolReply(std::string& buffer, int deviceAddress, int pendingCommand);

// Record k (from 0) of a measurement reply: channel byte and four value bytes.
std::optional<std::array<std::uint8_t, 5>> OwnProtocolRecord(std::string_view frame, int k);

}  // namespace vs
