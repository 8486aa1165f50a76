#pragma once
// Running a call that may block with a deadline on the caller's wait.

#include <chrono>
#include <functional>
#include <optional>

/// Runs the task on a thread of its own and waits at most `wait` for it. Returns the task's
/// answer, or nullopt when it has not finished in time; the thread then runs on, detached, and
/// its answer is dropped. An exception the task throws in time is thrown here. The task must own
/// everything it touches (capture by value), since it may outlive the caller. Throws
/// std::system_error when no thread can be started.
std::optional<bool> RunWithin(std::function<bool()> task, std::chrono::milliseconds wait);
