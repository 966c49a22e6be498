#pragma once
// The views of each family of controls, made for MakeView (ControlViews.cpp): controls
// drawn by the painter (PaintedViews.cpp), text boxes (TextViews.cpp), combo and list boxes
// (ListViews.cpp) and scroll bars (ScrollBarView.cpp).
#include <memory>

#include "platform/display/ControlViews.h"

namespace plat::display {

// Labels, images, progress bars and charts; frames and picture boxes (which hold the
// widgets of their controls); command buttons, option buttons and check boxes.
std::unique_ptr<ControlView> MakePaintedView(FormWindow& window, Control& c);
std::unique_ptr<ControlView> MakeLineView(FormWindow& window, Line& line);
// A single-line or multi-line box, as the box is now.
std::unique_ptr<ControlView> MakeTextView(FormWindow& window, TextBox& box);
std::unique_ptr<ControlView> MakeComboView(FormWindow& window, ComboBox& combo);
std::unique_ptr<ControlView> MakeListView(FormWindow& window, ListBox& list);
std::unique_ptr<ControlView> MakeScrollBarView(FormWindow& window, VScrollBar& bar);

}  // namespace plat::display
