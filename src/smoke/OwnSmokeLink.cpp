#include "smoke/OwnSmokeLink.h"

#include "link/LinkState.h"
#include "link/OwnProtocolFrame.h"
#include "link/ReplyFields.h"
#include "shell/LanguageKeys.h"
#include "shell/ShellState.h"
#include "smoke/SmokeFormFields.h"
#include "smoke/SmokeState.h"

namespace vs::smoke {
namespace {

constexpr plat::Color kWhite = plat::colors::kWhite;
constexpr plat::Color kRed = plat::colors::kRed;
constexpr std::size_t kRecordSize = 5;
constexpr std::size_t kRecords = 8;

bool ManualMode(std::int16_t mode) { return mode == 4 || mode == 5; }

// At most `n` bytes from `pos`, none beyond the text.
std::string_view Part(std::string_view s, std::size_t pos, std::size_t n) {
  return pos >= s.size() ? std::string_view() : s.substr(pos, n);
}

// The data bytes of a reply frame: positions 7 to N + 4, as far as the frame holds them.
std::string_view DataOf(std::string_view frame) {
  if (frame.size() < 8) return {};
  const std::size_t n = static_cast<unsigned char>(frame[5]);
  if (n < 2) return {};
  return Part(frame.substr(0, frame.size() - 2), 6, n - 2);
}

// An instrument error of the status: the values are not to be used.
void ShowError(LinkDisplay& d, SmokeFormFields& f, const char* caption, const std::string& text) {
  d.label2.Show(caption, kRed);
  d.label39.Show(text, kRed);
  f.ValuesInvalid = 1;
  d.blankReadings = true;
}

void ErrorRangesOfModel0(LinkDisplay& d, SmokeFormFields& f, const ShellState& shell, int s8) {
  const auto& t = shell.LangText;
  if (s8 <= 1) {
    f.ValuesInvalid = 0;
    d.label2.backColor = kWhite;
    d.label39.backColor = kWhite;
  } else if (s8 <= 3) {
    ShowError(d, f, "ERROR 3", t[lang::ANFUMOPAlta]);
  } else if (s8 <= 15) {
    ShowError(d, f, "ERROR 4", t[lang::ANFUMOPBassa]);
  } else if (s8 <= 31) {
    ShowError(d, f, "ERROR 2", t[lang::ANFUMOEnnO]);
  } else if (s8 <= 63) {
    ShowError(d, f, "ERROR 1", t[lang::ANFUMOPPOtt]);
  }
}

// Models 1 to 4, ready: each error bit handled in turn; the last one shown stays.
void ErrorBitsOfModels1To4(LinkDisplay& d, SmokeFormFields& f, SmokeState& smoke,
                           const ShellState& shell, int s11) {
  const auto& t = shell.LangText;
  int b = smoke.OpaStatus1;
  const auto take = [&](int bit) {
    b -= bit;
    smoke.OpaStatus1 = static_cast<std::int16_t>(b);
  };
  if (b < 2 || b == 128 || b == 64) {
    f.ValuesInvalid = 0;
    d.label2.backColor = kWhite;
  }
  if (b >= 128) take(128);
  if (b >= 64) {
    take(64);
    f.ValuesInvalid = 0;
    d.label2.caption = t[lang::ANFUMORiscal];
    d.label39.caption = t[lang::ANFUMOAttRisc];
  }
  if (s11 == 255) ShowError(d, f, "ERROR 1", t[lang::ANFUMOPPOtt]);
  if (b >= 16) {
    take(16);
    ShowError(d, f, "ERROR 2", t[lang::ANFUMOEnnO]);
  }
  if (b >= 4) {
    take(4);
    ShowError(d, f, "ERROR 3", t[lang::ANFUMOPAlta]);
  }
  if (b >= 2) ShowError(d, f, "ERROR 4", t[lang::ANFUMOPBassa]);
}

void DecodeModel0(LinkDisplay& d, SmokeFormFields& f, const LinkState& link,
                  const ShellState& shell, const LinkView& view, OwnStatusBytes s) {
  const auto& t = shell.LangText;
  switch (s.s7) {
    case 0x00:
      f.LinkState = "RSTRI";
      f.WarmUpListSent = 0;
      if (ManualMode(view.testMode)) d.command1Enabled = false;
      d.selectModeZero = true;
      d.label24.backColor = IsWarm(link.OpaCellTemp) ? kWhite : kRed;
      d.label2.Show(t[lang::ANFUMORiscal], kWhite);
      d.label39.Show(t[lang::ANFUMOAttRisc], kWhite);
      d.label33.Show(t[lang::ANFUMOEsito], kWhite);
      d.blankReadings = true;
      d.blankSeries = true;
      f.LastStatusWord = "RSTRI";
      break;
    case 0x48:
      f.LinkState = "RSTAZE";
      d.label2.Show(t[lang::ANFUMOAutzer], kWhite);
      d.label39.Show(t[lang::ANFUMOFase], kWhite);
      f.LastStatusWord = "RSTAZE";
      break;
    case 0x80:
      f.LinkState = "RSTATT";
      if (f.LastStatusWord == "RSTRI") d.label39.caption = t[lang::ANFUMOFase];
      if (f.LastStatusWord == "RSTAZE" && ManualMode(view.testMode)) d.command1Enabled = true;
      d.label2.Show(t[lang::ANFUMOAttivo], kWhite);
      d.label39.backColor = kWhite;
      ErrorRangesOfModel0(d, f, shell, s.s8);
      f.LastStatusWord = "RSTATT";
      break;
    case 0xF0:
      f.LinkState = "RSTERR";
      d.label2.Show("Error", kRed);
      d.label39.Show(t[lang::ANFUMOSpengere], kRed);
      f.LastStatusWord = "RSTERR";
      break;
    default:
      f.LinkState = "RSTATT";
      f.LastStatusWord = "RSTATT";
  }
}

void ShowAutoZero(LinkDisplay& d, SmokeFormFields& f, const ShellState& shell) {
  const auto& t = shell.LangText;
  f.LinkState = "RSTAZE";
  d.label2.caption = t[lang::ANFUMOAutzer];
  d.label39.Show(t[lang::ANFUMOAutzer], kWhite);
}

void DecodeModels1To4(LinkDisplay& d, SmokeFormFields& f, SmokeState& smoke,
                      const ShellState& shell, const LinkView& view, OwnStatusBytes s) {
  const auto& t = shell.LangText;
  const std::int16_t mode = view.testMode;
  if (s.s7 == 0x40) {
    ShowAutoZero(d, f, shell);
    if (mode == 0) d.testPhase = "CONTINUA";
    if (mode == 1 || mode == 2 || mode == 3 || mode == 6) d.testPhase = "AVVIOALTO";
    if (ManualMode(mode)) {
      d.command1Enabled = false;
      d.testPhase = "DUE";
    }
    f.LastStatusWord = "RSTAZE";
    return;
  }
  if (s.s7 != 0x00 && s.s7 != 0x10) {
    f.LinkState = "RSTATT";
    f.LastStatusWord = "RSTATT";
    return;
  }
  if (f.LastStatusWord == "RSTAZE" && ManualMode(mode)) d.command1Enabled = true;
  if (s.s11 <= 50 && !(s.s8 >= 16 && s.s8 <= 63)) {
    f.LinkState = "RSTCHK";
    f.CheckListSent = 0;
    d.selectModeZero = true;
    d.label2.Show(t[lang::ANFUMOControl], kWhite);
    d.label24.backColor = kWhite;
    d.blankReadings = true;
    d.label33.Show(t[lang::ANFUMOEsito], kWhite);
    d.label39.caption = "";
    d.blankSeries = true;
    f.LastStatusWord = "RSTCHK";
  } else if ((smoke.OpaStatus3 & 16) == 0) {
    ShowAutoZero(d, f, shell);
    f.LastStatusWord = "RSTAZE";
  } else {
    f.LinkState = "RSTATT";
    d.label2.Show(t[lang::ANFUMOAttivo], kWhite);
    ErrorBitsOfModels1To4(d, f, smoke, shell, s.s11);
    f.LastStatusWord = "RSTATT";
  }
}

void TakeReadings(SmokeFormFields& f, LinkState& link, SmokeState& smoke, const ShellState& shell,
                  std::string_view data) {
  for (std::size_t k = 0; k < kRecords; ++k) {
    const auto rec = data.substr(k * kRecordSize, kRecordSize);
    const auto channel = static_cast<unsigned char>(rec[0]);
    if (channel >= f.ChannelValues.size()) continue;
    f.ChannelValues[channel] =
        OwnChannelValue(static_cast<std::uint8_t>(rec[3]), static_cast<std::uint8_t>(rec[4]));
  }
  const auto& v = f.ChannelValues;
  link.OpaCellTemp = v[5];
  link.OpaOilTemp = shell.ExternOilTemp == 1 ? link.RpmCounterOilTemp : v[6];
  link.OpaSmokeTemp = v[0];
  link.OpaN = v[1] / 10;
  smoke.OpaKRaw = static_cast<std::int32_t>(v[7]);
  link.OpaK = smoke.OpaKRaw / 100.0;
  link.OpaRpm = shell.ExternRpm == 1 ? link.RpmCounterRpm : v[8];
}

}  // namespace

std::string OpaSerialPrefix(std::int16_t model) {
  static constexpr const char* kPrefixes[] = {"AM", "AQ", "AN", "AP", "AB"};
  return model >= 0 && model <= 4 ? kPrefixes[model] : "";
}

double OwnChannelValue(std::uint8_t high, std::uint8_t low) {
  return high >= 128 ? -1.0 : high * 256.0 + low;
}

bool TakeStartNotice(const SmokeFormFields& f, ShellState& shell) {
  if (f.LinkState != "INIZIO") return false;
  shell.ExclamStampaMessage = shell.LangText[lang::ANFUMOExclStamp2];
  if (shell.ExclamStampaPending != 1) return false;
  shell.ExclamStampaPending = 0;
  return true;
}

OwnRequestStep NextOwnSmokeRequests(SmokeFormFields& f, LinkState& link, std::int16_t model) {
  OwnRequestStep step;
  const auto send = [&](char command, std::string data = {}) {
    link.PendingCommand = static_cast<unsigned char>(command);
    step.requests.push_back({static_cast<unsigned char>(command), std::move(data)});
  };
  const std::string& s = f.LinkState;
  if (s == "INIZIO") {
    send('1');
  } else if (s == "LDF") {
    send('a');
  } else if (model >= 0 && model <= 4) {
    const char* listState = model == 0 ? "RSTRI" : "RSTCHK";
    const std::int16_t listSent = model == 0 ? f.WarmUpListSent : f.CheckListSent;
    if (s == "DS" || (s == listState && listSent == 0)) {
      f.ChannelListData = OpaChannelList();
      send('#', f.ChannelListData);
    } else if (s == "ACQ" || s == "SCA" || s == "RSTERR" || (s == listState && listSent == 1)) {
      send('?');
    }
  }
  if (s == "RSTATT") {
    send('P');
    step.cmdOutEnabled = true;
  }
  if (s == "RSTAZE" || s == "AZE") send('?');
  if (f.RequestedStart == "STARTMIS") {
    send('E');
    f.RequestedStart.clear();
  }
  return step;
}

LinkDisplay DecodeOwnStatus(SmokeFormFields& f, SmokeState& smoke, const LinkState& link,
                            const ShellState& shell, std::int16_t model, const LinkView& view,
                            OwnStatusBytes s) {
  smoke.OpaStatus0 = s.s7;
  smoke.OpaStatus1 = s.s8;
  smoke.OpaStatus2 = s.s11;
  smoke.OpaStatus3 = s.s9;
  LinkDisplay d;
  if (model == 0) {
    DecodeModel0(d, f, link, shell, view, s);
  } else if (model >= 1 && model <= 4) {
    DecodeModels1To4(d, f, smoke, shell, view, s);
  }
  return d;
}

OwnSmokeOutcome HandleOwnSmokeFrame(SmokeFormFields& f, LinkState& link, SmokeState& smoke,
                                    const ShellState& shell, std::int16_t model,
                                    const LinkView& view, std::string_view frame) {
  OwnSmokeOutcome out;
  if (frame.size() < 8) {
    out.use = OwnReplyUse::Dropped;
    return out;
  }
  const std::string_view data = DataOf(frame);
  switch (frame[3]) {
    case '1': {
      f.LinkState = "LDF";
      // Models 0 to 4 put their prefix in front at every reply; any other model appends the
      // characters to the serial it has.
      const bool prefixed = model >= 0 && model <= 4;
      link.InstrSerial =
          (prefixed ? OpaSerialPrefix(model) : link.InstrSerial) + FieldText(Part(data, 1, 6));
      break;
    }
    case 'a':
      f.LinkState = "DS";
      link.InstrExpiry = FieldText(Part(data, 0, 2)) + "/" + FieldText(Part(data, 2, 2)) + "/20" +
                         FieldText(Part(data, 4, 2));
      break;
    case '#':
      f.LinkState = "SCA";
      if (model == 0) f.WarmUpListSent = f.LastStatusWord == "RSTRI" ? 1 : 0;
      if (model >= 1 && model <= 4) f.CheckListSent = f.LastStatusWord == "RSTCHK" ? 1 : 0;
      break;
    case 'E':
      f.LinkState = "AZE";
      break;
    case 'P':
      if (data.size() < kRecords * kRecordSize) {
        out.use = OwnReplyUse::Dropped;
        break;
      }
      f.LinkState = "ACQ";
      TakeReadings(f, link, smoke, shell, data);
      out.valueReply = true;
      break;
    case '?': {
      if (data.size() < 5) {
        out.use = OwnReplyUse::Dropped;
        break;
      }
      const auto byte = [&](std::size_t i) { return static_cast<std::uint8_t>(data[i]); };
      out.display =
          DecodeOwnStatus(f, smoke, link, shell, model, view, {byte(0), byte(1), byte(2), byte(4)});
      break;
    }
    default:
      break;
  }
  return out;
}

}  // namespace vs::smoke
