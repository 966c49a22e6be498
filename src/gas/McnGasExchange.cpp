#include "gas/McnGasExchange.h"

#include <algorithm>
#include <array>
#include <initializer_list>
#include <string_view>

#include "gas/GasState.h"
#include "link/LinkState.h"
#include "link/MctcNetFrame.h"
#include "link/ReplyFields.h"
#include "platform/text/Numbers.h"
#include "shell/LanguageKeys.h"
#include "shell/ShellState.h"

namespace vs {

namespace {

bool OneOf(std::string_view word, std::initializer_list<std::string_view> words) {
  return std::find(words.begin(), words.end(), word) != words.end();
}

std::string TwoDigits(int v) { return (v >= 0 && v < 10 ? "0" : "") + std::to_string(v); }

bool OlderAnalyser(const LinkState& l) { return l.InstrVersionX1000 < kMcnNewCommandsVersion; }

// The leading number of characters `from` (from 1) to `from + n - 1` of a text.
int NumberAt(std::string_view s, std::size_t from, std::size_t n) {
  if (from > s.size()) return 0;
  const double v = plat::LeadingNumber(s.substr(from - 1, n));
  return v >= 0 && v < 1e8 ? static_cast<int>(v) : 0;
}

constexpr std::array<std::string_view, 3> kFuelWords{"BENZINA", "METANO", "GPL"};

// The leak check's age: valid on its own day and on the next day (as yyyymmdd numbers) up
// to the same hour and minute. A date or time that does not read counts as long ago.
bool LeakCheckExpired(const LinkState& l, const plat::DateTime& now) {
  const long today = now.year * 10000L + now.month * 100L + now.day;
  const std::string_view date = l.McnEtDate;
  const long record =
      NumberAt(date, 7, 4) * 10000L + NumberAt(date, 4, 2) * 100L + NumberAt(date, 1, 2);
  if (today > record + 1) return true;
  if (today <= record) return false;
  const int clock = now.hour * 100 + now.minute;
  const int recorded = NumberAt(l.McnEtTime, 1, 2) * 100 + NumberAt(l.McnEtTime, 4, 2);
  return clock > recorded;
}

std::string ErrorSuffix(int codes) {
  std::string s;
  if (codes & 1) s += " CO";
  if (codes & 2) s += " CO2";
  if (codes & 4) s += " HC";
  if (codes & 8) s += " O2";
  return s;
}

void LeakCheckRule(McnGasWords& w, LinkState& l, const ShellState& s, const plat::DateTime& now,
                   McnGasScreen& out) {
  const auto& t = s.LangText;
  const std::string before = w.PrevState;
  if (l.McnEtFlag == "E") {
    out.message = McnLabelText{t[lang::ANGASTTESEmsgbox], std::nullopt};
    out.status = McnLabelText{t[lang::ANGASTTmsgbox], std::nullopt};
    w.Stato = "ETEE";
  }
  if (l.McnEtFlag == "R") {
    w.Stato = "ETER";
    if (l.McnEtDate != "01/01/2000" && LeakCheckExpired(l, now)) l.McnEtFlag = "I";
  }
  if (s.SystemEnableMask & 4) {
    l.McnEtFlag = "R";
    w.Stato = "ETER";
  }
  // Every reply that ends the reading of the pressure gives Start and stand-by back, also
  // when the station skips the leak check.
  if (l.McnEtFlag != "E") {
    out.startAndStandbyEnabled = true;
    l.McnRsStatus1 = 0;
  }
  if (l.McnEtFlag == "R" && before == "LSEN") out.boxes.push_back(lang::ANGASETIRRmsgbox);
  if (l.McnEtFlag == "I") {
    out.boxes.push_back(lang::ANGASETmsgbox);
    w.Stato = "ETEI";
  }
  w.PrevState = w.Stato;
}

void HcResidueRule(McnGasWords& w, LinkState& l, const ShellState& s, McnGasScreen& out) {
  const std::string& r = l.McnEhField1;
  if (r == "E") {
    w.Stato = "ESHCE";
    out.status = McnLabelText{"Test HC", std::nullopt};
    out.message = McnLabelText{s.LangText[lang::ANGASTTESEmsgbox], std::nullopt};
  } else if (r == "I") {
    w.Stato = "ESHC";
    out.boxes.push_back(lang::ANGASEHCIRRmsgbox);
    l.McnRsStatus1 = 0;
  } else if (r == "R") {
    w.Stato = "ESHC";
    w.GasPhase = "MINIMO";
    out.messageBack = plat::colors::kWhite;
    l.McnRsStatus1 = 0;
  }
  w.PrevState = w.Stato;
}

void StatusRule(McnGasWords& w, LinkState& l, GasState& g, const ShellState& s,
                std::string_view data, McnGasScreen& out) {
  const auto& t = s.LangText;
  if (OneOf(w.PrevState, {"ETER", "ETEI"})) out.hidePressureIfShown = true;
  // A reply without data carries status 0.
  g.GasMcnStatus = static_cast<std::int16_t>(data.empty() ? 0 : data[0] & 31);
  const int code = l.McnRsStatus1;
  const McnLabelText white{t[lang::ANFUMOFase], plat::colors::kWhite};
  switch (g.GasMcnStatus) {
    case 1:
      w.Stato = "RSTRIS";
      out.listsEnabled = true;
      out.leakTestEnabled = true;
      out.status = McnLabelText{t[lang::ANFUMORiscal], plat::colors::kWhite};
      out.message = McnLabelText{t[lang::ANFUMOAttRisc], plat::colors::kWhite};
      out.verdict = McnLabelText{t[lang::ANFUMOEsito], plat::colors::kWhite};
      w.PrevState = "RSTRIS";
      return;
    case 2:
      out.progress = McnProgress::Hide;
      w.Stato = "RSTSB";
      if (w.PrevState == "ETER") {
        w.Stato = "STANDBY";
        w.StandbyAfterEt = 1;
      }
      out.listsEnabled = true;
      out.leakTestEnabled = true;
      out.status = McnLabelText{"StandBy", plat::colors::kWhite};
      if (code == 9) {
        out.message = McnLabelText{t[lang::ANGASErrCon], plat::colors::kRed};
      } else if (code == 12) {
        out.message = McnLabelText{t[lang::ANGASErrVrete], plat::colors::kRed};
      } else if (code == 13 || code == 31 || code == 32) {
        out.message = McnLabelText{"ERRORE OUT-RANGE", plat::colors::kRed};
      } else if (code == 33) {
        out.message = McnLabelText{"ERRORE TIME-OUT W-U", plat::colors::kRed};
      } else if (code == 34) {
        out.message = McnLabelText{"ERRORE TIME-OUT A-Z", plat::colors::kRed};
      } else if (code == 35) {
        out.message =
            McnLabelText{t[lang::ANGASErrCanAn] + ErrorSuffix(l.McnRsStatus2), plat::colors::kRed};
      } else {
        out.message = white;
      }
      w.PrevState = "RSTSB";
      return;
    case 4:
      ++w.AutoZeroCount;
      w.Stato = "RSTAZE";
      out.listsEnabled = true;
      out.leakTestEnabled = false;
      out.status = McnLabelText{t[lang::ANGASCal], plat::colors::kWhite};
      out.progress = code == 12 ? McnProgress::Hide : McnProgress::Sweep;
      if (code == 12) {
        out.message = McnLabelText{t[lang::ANGASErrVrete], plat::colors::kRed};
      } else if (code == 13 || code == 31 || code == 32) {
        out.message = McnLabelText{"ERRORE OUT", plat::colors::kRed};
      } else {
        out.message = white;
      }
      out.verdict = McnLabelText{t[lang::ANFUMOEsito], plat::colors::kWhite};
      out.blankReadings = true;
      if (w.AutoZeroCount == 4) {
        w.AutoZeroCount = 0;
        w.Stato = "RSECXAZE";
      }
      w.PrevState = "RSTAZE";
      return;
    case 8:
      w.Stato = "RSTMIS";
      out.listsEnabled = false;
      out.leakTestEnabled = true;
      out.status = McnLabelText{t[lang::ANFUMOMisura], plat::colors::kWhite};
      if (code == 12) {
        w.StatoRichiesto = "STANDBY";
      } else if (code == 13 || code == 31 || code == 32) {
        out.message = McnLabelText{"ERRORE OUT", plat::colors::kRed};
      } else if (code == 20 || code == 21) {
        w.Stato = w.PrevState = "HCRES";
      } else if (code >= 25 && code <= 27) {
        w.Stato = w.PrevState = "TTE";
      } else if (code == 30) {
        out.message = McnLabelText{t[lang::ANGASErrBFls], plat::colors::kRed};
      } else if (w.GasMode == 1) {
        out.message = white;
        out.progress = McnProgress::Hide;
      } else {
        out.messageBack = plat::colors::kWhite;
      }
      if (w.PrevState == "ETER" || w.StandbyAfterEt == 1) {
        w.Stato = "AUTOZERO";
        w.StandbyAfterEt = 0;
      }
      if (OneOf(w.PrevState, {"RSTAZE", "ACQXAZE"})) w.Stato = "TESTHC";
      w.PrevState = "RSTMIS";
      return;
    default:
      w.Stato = "RSTMIS";
      return;
  }
}

// "@LU": value ETB parameter number; only parameter 47 is the P.E.F.
void LuReply(McnGasWords& w, LinkState& l, std::string_view data, McnGasScreen& out) {
  const std::size_t etb = data.find(kEtb);
  if (etb == std::string_view::npos) return;
  if (plat::LeadingNumber(data.substr(etb + 1)) != 47) return;
  l.McnLiField1 = FieldText(data.substr(0, etb));
  out.pef = l.McnLiField1;
  w.Stato = w.PrevState = "LI";
}

void LaReply(McnGasWords& w, LinkState& l, const McnCollected& reply, McnGasScreen& out) {
  ParseGasLaReply(l, reply.frame, l.McnCommandLen, static_cast<int>(l.McnDevNumberLen));
  static constexpr std::array<std::string_view, 6> kFuels{
      "BENZINANO CAT", "BENZINACAT", "METANONO CAT", "METANOCAT", "GPLNO CAT", "GPLCAT"};
  for (std::size_t i = 0; i < kFuels.size(); ++i) {
    if (l.McnFuelText == kFuels[i]) w.FuelIndex = static_cast<std::int16_t>(i);
  }
  if (l.McnStrokes == "4") w.StrokesIndex = 0;
  if (l.McnStrokes == "2") w.StrokesIndex = 1;
  out.fuelShown = true;
}

}  // namespace

std::string McnClockData(const plat::DateTime& now) {
  return TwoDigits(now.day) + TwoDigits(now.month) + std::to_string(now.year) + kEtb +
         TwoDigits(now.hour) + TwoDigits(now.minute) + TwoDigits(now.second);
}

std::string McnFuelSettingsData(const LinkState& l) {
  std::string fuel = l.McnFuelText;
  if (fuel.find(kEtb) == std::string::npos) {
    // Joined by an "@LA" reply: the fuel word, then the catalyst word.
    std::size_t cut = fuel.size();
    for (std::string_view word : kFuelWords) {
      if (fuel.starts_with(word)) cut = word.size();
    }
    fuel.insert(cut, 1, kEtb);
  }
  return fuel + kEtb + l.McnSaField3 + kEtb + l.McnStrokes + kEtb + l.McnHcRatio + kEtb +
         l.McnOcRatio;
}

std::optional<McnGasRequest> NextMcnGasRequest(McnGasWords w, const LinkState& l,
                                               const plat::DateTime& now) {
  const bool older = OlderAnalyser(l);
  const std::string& st = w.Stato;
  if (st == "INIZIO") return McnGasRequest{"ID", {}};
  if (st == "IDE") return McnGasRequest{"@SD", McnClockData(now)};
  if (st == "SDA") {
    if (older) return McnGasRequest{"@LA", {}};
    w.Stato = w.PrevState = "LAL";
  }
  if (st == "LAL") return older ? McnGasRequest{"@LI", {}} : McnGasRequest{"@LU", "047"};
  if (OneOf(st, {"LI", "RSTAZE", "ETEI", "ACQ", "SBY", "AZE", "SAL", "ESHC", "ETER", "ACQXAZE"}))
    return McnGasRequest{older ? "ST" : "@ST", {}};
  if (OneOf(st, {"RSTSB", "RSTMIS", "RSTRIS", "RSECXAZE"})) return McnGasRequest{"@RS", {}};
  if (st == "RSEC") return McnGasRequest{"@VA", {}};
  if (st == "ETEE") return McnGasRequest{"@LS", {}};
  std::optional<McnGasRequest> r;
  if (st == "STANDBY") r = McnGasRequest{"SB", {}};
  if (st == "@SA") r = McnGasRequest{"@SA", McnFuelSettingsData(l)};
  if (OneOf(st, {"TTE", "LSEN", "STARTMIS"})) r = McnGasRequest{"ET", {}, true};
  if (st == "TT") r = McnGasRequest{"TT", {}};
  if (st == "AUTOZERO") r = McnGasRequest{"AZ", {}};
  if (st == "TESTHC") r = McnGasRequest{"HC", {}};
  if (OneOf(st, {"ESHCE", "HCRES"})) r = McnGasRequest{"EH", {}};
  if (r) w.StatoRichiesto.clear();
  return r;
}

McnGasScreen DecideMcnGasReply(McnGasWords w, LinkState& l, GasState& g, const ShellState& s,
                               const McnCollected& reply, const plat::DateTime& now) {
  McnGasScreen out;
  const std::string& cmd = reply.echo;
  const int cmdLen = l.McnCommandLen;
  const int unitLen = static_cast<int>(l.McnDevNumberLen);
  const auto simple = [&w](const char* word) { w.Stato = w.PrevState = word; };
  if (cmd == "ID") {
    w.Stato = "IDE";
    ParseIdReply(l, reply.frame, cmdLen, unitLen);
    w.PrevState = "IDE";
  } else if (cmd == "@SD") {
    simple("SDA");
  } else if (cmd == "@LA") {
    w.Stato = "LAL";
    LaReply(w, l, reply, out);
    w.PrevState = "LAL";
  } else if (cmd == "@LI") {
    w.Stato = "LI";
    ParseGasLiReply(l, reply.frame, cmdLen, unitLen);
    out.pef = l.McnLiField1;
    w.PrevState = "LI";
  } else if (cmd == "@LU") {
    LuReply(w, l, reply.data, out);
  } else if (cmd == "@SA") {
    simple("SAL");
  } else if (cmd == "SB") {
    simple("SBY");
  } else if (cmd == "AZ") {
    simple("AZE");
  } else if (cmd == "TT") {
    simple("TTE");
  } else if (cmd == "ET") {
    ParseGasEtReply(l, reply.frame, cmdLen, unitLen);
    LeakCheckRule(w, l, s, now, out);
  } else if (cmd == "@LS") {
    w.Stato = "LSEN";
    ParseGasLsReply(l, reply.frame, cmdLen, unitLen);
    out.pressure = std::to_string(l.McnLsValue);
    w.PrevState = "LSEN";
  } else if (cmd == "@RS") {
    w.Stato = w.PrevState == "RSTAZE" ? "ACQXAZE" : "RSEC";
    if (reply.data.empty()) {
      // No codes: the analyser reports no error.
      l.McnRsStatus1 = l.McnRsStatus2 = 0;
    } else {
      ParseRsReply(l, reply.frame, cmdLen, unitLen);
    }
    l.McnRsStatus1 = static_cast<std::int16_t>(l.McnRsStatus1 & 127);
    if (w.Stato == "RSEC") w.PrevState = "RSEC";
  } else if (cmd == "@VA") {
    w.Stato = "ACQ";
    out.hint = ParseGasVaReply(l, s, reply.frame, cmdLen, unitLen);
    out.measurement = true;  // PrevState follows the test step
  } else if (cmd == "HC") {
    w.Stato = "HCRES";
    out.progress = McnProgress::HideIfShown;
    w.PrevState = "HCRES";
  } else if (cmd == "EH") {
    ParseGasEhReply(l, reply.frame, cmdLen, unitLen);
    HcResidueRule(w, l, s, out);
  } else if (cmd == "ST" || cmd == "@ST") {
    StatusRule(w, l, g, s, reply.data, out);
  } else {
    w.Stato = "RSTMIS";
  }
  return out;
}

}  // namespace vs
