// Fuzz targets of the reply parsers: one row per parser. CMake builds one program per row,
// named <row>_fuzz, with VS_FUZZ_ROW set to the row's name.
#include <cstdlib>
#include <cstring>

#include "link/ReplyParsers.h"
#include "link/SmokeRpmReplies.h"
#include "link_fuzz.h"

namespace {

using vs::fuzz::CheckText;
using vs::fuzz::Input;
using vs::fuzz::Records;

void CheckTexts(std::initializer_list<const std::string*> texts) {
  for (const std::string* t : texts) CheckText(*t);
}

struct Row {
  const char* name;
  void (*run)(Records& p, const Input& in);
};

// clang-format off
// Each row: the parser call, then the texts it fills (which must be whole UTF-8).
constexpr Row kRows[] = {
  {"id_reply", [](Records& p, const Input& in) {
    vs::ParseIdReply(p.link, in.reply, in.commandLen, in.unitLen);
    CheckTexts({&p.link.InstrMake, &p.link.InstrModel, &p.link.InstrHomologation,
                &p.link.InstrSerial, &p.link.InstrExpiry, &p.link.InstrVersion});
  }},
  {"rs_reply", [](Records& p, const Input& in) {
    vs::ParseRsReply(p.link, in.reply, in.commandLen, in.unitLen);
    if (p.link.McnRsStatus1 < 0 || p.link.McnRsStatus1 > 255) std::abort();
  }},
  {"gas_eh_reply", [](Records& p, const Input& in) {
    vs::ParseGasEhReply(p.link, in.reply, in.commandLen, in.unitLen);
    CheckTexts({&p.link.McnEhField1});
  }},
  {"gas_et_reply", [](Records& p, const Input& in) {
    vs::ParseGasEtReply(p.link, in.reply, in.commandLen, in.unitLen);
    CheckTexts({&p.link.McnEtDate, &p.link.McnEtTime});
  }},
  {"gas_la_reply", [](Records& p, const Input& in) {
    vs::ParseGasLaReply(p.link, in.reply, in.commandLen, in.unitLen);
    CheckTexts({&p.link.McnFuelText});
  }},
  {"gas_li_reply", [](Records& p, const Input& in) {
    vs::ParseGasLiReply(p.link, in.reply, in.commandLen, in.unitLen);
    CheckTexts({&p.link.McnLiField1});
  }},
  {"gas_ls_reply", [](Records& p, const Input& in) {
    vs::ParseGasLsReply(p.link, in.reply, in.commandLen, in.unitLen);
  }},
  {"gas_va_reply", [](Records& p, const Input& in) {
    (void)vs::ParseGasVaReply(p.link, p.shell, in.reply, in.commandLen, in.unitLen);
  }},
  {"opa_error_code", [](Records& p, const Input& in) {
    (void)vs::ShowOpaErrorCode(p.link, p.shell, in.reply);
  }},
  {"opa_measure_reply", [](Records& p, const Input& in) {
    (void)vs::ParseOpaMeasureReply(p.link, p.shell, in.reply);
    CheckTexts({&p.link.OpaValueText5});
  }},
  {"opa_rd_reply", [](Records& p, const Input& in) {
    (void)vs::ParseOpaRdReply(p.link, p.shell, in.reply);
  }},
  {"rpm_tp_reply", [](Records& p, const Input& in) {
    vs::ParseRpmTpReply(p.link, in.reply, in.commandLen, in.unitLen);
    CheckTexts({&p.link.RpmReplyText2});
  }},
  {"rpm_va_reply", [](Records& p, const Input& in) {
    vs::ParseRpmVaReply(p.link, in.reply, in.commandLen, in.unitLen);
    CheckTexts({&p.link.RpmReplyText1});
  }},
  {"rpm_ve_reply", [](Records& p, const Input& in) {
    vs::ParseRpmVeReply(p.link, in.reply, in.commandLen, in.unitLen);
    CheckTexts({&p.link.RpmReplyText1});
  }},
};
// clang-format on

const Row& ThisRow() {
  for (const Row& row : kRows) {
    if (std::strcmp(row.name, VS_FUZZ_ROW) == 0) return row;
  }
  std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const Row& row = ThisRow();
  Records& p = vs::fuzz::TheRecords();
  row.run(p, vs::fuzz::Take(data, size));
  return 0;
}
