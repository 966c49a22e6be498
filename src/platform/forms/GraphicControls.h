#pragma once
// Frames, picture boxes, images and lines.
#include <string>

#include "platform/forms/Control.h"

namespace plat {

namespace detail {
struct FrameState {
  std::string caption;
};

struct PictureBoxState {
  std::string picture;
  bool border = true;
};

struct ImageState {
  std::string picture;
  bool stretch = false;
};

struct LineState {
  int x1 = 0, y1 = 0, x2 = 100, y2 = 0;
  Color color = colors::kBlack;
  int width = 1;
};
}  // namespace detail

class Frame : public WithState<Control, detail::FrameState> {
 public:
  Frame(Form& form, std::string name, int index = -1);
  const std::string& Caption() const { return s_.caption; }
  void setCaption(const std::string& v);
};

// The picture of a picture box, image or graphical button: a file path, or the name of a
// picture (no folder part) that the painter draws: a built-in one or one the program added
// to its picture book. "" is none.
// LoadPicture checks that the file exists (error 53 "File not found") and returns it.
std::string LoadPicture(const std::string& path);

class PictureBox : public WithState<Control, detail::PictureBoxState> {
 public:
  PictureBox(Form& form, std::string name, int index = -1);
  const std::string& Picture() const { return s_.picture; }
  void setPicture(const std::string& v);
  bool BorderSingle() const { return s_.border; }
  void setBorderSingle(bool v);
  bool takesFocus() const override { return true; }
};

class Image : public WithState<Control, detail::ImageState> {
 public:
  Image(Form& form, std::string name, int index = -1);
  const std::string& Picture() const { return s_.picture; }
  void setPicture(const std::string& v);
  bool Stretch() const { return s_.stretch; }
  void setStretch(bool v);
};

// A straight line from (X1, Y1) to (X2, Y2) in the container's pixels, in the colour
// BorderColor; its Left/Top/Width/Height are the bounding box.
class Line : public WithState<Control, detail::LineState> {
 public:
  Line(Form& form, std::string name, int index = -1);
  int X1() const { return s_.x1; }
  int Y1() const { return s_.y1; }
  int X2() const { return s_.x2; }
  int Y2() const { return s_.y2; }
  void setPoints(int x1, int y1, int x2, int y2);
  Color BorderColor() const { return s_.color; }
  void setBorderColor(Color c);
  int BorderWidth() const { return s_.width; }
  void setBorderWidth(int w);
};

}  // namespace plat
