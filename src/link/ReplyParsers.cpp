#include "link/ReplyParsers.h"

#include <cmath>
#include <limits>
#include <optional>
#include <string>

#include "link/LinkState.h"
#include "link/ReplyFields.h"
#include "platform/core/Error.h"
#include "platform/text/Numbers.h"
#include "shell/ShellState.h"

namespace vs {
namespace {

// Characters `from` (from 1) to `from + n - 1` of a field, as far as they exist.
std::string Chars(std::string_view s, std::size_t from, std::size_t n) {
  if (from > s.size()) return {};
  return std::string(s.substr(from - 1, n));
}

bool AsSingle(std::optional<double> v, float& out) {
  if (!v || std::fabs(*v) > std::numeric_limits<float>::max()) return false;
  out = static_cast<float>(*v);
  return true;
}

bool Number(std::string_view field, double& out) {
  const auto n = FieldNumber(field);
  if (!n) return false;
  out = *n;
  return true;
}

bool TryParseId(LinkState& l, std::string_view reply, int commandLen, int unitLen) {
  if (!ReplyFields::Cut(reply, commandLen, unitLen, l.McnReplyWork)) return false;
  ReplyFields f(l.McnReplyWork);
  std::string_view v;
  if (!f.Next(v)) return false;
  l.InstrMake = FieldText(v);
  if (!f.Next(v)) return false;
  l.InstrModel = FieldText(v);
  if (!f.Next(v)) return false;
  l.InstrHomologation = FieldText(v);
  if (!f.Next(v)) return false;
  l.InstrSerial = FieldText(v);
  l.GasSerialNumber = l.InstrSerial;
  if (!f.Next(v)) return false;
  l.InstrExpiry = FieldText(Chars(v, 1, 2) + "/" + Chars(v, 3, 2) + "/" + Chars(v, 5, 4));
  l.GasCheckExpiry = l.InstrExpiry;
  std::string_view version;
  if (!f.Next(version)) return false;
  l.InstrVersion = FieldText(version);
  if (!f.Next(v)) return false;
  l.McnIdField7 = FieldText(v);
  double number = 0;
  if (!Number(version, number) || !std::isfinite(number * 1000)) return false;
  l.InstrVersionX1000 = number * 1000;
  return true;
}

bool TryParseLa(LinkState& l, std::string_view reply, int commandLen, int unitLen) {
  if (!ReplyFields::Cut(reply, commandLen, unitLen, l.McnReplyWork)) return false;
  ReplyFields f(l.McnReplyWork);
  std::string_view v;
  if (!f.Next(v)) return false;
  l.McnFuelText = FieldText(v);
  if (!f.Next(v)) return false;
  l.McnFuelText += FieldText(v);
  for (std::string* target : {&l.McnSaField3, &l.McnStrokes, &l.McnHcRatio, &l.McnOcRatio}) {
    if (!f.Next(v)) return false;
    *target = FieldText(v);
  }
  return true;
}

// The first field as a text; the parsers of one-field replies.
bool TryParseFirst(LinkState& l, std::string_view reply, int commandLen, int unitLen,
                   std::string& target) {
  if (!ReplyFields::Cut(reply, commandLen, unitLen, l.McnReplyWork)) return false;
  ReplyFields f(l.McnReplyWork);
  std::string_view v;
  if (!f.Next(v)) return false;
  target = FieldText(v);
  return true;
}

bool TryParseEt(LinkState& l, std::string_view reply, int commandLen, int unitLen) {
  if (!ReplyFields::Cut(reply, commandLen, unitLen, l.McnReplyWork)) return false;
  ReplyFields f(l.McnReplyWork);
  std::string_view v;
  if (!f.Next(v)) return false;
  l.McnEtFlag = FieldText(v);
  if (!f.Next(v)) return false;
  std::string day = Chars(v, 1, 2), month = Chars(v, 3, 2);
  if (day == "00") day = "01";
  if (month == "00") month = "01";
  l.McnEtDate = FieldText(day + "/" + month + "/" + Chars(v, 5, 4));
  if (!f.Next(v)) return false;
  l.McnEtTime = FieldText(Chars(v, 1, 2) + ":" + Chars(v, 3, 2));
  return true;
}

bool TryParseGasVa(LinkState& l, const ShellState& s, std::string_view reply, int commandLen,
                   int unitLen) {
  if (!ReplyFields::Cut(reply, commandLen, unitLen, l.McnReplyWork)) return false;
  ReplyFields f(l.McnReplyWork);
  std::string_view v;
  for (double* target : {&l.GasCO, &l.GasCOcorr, &l.GasCO2, &l.GasHC, &l.GasO2, &l.GasLambda}) {
    if (!f.Next(v) || !Number(v, *target)) return false;
  }
  if (!f.Next(v)) return false;
  const std::optional<double> oil =
      s.ExternOilTemp == 1 ? std::optional<double>(l.RpmCounterOilTemp) : FieldNumber(v);
  if (!AsSingle(oil, l.GasOilTemp)) return false;
  if (!f.Next(v)) return false;
  if (s.ExternRpm == 1) {
    l.GasRpm = l.RpmCounterRpm;
  } else if (!Number(v, l.GasRpm)) {
    return false;
  }
  return f.Next(v) && Number(v, l.GasNOx);
}

}  // namespace

PortHint TakePortHint(LinkState& l, const ShellState& s, HintInstrument instrument) {
  if (l.ShowParseWarning == 0) return std::nullopt;
  const bool english = s.LanguageCode == 2;
  std::string text;
  if (instrument == HintInstrument::Gas) {
    text = english ? "CHOOSE THE CORRECT COMUNICATION PORT INTO GAS-ANALYSER SET-UP WINDOW, "
                     "AFTER CHOOSE THE INSTRUMENT INTO GAS ANALYSIS WINDOW "
                   : "SCEGLIERE LA PORTA DI COMUNICAZIONE NELLA FINESTRA SET-UP ANALIZZATORE, "
                     "DOPODICHE' SCEGLIERE LO STRUMENTO NELLA FINESTRA ANALISI GAS";
  } else {
    text = english ? "CHOOSE THE CORRECT COMUNICATION PORT INTO SMOKE-METER SET-UP WINDOW, "
                     "AFTER CHOOSE THE INSTRUMENT INTO SMOKE ANALYSIS WINDOW "
                   : "SCEGLIERE LA PORTA DI COMUNICAZIONE NELLA FINESTRA SET-UP OPACIMETRO, "
                     "DOPODICHE' SCEGLIERE LO STRUMENTO NELLA FINESTRA ANALISI FUMO";
  }
  l.ShowParseWarning = 0;
  return text;
}

bool ParseIdReply(LinkState& l, std::string_view reply, int commandLen, int unitLen) {
  if (TryParseId(l, reply, commandLen, unitLen)) return true;
  l.InstrMake = l.InstrModel = l.InstrHomologation = l.InstrSerial = l.InstrExpiry =
      l.InstrVersion = l.McnIdField7 = " ";
  return false;
}

void ParseGasLaReply(LinkState& l, std::string_view reply, int commandLen, int unitLen) {
  if (TryParseLa(l, reply, commandLen, unitLen)) return;
  l.McnFuelText = l.McnSaField3 = l.McnStrokes = l.McnHcRatio = l.McnOcRatio = " ";
}

void ParseGasLiReply(LinkState& l, std::string_view reply, int commandLen, int unitLen) {
  if (!TryParseFirst(l, reply, commandLen, unitLen, l.McnLiField1)) l.McnLiField1 = " ";
}

void ParseGasEtReply(LinkState& l, std::string_view reply, int commandLen, int unitLen) {
  if (TryParseEt(l, reply, commandLen, unitLen)) return;
  l.McnEtFlag = " ";
  l.McnEtDate = "01/01/2000";
  l.McnEtTime = " ";
}

PortHint ParseGasVaReply(LinkState& l, const ShellState& s, std::string_view reply, int commandLen,
                         int unitLen) {
  if (TryParseGasVa(l, s, reply, commandLen, unitLen)) return std::nullopt;
  return TakePortHint(l, s, HintInstrument::Gas);
}

void ParseGasLsReply(LinkState& l, std::string_view reply, int commandLen, int unitLen) {
  if (!ReplyFields::Cut(reply, commandLen, unitLen, l.McnReplyWork)) return;
  ReplyFields f(l.McnReplyWork);
  std::string_view v;
  double n = 0;
  if (!f.Next(v) || !Number(v, n)) return;
  try {
    l.McnLsValue = plat::ToInt32(n);
  } catch (const plat::RuntimeError&) {
    // Beyond a 32-bit integer: nothing changes.
  }
}

void ParseRsReply(LinkState& l, std::string_view reply, int commandLen, int unitLen) {
  if (!ReplyFields::Cut(reply, commandLen, unitLen, l.McnReplyWork)) return;
  ReplyFields f(l.McnReplyWork);
  std::string_view v;
  if (!f.Next(v) || v.empty()) return;
  l.McnRsStatus1 = static_cast<unsigned char>(v[0]);
  l.McnRsStatus2 = static_cast<unsigned char>(l.McnReplyWork[2]);
}

void ParseGasEhReply(LinkState& l, std::string_view reply, int commandLen, int unitLen) {
  if (!TryParseFirst(l, reply, commandLen, unitLen, l.McnEhField1)) l.McnEhField1 = " ";
}

}  // namespace vs
