// Waiting for a call on a worker with a deadline: the answer in time, a failure in time, and no
// answer while the call still hangs.

#include "platform/Deadline.h"

#include <gtest/gtest.h>

#include <future>
#include <stdexcept>

namespace {

using std::chrono::milliseconds;

TEST(RunWithin, GivesWhatCameInTimeAndLetsACallThatHangsFinishAlone) {
  EXPECT_EQ(true, RunWithin([] { return true; }, milliseconds(60000)));
  EXPECT_EQ(false, RunWithin([] { return false; }, milliseconds(60000)));
  EXPECT_THROW(RunWithin([]() -> bool { throw std::runtime_error("share"); }, milliseconds(60000)),
               std::runtime_error);

  std::promise<void> release;
  auto finished = std::make_shared<std::promise<void>>();
  std::future<void> hasFinished = finished->get_future();
  EXPECT_FALSE(RunWithin(
      [released = release.get_future().share(), finished] {
        released.wait();
        finished->set_value();
        return true;
      },
      milliseconds(20)));
  release.set_value();
  hasFinished.wait();  // the worker ran to its end after nobody waited for it
}

}  // namespace
