#include "link/OwnProtocolFrame.h"

#include "link/MctcNetFrame.h"
#include "platform/core/Error.h"

namespace vs {
namespace {

unsigned char Byte(std::string_view s, std::size_t pos1) {
  return static_cast<unsigned char>(s[pos1 - 1]);
}

}  // namespace

std::int16_t ComputeOwnProtocolChecksum(int addr, int cmd, int len, std::string_view data) {
  int s = 2 + addr + cmd + len;
  for (const char c : data) s += static_cast<unsigned char>(c);
  return static_cast<std::int16_t>((256 - (s % 256 + 256) % 256) % 256);
}

std::string BuildOwnProtocolFrame(int addr, int cmd, std::string_view data) {
  if (addr < 0 || addr > 255 || cmd < 0 || cmd > 255 || data.size() > 253) {
    throw plat::RuntimeError(5, "Invalid procedure call or argument");
  }
  const int len = static_cast<int>(data.size()) + 2;
  std::string frame;
  frame.reserve(data.size() + 8);
  frame += kStx;
  frame += static_cast<char>(addr);
  frame += '\0';
  frame += static_cast<char>(cmd);
  frame += '\0';
  frame += static_cast<char>(len);
  frame += data;
  frame += static_cast<char>(ComputeOwnProtocolChecksum(addr, cmd, len, data));
  frame += kEtx;
  return frame;
}

std::string GasChannelList(int gasModelIndex, bool extendedHcRange) {
  if (gasModelIndex == 2) return {8, 3, 9, 11, 8, 7, 6, 5, 2};
  return {8, 10, static_cast<char>(extendedHcRange ? 18 : 13), 14, 12, 7, 6, 5, 2};
}

std::string OpaChannelList() { return {8, 3, 5, 6, 0, 2, 8, 1, 7}; }

OwnReplyCheck CheckOwnProtocolReply(std::string& buffer, int deviceAddress, int pendingCommand) {
  if (buffer.size() <= 7) return OwnReplyCheck::Waiting;
  if (Byte(buffer, 2) != deviceAddress || Byte(buffer, 3) != static_cast<unsigned char>(kAck) ||
      Byte(buffer, 4) != pendingCommand) {
    buffer.clear();
    return OwnReplyCheck::Dropped;
  }
  const std::size_t total = std::size_t{Byte(buffer, 6)} + 6;
  if (buffer.size() < total) return OwnReplyCheck::Waiting;
  if (buffer.size() > total || buffer[total - 1] != kEtx) {
    buffer.clear();
    return OwnReplyCheck::Dropped;
  }
  return OwnReplyCheck::Complete;
}

std::optional<std::array<std::uint8_t, 5>> OwnProtocolRecord(std::string_view frame, int k) {
  if (k < 0) return std::nullopt;
  const std::size_t start = 6 + 5 * static_cast<std::size_t>(k);
  if (frame.size() < 8 || start + 5 > frame.size() - 2) return std::nullopt;  // data bytes only
  std::array<std::uint8_t, 5> r{};
  for (std::size_t i = 0; i < 5; ++i) r[i] = static_cast<std::uint8_t>(frame[start + i]);
  return r;
}

}  // namespace vs
