#pragma once
// The MCTC-NET text frame: STX, address, ETB, unit, ETB, command, [ETB, data], two
// upper-case hexadecimal checksum digits, ETX. Frames are byte strings.
#include <string>
#include <string_view>

namespace vs {

inline constexpr char kStx = '\x02';
inline constexpr char kEtx = '\x03';
inline constexpr char kAck = '\x06';
inline constexpr char kEtb = '\x17';

// The two checksum digits of the frame built so far (STX through the last data byte),
// followed by ETX: the sum of every byte after STX, its low byte in hexadecimal.
std::string ComputeMctcNetChecksum(std::string_view frame);

// The whole request frame. data "" adds no ETB after the command.
std::string BuildMctcNetFrame(std::string_view address, std::string_view command,
                              std::string_view unit, std::string_view data);

}  // namespace vs
