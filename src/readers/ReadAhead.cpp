#include "readers/ReadAhead.h"

#include <algorithm>
#include <chrono>

namespace linvara {

namespace {
template <class Future>
void Wait(const Future& done, const std::function<void()>& keepResponsive) {
  if (!keepResponsive) {
    done.wait();
    return;
  }
  while (done.wait_for(std::chrono::milliseconds(8)) != std::future_status::ready) keepResponsive();
}
}  // namespace

void WaitKeepingResponsive(const std::future<void>& done, const std::function<void()>& keepResponsive) {
  Wait(done, keepResponsive);
}

ReadAhead::~ReadAhead() {
  stopping_ = true;
  for (std::thread& worker : workers_) worker.join();
}

void ReadAhead::AddErased(std::string key, Tag type, std::function<std::shared_ptr<void>()> parse) {
  auto job = std::make_unique<Job>();
  job->key = std::move(key);
  job->type = type;
  job->parse = std::move(parse);
  job->result = job->promise.get_future();
  jobs_.push_back(std::move(job));
}

void ReadAhead::Start(unsigned threads) {
  if (!workers_.empty()) return;
  for (unsigned i = 0; i < std::max(1u, threads) && i < jobs_.size(); ++i) workers_.emplace_back([this] { RunJobs(); });
}

void ReadAhead::RunJobs() {
  for (std::size_t next; !stopping_ && (next = nextJob_++) < jobs_.size();) {
    Job* job = jobs_[next].get();
    try {
      job->promise.set_value(job->parse());
    } catch (...) {
      job->promise.set_exception(std::current_exception());
    }
    job->parse = nullptr;
  }
}

std::shared_ptr<void> ReadAhead::TakeErased(const std::string& key, Tag type,
                                            const std::function<void()>& keepResponsive) {
  if (workers_.empty()) return nullptr;
  for (const auto& job : jobs_) {
    if (job->taken || job->type != type || job->key != key) continue;
    job->taken = true;
    Wait(job->result, keepResponsive);
    return job->result.get();
  }
  return nullptr;
}

}  // namespace linvara
