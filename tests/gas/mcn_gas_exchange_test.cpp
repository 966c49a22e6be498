// The MCTC-NET reply rules on the records: the leak check's verdict and age, the status
// character and the analyser's codes, the failed HC residue check, the P.E.F. parameter.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "gas/GasState.h"
#include "gas/McnGasExchange.h"
#include "link/FrameCollector.h"
#include "link/LinkState.h"
#include "link/MctcNetFrame.h"
#include "shell/LanguageKeys.h"
#include "shell/ShellState.h"
#include "sim/Instrument.h"

namespace vs {
namespace {

struct Records {
  LinkState l;
  GasState g;
  ShellState s;
  std::string Stato = "x", StatoRichiesto, PrevState, GasPhase;
  std::int16_t AutoZeroCount = 0, StandbyAfterEt = 0, FuelIndex = 1, StrokesIndex = 0;
  std::int16_t GasMode = 1;
  plat::DateTime now{2026, 12, 7, 14, 35, 0};

  Records() {
    l.McnAddress = "GAS";
    l.McnDevNumber = "1";
    l.McnDevNumberLen = 1;
    for (std::size_t i = 0; i < s.LangText.size(); ++i) s.LangText[i] = "t" + std::to_string(i);
  }
  McnGasScreen Reply(const std::string& command, const std::string& data) {
    l.McnCommand = command;
    l.McnCommandLen = static_cast<std::int16_t>(command.size());
    std::string buffer = sim::MctcReply("GAS", command, data);
    const McnCollected got = CollectTestFormReply(l, buffer);
    EXPECT_EQ(got.status, McnCollected::Status::Accepted);
    return DecideMcnGasReply({Stato, StatoRichiesto, PrevState, GasPhase, AutoZeroCount,
                              StandbyAfterEt, FuelIndex, StrokesIndex, GasMode},
                             l, g, s, got, now);
  }
};

std::string Et(const char* flag, const char* date, const char* time) {
  return std::string(flag) + kEtb + date + kEtb + time;
}

TEST(McnGasRulesTest, LeakCheckVerdictAndAge) {
  constexpr std::size_t kNone = 0, kExpired = lang::ANGASETmsgbox, kLate = lang::ANGASETIRRmsgbox;
  struct Case {
    const char* name;
    std::string data;
    std::uint8_t mask;
    const char* prev;
    const char* stato;  // after the reply
    const char* flag;
    std::size_t box;
    bool buttonsBack;
  };
  const std::vector<Case> cases = {
      {"valid today", Et("R", "07122026", "0001"), 0, "", "ETER", "R", kNone, true},
      {"yesterday, same minute", Et("R", "06122026", "1435"), 0, "", "ETER", "R", kNone, true},
      {"yesterday, a minute earlier", Et("R", "06122026", "1434"), 0, "", "ETEI", "I", kExpired,
       true},
      {"two days ago", Et("R", "05122026", "2359"), 0, "", "ETEI", "I", kExpired, true},
      {"no date", Et("R", "", ""), 0, "", "ETEI", "I", kExpired, true},
      {"failed split keeps the word", "", 0, "", "x", " ", kNone, true},
      {"after the pressure", Et("R", "07122026", "1200"), 0, "LSEN", "ETER", "R", kLate, true},
      {"refused", Et("I", "07122026", "1200"), 0, "", "ETEI", "I", kExpired, true},
      {"pressure being read", Et("E", "07122026", "1200"), 0, "", "ETEE", "E", kNone, false},
      {"skipped by the station", Et("E", "07122026", "1200"), 4, "", "ETER", "R", kNone, true},
      {"expired but skipped", Et("I", "01012020", "1200"), 4, "", "ETER", "R", kNone, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Records r;
    r.s.SystemEnableMask = c.mask;
    r.PrevState = c.prev;
    r.l.McnRsStatus1 = 9;
    const McnGasScreen out = r.Reply("ET", c.data);
    EXPECT_EQ(r.Stato, c.stato);
    EXPECT_EQ(r.PrevState, c.stato);
    EXPECT_EQ(r.l.McnEtFlag, c.flag);
    EXPECT_EQ(out.boxes, c.box == kNone ? std::vector<std::size_t>{} : std::vector{c.box});
    EXPECT_EQ(out.startAndStandbyEnabled, c.buttonsBack);
    EXPECT_EQ(r.l.McnRsStatus1, c.buttonsBack ? 0 : 9);
  }
}

TEST(McnGasRulesTest, StatusCharacterAndTheAnalysersCodes) {
  struct Case {
    const char* name;
    std::string rs;      // "@RS" data before the status, "" none sent
    std::string status;  // "@ST" data
    int mcnStatus;
    const char* stato;
    std::string message;  // Label27 text ("" untouched)
  };
  const std::vector<Case> cases = {
      {"warm-up", "", "A", 1, "RSTRIS", "t28"},
      {"stand-by, channel error", std::string("\xA3") + kEtb + "\x05", "B", 2, "RSTSB",
       "t162 CO HC"},
      {"stand-by, codes cleared by an empty reply", "#", "B", 2, "RSTSB", "t9"},
      {"measuring asks for the leak check", std::string(1, 26), "H", 8, "TTE", ""},
      {"measuring asks for the HC residue check", std::string(1, 20), "H", 8, "HCRES", ""},
      {"status 0", "", "@", 0, "RSTMIS", ""},
      {"no status at all", "", "", 0, "RSTMIS", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Records r;
    r.g.GasMcnStatus = 8;
    if (!c.rs.empty()) {
      r.Reply("@RS", c.rs);
      // "#": the codes of an earlier reply, then a reply without data.
      if (c.rs == "#") r.Reply("@RS", "");
    }
    const McnGasScreen out = r.Reply("@ST", c.status);
    EXPECT_EQ(r.g.GasMcnStatus, c.mcnStatus);
    EXPECT_EQ(r.Stato, c.stato);
    EXPECT_EQ(out.message ? out.message->text : "", c.message);
  }
}

TEST(McnGasRulesTest, HcResidueAndParameterReplies) {
  Records r;
  EXPECT_EQ(r.Reply("EH", "I").boxes, std::vector<std::size_t>{lang::ANGASEHCIRRmsgbox});
  EXPECT_EQ(r.GasPhase, "");  // a failed check starts no test phase
  EXPECT_EQ(r.Stato, "ESHC");

  Records lu;
  lu.Stato = "LAL";
  EXPECT_FALSE(lu.Reply("@LU", std::string("0.5") + kEtb + "046").pef);
  EXPECT_EQ(lu.Stato, "LAL");
  EXPECT_EQ(lu.Reply("@LU", std::string("012") + kEtb + "047").pef, "012");
  EXPECT_EQ(lu.Stato, "LI");
}

TEST(McnGasRequestTest, ClockAndFuelSettingsData) {
  LinkState l;
  std::string stato = "IDE", req, prev, phase;
  std::int16_t a = 0, b = 0, c = 0, d = 0;
  const auto next = [&](const plat::DateTime& now) {
    return NextMcnGasRequest({stato, req, prev, phase, a, b, c, d, 0}, l, now);
  };
  EXPECT_EQ(next({2027, 1, 2, 3, 4, 5})->data, std::string("02012027") + kEtb + "030405");

  stato = "@SA";
  req = "@SA";
  l.McnSaField3 = "04";
  l.McnStrokes = "4";
  l.McnHcRatio = "2.570";
  l.McnOcRatio = "0.000";
  for (const char* joined : {"GPLCAT",
                             "GPL\x17"
                             "CAT"}) {
    l.McnFuelText = joined;
    EXPECT_EQ(next({})->data, std::string("GPL") + kEtb + "CAT" + kEtb + "04" + kEtb + "4" + kEtb +
                                  "2.570" + kEtb + "0.000");
  }
  l.McnFuelText = " ";  // an "@LA" reply that did not parse: still six fields
  EXPECT_EQ(McnFuelSettingsData(l),
            std::string(" ") + kEtb + kEtb + "04" + kEtb + "4" + kEtb + "2.570" + kEtb + "0.000");
  EXPECT_EQ(req, "");
}

}  // namespace
}  // namespace vs
