#pragma once
// How the two printed gas pages (the certificate and the diagnosis sheet) lay out their
// sections: a green header over a white frame holding caption labels and value boxes.
#include "platform/forms/Forms.h"

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

}  // namespace vs::gaspage
