#include "gas/OwnGasExchange.h"

#include <cstddef>
#include <cstdint>

#include "gas/GasState.h"
#include "link/LinkState.h"
#include "link/OwnProtocolFrame.h"
#include "platform/text/Cp1252.h"
#include "platform/text/Numbers.h"
#include "shell/LanguageKeys.h"
#include "shell/LimitRule.h"
#include "shell/ShellState.h"

namespace vs {

namespace {

using Kind = ScreenEdit::Kind;
using C = GasControl;

constexpr plat::Color kWhite = plat::colors::kWhite;
constexpr plat::Color kRed = plat::colors::kRed;
constexpr const char* kBlank = "- - -";
constexpr const char* kOut = "Out";

ScreenEdit Caption(C c, std::string text) { return {c, Kind::Caption, std::move(text)}; }
ScreenEdit Back(C c, plat::Color color) { return {c, Kind::BackColor, {}, color}; }
ScreenEdit Enable(C c, bool on) { return {c, Kind::Enabled, {}, {}, on}; }
ScreenEdit Show(C c, bool on) { return {c, Kind::Visible, {}, {}, on}; }
ScreenEdit Entry(C c, int entry) { return {c, Kind::ShowEntry, {}, {}, false, entry}; }
ScreenEdit Value(C c, float v) { return {c, Kind::Value, {}, {}, false, 0, v}; }

// Byte `pos` of the frame, counted from 1; the caller has checked the length.
unsigned Byte(std::string_view f, std::size_t pos) {
  return static_cast<unsigned char>(f[pos - 1]);
}
// Two bytes, high first, unsigned (0 to 65535).
unsigned Word(std::string_view f, std::size_t pos) { return 256 * Byte(f, pos) + Byte(f, pos + 1); }

// Positions of the measurement reply: record k begins at byte 7 + 5k.
constexpr std::size_t kMeasureLast = 46;  // O2, record 7, byte 46
constexpr std::size_t kStatusLast = 11;
constexpr std::size_t kIdentLast = 23;
constexpr std::size_t kDateLast = 18;

// The nine value fields.
constexpr C kValueFields[] = {C::Label8,  C::Label9,  C::Label10, C::Label15, C::Label11,
                              C::Label12, C::Label26, C::Label13, C::Label33};

void BlankValues(ScreenEdits& e) {
  for (C c : kValueFields) e.push_back(Caption(c, kBlank));
}

// Fuel list entry of the low three bits of a fuel code; -1 for 6 and 7.
int FuelIndexOfCode(int code) {
  static constexpr int kByCode[] = {0, 4, 2, 1, 5, 3};
  const int low = code & 7;
  return low < 6 ? kByCode[low] : -1;
}

std::string Text(double v, const plat::RegionalSettings& r) { return plat::FormatDouble(v, r); }

void HandleStatus(GasTestVars& v, GasState& g, const ShellState& s, const ProgressView& bar,
                  std::string_view f, ScreenEdits& e) {
  const auto& t = s.LangText;
  g.GasInstrumentState = static_cast<std::int16_t>(Byte(f, 7));
  v.OwnFuelCode = static_cast<std::int16_t>(Byte(f, 8) & 71);
  v.OwnStatusDetail = static_cast<std::int32_t>(Byte(f, 11));
  const int model = s.GasModelIndex;
  if (model < 0 || model > 2) return;

  const int fuel = FuelIndexOfCode(v.OwnFuelCode);
  if (fuel >= 0) {
    const int strokes = (v.OwnFuelCode & 64) != 0 ? 1 : 0;
    e.push_back(Entry(C::Combo3, strokes));
    v.StrokesIndex = static_cast<std::int16_t>(strokes);
    e.push_back(Entry(C::Combo1, fuel));
    v.FuelIndex = static_cast<std::int16_t>(fuel);
    v.KFactor = KFactorFor(fuel);  // every model, so each is judged on the corrected CO
  } else {
    v.Stato = v.PrevState = "ACQ";
  }

  switch (g.GasInstrumentState) {
    case 1:
      v.Stato = "ACQ";
      e.push_back(Caption(C::Label27, t[lang::ANGASErrCon]));
      e.push_back(Back(C::Label27, kRed));
      break;
    case 2:
      v.Stato = "RSTRIS";
      e.push_back(Enable(C::Combo1, false));
      e.push_back(Enable(C::Combo3, true));
      e.push_back(Caption(C::Label5, t[lang::ANFUMORiscal]));
      e.push_back(Back(C::Label5, kWhite));
      e.push_back(Caption(C::Label27, t[lang::ANFUMOAttRisc]));
      e.push_back(Back(C::Label27, kWhite));
      e.push_back(Caption(C::Label28, t[lang::ANFUMOEsito]));
      e.push_back(Back(C::Label28, kWhite));
      e.push_back(Caption(C::Command1, t[lang::ANFUMOStart]));
      BlankValues(e);
      break;
    case 32: {
      v.Stato = "RSTERT";
      std::string text = t[lang::ANGASErrTen];
      if (model != 2) text += " " + std::to_string(v.OwnStatusDetail);
      e.push_back(Caption(C::Label27, std::move(text)));
      e.push_back(Back(C::Label27, kRed));
      v.RedoFlag = 1;
      BlankValues(e);
      break;
    }
    case 34:
      v.Stato = "RSTERI";
      e.push_back(Enable(C::Combo1, false));
      e.push_back(Enable(C::Combo3, false));
      e.push_back(Caption(C::Label5, "Error"));
      e.push_back(Back(C::Label5, kRed));
      e.push_back(Caption(C::Label27, t[lang::ANGASErrIrre]));
      e.push_back(Back(C::Label27, kRed));
      break;
    case 65: {
      v.Stato = "RSTCAL";
      e.push_back(Enable(C::Combo1, true));
      e.push_back(Enable(C::Combo3, true));
      e.push_back(Caption(C::Label5, t[lang::ANGASCal]));
      e.push_back(Back(C::Label5, kWhite));
      e.push_back(Caption(C::Label27, t[lang::ANFUMOFase]));
      e.push_back(Caption(C::Label28, t[lang::ANFUMOEsito]));
      e.push_back(Back(C::Label28, kWhite));
      BlankValues(e);
      e.push_back(Caption(C::Command1, "S&top"));
      v.Measuring = 1;
      // The bar counts the ticks since the calibration display began and starts its sweep
      // again when the next count would pass its maximum.
      if (!bar.visible) e.push_back(Show(C::PBar1, true));
      float next = static_cast<float>(v.GasTickCount - v.GasWindowStart);
      if (bar.value >= bar.max || next > bar.max || next < bar.min) {
        v.GasWindowStart = v.GasTickCount;
        next = 0;
      }
      if (next >= bar.min && next <= bar.max) e.push_back(Value(C::PBar1, next));
      break;
    }
    case 128:
      v.Stato = "RSTATT";
      e.push_back(Enable(C::Combo1, true));
      e.push_back(Enable(C::Combo3, true));
      e.push_back(Caption(C::Label5, t[lang::ANGASAtt]));
      e.push_back(Back(C::Label5, kWhite));
      e.push_back(Caption(C::Label27, t[lang::ANFUMOFase]));
      e.push_back(Back(C::Label27, kWhite));
      e.push_back(Caption(C::Command1, t[lang::ANFUMOStart]));
      e.push_back(Show(C::PBar1, false));
      v.Measuring = 0;
      e.push_back(Caption(C::Label28, t[lang::ANFUMOEsito]));
      e.push_back(Back(C::Label28, kWhite));
      break;
    case 129:
      if (v.PrevState == "RSTCAL" && model != 2) e.push_back(Show(C::PBar1, false));
      v.Stato = "RSTMIS";
      e.push_back(Enable(C::Combo1, false));
      e.push_back(Enable(C::Combo3, false));
      e.push_back(Caption(C::Label5, t[lang::ANFUMOMisura]));
      e.push_back(Back(C::Label5, kWhite));
      if (v.RedoFlag == 1) e.push_back(Caption(C::Label27, t[lang::ANGASEffNwMis]));
      e.push_back(Caption(C::Command1, "S&top"));
      v.Measuring = 1;
      break;
    default:
      v.Stato = "ACQ";
      break;
  }
  v.PrevState = v.Stato;
}

void HandleMeasurement(GasTestVars& v, GasState& g, LinkState& l, const ShellState& s,
                       const plat::RegionalSettings& r, std::string_view f, ScreenEdits& e) {
  // A 16-bit reading whose high byte is 255 is out of range.
  auto reading = [&](std::size_t pos, double scale, int decimals, double& out, C field) {
    if (Byte(f, pos) == 255) {
      out = -1;
      e.push_back(Caption(field, kOut));
    } else {
      out = Word(f, pos) / scale;
      e.push_back(Caption(field, Text(plat::RoundTo(out, decimals), r)));
    }
  };
  reading(45, 1000, 2, l.GasO2, C::Label12);
  reading(30, 1000, 2, l.GasCO, C::Label8);
  reading(35, 1000, 1, l.GasCO2, C::Label10);

  if (s.ExternOilTemp == 1) {
    l.GasOilTemp = static_cast<float>(l.RpmCounterOilTemp);
    e.push_back(Caption(C::Label13, plat::FormatSingle(l.GasOilTemp, r)));
  } else if (Byte(f, 9) > 3) {
    l.GasOilTemp = -1;
    e.push_back(Caption(C::Label13, kOut));
  } else {
    l.GasOilTemp = static_cast<float>((65536.0 * Byte(f, 9) + Word(f, 10)) / 1000);
    e.push_back(Caption(C::Label13, plat::FormatSingle(l.GasOilTemp, r)));
  }

  if (Byte(f, 40) == 255) {
    if (ExtendedHcRangeOn(s, g) && s.GasModelIndex != 2) {
      const double raw = 65536.0 * Byte(f, 14) + Word(f, 15);
      const double d = raw - 0x3FFFFF;
      const double hc = plat::RoundHalfEven(10477 + s.GasKlin * d + s.GasKquad * d * d);
      e.push_back(Caption(C::Label11, hc >= 20000 ? std::string(kOut) : Text(hc, r)));
    } else {
      l.GasHC = -1;
      e.push_back(Caption(C::Label11, kOut));
    }
  } else {
    l.GasHC = Word(f, 40);
    e.push_back(Caption(C::Label11, Text(l.GasHC, r)));
  }

  if (s.ExternRpm == 1) {
    l.GasRpm = l.RpmCounterRpm;
    e.push_back(Caption(C::Label15, Text(l.GasRpm, r)));
  } else if (Byte(f, 25) == 255) {
    l.GasRpm = -1;
    e.push_back(Caption(C::Label15, kBlank));
  } else if (Byte(f, 25) >= 80) {
    l.GasRpm = -1;
    e.push_back(Caption(C::Label15, kOut));
  } else {
    l.GasRpm = Word(f, 25);
    e.push_back(Caption(C::Label15, Text(l.GasRpm, r)));
  }

  if (Byte(f, 20) > 10) {
    l.GasLambda = -1;
    e.push_back(Caption(C::Label26, kOut));
  } else {
    g.GasLambdaRaw = Word(f, 20);
    l.GasLambda = g.GasLambdaRaw / 1000;
    e.push_back(Caption(C::Label26, Text(plat::RoundTo(l.GasLambda, 2), r)));
  }

  // Every model: a test is never judged on the corrected CO of an earlier vehicle.
  l.GasCOcorr = CorrectedCo(l.GasCO, l.GasCO2, v.KFactor);
  e.push_back(Caption(
      C::Label9, l.GasCOcorr >= kCoCorrNotComputable ? std::string(kOut) : Text(l.GasCOcorr, r)));
}

}  // namespace

bool ExtendedHcRangeOn(const ShellState& s, const GasState& g) {
  const std::string& ver = g.GasFirmwareVersion;
  return (s.SystemEnableMask & 2) != 0 && ver.size() >= 3 && ver[0] >= '5' && ver[2] >= '4';
}

int OwnFuelCodeFor(int fuelIndex, int strokesIndex) {
  static constexpr int kByIndex[] = {0, 3, 2, 5, 1, 4};
  const int code = fuelIndex >= 0 && fuelIndex < 6 ? kByIndex[fuelIndex] : 0;
  return code + (strokesIndex != 0 ? 64 : 0);
}

int KFactorFor(int fuelIndex) {
  if (fuelIndex == 2 || fuelIndex == 3) return 12;
  if (fuelIndex == 4 || fuelIndex == 5) return 14;
  return 15;
}

double CorrectedCo(double co, double co2, std::optional<int> k) {
  if (co < 0 || co2 < 0) return kCoCorrNotComputable;
  const double sum = co + co2;
  const double kf = k.value_or(0);
  if (sum == 0 || AtLeast(sum, kf)) return plat::RoundTo(co, 1);
  if (Below(sum, 5)) return kCoCorrNotComputable;
  return KeptToDecimals(co * kf / sum, 1);
}

std::optional<OwnGasRequest> NextOwnGasRequest(GasTestVars& v, const ShellState& s,
                                               const GasState& g) {
  const std::string& st = v.Stato;
  OwnGasRequest req;
  if (st == "INIZIO") {
    req.command = '1';
  } else if (st == "LDF") {
    req.command = '.';
  } else if (st == "LDCAL" || (st == "RSTRIS" && v.ChannelListSent == 0)) {
    if (s.GasModelIndex < 0 || s.GasModelIndex > 2) return std::nullopt;
    req.command = '#';
    v.OwnRequestData = GasChannelList(s.GasModelIndex, ExtendedHcRangeOn(s, g));
    req.data = v.OwnRequestData;
  } else if (st == "CAL" || st == "SCA" || st == "RSTERT" || st == "RSTCAL" || st == "ACQ" ||
             st == "RSTRIS") {
    req.command = '?';
  } else if (st == "RSTMIS" || st == "RSTATT") {
    req.command = 'P';
    req.edits.push_back(Back(C::Label27, kWhite));
  } else if (st == "STARTMIS") {
    req.command = 'E';
    req.edits.push_back(Back(C::Label27, kWhite));
    v.StatoRichiesto.clear();
    v.Measuring = 1;
    v.GasPhase = "MINIMO";
  } else {
    return std::nullopt;
  }
  return req;
}

OwnGasReplyResult HandleOwnGasFrame(GasTestVars& v, GasState& g, LinkState& l, const ShellState& s,
                                    const plat::RegionalSettings& r, const ProgressView& bar,
                                    std::string_view f) {
  OwnGasReplyResult res;
  // A whole frame is STX, address, ACK, command, any, N, data, checksum, ETX.
  if (f.size() < 8 || f.size() != std::size_t{Byte(f, 6)} + 6) return res;
  auto needs = [&](std::size_t last) { return f.size() >= last + 2; };  // + checksum, ETX
  ScreenEdits& e = res.edits;
  switch (Byte(f, 4)) {
    case '#':
      v.ChannelListSent = v.PrevState == "RSTRIS" ? 1 : 0;
      v.Stato = v.PrevState = "SCA";
      break;
    case '$':
      v.Stato = v.PrevState = "ACQ";
      break;
    case '&':
      break;
    case '.': {
      if (!needs(kDateLast)) return res;
      std::string date;
      for (std::size_t pos = 13; pos <= 18; ++pos) {
        date += std::to_string(Byte(f, pos));
        if (pos == 14 || pos == 16) date += '/';
      }
      l.GasCheckExpiry = date;
      e.push_back(Caption(C::Label4, date));
      v.Stato = v.PrevState = "LDCAL";
      break;
    }
    case '1': {
      if (!needs(kIdentLast)) return res;
      // Texts inside the program are UTF-8; the analyser's bytes are Windows-1252.
      l.GasSerialNumber = plat::Cp1252ToUtf8(f.substr(7, 8));
      g.GasPef = static_cast<float>(Word(f, 17));
      g.GasFirmwareVersion =
          plat::Cp1252ToUtf8(f.substr(21, 1)) + '.' + plat::Cp1252ToUtf8(f.substr(22, 1));
      e.push_back(Caption(C::Label7, plat::FormatSingle(g.GasPef, r)));
      e.push_back(Caption(C::Label25, g.GasFirmwareVersion));
      v.Stato = v.PrevState = "LDF";
      break;
    }
    case 'E':
      v.Stato = v.PrevState = "CAL";
      break;
    case 'P':
      if (!needs(kMeasureLast)) return res;
      HandleMeasurement(v, g, l, s, r, f, e);
      v.Stato = "ACQ";
      res.measurement = true;  // PrevState follows after the sequence step
      break;
    case '?':
      if (!needs(kStatusLast)) return res;
      HandleStatus(v, g, s, bar, f, e);
      break;
    default:
      return res;  // a command this exchange never sends
  }
  res.handled = true;
  return res;
}

}  // namespace vs
