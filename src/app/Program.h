#pragma once
// The program: the records floor (state/ProgramState.h) and the form instances on top of
// it. main() makes one; each test makes its own. Only form code and main include this.
#include "gas/forms/ANGAS.h"
#include "gas/forms/ANSU.h"
#include "gas/forms/LIMITIAN.h"
#include "gas/forms/PrtKYMRACERT.h"
#include "gas/forms/PrtKYMRADIAGN.h"
#include "link/Senders.h"
#include "link/SmokeRpmReplies.h"
#include "link/forms/RiconosciMCTC.h"
#include "platform/forms/Forms.h"
#include "rpm/forms/RPM.h"
#include "rpm/forms/RPMSU.h"
#include "shell/forms/Critic.h"
#include "shell/forms/DataForms.h"
#include "shell/forms/Exclam.h"
#include "shell/forms/ExclamStampa.h"
#include "shell/forms/Menu.h"
#include "shell/forms/Password.h"
#include "shell/forms/SYS_SET_UP.h"
#include "shell/forms/frmAbout.h"
#include "smoke/forms/ANFUMO.h"
#include "smoke/forms/DialgStamp.h"
#include "smoke/forms/Grafic.h"
#include "smoke/forms/LIMITI.h"
#include "smoke/forms/OPASU.h"
#include "smoke/forms/StampaOpa.h"
#include "smoke/forms/StampaOpaB.h"
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
