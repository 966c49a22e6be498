#pragma once
// A line of a test window's reading log ("gas.log", "smoke.log") that could not be written.
// The window goes on measuring and writes the next line as usual, so logging comes back by
// itself once the disk takes it again. The operator is told once per opening of the window
// (`told`, which the window's load step clears), in an exclamation box naming the file and
// the system's reason. The box opens after the current step: a box keeps serial events
// running, and one opened inside the receive step would let the next reply be handled
// under it.
#include <filesystem>
#include <string>

namespace vs {

class Program;

void TellLogNotWritten(Program& p, bool& told, const std::filesystem::path& file,
                       const std::string& reason);

}  // namespace vs
