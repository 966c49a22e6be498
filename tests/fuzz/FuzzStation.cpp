#include "fuzz/FuzzStation.h"

#include <algorithm>

#include "platform/forms/UserInput.h"
#include "platform/ini/PrivateProfile.h"
#include "shell/LanguageTable.h"
#include "support/SourceTree.h"

namespace vs::fuzz {

namespace {

// The lines of section `name` up to the next section header ("" when it is missing).
std::string_view SectionBlock(std::string_view file, std::string_view name) {
  const std::string header = "[" + std::string(name) + "]";
  std::size_t at = 0;
  while (at < file.size() && file.compare(at, header.size(), header) != 0) {
    at = file.find('\n', at);
    at = at == std::string_view::npos ? file.size() : at + 1;
  }
  std::size_t end = at;
  do {
    end = file.find('\n', end);
    end = end == std::string_view::npos ? file.size() : end + 1;
  } while (end < file.size() && file[end] != '[');
  return file.substr(at, end - at);
}

void CheckShown(const plat::Control& c) {
  if (const auto* l = dynamic_cast<const plat::Label*>(&c)) CheckUtf8(l->Caption());
  if (const auto* t = dynamic_cast<const plat::TextBox*>(&c)) CheckUtf8(t->Text());
  if (const auto* b = dynamic_cast<const plat::CommandButton*>(&c)) CheckUtf8(b->Caption());
  if (const auto* o = dynamic_cast<const plat::OptionButton*>(&c)) CheckUtf8(o->Caption());
  if (const auto* k = dynamic_cast<const plat::CheckBox*>(&c)) CheckUtf8(k->Caption());
  if (const auto* f = dynamic_cast<const plat::Frame*>(&c)) CheckUtf8(f->Caption());
  if (const auto* b = dynamic_cast<const plat::ComboBox*>(&c)) CheckUtf8(b->Text());
  if (const auto* l = dynamic_cast<const plat::ListControl*>(&c)) {
    for (int i = 0; i < l->ListCount(); ++i) CheckUtf8(l->List(i));
  }
  CheckUtf8(c.ToolTipText());
}

}  // namespace

plat::test::TempFolder ScratchFolder(std::string_view prefix) {
  const std::filesystem::path memory = "/dev/shm";
  std::error_code ec;
  if (!std::filesystem::is_directory(memory, ec)) return plat::test::TempFolder(prefix);
  // An absolute prefix takes the place of the temporary folder.
  return plat::test::TempFolder((memory / prefix).string());
}

void CheckLinkState(const LinkState& l, const GasState& g) {
  Check(l.McnRsStatus1 >= 0 && l.McnRsStatus1 <= 255);
  CheckUtf8(l.InstrMake, l.InstrModel, l.InstrHomologation, l.InstrSerial, l.InstrExpiry,
            l.InstrVersion, l.McnIdField7, l.GasCheckExpiry, l.McnFuelText, l.McnSaField3,
            l.McnStrokes, l.McnHcRatio, l.McnOcRatio, l.McnLiField1, l.McnEtFlag, l.McnEtDate,
            l.McnEtTime, l.McnEhField1, l.OpaValueText5, l.OpaValueText6, l.OpaValueText7,
            l.OpaLuStatus1, l.OpaLuStatus2, l.RpmReplyText1, l.RpmReplyText2, l.GasSerialNumber,
            g.GasFirmwareVersion);
}

FuzzStation::FuzzStation() : dir_(ScratchFolder("vs-fuzz")) {
  plat::Runtime& rt = p.rt;
  rt.currentDirectory = rt.programFolder = dir_.path();
  std::filesystem::copy_file(plat::test::DataFolder() / "Lingua.ini", dir_ / "Lingua.ini");
  shippedConf_ = plat::test::ReadBytes(plat::test::DataFolder() / "Conf.ini");
  rt.forms.addObserver(this);
  rt.forms.setMessageBoxPresenter(this);
  rt.forms.setPrinter(this);
  rt.forms.modalTimeLimit = 60'000;  // a box nobody closes: a hang, found after a manual minute
  rt.app.setProgramStarter([](const std::string&, const std::vector<std::string>&) {});
  // Every port is a line in memory: the instruments' three, the others unplugged.
  for (int port = 1; port <= 16; ++port) {
    auto line = rt.serial.attachMemory(port);
    line->setAvailable(port <= kRpmPort);
    if (port == kGasPort) gasLine = line;
    if (port == kSmokePort) smokeLine = line;
    if (port == kRpmPort) rpmLine = line;
  }
}

FuzzStation::~FuzzStation() {
  Unplug();
  p.rt.forms.removeObserver(this);
  p.rt.forms.setMessageBoxPresenter(nullptr);
  p.rt.forms.setPrinter(nullptr);
  p.rt.app.setProgramStarter(nullptr);
}

void FuzzStation::Prepare(std::initializer_list<ConfKey> keys, std::int16_t language, bool italian,
                          bool externRpm, bool externOilTemp) {
  const std::initializer_list<ConfKey> station = {
      {"COMKYMRA", "TCOM", std::to_string(kGasPort)},
      {"COMKYMRA", "TBRate", "2"},
      {"COMOPA", "TCOM", std::to_string(kSmokePort)},
      {"COMOPA", "TBRate", "2"},
      {"RPM", "TCOMrpm", std::to_string(kRpmPort)},
      {"RPM", "TBRaterpm", "2"},
      {"RPM", "ExternRPM", externRpm ? "1" : "0"},
      {"RPM", "ExternToil", externOilTemp ? "1" : "0"},
  };
  std::string id;
  for (const auto& list : {station, keys}) {
    for (const ConfKey& k : list) id += std::string(k.section) + k.key + "=" + k.value + '\n';
  }
  auto [made, fresh] = confs_.try_emplace(id, shippedConf_);
  if (fresh) {
    for (const auto& list : {station, keys}) {
      for (const ConfKey& k : list) {
        made->second = plat::WithProfileValue(made->second, k.section, k.key, k.value);
      }
    }
  }
  preparedConf_ = made->second;
  plat::test::WriteBytes(dir_ / "Conf.ini", preparedConf_);

  // What the start menu loads at start.
  ShellState& s = p.shell;
  p.rt.regional = italian ? plat::RegionalSettings::Italian() : plat::RegionalSettings::English();
  s.GasComPort = kGasPort;
  s.OpaComPort = kSmokePort;
  s.RpmComPort = kRpmPort;
  s.GasBaudIndex = s.OpaBaudIndex = s.RpmBaudIndex = 2;
  s.ExternRpm = externRpm ? 1 : 0;
  s.ExternOilTemp = externOilTemp ? 1 : 0;
  auto& texts = texts_.at(static_cast<std::size_t>(language & 3));
  if (!texts) {
    LoadLanguageTexts(s, dir_.path(), language);
    texts = s.LangText;
  }
  s.LangText = *texts;
  s.LanguageCode = language;
  answer = plat::MsgBoxResult::OK;
}

std::string FuzzStation::Conf() const { return plat::test::ReadBytes(dir_ / "Conf.ini"); }

bool FuzzStation::OtherSettingsKept(std::initializer_list<std::string_view> own) const {
  const std::string now = Conf();
  if (now == preparedConf_) return true;
  for (const std::string& name : plat::SectionNamesIn(preparedConf_)) {
    if (std::ranges::find(own, name) != own.end()) continue;
    if (SectionBlock(now, name) != SectionBlock(preparedConf_, name)) return false;
  }
  return true;
}

sim::Instrument& FuzzStation::Plug(plat::MemoryDevice& line, sim::Device device,
                                   sim::Protocol protocol, int model) {
  Unplug();
  instrument = std::make_unique<sim::Instrument>(device, protocol, model);
  instrument->send = [this](std::string_view bytes) { replies.emplace_back(bytes); };
  line.onWrite = [this](std::string_view bytes) { instrument->received(bytes); };
  line_ = &line;
  return *instrument;
}

void FuzzStation::Unplug() {
  // What the program wrote is kept by a line until read: a million inputs' worth would fill
  // the memory.
  for (const auto& line : {gasLine, smokeLine, rpmLine}) (void)line->takeWritten();
  if (line_ != nullptr) line_->onWrite = nullptr;
  line_ = nullptr;
  replies.clear();
}

void FuzzStation::Send(std::string_view bytes) {
  line_->send(bytes);
  p.rt.loop.processPending();
}

void FuzzStation::Advance(plat::Millis ms) { p.rt.loop.advance(ms); }

bool FuzzStation::Quiet() const {
  return p.rt.forms.modalDepth() == 0 && p.rt.forms.openMessageBox() == nullptr;
}

void FuzzStation::controlChanged(plat::Control& c, plat::Prop prop) {
  using enum plat::Prop;
  if (prop == Caption || prop == Text || prop == List || prop == ToolTipText) CheckShown(c);
}

void FuzzStation::formChanged(plat::Form& f, plat::Prop prop) {
  if (prop == plat::Prop::Caption) CheckUtf8(f.Caption());
}

void FuzzStation::modalStarted(plat::Form& f) {
  // The operator reads the form and presses Enter; a form that takes no Enter is closed.
  p.rt.loop.post([&f] {
    if (f.IsLoaded() && f.Visible() && !plat::input::pressKey(f, plat::KeyPress::Enter())) {
      f.Unload();
    }
  });
}

void FuzzStation::open(plat::MessageBox& box) {
  const plat::MessageBoxRequest& r = box.request();
  CheckUtf8(r.text, r.title);
  const plat::MsgBoxResult result =
      r.buttons == plat::MsgBoxButtons::OK ? plat::MsgBoxResult::OK : answer;
  p.rt.loop.post([&box, result] { box.answer(result); });
}

void FuzzStation::printForm(plat::Form&, int) {}

}  // namespace vs::fuzz
