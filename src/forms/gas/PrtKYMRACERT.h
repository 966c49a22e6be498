#pragma once
// The printable certificate of a gas test in certification mode: the analyser, the
// engine-speed counter, the vehicle, the ambient conditions, the engine parameters, the
// idle and raised-idle emissions with their limits, the outcome, and the people. The
// verdicts and the test sequence fill the Certificate record; the page shows it when the
// gas test form's print button loads it, and prints itself.
#include "gas/GasCertificate.h"
#include "platform/forms/Forms.h"

namespace vs {

class Program;

class PrtKYMRACERT : public plat::Form {
 public:
  explicit PrtKYMRACERT(Program& p);

  // What the page shows. A form variable: it outlives the page's closing and is emptied
  // when the gas test form closes.
  GasCertificate Certificate;

  // Writes the record into the boxes (the page must be loaded).
  void ShowCertificate();

  // --- Controls, in drawing order ---
  plat::PictureBox Picture9{*this, "Picture9"};     // banner
  plat::Label Label91{*this, "Label91"};            // title
  plat::Label Label1{*this, "Label1"};              // "N° copie"
  plat::TextBox Text5{*this, "Text5"};              // copies
  plat::CommandButton Command2{*this, "Command2"};  // print
  plat::CommandButton Command1{*this, "Command1"};  // close
  // Analyser
  plat::Label Label92{*this, "Label92"};
  plat::PictureBox Picture1{*this, "Picture1"};
  plat::Label Label2{*this, "Label2"};
  plat::TextBox Text1{*this, "Text1"};
  plat::Label Label3{*this, "Label3"};
  plat::TextBox Text2{*this, "Text2"};
  plat::Label Label4{*this, "Label4"};
  plat::Label Label7{*this, "Label7"};
  plat::Label Label5{*this, "Label5"};
  plat::Label Label8{*this, "Label8"};
  plat::Label Label6{*this, "Label6"};
  plat::Label Label9{*this, "Label9"};
  // Engine-speed counter
  plat::Label Label19{*this, "Label19"};
  plat::PictureBox Picture2{*this, "Picture2"};
  plat::Label Label18{*this, "Label18"};
  plat::TextBox Text3{*this, "Text3"};
  plat::Label Label16{*this, "Label16"};
  plat::Label Label13{*this, "Label13"};
  plat::Label Label15{*this, "Label15"};
  plat::Label Label12{*this, "Label12"};
  plat::Label Label14{*this, "Label14"};
  plat::Label Label11{*this, "Label11"};
  // Vehicle
  plat::Label Label25{*this, "Label25"};
  plat::PictureBox Picture3{*this, "Picture3"};
  plat::Label Label10{*this, "Label10"};
  plat::TextBox Text4{*this, "Text4"};
  plat::Label Label42{*this, "Label42"};
  plat::TextBox Text6{*this, "Text6"};
  plat::Label Label17{*this, "Label17"};
  plat::Label Label22{*this, "Label22"};
  plat::Label Label20{*this, "Label20"};
  plat::Label Label23{*this, "Label23"};
  plat::Label Label21{*this, "Label21"};  // engine cycle (hidden)
  plat::Label Label24{*this, "Label24"};
  plat::Label Label26{*this, "Label26"};
  plat::Label Label27{*this, "Label27"};
  plat::Label Label28{*this, "Label28"};
  plat::Label Label29{*this, "Label29"};
  // Ambient conditions
  plat::Label Label41{*this, "Label41"};
  plat::PictureBox Picture4{*this, "Picture4"};
  plat::Label Label40{*this, "Label40"};
  plat::Label Label30{*this, "Label30"};
  plat::Label Label39{*this, "Label39"};
  plat::Label Label33{*this, "Label33"};
  plat::Label Label36{*this, "Label36"};
  plat::Label Label38{*this, "Label38"};
  plat::Label Label37{*this, "Label37"};
  plat::Label Label35{*this, "Label35"};
  plat::Label Label31{*this, "Label31"};
  // Engine parameters
  plat::Label Label49{*this, "Label49"};
  plat::PictureBox Picture5{*this, "Picture5"};
  plat::Label Label34{*this, "Label34"};
  plat::Label Label32{*this, "Label32"};
  plat::Label Label44{*this, "Label44"};
  plat::Label Label46{*this, "Label46"};
  plat::Label Label59{*this, "Label59"};
  plat::Label Label60{*this, "Label60"};
  // Idle emissions
  plat::Label Label55{*this, "Label55"};
  plat::PictureBox Picture6{*this, "Picture6"};
  plat::Label Label45{*this, "Label45"};
  plat::Label Label43{*this, "Label43"};
  plat::Label Label53{*this, "Label53"};
  plat::Label Label51{*this, "Label51"};
  plat::Label Label50{*this, "Label50"};
  plat::Label Label52{*this, "Label52"};
  plat::Label Label48{*this, "Label48"};
  plat::Label Label47{*this, "Label47"};
  plat::Label Label101{*this, "Label101"};
  plat::Label Label102{*this, "Label102"};
  plat::Label Label103{*this, "Label103"};
  plat::Label Label104{*this, "Label104"};
  plat::Label Label105{*this, "Label105"};
  plat::Label Label106{*this, "Label106"};
  // Raised-idle emissions
  plat::Label Label70{*this, "Label70"};
  plat::Label Label54{*this, "Label54"};
  plat::PictureBox Picture8{*this, "Picture8"};
  plat::Label Label68{*this, "Label68"};
  plat::Label Label69{*this, "Label69"};
  plat::Label Label64{*this, "Label64"};
  plat::Label Label66{*this, "Label66"};
  plat::Label Label67{*this, "Label67"};
  plat::Label Label65{*this, "Label65"};
  plat::Label Label62{*this, "Label62"};
  plat::Label Label63{*this, "Label63"};
  plat::Label Label74{*this, "Label74"};
  plat::Label Label75{*this, "Label75"};
  plat::Label Label58{*this, "Label58"};
  plat::Label Label72{*this, "Label72"};
  plat::Label Label73{*this, "Label73"};
  plat::Label Label71{*this, "Label71"};
  plat::Label Label56{*this, "Label56"};
  plat::Label Label57{*this, "Label57"};
  plat::Label Label76{*this, "Label76"};
  plat::Label Label77{*this, "Label77"};
  // Outcome, dates and people
  plat::Label Label78{*this, "Label78"};
  plat::Label Label79{*this, "Label79"};
  plat::Label Label80{*this, "Label80"};
  plat::Label Label81{*this, "Label81"};
  plat::Label Label82{*this, "Label82"};
  plat::Label Label83{*this, "Label83"};
  plat::Label Label84{*this, "Label84"};
  plat::Label Label85{*this, "Label85"};
  plat::Label Label86{*this, "Label86"};
  plat::Label Label87{*this, "Label87"};
  plat::Label Label88{*this, "Label88"};
  plat::Label Label89{*this, "Label89"};
  plat::Label Label90{*this, "Label90"};  // signature

 protected:
  void Form_Load() override;

 private:
  void Command2_Click();

  Program& p_;
};

}  // namespace vs
