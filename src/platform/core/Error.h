#pragma once
// Run-time errors of the forms runtime: an error number and a text, thrown as C++
// exceptions. Callers that the system protects catch them; nothing else does.
#include <functional>
#include <initializer_list>
#include <stdexcept>
#include <string>

namespace plat {

// Error numbers as the forms runtime reports them.
enum ErrorNumber : int {
  kErrInvalidCall = 5,
  kErrOverflow = 6,
  kErrTypeMismatch = 13,
  kErrFileNotFound = 53,
  kErrNoSuchElement = 340,
  kErrInvalidProperty = 380,
  kErrInvalidArrayIndex = 381,
  kErrInvalidPortNumber = 8002,
  kErrPortAlreadyOpen = 8005,
  kErrPortNotOpen = 8018,
  kErrPortOpenFailed = 8015,
  kErrPortIoFailed = 8020,  // a write to an open device failed for a reason of the device
  kErrPrintFailed = 482,
  kErrFormAlreadyShown = 400,
};

class RuntimeError : public std::runtime_error {
 public:
  RuntimeError(int number, const std::string& text) : std::runtime_error(text), number_(number) {}
  int number() const { return number_; }

 private:
  int number_;
};

// Runs each step in turn; a step that throws is skipped and the next one runs.
// This is the "errors ignored, step by step" handling of the start-up form.
void RunIgnoringErrors(std::initializer_list<std::function<void()>> steps);

}  // namespace plat
