#pragma once
// The tab strip, toolbar, text box, frame, label and open-file dialog over the Windows controls,
// and the document's keyboard tab order.

#include <windows.h>
#include <commctrl.h>

#include <string>
#include <string_view>
#include <vector>

#include "ui/win32/Win32ControlBase.h"

class DrawnImages;

/// The order in which Tab and Shift+Tab move the focus among the document's controls. It is kept
/// apart from the windows' stacking, which decides what covers what: the pages lie over the tab
/// strip, yet the tab strip comes before them in the tab order.
class TabOrder {
 public:
  void Add(HWND control) { controls_.push_back(control); }
  int IndexOf(HWND control) const;
  /// Moves the control to the place (0-based, clamped to the order).
  void MoveTo(HWND control, int index);
  /// The control that takes the focus after from (before it when backward), wrapping around;
  /// null when none takes it. A control takes the focus while it is a tab stop, shows and is
  /// enabled.
  HWND Next(HWND from, bool backward) const;
  HWND First() const { return Next(nullptr, false); }

 private:
  std::vector<HWND> controls_;
};

class Win32TabStrip final : public Win32Control<TabStrip>, public NotifyTarget {
 public:
  Win32TabStrip(HWND parent, int id, const Twips& twips, TabOrder& tabOrder);
  ~Win32TabStrip() override;

  void AddTab(std::wstring caption) override;
  int TabCount() const override { return TabCtrl_GetItemCount(hwnd_); }
  const std::wstring& TabCaption(int index) const override;
  int SelectedIndex() const override { return TabCtrl_GetCurSel(hwnd_) + 1; }
  void SelectTab(int index) override;
  /// The display area (TCM_ADJUSTRECT), in twips relative to the document window.
  float ClientLeft() const override;
  float ClientTop() const override;
  float ClientWidth() const override;
  float ClientHeight() const override;
  int TabIndex() const override { return tabOrder_.IndexOf(hwnd_); }
  void TabIndex(int index) override;

  // For WM_NOTIFY with TCN_SELCHANGE: the user chose another tab.
  LRESULT OnNotify(NMHDR& header) override;
  void OnCommand(WORD, WORD) override {}

 private:
  // A click on the tab already selected changes nothing, so the control sends no TCN_SELCHANGE;
  // it raises Click all the same, as every click on a tab does.
  static LRESULT CALLBACK ClickProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                                    UINT_PTR id, DWORD_PTR self) noexcept;
  // The display area's distance from each edge of the control, in pixels.
  RECT Margins() const;

  TabOrder& tabOrder_;  // not owned
  std::vector<std::wstring> captions_;
};

class Win32Toolbar final : public Win32Control<Toolbar>, public NotifyTarget {
 public:
  /// images: the buttons' images by key; it outlives the toolbar.
  Win32Toolbar(HWND parent, int id, const Twips& twips, const DrawnImages& images);

  void AddButton(std::wstring key, std::wstring toolTip, std::wstring imageKey,
                 bool twoState) override;
  int ButtonValue(std::wstring_view key) const override;
  void ButtonValue(std::wstring_view key, int value) override;
  using Win32Control<Toolbar>::Move;
  void Move(float left, float top, float width) override { Move(left, top, width, Height()); }

  /// The command identifier of the button with the key; throws VbError (35601) for none.
  int CommandOf(std::wstring_view key) const { return Find(key).command; }

  // For WM_NOTIFY with TBN_GETINFOTIPW: the button's tool tip.
  LRESULT OnNotify(NMHDR& header) override;
  // For WM_COMMAND from a button: ButtonClick, after a two-state button has toggled itself.
  void OnCommand(WORD code, WORD id) override;

 private:
  struct Button {
    std::wstring key, toolTip;
    int command;
  };
  const Button& Find(std::wstring_view key) const;

  const DrawnImages& images_;  // not owned
  std::vector<Button> buttons_;
};

/// A read-only text box with a border.
class Win32TextBox final : public Win32Control<TextBox> {
 public:
  Win32TextBox(HWND parent, int id, const Twips& twips);
  const std::wstring& Text() const override { return text_ = WindowText(hwnd_); }
  void Text(std::wstring text) override { ::SetWindowTextW(hwnd_, text.c_str()); }

 private:
  mutable std::wstring text_;  // the last text read from the window
};

/// A text box the user types into, with a cue banner; Change follows EN_CHANGE.
class Win32EditBox final : public Win32Control<EditBox>, public NotifyTarget {
 public:
  Win32EditBox(HWND parent, int id, const Twips& twips);
  const std::wstring& Text() const override { return text_ = WindowText(hwnd_); }
  void Text(std::wstring text) override { ::SetWindowTextW(hwnd_, text.c_str()); }
  const std::wstring& CueBanner() const override;
  void CueBanner(std::wstring text) override;

  LRESULT OnNotify(NMHDR&) override { return 0; }
  void OnCommand(WORD code, WORD id) override;

 private:
  mutable std::wstring text_, cue_;  // the last text and cue read from the window
};

/// A group box that holds its labels and text boxes as child windows, so they show, hide and
/// stack with it and are placed in its coordinates.
class Win32Frame final : public Win32Control<Frame> {
 public:
  Win32Frame(HWND parent, int id, const Twips& twips);
  ~Win32Frame() override;
  const std::wstring& Caption() const override { return caption_ = WindowText(hwnd_); }
  void Caption(std::wstring caption) override { ::SetWindowTextW(hwnd_, caption.c_str()); }

 private:
  static LRESULT CALLBACK BackgroundProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                                         UINT_PTR id, DWORD_PTR self) noexcept;

  mutable std::wstring caption_;  // the last caption read from the window
};

class Win32Label final : public Win32Control<Label> {
 public:
  Win32Label(HWND parent, int id, const Twips& twips);
  const std::wstring& Caption() const override { return caption_ = WindowText(hwnd_); }
  void Caption(std::wstring caption) override { ::SetWindowTextW(hwnd_, caption.c_str()); }

 private:
  mutable std::wstring caption_;  // the last caption read from the window
};

/// The open-file dialog (GetOpenFileNameW), owned by the document window.
class Win32CommonDialog final : public CommonDialog {
 public:
  explicit Win32CommonDialog(HWND owner) : owner_(owner) {}

  /// True: a cancel raises VbError 32755 from ShowOpen.
  void CancelError(bool value) override { cancelError_ = value; }
  void DialogTitle(std::wstring title) override { title_ = std::move(title); }
  void Filter(std::wstring filter) override { filter_ = std::move(filter); }
  void FilterIndex(int index) override { filterIndex_ = index; }
  void InitDir(std::wstring folder) override { initDir_ = std::move(folder); }
  void Flags(long flags) override { flags_ = flags; }
  void ShowOpen() override;
  const std::wstring& FileName() const override { return fileName_; }

  /// The filter as the dialog takes it: "description|pattern|..." with every "|" a NUL and the
  /// list ended by two.
  static std::wstring DialogFilter(std::wstring_view filter);

 private:
  HWND owner_;
  bool cancelError_ = false;
  std::wstring title_, filter_, initDir_, fileName_;
  int filterIndex_ = 0;
  long flags_ = 0;
};
