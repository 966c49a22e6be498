#include "link/SmokeRpmReplies.h"

#include <string>

#include "link/LinkState.h"
#include "link/ReplyFields.h"
#include "link/ReplyParsers.h"
#include "shell/ShellState.h"

namespace vs {
namespace {

bool TryParseOpaMeasure(LinkState& l, const ShellState& s, std::string_view reply) {
  if (!ReplyFields::Cut(reply, l.McnCommandLen, static_cast<int>(l.McnDevNumberLen),
                        l.McnReplyWork)) {
    return false;
  }
  ReplyFields f(l.McnReplyWork);
  std::string_view v;
  std::optional<double> n;
  if (!f.Next(v) || !(n = FieldNumber(v))) return false;
  l.OpaK = *n;
  if (!f.Next(v) || !(n = FieldNumber(v))) return false;
  l.OpaN = *n;
  if (!f.Next(v)) return false;
  n = s.ExternRpm == 1 ? std::optional<double>(l.RpmCounterRpm) : FieldNumber(v);
  if (!n) return false;
  l.OpaRpm = *n;
  if (!f.Next(v)) return false;
  n = s.ExternOilTemp == 1 ? std::optional<double>(l.RpmCounterOilTemp) : FieldNumber(v);
  if (!n) return false;
  l.OpaOilTemp = *n;
  const std::pair<std::string*, double*> texts[] = {{&l.OpaValueText5, &l.OpaSmokeTemp},
                                                    {&l.OpaValueText6, &l.OpaCellTemp},
                                                    {&l.OpaValueText7, &l.OpaValueField7}};
  for (const auto& [text, value] : texts) {
    if (!f.Next(v)) return false;
    *text = FieldText(v);
    if (!(n = FieldNumber(v))) return false;
    *value = *n;
  }
  return true;
}

bool TryParseOpaRd(LinkState& l, std::string_view reply) {
  if (!ReplyFields::Cut(reply, l.McnCommandLen, static_cast<int>(l.McnDevNumberLen),
                        l.McnReplyWork)) {
    return false;
  }
  ReplyFields f(l.McnReplyWork);
  std::string_view v;
  for (int field = 1; field <= 6; ++field) {
    if (!f.Next(v)) return false;
  }
  const auto n = FieldNumber(v);
  if (!n) return false;
  l.OpaSupplyVoltage = *n / 1000;
  return true;
}

// The whole data text into a text and its number.
bool TryParseWhole(std::string_view reply, int commandLen, int unitLen, std::string& text,
                   double& value) {
  const auto data = ReplyDataText(reply, commandLen, unitLen);
  if (!data) return false;
  text = FieldText(*data);
  const auto n = FieldNumber(*data);
  if (!n) return false;
  value = *n;
  return true;
}

bool TryParseRpmVe(LinkState& l, std::string_view reply, int commandLen, int unitLen) {
  if (!ReplyFields::Cut(reply, commandLen, unitLen, l.McnReplyWork)) return false;
  ReplyFields f(l.McnReplyWork);
  std::string_view v;
  std::optional<double> n;
  if (!f.Next(v)) return false;
  l.RpmReplyText1 = FieldText(v);
  if (!(n = FieldNumber(v))) return false;
  l.RpmCounterRpm = *n;
  if (!f.Next(v)) return false;
  l.RpmReplyText2 = FieldText(v);
  if (!(n = FieldNumber(v))) return false;
  l.RpmCounterOilTemp = *n;
  return true;
}

struct ErrorCodeText {
  const char* code;
  const char* caption;
  const char* italian;  // nullptr: language text 161 in every language
  const char* english;
};

constexpr ErrorCodeText kErrorCodes[] = {
    {"002", "ERROR 2", "SPENGERE OPACIMETRO E PULIRE PARTI OTTICHE",
     "TURN OF SMOKE METER AND CLEAN OPTICAL PATH"},
    {"003", "ERROR 3", "SPENGERE OPACIMETRO", "TURN OF SMOKE METER"},
    {"004", "ERROR 4", "EMETTITORE NON OPERATIVO, SPENGERE OPACIMETRO",
     "LIGHT EMITTER NOT OPERATING, TURN OFF SMOKE METER"},
    {"006", "ERROR 6", "OPERAZIONE NON CONSENTITA", "NOT VALID OPERATION"},
    {"007", "ERROR 7", "TEMPERATURA TROPPO ALTA, SPENGERE OPACIMETRO",
     "TEMPERATURE TOO HIGHT, TURN OFF SMOKE METER"},
    {"010", "ERROR 10", nullptr, nullptr},
};

}  // namespace

PortHint ParseOpaMeasureReply(LinkState& l, const ShellState& s, std::string_view reply) {
  if (TryParseOpaMeasure(l, s, reply)) return std::nullopt;
  return TakePortHint(l, s, HintInstrument::Opacimeter);
}

PortHint ParseOpaRdReply(LinkState& l, const ShellState& s, std::string_view reply) {
  if (TryParseOpaRd(l, reply)) return std::nullopt;
  return TakePortHint(l, s, HintInstrument::Opacimeter);
}

void ParseRpmVeReply(LinkState& l, std::string_view reply, int commandLen, int unitLen) {
  if (TryParseRpmVe(l, reply, commandLen, unitLen)) return;
  l.RpmReplyText1 = " ";
  l.RpmReplyText2 = " ";
}

void ParseRpmVaReply(LinkState& l, std::string_view reply, int commandLen, int unitLen) {
  if (!TryParseWhole(reply, commandLen, unitLen, l.RpmReplyText1, l.RpmCounterRpm)) {
    l.RpmReplyText1 = " ";
  }
}

void ParseRpmTpReply(LinkState& l, std::string_view reply, int commandLen, int unitLen) {
  if (!TryParseWhole(reply, commandLen, unitLen, l.RpmReplyText2, l.RpmCounterOilTemp)) {
    l.RpmReplyText2 = " ";
  }
}

std::optional<OpaErrorAlarm> ShowOpaErrorCode(LinkState& l, const ShellState& s,
                                              std::string_view code) {
  if (code == "001" || code == "005") {
    l.ShowParseWarning = 0;
    return std::nullopt;
  }
  const ErrorCodeText* entry = nullptr;
  for (const auto& e : kErrorCodes) {
    if (code == e.code) entry = &e;
  }
  if (entry == nullptr) return std::nullopt;

  l.ShowParseWarning = 0;
  std::string text;
  if (entry->italian == nullptr) {
    text = s.LangText[lang::CRITICTcam];
  } else {
    text = s.LanguageCode == 2 ? entry->english : entry->italian;
  }
  return OpaErrorAlarm{entry->caption, text};
}

}  // namespace vs
