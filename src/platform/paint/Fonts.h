#pragma once
// Fonts as the forms name them, mapped to the fonts this system has: Arial is drawn with
// Liberation Sans (same metrics), Times New Roman with Liberation Serif, Courier New with
// Liberation Mono. Sizes are points; the screen and the painter use 96 pixels per inch.
#include <string>
#include <string_view>

namespace plat::paint {

// The font family to draw a form's font name with.
std::string FontFamily(std::string_view name);
// Whether the family is a fixed-pitch one.
bool IsMonospaceFamily(std::string_view family);
// Size in pixels of a font size in points (96 pixels per inch).
double FontPixels(double points);

}  // namespace plat::paint
