#include "platform/Deadline.h"

#include <condition_variable>
#include <exception>
#include <memory>
#include <mutex>
#include <thread>

namespace {

// What the caller and the worker share; whichever lets go last frees it.
struct Outcome {
  std::mutex mutex;
  std::condition_variable done;
  bool finished = false;
  bool answer = false;
  std::exception_ptr failure;
};

}  // namespace

std::optional<bool> RunWithin(std::function<bool()> task, std::chrono::milliseconds wait) {
  auto outcome = std::make_shared<Outcome>();
  std::thread([outcome, task = std::move(task)] {
    bool answer = false;
    std::exception_ptr failure;
    try {
      answer = task();
    } catch (...) {
      failure = std::current_exception();
    }
    std::lock_guard lock(outcome->mutex);
    outcome->answer = answer;
    outcome->failure = failure;
    outcome->finished = true;
    outcome->done.notify_one();
  }).detach();

  std::unique_lock lock(outcome->mutex);
  if (!outcome->done.wait_for(lock, wait, [&] { return outcome->finished; })) return std::nullopt;
  if (outcome->failure) std::rethrow_exception(outcome->failure);
  return outcome->answer;
}
