#include "link/SmokeRpmReplies.h"

#include <string>

#include "app/Program.h"
#include "link/ReplyFields.h"
#include "link/ReplyParsers.h"

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

void ParseOpaMeasureReply(Program& p, std::string_view reply) {
  if (!TryParseOpaMeasure(p.link, p.shell, reply)) ShowPortHint(p, HintInstrument::Opacimeter);
}

void ParseOpaRdReply(Program& p, std::string_view reply) {
  if (!TryParseOpaRd(p.link, reply)) ShowPortHint(p, HintInstrument::Opacimeter);
}

void ParseRpmVeReply(Program& p, std::string_view reply, int commandLen, int unitLen) {
  LinkState& l = p.link;
  if (TryParseRpmVe(l, reply, commandLen, unitLen)) return;
  l.RpmReplyText1 = " ";
  l.RpmReplyText2 = " ";
}

void ParseRpmVaReply(Program& p, std::string_view reply, int commandLen, int unitLen) {
  LinkState& l = p.link;
  if (!TryParseWhole(reply, commandLen, unitLen, l.RpmReplyText1, l.RpmCounterRpm)) {
    l.RpmReplyText1 = " ";
  }
}

void ParseRpmTpReply(Program& p, std::string_view reply, int commandLen, int unitLen) {
  LinkState& l = p.link;
  if (!TryParseWhole(reply, commandLen, unitLen, l.RpmReplyText2, l.RpmCounterOilTemp)) {
    l.RpmReplyText2 = " ";
  }
}

void ShowOpaErrorCode(Program& p, std::string_view code) {
  LinkState& l = p.link;
  if (code == "001" || code == "005") {
    l.ShowParseWarning = 0;
    return;
  }
  const ErrorCodeText* entry = nullptr;
  for (const auto& e : kErrorCodes) {
    if (code == e.code) entry = &e;
  }
  if (entry == nullptr) return;

  if (l.ui.setSmokeTimerEnabled) {
    l.ui.setSmokeTimerEnabled(false);
  } else {
    l.headless.smokeTimerSettings.push_back(false);
  }
  l.ShowParseWarning = 0;
  std::string text;
  if (entry->italian == nullptr) {
    text = p.shell.LangText[lang::CRITICTcam];
  } else {
    text = p.shell.LanguageCode == 2 ? entry->english : entry->italian;
  }
  if (l.ui.showCritic) {
    l.ui.showCritic(entry->caption, text);
  } else {
    l.headless.critics.emplace_back(entry->caption, text);
  }
}

}  // namespace vs
