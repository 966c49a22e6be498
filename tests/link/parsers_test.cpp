// The reply parsers on malformed and boundary replies: one table whose rows run in order on
// one link state, so that a row shows what a failed parse keeps of the rows before it.
#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "link/ReplyParsers.h"
#include "link/SmokeRpmReplies.h"
#include "link_test_util.h"
#include "state/ProgramState.h"

namespace vs {
namespace {

// A reply as "<address|unit|command|data" ('<' STX, '|' ETB; a checksum and ETX are added),
// or an opacimeter error code. After it, what the parser of that address and command
// writes, ';' between the fields, ETB as '|'; for "@VA" and "@RD", and for the codes,
// ShowParseWarning, then "!", the first word and the instrument of the port hint if one came.
// Options: counter readings switched in, the port hint switched on, language code 2 or 3.
enum Opt { kExtern = 1, kWarn = 2, kLang2 = 4, kLang3 = 8 };
struct Row {
  const char *reply, *after;
  int opts = 0;
  int commandLen = 0;  // 0: that of the command
  int unitLen = 1;
};

template <class... T>
std::string J(const T&... fields) {
  std::ostringstream s;
  ((s << ';' << fields), ...);
  return s.str().substr(1);
}

class ParsersTest : public ::testing::Test {
 protected:
  std::string Run(const Row& r) {
    p.shell.ExternRpm = p.shell.ExternOilTemp = (r.opts & kExtern) ? 1 : 0;
    p.shell.LanguageCode = (r.opts & kLang2) ? 2 : (r.opts & kLang3) ? 3 : 1;
    if (r.opts & kWarn) l.ShowParseWarning = -1;
    const std::string_view text = r.reply;
    if (text[0] != '<') {
      const auto alarm = ShowOpaErrorCode(l, p.shell, text);
      return (alarm ? alarm->caption + ";" + alarm->text : "-") + ";" +
             std::to_string(l.ShowParseWarning);
    }
    const std::string cmd(text.substr(7, text.find('|', 7) - 7));
    const int c = r.commandLen != 0 ? r.commandLen : static_cast<int>(cmd.size()), u = r.unitLen;
    l.McnCommandLen = static_cast<std::int16_t>(c);
    l.McnDevNumberLen = u;
    const std::string f = testing::Ctl(text) + "00>";
    PortHint hint;
    const std::string key = std::string(text.substr(1, 3)) + cmd;
    std::string out =
        key == "GASID" ? (ParseIdReply(l, f, c, u),
                          J(l.InstrMake, l.InstrModel, l.InstrHomologation, l.InstrSerial,
                            l.InstrExpiry, l.InstrVersion, l.McnIdField7, l.InstrVersionX1000,
                            l.GasSerialNumber, l.GasCheckExpiry))
        : key == "GAS@LA"
            ? (ParseGasLaReply(l, f, c, u),
               J(l.McnFuelText, l.McnSaField3, l.McnStrokes, l.McnHcRatio, l.McnOcRatio))
        : key == "GAS@LI" ? (ParseGasLiReply(l, f, c, u), l.McnLiField1)
        : key == "GASEH"  ? (ParseGasEhReply(l, f, c, u), l.McnEhField1)
        : key == "GASET"  ? (ParseGasEtReply(l, f, c, u), J(l.McnEtFlag, l.McnEtDate, l.McnEtTime))
        : key == "GAS@LS" ? (ParseGasLsReply(l, f, c, u), J(l.McnLsValue))
        : key == "GAS@RS" ? (ParseRsReply(l, f, c, u), J(l.McnRsStatus1, l.McnRsStatus2))
        : key == "GAS@VA" ? (hint = ParseGasVaReply(l, p.shell, f, c, u),
                             J(l.GasCO, l.GasCOcorr, l.GasCO2, l.GasHC, l.GasO2, l.GasLambda,
                               l.GasOilTemp, l.GasRpm, l.GasNOx))
        : key == "OPA@VA"
            ? (hint = ParseOpaMeasureReply(l, p.shell, f),
               J(l.OpaK, l.OpaN, l.OpaRpm, l.OpaOilTemp, l.OpaSmokeTemp, l.OpaCellTemp,
                 l.OpaValueField7, l.OpaValueText5, l.OpaValueText6, l.OpaValueText7))
        : key == "OPA@RD"
            ? (hint = ParseOpaRdReply(l, p.shell, f), J(l.OpaSupplyVoltage))
            : ((cmd == "VE"   ? ParseRpmVeReply
                : cmd == "VA" ? ParseRpmVaReply
                              : ParseRpmTpReply)(l, f, c, u),
               J(l.RpmReplyText1, l.RpmReplyText2, l.RpmCounterRpm, l.RpmCounterOilTemp));
    if (cmd == "@VA" || cmd == "@RD") out += ";" + std::to_string(l.ShowParseWarning);
    const bool gas = hint && hint->find("GAS") != std::string::npos;
    if (hint) out += "!" + hint->substr(0, hint->find(' ')) + (gas ? " gas" : " smoke");
    return out;
  }

  ProgramState p{plat::EventLoop::ClockKind::Manual};
  LinkState& l = p.link;
};

TEST_F(ParsersTest, MalformedAndBoundaryReplies) {
  p.shell.LangText[lang::CRITICTcam] = "CELLA";
  l.RpmCounterRpm = 1450;
  l.RpmCounterOilTemp = 92.25;
  const Row rows[] = {
      // Six fields: the seventh reads "" from the two ETBs put after the data.
      {"<GAS|1|ID|A|B|C|D|01012024|4.005", "A;B;C;D;01/01/2024;4.005;;4005;D;01/01/2024"},
      // Five: the version reads "", the seventh is missing; the gas copies were made.
      {"<GAS|1|ID|M|N|O|NEWSN|02032026", " ; ; ; ; ; ; ;4005;NEWSN;02/03/2026"},
      {"<GAS|1|ID|A", " ; ; ; ; ; ; ;4005;NEWSN;02/03/2026", 0, -5},  // lengths out of range
      {"<GAS|1|ID|A", " ; ; ; ; ; ; ;4005;NEWSN;02/03/2026", 0, 2, 30000},
      // Windows-1252 fields; a short date is cut as far as it goes.
      {"<GAS|1|ID|Citt\xE0|\x80|||||", "Città;€;;;//;;;0;;//"},
      {"<GAS|1|@LA|GPL|CAT|04|2|2.570", "GPLCAT;04;2;2.570;"},
      {"<GAS|1|@LA|METANO|CAT|04", " ; ; ; ; "},
      {"<GAS|1|@LI", " "},
      {"<GAS|1|EH", " "},
      {"<GAS|1|ET|R|00002024|0930", "R;01/01/2024;09:30"},
      {"<GAS|1|ET|I|15072023", "I;15/07/2023;:"},
      {"<GAS|1|ET|E", " ;01/01/2000; "},
      {"<GAS|1|@LS|3.5", "4"},  // half to even
      {"<GAS|1|@LS|-12.5mbar", "-12"},
      {"<GAS|1|@LS|99999999999", "-12"},  // beyond 32 bits: kept
      {"<GAS|1|@RS|A", "65;23"},          // byte 3 is an ETB put after the data
      {"<GAS|1|@RS|\xC1|B", "193;66"},
      {"<GAS|1|@RS|XYZ", "88;90"},
      {"<GAS|1|@RS||Q", "88;90"},  // an empty first field stores nothing
      // Eight fields: NOx reads 0, no hint. Numbers: the leading number, "." only.
      {"<GAS|1|@VA|1|1|1|1|1|1|1|900", "1;1;1;1;1;1;1;900;0;-1", kWarn},
      {"<GAS|1|@VA|-1|2,5| 3.5%|abc||1|2|3|4", "-1;2;3.5;0;0;1;2;3;4;-1"},
      // Seven: engine speed reads 0, the ninth is missing: the hint, once.
      {"<GAS|1|@VA|5|5|5|5|5|5|5", "5;5;5;5;5;5;5;0;4;0!SCEGLIERE gas"},
      {"<GAS|1|@VA", "5;5;5;5;5;5;5;0;4;0"},
      {"<GAS|1|@VA", "5;5;5;5;5;5;5;0;4;0!CHOOSE gas", kWarn | kLang2},
      {"<GAS|1|@VA", "5;5;5;5;5;5;5;0;4;0!SCEGLIERE gas", kWarn | kLang3},
      {"<GAS|1|@VA|1|1|1|1|1|1|60|800|3", "1;1;1;1;1;1;92.25;1450;3;0", kExtern},
      // With the counter's readings the eighth field is still needed.
      {"<GAS|1|@VA|1|1|1|1|1|1|60", "1;1;1;1;1;1;92.25;1450;3;0!SCEGLIERE gas", kExtern | kWarn},
      // An oil temperature beyond a single fails.
      {"<GAS|1|@VA|2|2|2|2|2|2|999999999999999999999999999999999999999|800|3",
       "2;2;2;2;2;2;92.25;1450;3;0!SCEGLIERE gas", kWarn},
      {"<OPA|1|@VA|1|2|3|4|888.0|6|7", "1;2;1450;92.25;888;6;7;888.0;6;7;0", kExtern},
      {"<OPA|1|@VA|1|2|3|4|5|6", "1;2;3;4;5;6;0;5;6;;-1", kWarn},
      {"<OPA|1|@VA|9|9|9|9|9", "9;9;9;9;9;0;0;9;;;0!SCEGLIERE smoke"},
      {"<OPA|1|@RD|a|b|c|d|e|12450", "12.45;0"},
      {"<OPA|1|@RD|1|2|3|4", "12.45;0!CHOOSE smoke", kWarn | kLang2},
      // "VA" and "TP" take the whole data text; too short: the texts blank, numbers kept.
      {"<RPM|1|VA|1450", "1450;;1450;92.25"},
      {"<RPM|1|TP|85.5|x", "1450;85.5|x;1450;85.5"},
      {"<RPM|1|VA", " ;85.5|x;1450;85.5"},
      {"<RPM|1|VE|", ";;0;0"},
      {"<RPM|1|VE|900|77", "900;77;900;77"},
      {"<RPM|1|TP", "900; ;900;77"},
      {"<RPM|1|VE", " ; ;900;77"},
      // Error codes: the alarm, English for language 2 only, the hint switched off.
      {"002", "ERROR 2;TURN OF SMOKE METER AND CLEAN OPTICAL PATH;0", kWarn | kLang2},
      {"003", "ERROR 3;SPENGERE OPACIMETRO;0", kWarn | kLang3},
      {"010", "ERROR 10;CELLA;0", kWarn | kLang2},
      {"001", "-;0", kWarn},  // known, without an alarm
      {"005", "-;0", kWarn},
      {"0020", "-;-1", kWarn},  // unknown
  };
  for (const Row& r : rows) EXPECT_EQ(Run(r), testing::Ctl(r.after)) << r.reply;
  for (const char* code : {"004", "006", "007"}) EXPECT_TRUE(ShowOpaErrorCode(l, p.shell, code));
}

}  // namespace
}  // namespace vs
