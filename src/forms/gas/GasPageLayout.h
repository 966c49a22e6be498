#pragma once
// How the two printed gas pages (the certificate and the diagnosis sheet) lay out their
// sections: a green header over a white frame holding caption labels and value boxes.
#include <array>
#include <string>
#include <utility>

#include "gas/GasSheetIdentity.h"
#include "platform/forms/Forms.h"
#include "shell/LanguageKeys.h"
#include "shell/LanguageTable.h"

namespace vs::gaspage {

inline constexpr plat::Color kHeaderGreen = plat::colors::kGreen;
inline constexpr plat::Color kDataBlue = 0xFFFF80;  // identity, vehicle and people values
inline constexpr plat::Color kValueYellow = plat::colors::kYellow;
inline constexpr int kRowHeight = 17;

// A section header across the page at `top`.
inline void Header(plat::Label& header, int left, int top, int width) {
  header.setBackColor(kHeaderGreen);
  header.setFont({"Arial", 8.25, true, false});
  header.setAlignment(plat::Alignment::Center);
  header.Move(left, top, width, kRowHeight);
}

// A white frame under a header.
inline void Frame(plat::PictureBox& frame, int left, int top, int width, int height) {
  frame.setBackColor(plat::colors::kWhite);
  frame.Move(left, top, width, height);
}

// A caption and its value box side by side inside `frame`.
inline void Pair(plat::PictureBox& frame, plat::Label& caption, plat::Control& value, int left,
                 int top, int captionWidth, int valueWidth, plat::Color valueColor) {
  caption.setContainer(frame);
  caption.setBackColor(plat::colors::kWhite);
  caption.Move(left, top, captionWidth, kRowHeight - 1);
  value.setContainer(frame);
  value.setBackColor(valueColor);
  value.Move(left + captionWidth + 2, top, valueWidth, kRowHeight - 1);
}

// The six readings of an emissions frame, each a caption and its value box: CO, CO2 and
// COcorr on the first row, HC, O2 and lambda under them (the fourth column is the page's).
inline void EmissionReadings(plat::PictureBox& frame,
                             const std::array<std::pair<plat::Label*, plat::Label*>, 6>& cells) {
  static constexpr std::array<const char*, 6> kCaptions{"CO(%vol.)", "CO2(%vol.)", "COcorr(%vol.)",
                                                        "HC(ppm)",   "O2(%vol.)",  "LAMBDA"};
  for (std::size_t i = 0; i < cells.size(); ++i) {
    const int left = 2 + 178 * static_cast<int>(i % 3), top = i < 3 ? 2 : 19;
    cells[i].first->setCaption(kCaptions[i]);
    Pair(frame, *cells[i].first, *cells[i].second, left, top, 90, 80, kValueYellow);
  }
}

// The bar over the page: the banner, the title (at `top`), the copies field and the print
// and close buttons.
inline void TopBar(plat::PictureBox& banner, plat::Label& title, plat::Color titleBack,
                   plat::Label& copiesCaption, plat::TextBox& copies, plat::CommandButton& print,
                   plat::CommandButton& close, int top) {
  banner.setPicture("banner");
  banner.Move(11, 0, 715, 87);
  title.setFont({"Arial", 12, true, false});
  title.setAlignment(plat::Alignment::Center);
  title.setBackColor(titleBack);
  title.Move(17, top, 480, 22);
  copiesCaption.setBackColor(plat::colors::kWhite);
  copiesCaption.Move(500, top + 3, 75, 17);
  copies.setText("1");
  copies.setAlignment(plat::Alignment::Center);
  copies.Move(577, top, 30, 21);
  for (plat::CommandButton* b : {&print, &close}) b->setStyle(plat::ButtonStyle::Graphical);
  print.setPicture("print");
  print.Move(615, top - 2, 52, 24);
  close.setPicture("close");
  close.setDefault(true);
  close.setCancel(true);
  close.Move(674, top - 2, 52, 24);
}

// The sections both pages open with, which they name alike but for the analyser's header
// and the vehicle model's caption: the analyser and the engine-speed counter side by side
// at `top`, their frames `frameHeight` high, and the vehicle at `vehicleTop`.
template <class Page>
void IdentitySections(Page& pg, plat::Label& analyserHeader, plat::Label& modelCaption, int top,
                      int frameHeight, int vehicleTop) {
  const plat::Color blue = kDataBlue;
  Header(analyserHeader, 17, top, 350);
  Frame(pg.Picture1, 17, top + kRowHeight, 350, frameHeight);
  Pair(pg.Picture1, pg.Label2, pg.Text1, 2, 2, 150, 190, blue);
  Pair(pg.Picture1, pg.Label3, pg.Text2, 2, 19, 150, 190, blue);
  Pair(pg.Picture1, pg.Label4, pg.Label7, 2, 36, 150, 190, blue);
  Pair(pg.Picture1, pg.Label5, pg.Label8, 2, 53, 150, 190, blue);
  Pair(pg.Picture1, pg.Label6, pg.Label9, 2, 70, 150, 190, blue);

  Header(pg.Label19, 384, top, 346);
  Frame(pg.Picture2, 384, top + kRowHeight, 346, frameHeight);
  Pair(pg.Picture2, pg.Label18, pg.Text3, 2, 2, 160, 176, blue);
  Pair(pg.Picture2, pg.Label16, pg.Label13, 2, 19, 160, 176, blue);
  Pair(pg.Picture2, pg.Label15, pg.Label12, 2, 36, 160, 176, blue);
  Pair(pg.Picture2, pg.Label14, pg.Label11, 2, 53, 160, 176, blue);

  Header(pg.Label25, 17, vehicleTop, 713);
  Frame(pg.Picture3, 17, vehicleTop + kRowHeight, 713, 38);
  Pair(pg.Picture3, pg.Label10, pg.Text4, 2, 2, 95, 79, blue);
  Pair(pg.Picture3, modelCaption, pg.Text6, 180, 2, 95, 79, blue);
  Pair(pg.Picture3, pg.Label17, pg.Label22, 358, 2, 95, 79, blue);
  Pair(pg.Picture3, pg.Label20, pg.Label23, 536, 2, 95, 79, blue);
  Pair(pg.Picture3, pg.Label21, pg.Label24, 2, 19, 95, 79, blue);
  Pair(pg.Picture3, pg.Label26, pg.Label27, 180, 19, 95, 79, blue);
  Pair(pg.Picture3, pg.Label28, pg.Label29, 358, 19, 95, 79, blue);
  pg.Label21.setVisible(false);
  pg.Label24.setVisible(false);
}

// The captions of those sections in the current language.
template <class Page>
void IdentityCaptions(Page& pg, plat::Label& analyserHeader, plat::Label& modelCaption,
                      const std::array<std::string, kLanguageTextCount>& t) {
  analyserHeader.setCaption(t[lang::PrtKYMRACERTDatiAn]);
  pg.Label2.setCaption(t[lang::ANSUMarc]);
  pg.Label3.setCaption(t[lang::PrtKYMRACERTTipo]);
  pg.Label4.setCaption(t[lang::ANSUNOm]);
  pg.Label5.setCaption(t[lang::PrtKYMRACERTNserie]);
  pg.Label6.setCaption(t[lang::PrtKYMRACERTDscadCon] + " " + t[lang::ANSUCaption]);
  pg.Label19.setCaption(t[lang::PrtKYMRACERTDatiRPM]);
  pg.Label18.setCaption(t[lang::DVeicoliFeT]);
  pg.Label16.setCaption(t[lang::ANSUNOm]);
  pg.Label15.setCaption(t[lang::PrtKYMRACERTNserie]);
  pg.Label14.setCaption(t[lang::PrtKYMRACERTDscadCon] + " RPM");
  pg.Label25.setCaption(t[lang::PrtKYMRACERTDatiVeic]);
  pg.Label10.setCaption(t[lang::DVeicoliFeT]);
  modelCaption.setCaption(t[lang::DVeicoliMod]);
  pg.Label17.setCaption(t[lang::DVeicoliTarga]);
  pg.Label20.setCaption(t[lang::DVeicoliTelaio]);
  pg.Label21.setCaption(t[lang::PrtKYMRACERTTipoMot]);
  pg.Label26.setCaption(t[lang::PrtKYMRACERTCarb]);
  pg.Label28.setCaption(t[lang::DVeicoliAImm]);
}

// The identity's values in their boxes.
template <class Page>
void ShowIdentity(Page& pg, const GasSheetIdentity& s) {
  pg.Text1.setText(s.Text1);
  pg.Text2.setText(s.Text2);
  pg.Label7.setCaption(s.Label7);
  pg.Label8.setCaption(s.Label8);
  pg.Label9.setCaption(s.Label9);
  pg.Text3.setText(s.Text3);
  pg.Label13.setCaption(s.Label13);
  pg.Label12.setCaption(s.Label12);
  pg.Label11.setCaption(s.Label11);
  pg.Text4.setText(s.Text4);
  pg.Text6.setText(s.Text6);
  pg.Label22.setCaption(s.Label22);
  pg.Label23.setCaption(s.Label23);
  pg.Label24.setCaption(s.Label24);
  pg.Label27.setCaption(s.Label27);
  pg.Label29.setCaption(s.Label29);
}

}  // namespace vs::gaspage
