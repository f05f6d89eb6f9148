// The two windows of the program on the headless window system, with the
// settings file and the target list in a fresh folder beside a pretended
// executable, read and written by this build's adapters.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>

#include "base/ansi_codec.h"
#include "base/collation.h"
#include "base/files.h"
#include "base/platform.h"
#include "headless/ui/headless_pictures.h"
#include "headless/ui/headless_windows.h"
#include "shell/main_window.h"
#include "shell/settings.h"
#include "shell/target_dialog.h"
#include "support/sim_target.h"
#include "support/temp_dir.h"

namespace plyscan::testing {

// This build's files, except that one path exists and cannot be opened, or
// cannot be written.
class FailingFile final : public FileSystem {
 public:
  enum class Fails { kReading, kWriting };
  FailingFile(FileSystem& files, Text path, Fails fails) : files_(&files), path_(std::move(path)), fails_(fails) {}
  bool Exists(const Text& path) override {
    return (path == path_ && fails_ == Fails::kReading) || files_->Exists(path);
  }
  FileResult ReadAll(const Text& path, std::string& bytes) override {
    if (path == path_ && fails_ == Fails::kReading) return {false, u"アクセスが拒否されました。"};
    return files_->ReadAll(path, bytes);
  }
  FileResult WriteAll(const Text& path, const std::string& bytes) override {
    if (path == path_ && fails_ == Fails::kWriting) return {false, u"ディスクがいっぱいです。"};
    return files_->WriteAll(path, bytes);
  }
  FileResult Remove(const Text& path) override { return files_->Remove(path); }

 private:
  FileSystem* files_;
  Text path_;
  Fails fails_;
};

class ShellTest : public ::testing::Test {
 protected:
  static constexpr char kList[] = "TargetCAD_APIVersion.txt";

  explicit ShellTest(ui::HeadlessWindowSystem::Options options = {}) : windows(options) {}

  // A new executable name gives a settings file of its own: the Windows
  // profile functions may keep a rewritten file's old content for a moment.
  // The windows of the previous case close first, so that their exit writes
  // go to their own file, through services that still exist.
  void Rename(int n) {
    dialog.reset();
    main.reset();
    exe_name = "case" + std::to_string(n);
    services.reset();
  }
  Text ExePath() const { return dir.PathOf(exe_name + ".exe"); }
  std::string Ini() const { return exe_name + ".ini"; }

  ShellServices& Services() {
    if (!services) {
      services.emplace(ShellServices{windows, filter, SystemProfileStore(), files ? *files : SystemFiles(),
                                     SystemAnsiCodec(), UserCollator(), ExePath(), cad.services, cad.screen, pictures});
    }
    return *services;
  }

  // Start-up: the main window (its start-up runs), then the hidden dialog.
  void Start() {
    main = std::make_unique<MainWindow>(Services());
    main->Create();
    dialog = std::make_unique<TargetDialog>(Services(), *main);
    dialog->Create();
    main->SetTargetDialog(dialog.get());
  }

  ui::HeadlessForm& MainForm() { return windows.WindowOf(main->Window()); }
  ui::HeadlessForm& DialogWindow() { return windows.WindowOf(dialog->Window()); }

  void WriteList(const std::string& utf8_lines) { dir.Write(kList, utf8_lines); }

  TempDir dir;
  ui::HeadlessWindowSystem windows;
  ui::HeadlessMessageFilter filter;
  SimCadServices cad{nullptr};  // no CAD running
  ui::HeadlessPictures pictures;
  std::string exe_name = "plyscan";
  FileSystem* files = nullptr;  // set before Start to replace this build's files
  std::optional<ShellServices> services;
  std::unique_ptr<MainWindow> main;
  std::unique_ptr<TargetDialog> dialog;
};

}  // namespace plyscan::testing
