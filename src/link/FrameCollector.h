#pragma once
// How every form that owns a serial port collects MCTC-NET reply frames from the bytes
// that arrive, each form with its own buffer.
#include <string>
#include <string_view>

namespace vs {

struct LinkState;

// Appends received input to a form's buffer. The test forms (dropLoneByte) then empty a
// buffer that holds one byte other than STX. Returns false when there was no input.
// Longest receive buffer kept while waiting for ETX.
inline constexpr std::size_t kMaxReplyBuffer = 4096;
bool AppendReceived(std::string& buffer, std::string_view input, bool dropLoneByte);

// The header a form expects in a reply: the address and the lengths of the unit and of
// the command it sent.
struct McnExpect {
  std::string_view address;
  int unitLen = 0;
  int commandLen = 0;
};

struct McnCollected {
  enum class Status {
    Waiting,   // the buffer does not end in ETX yet; it is kept
    Dropped,   // a whole frame with the wrong address or no ETB after it; buffer emptied
    Accepted,  // a frame with the expected header; buffer emptied
  };
  Status status = Status::Waiting;
  std::string frame;  // Accepted: the frame, STX to ETX, for the parsers
  std::string echo;   // Accepted: commandLen bytes from position 7 + unitLen
  std::string data;   // Accepted: the data text ("" when the frame has none)
};

// Judges a buffer that input has just been appended to. A buffer ending in ETX is always
// emptied. When it holds the header STX, address, ETB again after its start (the rest of
// a late reply joined to the reply of the repeated request), everything before the last
// such header is dropped first. Neither the checksum nor the unit is checked.
McnCollected CollectMctcNetFrame(std::string& buffer, const McnExpect& expect);

// The receive step of the gas and smoke test forms in MCTC-NET: counts every frame in
// ReplyFrameCount, expects McnAddress and the lengths of the exchange, and drops a frame
// whose echo is not McnCommand. The caller has appended the input (AppendReceived with
// dropLoneByte, shared with the binary protocol).
McnCollected CollectTestFormReply(LinkState& link, std::string& buffer);

// The set-up forms of the gas analyser and the opacimeter and the recognition form:
// append, then collect against McnAddress and the exchange's lengths. The echo is theirs
// to act on.
McnCollected CollectSetupReply(const LinkState& link, std::string& buffer, std::string_view input);

// The engine-speed form and its set-up: append, then collect against the counter's own
// exchange (RpmMcnAddress and its lengths).
McnCollected CollectRpmReply(const LinkState& link, std::string& buffer, std::string_view input);

}  // namespace vs
