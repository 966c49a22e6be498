#pragma once
// The station's own pictures, drawn to any size: "banner" (the start menu's band with the
// program's name) and "logo" (the gauge of the about box).
#include "platform/paint/Picture.h"

namespace vs {

void AddArtwork(plat::paint::PictureBook& book);

}  // namespace vs
