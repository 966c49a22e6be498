#pragma once
// The instrument identity as the set-up forms of the gas analyser and the opacimeter handle
// it: the link record's slot that their settings read and store, and the six boxes that
// show it (Text1 make, Text2 homologation, Text3 model, Text4 serial number, Text6 version,
// Text7 expiry).
#include "link/LinkState.h"
#include "shell/SettingsStore.h"

namespace vs {

inline InstrumentIdentityFields IdentitySlot(LinkState& l) {
  return {l.InstrMake,   l.InstrHomologation, l.InstrModel,
          l.InstrSerial, l.InstrVersion,      l.InstrExpiry};
}

template <class SetUpForm>
void ShowInstrumentIdentity(SetUpForm& f, const LinkState& l) {
  f.Text1.setText(l.InstrMake);
  f.Text2.setText(l.InstrHomologation);
  f.Text3.setText(l.InstrModel);
  f.Text4.setText(l.InstrSerial);
  f.Text6.setText(l.InstrVersion);
  f.Text7.setText(l.InstrExpiry);
}

// Blanks the boxes while a search runs.
template <class SetUpForm>
void BlankInstrumentIdentity(SetUpForm& f) {
  for (auto* box : {&f.Text1, &f.Text2, &f.Text3, &f.Text4, &f.Text6, &f.Text7}) box->setText(" ");
}

}  // namespace vs
