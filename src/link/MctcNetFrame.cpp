#include "link/MctcNetFrame.h"

namespace vs {

std::string ComputeMctcNetChecksum(std::string_view frame) {
  unsigned sum = 0;
  for (std::size_t i = 1; i < frame.size(); ++i) sum += static_cast<unsigned char>(frame[i]);
  static constexpr char kHex[] = "0123456789ABCDEF";
  const unsigned b = sum & 0xFFu;
  return {kHex[b >> 4], kHex[b & 0xFu], kEtx};
}

std::string BuildMctcNetFrame(std::string_view address, std::string_view command,
                              std::string_view unit, std::string_view data) {
  std::string frame;
  frame.reserve(10 + address.size() + unit.size() + command.size() + data.size());
  frame += kStx;
  frame += address;
  frame += kEtb;
  frame += unit;
  frame += kEtb;
  frame += command;
  if (!data.empty()) {
    frame += kEtb;
    frame += data;
  }
  frame += ComputeMctcNetChecksum(frame);
  return frame;
}

}  // namespace vs
