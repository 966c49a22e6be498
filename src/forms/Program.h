#pragma once
// The program: the records floor (state/ProgramState.h) and the form instances on top of
// it. main() makes one; each test makes its own. Only form code and main include this.
#include "forms/gas/ANGAS.h"
#include "forms/gas/ANSU.h"
#include "forms/gas/LIMITIAN.h"
#include "forms/gas/PrtKYMRACERT.h"
#include "forms/gas/PrtKYMRADIAGN.h"
#include "forms/link/RiconosciMCTC.h"
#include "forms/rpm/RPM.h"
#include "forms/rpm/RPMSU.h"
#include "forms/shell/Critic.h"
#include "forms/shell/DataForms.h"
#include "forms/shell/Exclam.h"
#include "forms/shell/ExclamStampa.h"
#include "forms/shell/Menu.h"
#include "forms/shell/Password.h"
#include "forms/shell/SYS_SET_UP.h"
#include "forms/shell/frmAbout.h"
#include "forms/smoke/ANFUMO.h"
#include "forms/smoke/DialgStamp.h"
#include "forms/smoke/Grafic.h"
#include "forms/smoke/LIMITI.h"
#include "forms/smoke/OPASU.h"
#include "forms/smoke/StampaOpa.h"
#include "forms/smoke/StampaOpaB.h"
#include "link/Senders.h"
#include "link/SmokeRpmReplies.h"
#include "platform/forms/Forms.h"
#include "state/ProgramState.h"

#include <utility>

namespace vs {

// Runs `fn(form)` only while `form` is loaded: touching a form that is not open never
// opens it, its port or its timer. A null pointer counts as not loaded.
template <class F, class Fn>
void IfLoaded(F& form, Fn&& fn) {
  if (form.IsLoaded()) fn(form);
}
template <class F, class Fn>
void IfLoaded(F* form, Fn&& fn) {
  if (form != nullptr) IfLoaded(*form, std::forward<Fn>(fn));
}

class Program : public ProgramState {
 public:
  // Builds every form and records their designs, as they stand when built.
  explicit Program(plat::EventLoop::ClockKind clock);

  // Forms of the application shell.
  Menu menu{*this};  // the start-up form "Menù"
  DVeicoli dveicoli{*this};
  UTENTE utente{*this};
  DAMB damb{*this};
  Critic critic{*this};
  Exclam exclam{*this};
  ExclamStampa exclamStampa{*this};
  frmAbout about{*this};
  Password password{*this};  // the access code in front of the system set-up
  SYS_SET_UP sysSetUp{*this};

  // Forms of the instrument link.
  RiconosciMCTC riconosciMCTC{*this};  // instrument recognition

  // Forms of the engine-speed measurement.
  RPM rpm{*this};      // the engine-speed form
  RPMSU rpmsu{*this};  // the engine-speed counter's set-up

  // Forms of the gas analysis.
  ANGAS angas{*this};                  // gas test
  ANSU ansu{*this};                    // gas-analyser set-up
  LIMITIAN limitian{*this};            // gas limits
  PrtKYMRACERT prtKYMRACERT{*this};    // gas certificate
  PrtKYMRADIAGN prtKYMRADIAGN{*this};  // gas diagnosis sheet

  // Forms of the smoke analysis.
  ANFUMO anfumo{*this};          // the smoke test
  Grafic grafic{*this};          // the chart of one acceleration (test mode 6)
  OPASU opasu{*this};            // opacimeter set-up
  LIMITI limiti{*this};          // the smoke limits
  StampaOpaB stampaOpaB{*this};  // report B, which writes "report.log"
  StampaOpa stampaOpa{*this};    // report A
  DialgStamp dialgStamp{*this};  // the print dialog in front of either report

  // The smoke test's request timer, touched only while the smoke test form is loaded.
  bool SmokeTimerEnabled() const;
  void SetSmokeTimerEnabled(bool on);

  // The gas and smoke test forms' unload: the engine-speed form that the start menu opened
  // beside the test (an external engine-speed or oil-temperature source switched in) is
  // unloaded with it. Nothing happens when no source is switched in or the form is closed.
  void UnloadRpmBesideTest();

  // The test forms' ports for the frame senders (a form that is not loaded gives none).
  TestFormPorts TestPorts();

  // What the link's procedures return, done by the form that called them.
  void ShowPortHint(const PortHint& hint);        // ExclamStampa, non-modal
  void ShowOpaAlarm(const OpaErrorAlarm& alarm);  // the smoke timer off, then Critic modal
};

}  // namespace vs
