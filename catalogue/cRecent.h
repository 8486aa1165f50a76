#pragma once
// One entry of a registry list: its number (the value's name read as a number) and the project
// file's path (the value's data).

#include <cstdint>
#include <string>

class cRecent {
 public:
  const std::wstring& FilePath() const { return filePath_; }
  void FilePath(std::wstring value) { filePath_ = std::move(value); }

  std::int16_t Order() const { return order_; }
  void Order(std::int16_t value) { order_ = value; }

 private:
  std::int16_t order_ = 0;
  std::wstring filePath_;
};
