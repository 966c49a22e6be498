// A gas or smoke test with LOG ON whose program folder fills up: the test window runs on the
// manual clock against the simulated instrument (binary gas analyser, or MCTC-NET
// opacimeter), its reading log in FOLDER, meant to be a small file system of its own, e.g.
//
//   mount -t tmpfs -o size=64k tmpfs /mnt/small
//   bench_full_folder_logs gas /mnt/small [--seconds N]     (default 120 s of test time)
//
// A ballast file of 16 KiB is put beside the log first. When the log has filled the folder
// the ballast is removed, and the test goes on for 10 s more. Prints the boxes the operator
// saw, the log's lines, and any line that is not whole (the fields of its kind, CR LF).
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "forms/Program.h"
#include "platform/forms/UserInput.h"
#include "shell/LanguageKeys.h"
#include "sim/Instrument.h"

namespace {

namespace fs = std::filesystem;

// Answers each box two seconds after it opens, as an operator would, and keeps its text.
class Operator : public plat::MessageBoxPresenter {
 public:
  explicit Operator(plat::EventLoop& loop) : loop_(loop) {}
  void open(plat::MessageBox& box) override {
    texts.push_back(box.request().text);
    auto id = std::make_shared<plat::EventLoop::TimerId>(0);
    *id = loop_.startTimer(2000, [this, &box, id] {
      loop_.stopTimer(*id);
      box.answer(plat::MsgBoxResult::OK);
    });
  }
  std::vector<std::string> texts;

 private:
  plat::EventLoop& loop_;
};

void Write(const fs::path& file, const std::string& bytes) {
  std::ofstream(file, std::ios::binary) << bytes;
}

std::string Read(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3 || (std::strcmp(argv[1], "gas") != 0 && std::strcmp(argv[1], "smoke") != 0)) {
    std::fprintf(stderr, "usage: %s gas|smoke FOLDER [--seconds N]\n", argv[0]);
    return 2;
  }
  const bool gas = std::strcmp(argv[1], "gas") == 0;
  const fs::path folder = argv[2];
  double seconds = 120;
  if (argc == 5 && std::strcmp(argv[3], "--seconds") == 0) seconds = std::atof(argv[4]);

  std::string station = (fs::temp_directory_path() / "full-folder-XXXXXX").string();
  if (::mkdtemp(station.data()) == nullptr) {
    std::perror("mkdtemp");
    return 1;
  }
  fs::copy_file(fs::path(VS_SOURCE_DIR) / "data" / "Lingua.ini", fs::path(station) / "Lingua.ini");
  Write(fs::path(station) / "Conf.ini",
        "[COMKYMRA]\r\nTCOM=1\r\nTBRate=2\r\nNserie=AQ123456\r\nTModCom=1\r\n"
        "[MODKYMRA]\r\nModello=0\r\n[COMOPA]\r\nModello=OPA-735\r\nNserie=AQ4711\r\n"
        "[MODOPA]\r\nModello=5\r\nUnitOpa=0\r\n[LO]\r\nRN=800\r\nMX=4500\r\nON=50\r\nVK=2.5\r\n");

  vs::Program p(plat::EventLoop::ClockKind::Manual);
  p.rt.currentDirectory = station;
  p.rt.programFolder = folder;
  p.rt.loop.setLocalTime({2026, 12, 7, 9, 30, 0});
  Operator person(p.rt.loop);
  p.rt.forms.setMessageBoxPresenter(&person);
  p.shell.OpaComPort = 3;
  p.shell.OpaBaudIndex = 2;

  vs::sim::Instrument instrument(gas ? vs::sim::Device::Gas : vs::sim::Device::Opacimeter,
                                 gas ? vs::sim::Protocol::Binary : vs::sim::Protocol::Mctc,
                                 gas ? 0 : 5);
  instrument.setState(gas ? "ready" : "measuring");
  if (!gas) instrument.params = {{"020", "00016"}, {"021", "00001"}};
  vs::sim::Attach(instrument, p.rt.serial.attachMemory(gas ? 1 : 3), &p.rt.loop);

  p.menu.Show();  // deletes the logs
  const fs::path log = folder / (gas ? "gas.log" : "smoke.log");
  const fs::path ballast = folder / "ballast";
  Write(ballast, std::string(16 * 1024, 'b'));
  plat::input::pressKey(p.menu, plat::KeyPress::F(gas ? 1 : 3));
  p.rt.loop.advance(1000);
  plat::input::click(gas ? p.angas.Command7 : p.anfumo.Command7);  // LOG ON
  if (gas) plat::input::click(p.angas.Command1);                   // Start

  const auto measuring = [&] {
    const std::string& status = gas ? p.angas.Label5.Caption() : p.anfumo.Label2.Caption();
    return status == p.shell.LangText[vs::lang::ANFUMOMisura];
  };
  const auto requests = [&] { return instrument.requests.size(); };
  std::size_t fullAt = 0, freedAt = 0, freedLength = 0;
  int ticksMeasuring = 0, ticks = 0;
  const int total = static_cast<int>(seconds * 40);
  for (; ticks < total; ++ticks) {
    p.rt.loop.advance(25);
    ticksMeasuring += measuring() ? 1 : 0;
    if (fullAt == 0 && !person.texts.empty()) {
      fullAt = requests();
      std::printf("after %.1f s the log could not be written; told: \"%s\"\n", ticks / 40.0,
                  person.texts.back().c_str());
      std::printf("log length when the folder was full: %ju bytes\n",
                  static_cast<std::uintmax_t>(fs::file_size(log)));
    }
    if (fullAt != 0 && freedAt == 0 && ticks % 400 == 0 && requests() > fullAt + 100) {
      fs::remove(ballast);
      freedAt = requests();
      freedLength = fs::file_size(log);
      std::printf("ballast removed after %.1f s; the test runs 10 s more\n", ticks / 40.0);
    }
    if (freedAt != 0 && ticks % 400 == 0 && requests() > freedAt + 100) break;
  }

  const std::string bytes = Read(log);
  const std::size_t tabs = gas ? 10 : 7;
  std::size_t lines = 0, torn = 0;
  for (std::size_t at = 0; at < bytes.size();) {
    const std::size_t end = bytes.find("\r\n", at);
    const std::string line = bytes.substr(at, end == std::string::npos ? end : end - at);
    if (end == std::string::npos ||
        static_cast<std::size_t>(std::ranges::count(line, '\t')) != tabs || line.back() != ' ') {
      ++torn;
      std::printf("not whole: \"%s\"\n", line.c_str());
    }
    ++lines;
    at = end == std::string::npos ? bytes.size() : end + 2;
  }
  std::printf("%s test: %.1f s, %d ticks measuring, %zu requests answered\n", gas ? "gas" : "smoke",
              ticks / 40.0, ticksMeasuring, requests());
  std::printf("%s: %ju bytes, %zu lines (%zu after the ballast went), %zu not whole\n",
              log.filename().c_str(), static_cast<std::uintmax_t>(bytes.size()), lines,
              freedLength ? std::ranges::count(bytes.substr(freedLength), '\n') : std::size_t{0},
              torn);
  std::printf("boxes: %zu\n", person.texts.size());
  fs::remove_all(station);
  return torn == 0 && person.texts.size() == 1 && freedLength > 0 ? 0 : 1;
}
