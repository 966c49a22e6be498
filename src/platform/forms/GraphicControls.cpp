#include "platform/forms/GraphicControls.h"

#include <filesystem>

#include "platform/core/Error.h"
#include "platform/forms/SetIfChanged.h"

namespace plat {

std::string LoadPicture(const std::string& path) {
  std::error_code ec;
  if (path.empty()) return path;
  if (!std::filesystem::is_regular_file(path, ec))
    throw RuntimeError(kErrFileNotFound, "File not found");
  return path;
}

// ---- Frame

Frame::Frame(Form& form, std::string name, int index)
    : WithState(form, ControlKind::Frame, std::move(name), index) {}

void Frame::setCaption(const std::string& v) {
  if (SetIfChanged(s_.caption, v)) changed(Prop::Caption);
}

// ---- PictureBox, Image

PictureBox::PictureBox(Form& form, std::string name, int index)
    : WithState(form, ControlKind::PictureBox, std::move(name), index) {}

void PictureBox::setPicture(const std::string& v) {
  if (SetIfChanged(s_.picture, v)) changed(Prop::Picture);
}
void PictureBox::setBorderSingle(bool v) {
  if (SetIfChanged(s_.border, v)) changed(Prop::BorderStyle);
}

Image::Image(Form& form, std::string name, int index)
    : WithState(form, ControlKind::Image, std::move(name), index) {}

void Image::setPicture(const std::string& v) {
  if (SetIfChanged(s_.picture, v)) changed(Prop::Picture);
}
void Image::setStretch(bool v) {
  if (SetIfChanged(s_.stretch, v)) changed(Prop::Picture);
}

// ---- Line

Line::Line(Form& form, std::string name, int index)
    : WithState(form, ControlKind::Line, std::move(name), index) {
  setPoints(s_.x1, s_.y1, s_.x2, s_.y2);
}

void Line::setPoints(int x1, int y1, int x2, int y2) {
  s_.x1 = x1, s_.y1 = y1, s_.x2 = x2, s_.y2 = y2;
  Move(std::min(x1, x2), std::min(y1, y2), std::max(x1, x2) - std::min(x1, x2) + 1,
       std::max(y1, y2) - std::min(y1, y2) + 1);
  changed(Prop::Geometry);
}
void Line::setBorderColor(Color c) {
  if (SetIfChanged(s_.color, c)) changed(Prop::LineColor);
}
void Line::setBorderWidth(int w) {
  if (w < 1) ThrowInvalidValue();
  if (SetIfChanged(s_.width, w)) changed(Prop::LineColor);
}

}  // namespace plat
