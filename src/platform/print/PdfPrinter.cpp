#include "platform/print/PdfPrinter.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <optional>

#include "platform/core/Error.h"
#include "platform/forms/Form.h"

namespace plat {

namespace {

// The printer's error, with `lp`'s reason on a line of its own where there is one.
[[noreturn]] void Fail(const std::string& reason = {}) {
  throw RuntimeError(kErrPrintFailed,
                     reason.empty() ? "Printer error" : "Printer error\n" + reason);
}

// A temporary file that is removed when it goes out of scope.
class TempPdf {
 public:
  TempPdf() {
    std::error_code ec;
    auto dir = std::filesystem::temp_directory_path(ec);
    if (ec) dir = "/tmp";
    std::string name = (dir / "print-XXXXXX.pdf").string();
    const int fd = ::mkstemps(name.data(), 4);
    if (fd < 0) Fail();
    ::close(fd);
    path_ = name;
  }
  ~TempPdf() {
    std::error_code ec;
    std::filesystem::remove(path_, ec);
  }
  TempPdf(const TempPdf&) = delete;
  TempPdf& operator=(const TempPdf&) = delete;
  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path path_;
};

}  // namespace

void PdfPrinter::printForm(Form& form, int copies) {
  if (copies < 1) return;
  TempPdf pdf;
  try {
    paint::WriteFormPdf(form, pdf.path(), copies, options);
  } catch (const paint::DrawError&) {
    Fail();
  }
  const std::string title = form.Caption().empty() ? form.name() : form.Caption();
  FormsRuntime& rt = form.rt();
  EventLoop& loop = rt.loop();
  std::optional<ChildEnd> end;
  ChildStarter& lp = starter ? *starter : processes_;
  std::unique_ptr<Child> job = lp.start(loop, {command, "-s", "-t", title, pdf.path().string()},
                                        [&end](const ChildEnd& e) { end = e; });
  bool late = false;
  const EventLoop::TimerId limit = loop.startTimer(timeLimit.count(), [&late] { late = true; });
  try {
    loop.runUntil([&] { return end || late || rt.app.endRequested(); }, "printer " + command);
  } catch (...) {
    loop.stopTimer(limit);
    throw;
  }
  loop.stopTimer(limit);
  job.reset();  // one that is still running is killed
  if (end ? !end->exited || end->exitCode != 0 : late) Fail(end ? FirstLine(end->errorOutput) : "");
}

}  // namespace plat
