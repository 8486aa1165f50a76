#include "addin/tests/FakeHost.h"

#include <optional>

class FakeHost::Projects final : public host::VBProjects {
 public:
  explicit Projects(FakeHost& host) : host_(host) {}
  void AddFromFile(std::wstring_view fileName, bool exclusive) override {
    host_.ThrowIfFailing();
    host_.opened.emplace_back(std::wstring(fileName), exclusive);
    host_.active = std::make_shared<Project>(std::wstring(fileName));
  }
  void Remove(host::VBProject& project) override {
    host_.ThrowIfFailing();
    host_.removed.push_back(static_cast<Project&>(project).path);
    if (host_.active.get() == &project) host_.active.reset();
  }

 private:
  FakeHost& host_;
};

namespace {

class Control final : public host::CommandBarControl {
 public:
  explicit Control(const bool& disabled) : disabled_(disabled) {}
  bool Enabled() const override { return !disabled_; }

 private:
  const bool& disabled_;
};

class Controls final : public host::CommandBarControls {
 public:
  explicit Controls(const bool& disabled) : disabled_(disabled) {}
  int Count() const override { return 1; }
  std::shared_ptr<host::CommandBarControl> Item(int index) override {
    if (index != 1) throw VbError(5, L"Controls", L"Invalid procedure call or argument");
    return std::make_shared<Control>(disabled_);
  }

 private:
  const bool& disabled_;
};

class Bar final : public host::CommandBar {
 public:
  explicit Bar(const bool& disabled) : disabled_(disabled) {}
  std::shared_ptr<host::CommandBarControls> Controls() override {
    return std::make_shared<::Controls>(disabled_);
  }

 private:
  const bool& disabled_;
};

}  // namespace

class FakeHost::Bars final : public host::CommandBars {
 public:
  explicit Bars(FakeHost& host) : host_(host) {}
  std::shared_ptr<host::CommandBar> Item(std::wstring_view name) override {
    if (name != L"File") throw VbError(5, L"CommandBars", L"Invalid procedure call or argument");
    return std::make_shared<Bar>(host_.busy);
  }
  std::shared_ptr<host::CommandBar> Item(int) override {
    throw VbError(5, L"CommandBars", L"Invalid procedure call or argument");
  }

 private:
  FakeHost& host_;
};

FakeHost::FakeHost() = default;

std::shared_ptr<host::VBProjects> FakeHost::VBProjects() { return std::make_shared<Projects>(*this); }
std::shared_ptr<host::CommandBars> FakeHost::CommandBars() { return std::make_shared<Bars>(*this); }

void FakeHost::ThrowIfFailing() {
  if (!failNext) return;
  VbError e = *failNext;
  failNext.reset();
  throw e;
}
