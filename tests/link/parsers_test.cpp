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

enum class P { Id, La, Li, Eh, Et, Ls, Rs, RpmVe, RpmVa, RpmTp, GasVa, OpaVa, OpaRd, OpaCode };
// Counter readings switched in, the port hint switched on, language code 2 or 3 (else 1).
enum Opt { kExtern = 1, kWarn = 2, kLang2 = 4, kLang3 = 8 };

struct Row {
  P parser;
  const char* reply;  // '<' STX, '|' ETB; a checksum and ETX are added (OpaCode: the code)
  std::string after;  // the fields the parser writes, ';' between them, ETB as '|'; then,
                      // from GasVa on, ShowParseWarning and the hint's Tag
  int opts = 0;
  int commandLen = 0;  // 0: that of the parser's command
  int unitLen = 1;
};

std::string Join(std::initializer_list<std::string> parts) {
  std::string s;
  for (const std::string& part : parts) s += ";" + part;
  return s.substr(1);
}

std::string N(double v) {
  std::ostringstream s;
  s << v;
  return s.str();
}

// "!" and the hint's first word and instrument, or nothing.
std::string Tag(const PortHint& h) {
  if (!h) return "";
  const bool smoke = h->find("SMOKE") != std::string::npos || h->find("FUMO") != std::string::npos;
  return "!" + h->substr(0, h->find(' ')) + (smoke ? " smoke" : " gas");
}

class ParsersTest : public ::testing::Test {
 protected:
  std::string Run(const Row& r) {
    p.shell.ExternRpm = p.shell.ExternOilTemp = (r.opts & kExtern) ? 1 : 0;
    p.shell.LanguageCode = (r.opts & kLang2) ? 2 : (r.opts & kLang3) ? 3 : 1;
    if (r.opts & kWarn) l.ShowParseWarning = -1;
    const std::string reply = testing::Ctl(r.reply) + (r.parser == P::OpaCode ? "" : "00>");
    const bool two = r.parser == P::Id || r.parser == P::Et || r.parser == P::Eh ||
                     (r.parser >= P::RpmVe && r.parser <= P::RpmTp);
    const int c = r.commandLen != 0 ? r.commandLen : two ? 2 : 3, u = r.unitLen;
    l.McnCommandLen = static_cast<std::int16_t>(c);
    l.McnDevNumberLen = u;
    std::string out;
    PortHint hint;
    switch (r.parser) {
      case P::Id:
        ParseIdReply(l, reply, c, u);
        out = Join({l.InstrMake, l.InstrModel, l.InstrHomologation, l.InstrSerial, l.InstrExpiry,
                    l.InstrVersion, l.McnIdField7, N(l.InstrVersionX1000), l.GasSerialNumber,
                    l.GasCheckExpiry});
        break;
      case P::La:
        ParseGasLaReply(l, reply, c, u);
        out = Join({l.McnFuelText, l.McnSaField3, l.McnStrokes, l.McnHcRatio, l.McnOcRatio});
        break;
      case P::Li:
        ParseGasLiReply(l, reply, c, u);
        out = l.McnLiField1;
        break;
      case P::Eh:
        ParseGasEhReply(l, reply, c, u);
        out = l.McnEhField1;
        break;
      case P::Et:
        ParseGasEtReply(l, reply, c, u);
        out = Join({l.McnEtFlag, l.McnEtDate, l.McnEtTime});
        break;
      case P::Ls:
        ParseGasLsReply(l, reply, c, u);
        out = N(l.McnLsValue);
        break;
      case P::Rs:
        ParseRsReply(l, reply, c, u);
        out = Join({N(l.McnRsStatus1), N(l.McnRsStatus2)});
        break;
      case P::GasVa:
        hint = ParseGasVaReply(l, p.shell, reply, c, u);
        out = Join({N(l.GasCO), N(l.GasCOcorr), N(l.GasCO2), N(l.GasHC), N(l.GasO2), N(l.GasLambda),
                    N(l.GasOilTemp), N(l.GasRpm), N(l.GasNOx)});
        break;
      case P::OpaVa:
        hint = ParseOpaMeasureReply(l, p.shell, reply);
        out = Join({N(l.OpaK), N(l.OpaN), N(l.OpaRpm), N(l.OpaOilTemp), N(l.OpaSmokeTemp),
                    N(l.OpaCellTemp), N(l.OpaValueField7), l.OpaValueText5, l.OpaValueText6,
                    l.OpaValueText7});
        break;
      case P::OpaRd:
        hint = ParseOpaRdReply(l, p.shell, reply);
        out = N(l.OpaSupplyVoltage);
        break;
      case P::RpmVe:
      case P::RpmVa:
      case P::RpmTp:
        (r.parser == P::RpmVe   ? ParseRpmVeReply
         : r.parser == P::RpmVa ? ParseRpmVaReply
                                : ParseRpmTpReply)(l, reply, c, u);
        out = Join({l.RpmReplyText1, l.RpmReplyText2, N(l.RpmCounterRpm), N(l.RpmCounterOilTemp)});
        break;
      case P::OpaCode: {
        const auto alarm = ShowOpaErrorCode(l, p.shell, reply);
        out = alarm ? alarm->caption + ";" + alarm->text : "-";
        break;
      }
    }
    if (r.parser >= P::GasVa) out += ";" + N(l.ShowParseWarning) + Tag(hint);
    for (char& ch : out) ch = ch == kEtb ? '|' : ch;
    return out;
  }

  ProgramState p{plat::EventLoop::ClockKind::Manual};
  LinkState& l = p.link;
};

TEST_F(ParsersTest, MalformedAndBoundaryReplies) {
  p.shell.LangText[lang::CRITICTcam] = "CELLA";
  l.RpmCounterRpm = 1450;
  l.RpmCounterOilTemp = 92.25;
  const std::string blank = " ; ; ; ; ; ; ;";
  const Row rows[] = {
      // Six fields: the seventh reads "" from the two ETBs put after the data.
      {P::Id, "<GAS|1|ID|A|B|C|D|01012024|4.005", "A;B;C;D;01/01/2024;4.005;;4005;D;01/01/2024"},
      // Five: the version reads "", the seventh is missing; the gas copies were made.
      {P::Id, "<GAS|1|ID|M|N|O|NEWSN|02032026", (blank + "4005;NEWSN;02/03/2026")},
      {P::Id, "<GAS|1|ID", (blank + "4005;NEWSN;02/03/2026")},  // too short
      {P::Id, "", (blank + "4005;NEWSN;02/03/2026")},
      {P::Id, "<GAS|1|ID|A", (blank + "4005;NEWSN;02/03/2026"), 0, -20},
      {P::Id, "<GAS|1|ID|A", (blank + "4005;NEWSN;02/03/2026"), 0, 2, 30000},
      // Windows-1252 fields; a short date is cut as far as it goes.
      {P::Id, "<GAS|1|ID|Citt\xE0|\x80|||||", "Città;€;;;//;;;0;;//"},
      {P::La, "<GAS|1|@LA|GPL|CAT|04|2|2.570", "GPLCAT;04;2;2.570;"},
      {P::La, "<GAS|1|@LA|METANO|CAT|04", " ; ; ; ; "},
      {P::Li, "<GAS|1|@LI", " "},
      {P::Eh, "<GAS", " "},
      {P::Et, "<GAS|1|ET|R|00002024|0930", "R;01/01/2024;09:30"},
      {P::Et, "<GAS|1|ET|I|15072023", "I;15/07/2023;:"},
      {P::Et, "<GAS|1|ET|E", " ;01/01/2000; "},
      {P::Ls, "<GAS|1|@LS|2.5", "2"},  // half to even
      {P::Ls, "<GAS|1|@LS|3.5", "4"},
      {P::Ls, "<GAS|1|@LS|-12.5mbar", "-12"},
      {P::Ls, "<GAS|1|@LS|99999999999", "-12"},  // beyond 32 bits: kept
      {P::Ls, "<GAS|1|@LS", "-12"},
      {P::Rs, "<GAS|1|@RS|A", "65;23"},  // byte 3 is an ETB put after the data
      {P::Rs, "<GAS|1|@RS|\xC1|B", "193;66"},
      {P::Rs, "<GAS|1|@RS|XYZ", "88;90"},
      {P::Rs, "<GAS|1|@RS||Q", "88;90"},  // an empty first field stores nothing
      {P::Rs, "<GAS|1|@RS", "88;90"},
      // Eight fields: NOx reads 0, no hint. Numbers: the leading number, "." only.
      {P::GasVa, "<GAS|1|@VA|1|1|1|1|1|1|1|900", "1;1;1;1;1;1;1;900;0;-1", kWarn},
      {P::GasVa, "<GAS|1|@VA|-1|2,5| 3.5%|abc||1|2|3|4", "-1;2;3.5;0;0;1;2;3;4;-1"},
      // Seven: engine speed reads 0, the ninth is missing: the hint, once.
      {P::GasVa, "<GAS|1|@VA|5|5|5|5|5|5|5", "5;5;5;5;5;5;5;0;4;0!SCEGLIERE gas"},
      {P::GasVa, "<GAS|1|@VA", "5;5;5;5;5;5;5;0;4;0"},
      {P::GasVa, "<GAS|1|@VA", "5;5;5;5;5;5;5;0;4;0!CHOOSE gas", kWarn | kLang2},
      {P::GasVa, "<GAS|1|@VA", "5;5;5;5;5;5;5;0;4;0!SCEGLIERE gas", kWarn | kLang3},
      {P::GasVa, "<GAS|1|@VA|1|1|1|1|1|1|60|800|3", "1;1;1;1;1;1;92.25;1450;3;0", kExtern},
      // With the counter's readings the eighth field is still needed.
      {P::GasVa, "<GAS|1|@VA|1|1|1|1|1|1|60", "1;1;1;1;1;1;92.25;1450;3;0!SCEGLIERE gas",
       kExtern | kWarn},
      // An oil temperature beyond a single fails.
      {P::GasVa, "<GAS|1|@VA|2|2|2|2|2|2|999999999999999999999999999999999999999|800|3",
       "2;2;2;2;2;2;92.25;1450;3;0!SCEGLIERE gas", kWarn},
      {P::OpaVa, "<OPA|1|@VA|1|2|3|4|888.0|6|7", "1;2;1450;92.25;888;6;7;888.0;6;7;0", kExtern},
      {P::OpaVa, "<OPA|1|@VA|1|2|3|4|5|6", "1;2;3;4;5;6;0;5;6;;-1", kWarn},
      {P::OpaVa, "<OPA|1|@VA|9|9|9|9|9", "9;9;9;9;9;0;0;9;;;0!SCEGLIERE smoke"},
      {P::OpaRd, "<OPA|1|@RD|a|b|c|d|e|12450", "12.45;0"},
      {P::OpaRd, "<OPA|1|@RD|a|b|c|d|e", "0;0"},
      {P::OpaRd, "<OPA|1|@RD|1|2|3|4", "0;0!CHOOSE smoke", kWarn | kLang2},
      // "VA" and "TP" take the whole data text; too short: the texts blank, numbers kept.
      {P::RpmVa, "<RPM|1|VA|1450", "1450;;1450;92.25"},
      {P::RpmTp, "<RPM|1|TP|85.5|x", "1450;85.5|x;1450;85.5"},
      {P::RpmVa, "<RPM|1|VA", " ;85.5|x;1450;85.5"},
      {P::RpmVe, "<RPM|1|VE|", ";;0;0"},
      {P::RpmVe, "<RPM|1|VE|900|77", "900;77;900;77"},
      {P::RpmTp, "<RPM|1|TP", "900; ;900;77"},
      {P::RpmVe, "<RPM", " ; ;900;77"},
      // Error codes: the alarm, English for language 2 only, the hint switched off.
      {P::OpaCode, "002", "ERROR 2;SPENGERE OPACIMETRO E PULIRE PARTI OTTICHE;0", kWarn},
      {P::OpaCode, "002", "ERROR 2;TURN OF SMOKE METER AND CLEAN OPTICAL PATH;0", kWarn | kLang2},
      {P::OpaCode, "003", "ERROR 3;SPENGERE OPACIMETRO;0", kWarn | kLang3},
      {P::OpaCode, "010", "ERROR 10;CELLA;0", kWarn | kLang2},
      {P::OpaCode, "001", "-;0", kWarn},  // known, without an alarm
      {P::OpaCode, "005", "-;0", kWarn},
      {P::OpaCode, "008", "-;-1", kWarn},
      {P::OpaCode, "0020", "-;-1", kWarn},
      {P::OpaCode, "010 ", "-;-1", kWarn},
  };
  for (const Row& r : rows) EXPECT_EQ(Run(r), r.after) << r.reply;
  for (const char* code : {"004", "006", "007"}) EXPECT_TRUE(ShowOpaErrorCode(l, p.shell, code));
}

}  // namespace
}  // namespace vs
