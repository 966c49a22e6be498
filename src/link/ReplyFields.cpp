#include "link/ReplyFields.h"

#include <cmath>

#include "link/MctcNetFrame.h"
#include "platform/text/Cp1252.h"
#include "platform/text/Numbers.h"

namespace vs {

std::optional<std::string_view> ReplyDataText(std::string_view frame, int commandLen, int unitLen) {
  if (commandLen < 0 || unitLen < 0) return std::nullopt;
  const std::size_t header =
      10 + static_cast<std::size_t>(commandLen) + static_cast<std::size_t>(unitLen);
  if (frame.size() < header) return std::nullopt;
  return frame.substr(header - 3, frame.size() - header);
}

bool ReplyFields::Cut(std::string_view frame, int commandLen, int unitLen, std::string& work) {
  work.clear();
  const auto data = ReplyDataText(frame, commandLen, unitLen);
  if (!data) return false;
  work.assign(*data);
  work += kEtb;
  work += kEtb;
  return true;
}

bool ReplyFields::Next(std::string_view& field) {
  const std::size_t end = pos_ > work_.size() ? std::string_view::npos : work_.find(kEtb, pos_);
  if (end == std::string_view::npos) {
    pos_ = work_.size() + 1;
    return false;
  }
  field = work_.substr(pos_, end - pos_);
  pos_ = end + 1;
  return true;
}

std::optional<double> FieldNumber(std::string_view field) {
  const double v = plat::LeadingNumber(field);
  if (!std::isfinite(v)) return std::nullopt;
  return v;
}

std::string FieldText(std::string_view field) { return plat::Cp1252ToUtf8(field); }

}  // namespace vs
