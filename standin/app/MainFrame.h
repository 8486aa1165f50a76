#pragma once
// The stand-in IDE's main window: the menu bar (File, and Add-Ins reflecting the object model's
// "Add-Ins" bar), the "Standard" bar as a toolbar, the open projects on the left, the dock area
// for tool windows on the right and a status line naming the active project.

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "standin/StandInIde.h"
#include "standin/app/AddIns.h"
#include "platform/win32/unique_res.h"

namespace standin_app {

struct Options {
  std::wstring screenshot;          // empty: run until the user closes
  std::vector<std::wstring> open;   // projects to open after start-up, as the user would
  std::wstring keys;  // typed into the first tool window once it shows: ^X is Ctrl+X
};

class MainFrame final : public standin::Observer {
 public:
  explicit MainFrame(Options options) : options_(std::move(options)) {}
  ~MainFrame() override;

  /// Makes the window, the object model and the add-ins, and shows it; false when the window
  /// could not be made.
  bool Create(HINSTANCE instance);
  /// The process's exit code once the window is gone: 1 when a screenshot was asked for and
  /// could not be saved.
  int ExitCode() const { return exitCode_; }
  /// The IDE's message loop's first look at each message (StandInIde::PreTranslate): true when it
  /// was used and must not be translated or dispatched.
  bool PreTranslate(MSG& message) { return ide_ && ide_->PreTranslate(message); }
  /// The object model, once the window is made.
  standin::StandInIde* Ide() const { return ide_.get(); }

  // standin::Observer: calls arrive during the add-in's own call, so the window is redrawn
  // later, from a posted message.
  void CommandBarsChanged() override;
  void ProjectsChanged() override;
  void AddInChanged(std::wstring_view progId) override;

  // For BoundWindowProc.
  void Attach(HWND window) { hwnd_ = window; }
  void Detach() { hwnd_ = nullptr; }
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

 private:
  void OnCreate();
  void Start();
  void Layout();
  void ShowBars();
  void ShowProjects();
  void OnCommand(int id);
  void OpenProjectDialog();
  bool OpenProject(const std::wstring& fileName);  // false when the file does not exist
  void ShowAddInManager();
  void TypeKeys();
  void TakeScreenshot();
  void Close();

  Options options_;
  HINSTANCE instance_ = nullptr;
  HWND hwnd_ = nullptr;  // destroyed by Close
  HWND toolbar_ = nullptr, status_ = nullptr, projects_ = nullptr, dock_ = nullptr;  // children
  unique_hmenu menu_;
  unique_himagelist faces_;
  std::unique_ptr<standin::StandInIde> ide_;
  AddIns addIns_;
  std::size_t seenProjectCalls_ = 0;
  std::wstring userOpened_;  // the project the user is opening, until the model reports it
  std::vector<std::wstring> addInMenu_;  // captions of the Add-Ins menu's model entries
  bool closing_ = false;
  int exitCode_ = 0;
};

}  // namespace standin_app
