#pragma once
// Program-wide state of the engine-speed measurement. The counter's settings are a section
// of "Conf.ini" (ShellState, RpmSettings); its exchange header, the watchdog's reply flag
// and miss count and its last readings (ExternalRpmReading) are the link's (LinkState). The
// engine-speed form's own conversation is a form variable (rpm/RpmPoll.h).
namespace vs {

struct RpmState {};

}  // namespace vs
