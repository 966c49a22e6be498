#pragma once
// The field splitting that every MCTC-NET reply parser shares. The data text of a reply
// is cut from the whole frame by the header lengths, two ETB are appended, and the fields
// are read one after the other up to the next ETB. Every cut is checked: one that cannot
// be made is the parser's failure.
#include <optional>
#include <string>
#include <string_view>

namespace vs {

// The data text of a frame: from position 8 + unitLen + commandLen, frame length - 10 -
// unitLen - commandLen bytes long. nullopt when the frame is too short for its header.
std::optional<std::string_view> ReplyDataText(std::string_view frame, int commandLen, int unitLen);

class ReplyFields {
 public:
  // work (McnReplyWork) := "", then the data text followed by ETB ETB. Returns false,
  // with work left empty, when the data text cannot be cut.
  static bool Cut(std::string_view frame, int commandLen, int unitLen, std::string& work);

  explicit ReplyFields(std::string_view work) : work_(work) {}

  // The next field; false when no ETB closes it.
  bool Next(std::string_view& field);

 private:
  std::string_view work_;
  std::size_t pos_ = 0;
};

// The leading number of a field ("." only, 0 when there is none); nullopt when it does
// not fit a double.
std::optional<double> FieldNumber(std::string_view field);

// A field as a text of the program (Windows-1252 to UTF-8).
std::string FieldText(std::string_view field);

}  // namespace vs
