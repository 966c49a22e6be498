#pragma once
// The three data-entry dialogs: DVeicoli (the vehicle), UTENTE (operator, technical manager,
// testing body) and DAMB (ambient conditions). Each shows its settings record, and its one
// button (also Enter and Esc) copies the typed texts into the record, saves the record to
// "Conf.ini" and closes the dialog. The texts are kept exactly as typed.
//
// DVeicoli reads its section again at every load and saves however it is closed; UTENTE and
// DAMB show the records loaded at start and save only through their button.
#include "platform/forms/Forms.h"

namespace vs {

class Program;

class DVeicoli : public plat::Form {
 public:
  explicit DVeicoli(Program& p);

  plat::Label Label1{*this, "Label1"};
  plat::TextBox Text1{*this, "Text1"};
  plat::Label Label2{*this, "Label2"};
  plat::TextBox Text2{*this, "Text2"};
  plat::Label Label3{*this, "Label3"};
  plat::TextBox Text3{*this, "Text3"};
  plat::Label Label4{*this, "Label4"};
  plat::TextBox Text4{*this, "Text4"};
  plat::Label Label5{*this, "Label5"};
  plat::TextBox Text5{*this, "Text5"};
  plat::CommandButton Command1{*this, "Command1"};

 protected:
  void Form_Load() override;
  void Form_Unload(bool& cancel) override;

 private:
  void Save();  // boxes -> VehicleData -> [VEICOLO]
  Program& p_;
};

class UTENTE : public plat::Form {
 public:
  explicit UTENTE(Program& p);

  plat::Label Label1{*this, "Label1"};
  plat::TextBox Text1{*this, "Text1"};
  plat::Label Label2{*this, "Label2"};
  plat::TextBox Text2{*this, "Text2"};
  plat::Label Label3{*this, "Label3"};
  plat::TextBox Text3{*this, "Text3"};
  plat::CommandButton Command1{*this, "Command1"};

 protected:
  void Form_Load() override;

 private:
  Program& p_;
};

class DAMB : public plat::Form {
 public:
  explicit DAMB(Program& p);

  plat::Label Label1{*this, "Label1"};
  plat::TextBox Text1{*this, "Text1"};
  plat::Label Label4{*this, "Label4"};  // "°C"
  plat::Label Label2{*this, "Label2"};
  plat::TextBox Text2{*this, "Text2"};
  plat::Label Label5{*this, "Label5"};  // "kPa"
  plat::Label Label3{*this, "Label3"};
  plat::TextBox Text3{*this, "Text3"};
  plat::Label Label6{*this, "Label6"};  // "%"
  plat::CommandButton Command1{*this, "Command1"};

 protected:
  void Form_Load() override;

 private:
  Program& p_;
};

}  // namespace vs
