#pragma once
// The print button of a printable page: the page prints its own window image, once per
// copy, with its buttons and copies field hidden. The page waits for the printer in the
// event loop, its controls still hidden, while timers and ports go on. What the operator
// typed as the number of copies and what the printer answers are told in a message box, in
// the operator's language; the hidden controls come back whatever happens.
#include <initializer_list>
#include <string>
#include <vector>

#include "platform/forms/Forms.h"
#include "platform/text/RegionalSettings.h"

namespace vs {

struct ShellState;

// The largest number of copies one press prints.
inline constexpr int kMaxPrintCopies = 99;

// Hides controls for as long as it lives, then shows them again, however the printing
// between ended.
class HiddenWhilePrinting {
 public:
  explicit HiddenWhilePrinting(std::initializer_list<plat::Control*> controls)
      : controls_(controls) {
    for (plat::Control* c : controls_) c->setVisible(false);
  }
  ~HiddenWhilePrinting() {
    for (plat::Control* c : controls_) c->setVisible(true);
  }
  HiddenWhilePrinting(const HiddenWhilePrinting&) = delete;
  HiddenWhilePrinting& operator=(const HiddenWhilePrinting&) = delete;

 private:
  std::vector<plat::Control*> controls_;
};

// Prints `page` as many times as `copiesText` says (read under the user's regional
// settings; below 1 prints nothing, a fraction counts its whole copies), with `hidden`
// off the page. Returns false when nothing could be printed and the operator was told why
// (in the language of `shell`).
bool PrintPageCopies(plat::Form& page, const std::string& copiesText,
                     std::initializer_list<plat::Control*> hidden, const ShellState& shell,
                     const plat::RegionalSettings& regional);

}  // namespace vs
