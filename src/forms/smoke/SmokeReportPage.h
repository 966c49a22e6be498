#pragma once
// What the two printable smoke reports (StampaOpa, report A, and StampaOpaB, report B)
// share: a borderless white page laid out as the sheet, with the banner, the close and print
// buttons, the title, the boxes of the two instruments, the vehicle, the ambient conditions,
// the engine, the acceleration values and their mean, and the lines of result, date, times
// and signatures. Each report adds its own controls and fills the page when it loads.
#include "platform/forms/Forms.h"
#include "smoke/SmokeReportValues.h"

namespace vs {

class Program;

class SmokeReportPage : public plat::Form {
 public:
  // The rows of a page: one every `step` pixels, each cell `step` - 2 high. The boxes follow
  // one another from below the title.
  struct Rows {
    int step;
    int height() const { return step - 2; }
    int instruments() const { return 92; }
    int vehicle() const { return instruments() + 6 * step + 4; }
    int ambient() const { return vehicle() + 4 * step + 2; }
    int engine() const { return ambient() + 3 * step + 6; }
    int values() const { return engine() + 5 * step + 6; }
    int lines() const { return values() + 5 * step + 10; }
  };

  // A page `height` pixels high, its rows on `rows`.
  SmokeReportPage(Program& p, const char* name, int height, Rows rows);

  plat::PictureBox Picture2{*this, "Picture2"};     // banner
  plat::CommandButton Command1{*this, "Command1"};  // close (Esc)
  plat::CommandButton Command2{*this, "Command2"};  // print
  plat::Label Label1{*this, "Label1"};              // title
  // The opacimeter.
  plat::Label Label92{*this, "Label92"};
  plat::Label Label27{*this, "Label27"};
  plat::TextBox Text1{*this, "Text1"};  // make
  // Elements 0 to 7: k of each acceleration; 8: the caption of the opacimeter's model.
  plat::ControlArray<plat::Label> Label3{*this, "Label3", 0, 8};
  plat::TextBox Text2{*this, "Text2"};  // model
  plat::Label Label26{*this, "Label26"};
  plat::Label Label23{*this, "Label23"};  // homologation
  plat::Label Label25{*this, "Label25"};
  plat::Label Label22{*this, "Label22"};  // serial
  plat::Label Label24{*this, "Label24"};
  plat::Label Label21{*this, "Label21"};  // check expiry
  // The engine-speed counter.
  plat::Label Label28{*this, "Label28"};
  plat::Label Label18{*this, "Label18"};
  plat::TextBox Text3{*this, "Text3"};  // make
  plat::Label Label16{*this, "Label16"};
  plat::Label Label17{*this, "Label17"};  // homologation
  plat::Label Label15{*this, "Label15"};
  plat::Label Label19{*this, "Label19"};  // serial
  plat::Label Label14{*this, "Label14"};
  plat::Label Label20{*this, "Label20"};  // check expiry
  // The vehicle.
  plat::Label Label55{*this, "Label55"};
  plat::Label Label52{*this, "Label52"};
  plat::TextBox Text4{*this, "Text4"};  // make and type
  plat::Label Label51{*this, "Label51"};
  plat::Label Label48{*this, "Label48"};  // plate
  plat::Label Label50{*this, "Label50"};
  plat::Label Label47{*this, "Label47"};  // chassis
  plat::Label Label41{*this, "Label41"};
  plat::Label Label29{*this, "Label29"};  // year of registration
  plat::Label Label42{*this, "Label42"};  // hidden: "Motore tipo"
  plat::Label Label43{*this, "Label43"};  // hidden
  plat::Label Label45{*this, "Label45"};  // hidden: "Carburante"
  plat::Label Label49{*this, "Label49"};  // hidden
  // The ambient conditions.
  plat::Label Label54{*this, "Label54"};
  plat::Label Label40{*this, "Label40"};
  plat::Label Label30{*this, "Label30"};  // temperature
  plat::Label Label39{*this, "Label39"};  // "°C"
  plat::Label Label33{*this, "Label33"};
  plat::Label Label36{*this, "Label36"};  // pressure
  plat::Label Label38{*this, "Label38"};  // "kPa"
  plat::Label Label37{*this, "Label37"};
  plat::Label Label35{*this, "Label35"};  // relative humidity
  plat::Label Label31{*this, "Label31"};  // "%"
  // The engine.
  plat::Label Label53{*this, "Label53"};
  plat::Label Label34{*this, "Label34"};
  plat::Label Label32{*this, "Label32"};  // oil temperature
  plat::Label Label44{*this, "Label44"};
  plat::Label Label46{*this, "Label46"};  // idle speed
  plat::Label Label56{*this, "Label56"};
  plat::Label Label57{*this, "Label57"};  // highest speed
  // The acceleration values and their mean.
  plat::Label Label2{*this, "Label2"};
  plat::Label Label5{*this, "Label5"}, Label6{*this, "Label6"}, Label7{*this, "Label7"},
      Label8{*this, "Label8"}, Label9{*this, "Label9"}, Label10{*this, "Label10"},
      Label11{*this, "Label11"}, Label12{*this, "Label12"};  // "1" to "8"
  plat::Label Label76{*this, "Label76"};                     // "K" before the k row
  plat::Label Label13{*this, "Label13"};
  plat::Label Label58{*this, "Label58"};  // the accelerations averaged
  plat::Label Label4{*this, "Label4"};    // mean k
  plat::Label Label73{*this, "Label73"};  // "K"
  plat::Label Label74{*this, "Label74"};  // mean opacity
  plat::Label Label75{*this, "Label75"};  // its unit
  // Result, date, times and signatures.
  plat::Label Label78{*this, "Label78"};
  plat::Label Label79{*this, "Label79"};  // result
  plat::Label Label80{*this, "Label80"};
  plat::Label Label81{*this, "Label81"};  // date
  plat::Label Label82{*this, "Label82"};
  plat::Label Label83{*this, "Label83"};  // start of measurement
  plat::Label Label84{*this, "Label84"};
  plat::Label Label85{*this, "Label85"};  // end of measurement
  plat::Label Label86{*this, "Label86"};
  plat::Label Label87{*this, "Label87"};  // technical manager
  plat::Label Label90{*this, "Label90"};  // signature
  plat::Label Label88{*this, "Label88"};
  plat::Label Label89{*this, "Label89"};  // testing body

 protected:
  static constexpr int kWidth = 747;
  static constexpr int kRight = 378;  // left edge of the right-hand column

  // A caption and its value cell side by side, at column `left` and row `top`.
  void Pair(plat::Control& caption, plat::Control& value, int left, int top, int captionWidth = 150,
            int valueWidth = 200);
  void Heading(plat::Label& l, int left, int top, int width);
  static void Cell(plat::Control& c, plat::Color back);

  // The captions and the value cells both reports show, from the values read at load.
  void FillShared(const smoke::SmokeReportValues& v, const smoke::SmokeReportCells& c);

  Program& p_;
  const Rows rows_;
};

}  // namespace vs
