#pragma once
// A list view for the native load benchmarks that keeps its rows as the Win32 one keeps them: the
// texts by row, the keys in a set, so that a row costs the same in a list of ten as in one of a
// thousand. (The headless list view of the tests checks a new key against every row before it, a
// cost the real control does not have.) Only what a load uses does anything: no columns, no
// sorting, no geometry.

#include <memory>
#include <stdexcept>
#include <string>
#include <unordered_set>
#include <vector>

#include "ui/Controls.h"

namespace bench {

class KeptListView final : public ListView {
 public:
  // Control. SetFocus and the rows' Top are not marked override: the benchmark builds whether
  // or not the controls' interface has them yet.
  void Move(float, float, float, float) override {}
  float Left() const override { return 0; }
  float Top() const override { return 0; }
  float Width() const override { return 0; }
  float Height() const override { return 0; }
  bool Visible() const override { return true; }
  void Visible(bool) override {}
  void ZOrder(int) override {}
  void SetFocus() {}

  ColumnHeader& AddColumn(std::wstring, std::wstring, float) override { throw Unused(); }
  int ColumnCount() const override { return 0; }
  ColumnHeader& Column(int) override { throw Unused(); }
  ColumnHeader& Column(std::wstring_view) override { throw Unused(); }

  void ClearItems() override {
    rows_.clear();
    keys_.clear();
  }
  ListItem& AddItem(std::wstring key, std::wstring text, std::wstring smallIcon) override {
    if (!key.empty() && !keys_.insert(key).second) throw std::invalid_argument("key not unique");
    return *rows_.emplace_back(std::make_unique<Row>(std::move(key), std::move(text),
                                                     std::move(smallIcon)));
  }
  int ItemCount() const override { return static_cast<int>(rows_.size()); }
  ListItem& Item(int index) override { return *rows_.at(static_cast<std::size_t>(index - 1)); }

  ListItem* SelectedItem() override { return nullptr; }
  void SelectedItem(ListItem*) override {}
  ListItem* HitTest(float, float) override { return nullptr; }
  ListItem* DropHighlight() override { return nullptr; }
  void DropHighlight(ListItem*) override {}

  int SortKey() const override { return 0; }
  void SortKey(int) override {}
  int SortOrder() const override { return 0; }
  void SortOrder(int) override {}
  bool Sorted() const override { return false; }
  void Sorted(bool) override {}

 private:
  class Row final : public ListItem {
   public:
    Row(std::wstring key, std::wstring text, std::wstring icon)
        : key_(std::move(key)), text_(std::move(text)), icon_(std::move(icon)) {}
    const std::wstring& Key() const override { return key_; }
    const std::wstring& Text() const override { return text_; }
    void Text(std::wstring text) override { text_ = std::move(text); }
    const std::wstring& SubItems(int index) const override {
      static const std::wstring kNone;
      return index >= 1 && static_cast<std::size_t>(index) <= cells_.size() ? cells_[index - 1]
                                                                             : kNone;
    }
    void SubItems(int index, std::wstring text) override {
      if (static_cast<std::size_t>(index) > cells_.size()) cells_.resize(index);
      cells_[index - 1] = std::move(text);
    }
    const std::wstring& SmallIcon() const override { return icon_; }
    bool Checked() const override { return false; }
    void Checked(bool) override {}
    int Tag() const override { return 0; }
    void Tag(int) override {}
    float Top() const { return 0; }

   private:
    std::wstring key_, text_, icon_;
    std::vector<std::wstring> cells_;
  };

  static std::logic_error Unused() { return std::logic_error("not used by a load"); }

  std::vector<std::unique_ptr<Row>> rows_;
  std::unordered_set<std::wstring> keys_;
};

}  // namespace bench
