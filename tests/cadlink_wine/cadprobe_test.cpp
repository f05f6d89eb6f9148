// cadprobe.exe run as a person diagnosing a CAD would run it: its lines and
// exit code for a running demo drawing, a registered ProgID with no
// instance, an unregistered one and an empty one.
#include <gtest/gtest.h>

#include <charconv>
#include <sstream>

#include "cadlink/cad_calls.h"
#include "simcad/server/class_registration.h"
#include "simcad_process.h"
#include "support/temp_dir.h"
#include "win32/com_activation.h"

namespace {

using plyscan::automation::Variant;
using simcad::testing::SimcadProcess;
using simcad::testing::UniqueProgId;

struct ProbeRun {
  DWORD exit_code = 0xFFFFFFFF;
  std::vector<std::string> lines;
};

// Runs cadprobe.exe with `progid` as its one argument, standard output into a file.
ProbeRun RunCadprobe(const std::u16string& progid) {
  plyscan::testing::TempDir temp;
  const std::wstring out_path = temp.Root().wstring() + L"\\out.txt";
  SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
  HANDLE out = CreateFileW(out_path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit, CREATE_ALWAYS,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
  ProbeRun run;
  if (out == INVALID_HANDLE_VALUE) return run;
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdOutput = out;
  startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
  startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
  std::wstring command = L"\"" CADPROBE_EXE L"\" \"" + std::wstring(progid.begin(), progid.end()) + L"\"";
  PROCESS_INFORMATION process{};
  if (CreateProcessW(nullptr, command.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &process)) {
    if (WaitForSingleObject(process.hProcess, 60000) != WAIT_OBJECT_0) TerminateProcess(process.hProcess, 99);
    GetExitCodeProcess(process.hProcess, &run.exit_code);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
  }
  CloseHandle(out);
  std::istringstream text(temp.Read("out.txt"));
  for (std::string line; std::getline(text, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    run.lines.push_back(line);
  }
  return run;
}

// The numbers after "name: " on a line, read back exactly.
std::vector<double> Numbers(const std::string& line, const std::string& name) {
  std::vector<double> values;
  if (line.rfind(name + ": ", 0) != 0) return values;
  std::istringstream fields(line.substr(name.size() + 2));
  for (std::string field; fields >> field;) {
    double value = 0;
    const auto [end, error] = std::from_chars(field.data(), field.data() + field.size(), value);
    if (error != std::errc() || end != field.data() + field.size()) return {};
    values.push_back(value);
  }
  return values;
}

TEST(Cadprobe, PrintsTheActiveDocumentOfARunningDemoAndExitsZero) {
  plyscan::win32::OleApartment ole;
  const std::u16string progid = UniqueProgId(u"CadprobeTest.Demo");
  SimcadProcess process({u"--progid", progid, u"--demo", u"--screen", u"800x600"});
  ASSERT_TRUE(process.Running()) << process.Problem();

  const ProbeRun run = RunCadprobe(progid);
  EXPECT_EQ(run.exit_code, 0u);
  ASSERT_EQ(run.lines.size(), 6u) << ::testing::PrintToString(run.lines);
  EXPECT_EQ(run.lines[0], "registered: yes");
  EXPECT_EQ(run.lines[1], "running: yes");
  EXPECT_EQ(run.lines[3], "screensize: 800 600");

  // The same values the link reads itself, to the last bit.
  const auto document = plyscan::win32::AttachByProgId(progid)->Get(u"ActiveDocument").AsObject();
  EXPECT_EQ(run.lines[2], "layers: " + std::to_string(document->Get(u"Layers").AsObject()->Get(u"Count").AsInt32()));
  EXPECT_EQ(Numbers(run.lines[4], "extmin"), plyscan::cad::GetVariable(*document, u"EXTMIN").AsDoubles());
  EXPECT_EQ(Numbers(run.lines[5], "extmax"), plyscan::cad::GetVariable(*document, u"EXTMAX").AsDoubles());
  EXPECT_EQ(Numbers(run.lines[4], "extmin").size(), 3u);
}

TEST(Cadprobe, ExitsOneWhenThereIsNoDocumentToRead) {
  plyscan::win32::OleApartment ole;
  const std::u16string registered = UniqueProgId(u"CadprobeTest.NoInstance");
  const simcad::server::ClassRegistration registration(registered, simcad::server::ClassIdForProgId(registered));
  ASSERT_TRUE(registration.Ok());

  struct Row {
    const char* what;
    std::u16string progid;
    std::vector<std::string> lines;
  };
  const Row rows[] = {
      {"registered, no instance", registered, {"registered: yes", "running: no"}},
      {"not registered", UniqueProgId(u"CadprobeTest.Unknown"), {"registered: no", "running: no"}},
      {"empty", u"", {"registered: no", "running: no"}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.what);
    const ProbeRun run = RunCadprobe(row.progid);
    EXPECT_EQ(run.exit_code, 1u);
    EXPECT_EQ(run.lines, row.lines);
  }
}

}  // namespace
