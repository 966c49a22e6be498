#include "shell/LanguageTable.h"

#include <array>

#include "shell/RCLIni.h"
#include "state/ProgramState.h"

namespace vs {

namespace {

// The keys of "Lingua.ini" in index order.
constexpr std::array<std::string_view, kLanguageTextCount> kKeys = {
    "Menùtitolo",             // 0
    "Menùgas",                // 1
    "Menùopa",                // 2
    "MenùRPM",                // 3
    "MenùLingua",             // 4
    "ANFUMOExclStamp1",       // 5
    "ANFUMOExclStamp2",       // 6
    "ANFUMOFine",             // 7
    "ANFUMOAvan",             // 8
    "ANFUMOFase",             // 9
    "ANFUMOExclStamp3",       // 10
    "ANFUMOEsito",            // 11
    "ANFUMOCap",              // 12
    "ANFUMOProve",            // 13
    "ANFUMOFrame",            // 14
    "ANFUMOTcella",           // 15
    "ANFUMOTolio",            // 16
    "ANFUMOTfumi",            // 17
    "ANFUMOOp",               // 18
    "ANFUMOMis",              // 19
    "ANFUMOStart",            // 20
    "ANFUMOLim",              // 21
    "ANFUMOStampa",           // 22
    "ANFUMODatVeic",          // 23
    "ANFUMOMis1",             // 24
    "ANFUMOMis2",             // 25
    "ANFUMOMis3",             // 26
    "ANFUMOMis4",             // 27
    "ANFUMOAttRisc",          // 28
    "ANFUMODec",              // 29
    "ANFUMOAcc",              // 30
    "ANFUMOManMax",           // 31
    "ANFUMOManMin",           // 32
    "ANFUMOConcl",            // 33
    "ANFUMOAutzer",           // 34
    "ANFUMOAttivo",           // 35
    "ANFUMOPAlta",            // 36
    "ANFUMOPBassa",           // 37
    "ANFUMOEnnO",             // 38
    "ANFUMOPPOtt",            // 39
    "ANFUMORiscal",           // 40
    "ANFUMOSpengere",         // 41
    "ANFUMOControl",          // 42
    "ANFUMOExclStamp4",       // 43
    "ANFUMOExclStamp5",       // 44
    "ANFUMOMisura",           // 45
    "ANGASCap",               // 46
    "ANGASCarbu",             // 47
    "ANGASCarbu1",            // 48
    "ANGASCarbu2",            // 49
    "ANGASCarbu3",            // 50
    "ANGASCarbu4",            // 51
    "ANGASMot",               // 52
    "ANGASSelMis",            // 53
    "ANGASSelMis1",           // 54
    "ANGASSelMis2",           // 55
    "ANGASConPro",            // 56
    "ANGASProSup",            // 57
    "ANGASP1Concl",           // 58
    "ANGASProNnSup",          // 59
    "ANGASManMinAcc",         // 60
    "ANGASP2Concl",           // 61
    "ANGASCal",               // 62
    "ANGASAtt",               // 63
    "ANGASEffNwMis",          // 64
    "ANGASErrCon",            // 65
    "ANGASErrTen",            // 66
    "ANGASErrIrre",           // 67
    "ANSUCap",                // 68
    "ANSUModCom",             // 69
    "ANSUDat",                // 70
    "ANSUAppl",               // 71
    "ANSUMarc",               // 72
    "ANSUNOm",                // 73
    "DAMBCap",                // 74
    "DAMBTemp",               // 75
    "DAMBPress",              // 76
    "DAMBUmid",               // 77
    "DVeicoliCap",            // 78
    "DVeicoliFeT",            // 79
    "DVeicoliTarga",          // 80
    "DVeicoliTelaio",         // 81
    "DVeicoliAImm",           // 82
    "frmAbout",               // 83
    "LIMITICap",              // 84
    "LIMITISOp",              // 85
    "LIMITIVLim",             // 86
    "LIMITIANDProva",         // 87
    "LIMITIANAbRPM",          // 88
    "OPASUCap",               // 89
    "PrtKYMRADiagnCopie",     // 90
    "OPASURil",               // 91
    "PrtKYMRACERTReferto",    // 92
    "PrtKYMRACERTDatiAn",     // 93
    "PrtKYMRACERTTipo",       // 94
    "PrtKYMRACERTNserie",     // 95
    "PrtKYMRACERTDscadCon",   // 96
    "PrtKYMRACERTDatiRPM",    // 97
    "PrtKYMRACERTDatiVeic",   // 98
    "PrtKYMRACERTTipoMot",    // 99
    "PrtKYMRACERTCarb",       // 100
    "PrtKYMRACERTCondAmb",    // 101
    "PrtKYMRACERTTolioMot",   // 102
    "PrtKYMRACERTGirMin",     // 103
    "PrtKYMRACERTLimCOcorr",  // 104
    "PrtKYMRACERTProvSupl",   // 105
    "PrtKYMRACERTParMot",     // 106
    "PrtKYMRACERTGirMinAcc",  // 107
    "PrtKYMRACERTValEmis",    // 108
    "PrtKYMRACERTLimLam",     // 109
    "PrtKYMRACERTData",       // 110
    "PrtKYMRACERTInMis",      // 111
    "PrtKYMRACERTFinMis",     // 112
    "PrtKYMRACERTRespTec",    // 113
    "PrtKYMRACERTFirma",      // 114
    "PrtKYMRACERTNomeEnte",   // 115
    "PrtKYMRADiagnMis",       // 116
    "PrtKYMRADiagnGirMot",    // 117
    "PrtKYMRADiagnOra",       // 118
    "PrtKYMRADiagnOpe",       // 119
    "RiconoscimentoFine",     // 120
    "RiconoscimentoAtto",     // 121
    "RiconoscimentoNCol",     // 122
    "RiconoscimentoInizia",   // 123
    "RiconoscimentoRic",      // 124
    "RiconoscimentoCap",      // 125
    "RiconoscimentoImpo",     // 126
    "SetUpUtente",            // 127
    "StampaOPARefer",         // 128
    "StampaOPADatOp",         // 129
    "StampaOPAGirMotMax",     // 130
    "StampaOPAValOp",         // 131
    "UtenteCap",              // 132
    "UtenteNeCOp",            // 133
    "UtenteNeCRT",            // 134
    "GeneralePos",            // 135
    "GeneraleNeg",            // 136
    "MsgBox1",                // 137
    "RPMCilindri",            // 138
    "RPMtempi",               // 139
    "StampaBlimiti",          // 140
    "StampaOPAMedVal",        // 141
    "StampaOpaStampa",        // 142
    "ANFUMOBlocco",           // 143
    "ANFUMOBlkAss",           // 144
    "ANFUMOGrafic",           // 145
    "ANFUMOMis5",             // 146
    "ANFUMOEV",               // 147
    "ANFUMOSlChiusa",         // 148
    "ANFUMOSlAperta",         // 149
    "ANGASETmsgbox",          // 150
    "RPMSUSave",              // 151
    "ANGASETIRRmsgbox",       // 152
    "ANGASEHCIRRmsgbox",      // 153
    "ANGASTTESEmsgbox",       // 154
    "ANGASTTmsgbox",          // 155
    "ANGASErrBFls",           // 156
    "ANGASTTStart",           // 157
    "MenùUtility",            // 158
    "ANGASErrVrete",          // 159
    "ANFUMOValim",            // 160
    "CRITICTcam",             // 161
    "ANGASErrCanAn",          // 162
    "ANFUMOTAlta",            // 163
    "ANFUMOESLITTA",          // 164
    "ANFUMOMis15",            // 165
    "DVeicoliMod",            // 166
};

}  // namespace

std::string_view LanguageKey(int k) {
  if (k < 0 || k >= kLanguageTextCount) return {};
  return kKeys[static_cast<std::size_t>(k)];
}

std::string_view LanguageSection(std::int16_t code) {
  switch (code) {
    case 2:
      return "INGLESE";
    case 3:
      return "SPAGNOLO";
    default:
      // 0 (never set), 1, and any code that names no language: a section-less read would
      // answer every key with the list of the file's section names.
      return "ITALIANO";
  }
}

void LoadLanguageTexts(ProgramState& p, std::int16_t code) {
  p.shell.ConfIniPath = p.rt.currentDirectory.string() + "/" + "Lingua.ini";
  RCLIni ini;
  ini.File = p.shell.ConfIniPath;
  ini.Section = std::string(LanguageSection(code));
  for (std::size_t k = 0; k < kKeys.size(); ++k) {
    ini.key = std::string(kKeys[k]);
    ini.GetValue();  // a key not found keeps the previous text in Value
    p.shell.LangText[k] = ini.Value;
  }
}

}  // namespace vs
