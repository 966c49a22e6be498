// The simulated instruments' replies that no form test asks for: the leak test's pressure,
// the binary gas analyser of model 2 and the model-0 opacimeter's auto-zero.
#include <gtest/gtest.h>

#include <string>

#include "link/MctcNetFrame.h"
#include "link/OwnProtocolFrame.h"
#include "sim/Instrument.h"

namespace vs::sim {
namespace {

// What the instrument writes on the line for one request.
std::string Answer(Instrument& i, const std::string& request) {
  std::string out;
  i.send = [&](std::string_view bytes) { out += bytes; };
  i.received(request);
  return out;
}

// Bytes written as blank-separated hexadecimal pairs.
std::string Hex(std::string_view text) {
  std::string s;
  for (std::size_t i = 0; i + 1 < text.size(); i += 3) {
    s += static_cast<char>(std::stoi(std::string(text.substr(i, 2)), nullptr, 16));
  }
  return s;
}

// A binary reply: STX, address, ACK, the command, 0, N (data bytes + 2), the data, the
// byte that makes the sum of the frame a multiple of 256 (the program does not check it),
// ETX.
std::string Binary(int address, char command, std::string_view hexData) {
  std::string f{'\x02', static_cast<char>(address), '\x06', command, '\0'};
  const std::string data = Hex(hexData);
  f += static_cast<char>(data.size() + 2);
  f += data;
  int sum = 0;
  for (const char c : f) sum += static_cast<unsigned char>(c);
  f += static_cast<char>((256 - sum % 256) % 256);
  return f + '\x03';
}

TEST(SimConversationTest, RepliesNoFormTestAsksFor) {
  Instrument gas(Device::Gas, Protocol::Mctc);
  gas.gas.pressure = 12.5;
  EXPECT_EQ(Answer(gas, BuildMctcNetFrame("GAS", "@LS", "1", "")), MctcReply("GAS", "@LS", "12.5"));

  // Model 2: its own address and channel numbers; oil 85.000 and the extended HC raw value
  // in 24 bits, lambda, rpm, CO, CO2, HC, O2 in 16.
  Instrument model2(Device::Gas, Protocol::Binary, 2);
  EXPECT_EQ(Answer(model2, BuildOwnProtocolFrame(33, 'P', "")),
            Binary(33, 'P',
                   "03 00 01 4C 08 09 00 3F FF FF 0B 00 00 03 EA 08 00 00 03 52 "
                   "07 00 00 00 78 06 00 00 38 A4 05 00 00 00 78 02 00 00 03 20"));
  EXPECT_EQ(Answer(model2, BuildOwnProtocolFrame(49, '?', "")), "");  // model 0's address

  // The model-0 opacimeter: 'E' gives two auto-zero status replies, then ready.
  Instrument opa(Device::Opacimeter, Protocol::Binary, 0);
  EXPECT_EQ(Answer(opa, BuildOwnProtocolFrame(81, 'E', "")), Binary(81, 'E', ""));
  for (const char* status : {"48 00 10 00 C8", "48 00 10 00 C8", "80 00 10 00 C8"}) {
    EXPECT_EQ(Answer(opa, BuildOwnProtocolFrame(81, '?', "")), Binary(81, '?', status));
  }
}

}  // namespace
}  // namespace vs::sim
