#pragma once
// Program-wide state of the instrument link: the exchange bookkeeping shared by the
// senders, the collector and the parsers, and the readings the parsers write.
#include <cstdint>
#include <string>

namespace vs {

struct LinkState {
  LinkState() = default;
  LinkState(const LinkState&) = delete;
  LinkState& operator=(const LinkState&) = delete;

  // --- MCTC-NET exchange of the gas and smoke tests, the set-ups and the recognition ---
  std::string McnAddress;    // "GAS", "OPA", "RPM"
  std::string McnCommand;    // command last sent; replies are matched against it
  std::string McnDevNumber;  // "1"
  std::int16_t McnCommandLen = 0;
  std::int32_t McnDevNumberLen = 0;
  std::string McnLuParam;            // parameter of "@LU" ("21" / "20")
  std::string McnReplyWork;          // data text of the reply being parsed, followed by ETB ETB
  std::int64_t ReplyFrameCount = 0;  // complete frames seen by the test forms

  // --- the engine-speed counter's own exchange ---
  std::string RpmMcnAddress, RpmMcnCommand, RpmMcnDevNumber;
  std::int16_t RpmMcnCommandLen = 0;
  std::int32_t RpmMcnDevNumberLen = 0;
  std::int16_t RpmReplySeen = 0;  // 1: a framed reply arrived since the last send
  std::int64_t RpmMissCount = 0;  // consecutive sends that found no reply

  // --- binary protocol and routing ---
  std::int16_t PendingCommand = 0;    // code of the last binary request
  std::int16_t ActiveComMode = 0;     // 1 binary, 2 MCTC-NET
  std::int16_t GasFormActive = 0;     // 1 while ANGAS is in use
  std::int16_t OpaFormActive = 0;     // 1 while ANFUMO is in use
  std::int16_t ShowParseWarning = 0;  // one-shot switch of the port hint

  // --- InstrumentIdentity: one record for every instrument ---
  std::string InstrMake, InstrModel, InstrHomologation, InstrSerial, InstrExpiry, InstrVersion;
  std::string McnIdField7;
  double InstrVersionX1000 = 0;
  // The gas analyser's identity for the printed pages (make and homologation are settings).
  std::string GasSerialNumber, GasCheckExpiry;

  // --- gas readings (-1: out of range) ---
  double GasCO = 0, GasCO2 = 0, GasO2 = 0, GasCOcorr = 0, GasHC = 0, GasNOx = 0;
  double GasLambda = 0, GasRpm = 0;
  float GasOilTemp = 0;
  // MCTC-NET replies of the gas analyser
  std::string McnFuelText, McnSaField3, McnStrokes, McnHcRatio, McnOcRatio;
  std::string McnLiField1;
  std::string McnEtFlag, McnEtDate, McnEtTime;
  std::int32_t McnLsValue = 0;
  std::int16_t McnRsStatus1 = 0, McnRsStatus2 = 0;
  std::string McnEhField1;

  // --- smoke readings ---
  double OpaK = 0, OpaN = 0, OpaRpm = 0, OpaOilTemp = 0, OpaSmokeTemp = 0, OpaCellTemp = 0;
  double OpaValueField7 = 0;
  std::string OpaValueText5, OpaValueText6, OpaValueText7;
  double OpaSupplyVoltage = 0;             // volts
  std::string OpaLuStatus1, OpaLuStatus2;  // lock parameters "020" and "021" of the last "@LU"

  // --- ExternalRpmReading: the engine-speed counter's last reply ---
  std::string RpmReplyText1, RpmReplyText2;
  double RpmCounterRpm = 0, RpmCounterOilTemp = 0;
};

}  // namespace vs
