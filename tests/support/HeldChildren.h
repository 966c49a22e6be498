#pragma once
// Children that never run as processes, for code that starts programs through a
// plat::ChildStarter (the printer's `lp`): each start is recorded and ends as planned, on the
// loop's clock, so a program that takes 20 s takes 20 s of manual time and no real time.
//
//   HeldChildren lp;
//   printer.starter = &lp;
//   lp.plan(20'000, 1, "lp: refused\n");  // the next child ends after 20 s, exit status 1
//   // a child with no plan runs until it is dropped (killed)
#include <deque>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/core/ChildProcess.h"

namespace plat::test {

class HeldChildren : public ChildStarter {
 public:
  struct Started {
    std::vector<std::string> argv;
    bool running = true;
    bool killed = false;  // dropped while running
  };

  // How the next child started ends: `after` ms after its start, with exit status `exitCode`
  // and `errorOutput` on its stderr.
  void plan(Millis after, int exitCode, std::string errorOutput = {}) {
    plans_.push_back({after, exitCode, std::move(errorOutput)});
  }

  std::unique_ptr<Child> start(EventLoop& loop, const std::vector<std::string>& argv,
                               ChildEndHandler onEnd) override {
    auto job = std::make_shared<Job>(Job{loop, {argv}, std::move(onEnd), 0});
    jobs_.push_back(job);
    if (!plans_.empty()) {
      const Plan p = plans_.front();
      plans_.pop_front();
      job->timer = loop.startTimer(p.after, [job, p] {
        job->loop.stopTimer(job->timer);
        job->started.running = false;
        ChildEnd end{true, p.exitCode, p.errorOutput};
        if (auto report = std::move(job->onEnd)) report(end);
      });
    }
    return std::make_unique<Handle>(job);
  }

  std::vector<Started> started() const {
    std::vector<Started> out;
    for (const auto& j : jobs_) out.push_back(j->started);
    return out;
  }
  int running() const {
    int n = 0;
    for (const auto& j : jobs_) n += j->started.running;
    return n;
  }

 private:
  struct Plan {
    Millis after;
    int exitCode;
    std::string errorOutput;
  };
  struct Job {
    EventLoop& loop;
    Started started;
    ChildEndHandler onEnd;
    EventLoop::TimerId timer;
  };
  class Handle : public Child {
   public:
    explicit Handle(std::shared_ptr<Job> job) : job_(std::move(job)) {}
    ~Handle() override {
      job_->onEnd = nullptr;
      if (!job_->started.running) return;
      job_->loop.stopTimer(job_->timer);
      job_->started.running = false;
      job_->started.killed = true;
    }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;

   private:
    std::shared_ptr<Job> job_;
  };
  std::deque<Plan> plans_;
  std::vector<std::shared_ptr<Job>> jobs_;
};

}  // namespace plat::test
