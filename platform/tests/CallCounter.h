#pragma once
// Counts the calls a test double takes and picks the one to fail: a journey is run once to count
// its calls, then once for each call with that call failing.

class CallCounter {
 public:
  /// From now on the nth call fails (counting from 1); 0 fails none. Restarts the count.
  void FailCall(int n) { failAt_ = n, calls_ = 0; }
  /// Counts one call; true when it is the one to fail.
  bool Next() { return ++calls_ == failAt_; }
  int Calls() const { return calls_; }

 private:
  int failAt_ = 0, calls_ = 0;
};
