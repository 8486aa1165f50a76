#pragma once
// The document's 16x16 images, drawn in code: the rows' file icons and the toolbar's buttons.

#include <windows.h>

#include <string>
#include <string_view>
#include <vector>

#include "platform/win32/unique_res.h"

/// An image list whose images are found by key.
class DrawnImages {
 public:
  /// The rows' icons: "not" (a grey cross, the file is missing) and "yes" (a green tick).
  static DrawnImages FileIcons();
  /// The toolbar's: "Open", "Properties", "custom" and "about".
  static DrawnImages ToolbarIcons();

  HIMAGELIST Handle() const { return list_.get(); }
  /// The image's index in the list, or -1 when no image has the key.
  int IndexOf(std::wstring_view key) const;

 private:
  DrawnImages() = default;

  unique_himagelist list_;
  std::vector<std::wstring> keys_;  // by index
};
