#pragma once
// Files in memory where paths on shares (\\server\share\...) may block, and those on shares the
// test has blocked do: their queries hang, as on a share that is down, until the test releases
// them. The bounded queries run on real worker threads.

#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "catalogue/BoundedExistence.h"
#include "platform/Deadline.h"
#include "platform/tests/MemoryFileSystem.h"

class BlockingFileSystem final : public FileSystem {
 public:
  ~BlockingFileSystem() override {
    Release();
    std::unique_lock lock(gate_->mutex);
    gate_->changed.wait(lock, [&] { return gate_->hanging == 0; });
  }

  MemoryFileSystem& Files() { return files_; }

  /// Queries on the share ("\\\\SERVER\\SHARE", as VolumeOf gives it) hang from now on.
  void Block(std::wstring share) { blocked_.insert(std::move(share)); }

  /// Every hanging query returns, finding nothing; later ones on those shares too.
  void Release() {
    std::lock_guard lock(gate_->mutex);
    gate_->open = true;
    gate_->changed.notify_all();
  }

  /// The bounded queries asked, with their waits.
  const std::vector<std::pair<std::wstring, std::chrono::milliseconds>>& Asked() const {
    return asked_;
  }

  bool IsNormalFile(std::wstring_view path) const override {
    if (!blocked_.count(VolumeOf(path))) return files_.IsNormalFile(path);
    Hang(gate_);
    return false;
  }
  std::optional<std::string> ReadAll(std::wstring_view path) const override {
    return files_.ReadAll(path);
  }
  bool MayBlock(std::wstring_view path) const override {
    ++kindQueries_;
    return VolumeOf(path).rfind(L"\\\\", 0) == 0;
  }
  /// How many times MayBlock was asked.
  std::size_t KindQueries() const { return kindQueries_; }
  std::optional<bool> IsNormalFileWithin(std::wstring_view path,
                                         std::chrono::milliseconds wait) const override {
    asked_.emplace_back(path, wait);
    if (!blocked_.count(VolumeOf(path))) return files_.IsNormalFile(path);
    return RunWithin(
        [gate = gate_] {
          Hang(gate);
          return false;
        },
        wait);
  }

 private:
  struct Gate {
    std::mutex mutex;
    std::condition_variable changed;
    bool open = false;
    int hanging = 0;
  };

  static void Hang(const std::shared_ptr<Gate>& gate) {
    std::unique_lock lock(gate->mutex);
    ++gate->hanging;
    gate->changed.wait(lock, [&] { return gate->open; });
    --gate->hanging;
    gate->changed.notify_all();
  }

  MemoryFileSystem files_;
  std::set<std::wstring> blocked_;
  std::shared_ptr<Gate> gate_ = std::make_shared<Gate>();
  mutable std::vector<std::pair<std::wstring, std::chrono::milliseconds>> asked_;
  mutable std::size_t kindQueries_ = 0;
};
