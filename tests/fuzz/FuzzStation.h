#pragma once
// What the fuzz targets share: the check that ends a run with a finding, and a station on
// the manual clock for the targets that drive the forms headless. The station is the
// program in a fresh folder with the shipped "Lingua.ini" and "Conf.ini", its instruments'
// ports on in-memory lines (gas analyser COM1, opacimeter COM2, engine-speed counter COM3),
// a simulated instrument on the line of the form under test whose replies the input lets
// through, changes or replaces, and an operator who answers every box and closes every
// modal form with Enter. Every text a form, a control or a box is given is checked to be
// whole UTF-8 as it is set.
#include <array>
#include <cstdint>
#include <filesystem>
#include <initializer_list>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "forms/Program.h"
#include "platform/serial/MemoryDevice.h"
#include "platform/text/Cp1252.h"
#include "sim/Instrument.h"
#include "support/TempFolder.h"

namespace vs::fuzz {

inline void Check(bool ok) {
  if (!ok) std::abort();
}

template <class... T>
void CheckUtf8(const T&... texts) {
  for (const std::string_view text : {std::string_view(texts)...}) Check(plat::IsUtf8(text));
}

// A fresh folder in memory where there is one (the settings' writes sync to disk, a
// thousand times a second while fuzzing), else in the temporary folder.
plat::test::TempFolder ScratchFolder(std::string_view prefix);

// The texts the link's parsers fill never hold a bare half of a UTF-8 sequence; a status is
// a byte.
void CheckLinkState(const LinkState& l, const GasState& g);

// One key of "Conf.ini" set for an input.
struct ConfKey {
  const char* section;
  const char* key;
  std::string value;
};

class FuzzStation : public plat::FormsObserver,
                    public plat::MessageBoxPresenter,
                    public plat::Printer {
 public:
  static constexpr int kGasPort = 1, kSmokePort = 2, kRpmPort = 3;

  FuzzStation();
  ~FuzzStation() override;
  FuzzStation(const FuzzStation&) = delete;
  FuzzStation& operator=(const FuzzStation&) = delete;

  // The station before a form opens: the shipped "Conf.ini" with `keys` changed, the screen
  // texts of `language` (0 to 3), numbers written the Italian or the English way, the
  // engine-speed counter switched in or not; the instruments on their ports at 9600 baud.
  void Prepare(std::initializer_list<ConfKey> keys, std::int16_t language, bool italian,
               bool externRpm, bool externOilTemp);
  // "Conf.ini" as it stands.
  std::string Conf() const;
  // True when every section of "Conf.ini" other than `own` (the form's own ones) holds the
  // lines it held before the form opened: no reply reaches another part's settings.
  bool OtherSettingsKept(std::initializer_list<std::string_view> own) const;

  // A fresh simulated instrument on `line`: it reads every request the form writes there
  // and keeps its replies in `replies` until the input decides what reaches the form.
  sim::Instrument& Plug(plat::MemoryDevice& line, sim::Device device, sim::Protocol protocol,
                        int model);
  void Unplug();

  // The instrument's side of the line: bytes sent, delivered at once.
  void Send(std::string_view bytes);
  void Advance(plat::Millis ms);

  // A form's loop ended with no fault: every modal form and box it opened is closed.
  bool Quiet() const;

  Program p{plat::EventLoop::ClockKind::Manual};
  std::shared_ptr<plat::MemoryDevice> gasLine, smokeLine, rpmLine;
  std::unique_ptr<sim::Instrument> instrument;
  std::vector<std::string> replies;                    // the instrument's, not sent yet
  plat::MsgBoxResult answer = plat::MsgBoxResult::OK;  // to a box with OK and Cancel

  void controlChanged(plat::Control& c, plat::Prop prop) override;
  void formChanged(plat::Form& f, plat::Prop prop) override;
  void modalStarted(plat::Form& f) override;
  void open(plat::MessageBox& box) override;
  void printForm(plat::Form& form, int copies) override;

 private:
  plat::test::TempFolder dir_;
  plat::MemoryDevice* line_ = nullptr;  // the instrument's
  std::string shippedConf_, preparedConf_;
  // What each set of keys and each language made, kept: the inputs ask for few of them.
  std::map<std::string, std::string> confs_;
  std::array<std::optional<decltype(ShellState::LangText)>, 4> texts_;
};

}  // namespace vs::fuzz
