#pragma once
// The port events other than a receive, by their numbers, and whether the gas and smoke test
// forms beep for each: the time-outs, overrun, receive-buffer overflow, a full transmit buffer
// and any unknown code do; sent data, the line changes, ring, end-of-file, break, framing and
// parity errors do not.
namespace plat::test {

struct LineEventRow {
  int code;
  bool beeps;
};

inline constexpr LineEventRow kLineEventRows[] = {
    {1, false},    {3, false},    {4, false},   {5, false},    {6, false},   {7, false},
    {1001, false}, {1002, true},  {1003, true}, {1004, false}, {1005, true}, {1006, true},
    {1007, true},  {1008, false}, {1009, true}, {1010, true},  {0, true},    {-1, true},
};

}  // namespace plat::test
