#include "link/FrameCollector.h"

#include "link/LinkState.h"
#include "link/MctcNetFrame.h"

namespace vs {

bool AppendReceived(std::string& buffer, std::string_view input, bool dropLoneByte) {
  if (input.empty()) return false;
  buffer += input;
  if (dropLoneByte && buffer.size() == 1 && buffer[0] != kStx) buffer.clear();
  // No instrument reply comes near this length: a buffer past it holds a line that never
  // sends ETX (noise, a wrong speed). Keep only its last frame start, so memory stays bounded.
  if (buffer.size() > kMaxReplyBuffer) {
    const std::size_t stx = buffer.rfind(kStx);
    if (stx == std::string::npos || buffer.size() - stx > kMaxReplyBuffer)
      buffer.clear();
    else
      buffer.erase(0, stx);
  }
  return true;
}

McnCollected CollectMctcNetFrame(std::string& buffer, const McnExpect& expect) {
  McnCollected out;
  if (buffer.empty() || buffer.back() != kEtx) return out;

  std::string header;
  header += kStx;
  header += expect.address;
  header += kEtb;
  const std::size_t last = buffer.rfind(header);
  if (last != std::string::npos && last > 0) buffer.erase(0, last);

  std::string frame;
  frame.swap(buffer);
  const bool headerOk =
      frame.size() >= 5 && frame.compare(1, 3, expect.address) == 0 && frame[4] == kEtb;
  if (!headerOk || expect.unitLen < 0 || expect.commandLen < 0) {
    out.status = McnCollected::Status::Dropped;
    return out;
  }
  const std::size_t u = static_cast<std::size_t>(expect.unitLen);
  const std::size_t c = static_cast<std::size_t>(expect.commandLen);
  if (6 + u < frame.size()) out.echo = frame.substr(6 + u, c);
  if (frame.size() >= 10 + u + c) out.data = frame.substr(7 + u + c, frame.size() - 10 - u - c);
  out.frame = std::move(frame);
  out.status = McnCollected::Status::Accepted;
  return out;
}

McnCollected CollectTestFormReply(LinkState& link, std::string& buffer) {
  if (buffer.empty() || buffer.back() != kEtx) return {};
  ++link.ReplyFrameCount;
  McnCollected got = CollectMctcNetFrame(
      buffer, {link.McnAddress, static_cast<int>(link.McnDevNumberLen), link.McnCommandLen});
  if (got.status == McnCollected::Status::Accepted && got.echo != link.McnCommand) {
    return {McnCollected::Status::Dropped, {}, {}, {}};
  }
  return got;
}

McnCollected CollectSetupReply(const LinkState& link, std::string& buffer, std::string_view input) {
  if (!AppendReceived(buffer, input, false)) return {};
  return CollectMctcNetFrame(
      buffer, {link.McnAddress, static_cast<int>(link.McnDevNumberLen), link.McnCommandLen});
}

McnCollected CollectRpmReply(const LinkState& link, std::string& buffer, std::string_view input) {
  if (!AppendReceived(buffer, input, false)) return {};
  return CollectMctcNetFrame(buffer, {link.RpmMcnAddress, static_cast<int>(link.RpmMcnDevNumberLen),
                                      link.RpmMcnCommandLen});
}

}  // namespace vs
