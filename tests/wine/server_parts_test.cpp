// simcad.exe's smaller parts: its command line, the class identifiers it
// registers, the call log's lines and the injected faults.
#include <windows.h>

#include <gtest/gtest.h>

#include "base/failure.h"
#include "simcad/server/call_faults.h"
#include "simcad/server/call_log.h"
#include "simcad/server/class_registration.h"
#include "simcad/server/options.h"

namespace {

using plyscan::AutomationFailure;
using plyscan::automation::Variant;
using namespace simcad::server;

TEST(ServerOptions, ReadsEveryOption) {
  const ServerOptions o = ParseServerOptions({u"--progid",
                                              u"A.App",
                                              u"--progid",
                                              u"B.App",
                                              u"--demo",
                                              u"--screen",
                                              u"800x600",
                                              u"--log",
                                              u"calls.jsonl",
                                              u"--reject-calls",
                                              u"2",
                                              u"--fail",
                                              u"Regen@3",
                                              u"--fail",
                                              u"Select",
                                              u"--delay",
                                              u"SendCommand=250",
                                              u"--lenient-types",
                                              u"--layerstate-overwrite",
                                              u"--minimized",
                                              u"--no-type-info"});
  EXPECT_EQ(o.progids, (std::vector<Text>{u"A.App", u"B.App"}));
  EXPECT_TRUE(o.demo);
  EXPECT_FALSE(o.drawing_file);
  EXPECT_EQ(o.screen_width, 800);
  EXPECT_EQ(o.screen_height, 600);
  EXPECT_EQ(o.log_file, Text(u"calls.jsonl"));
  EXPECT_EQ(o.reject_calls, 2);
  ASSERT_EQ(o.failures.size(), 2u);
  EXPECT_EQ(o.failures[0].member, u"Regen");
  EXPECT_EQ(o.failures[0].nth, 3);
  EXPECT_EQ(o.failures[1].nth, 0);
  ASSERT_EQ(o.delays.size(), 1u);
  EXPECT_EQ(o.delays[0].member, u"SendCommand");
  EXPECT_EQ(o.delays[0].milliseconds, 250);
  EXPECT_TRUE(o.lenient_types && o.layerstate_overwrite && o.minimized && o.no_type_info);

  const ServerOptions defaults = ParseServerOptions({});
  EXPECT_FALSE(defaults.no_type_info);
  EXPECT_EQ(defaults.progids, std::vector<Text>{kDefaultProgId});
  EXPECT_EQ(defaults.screen_width, 1024);
  EXPECT_EQ(defaults.screen_height, 768);
}

TEST(ServerOptions, RefusesMalformedCommandLines) {
  const std::vector<std::vector<Text>> bad = {
      {u"--progid"},           {u"--progid", u""},         {u"--screen", u"800"},
      {u"--screen", u"0x600"}, {u"--screen", u"99999x10"}, {u"--reject-calls", u"-1"},
      {u"--fail", u"Regen@0"}, {u"--fail", u"@2"},         {u"--delay", u"Regen"},
      {u"--delay", u"Regen=x"}, {u"--demo", u"--drawing", u"a.dxf"}, {u"--what"}};
  for (const auto& args : bad) EXPECT_THROW(ParseServerOptions(args), plyscan::Failure) << plyscan::ToUtf8(args[0]);
}

TEST(ClassIds, AreStablePerProgIdAndDistinct) {
  const CLSID a = ClassIdForProgId(u"SimCad.Application");
  EXPECT_TRUE(IsEqualGUID(a, ClassIdForProgId(u"simcad.APPLICATION")));  // ProgIDs ignore case
  EXPECT_FALSE(IsEqualGUID(a, ClassIdForProgId(u"SimCad.Application2")));
  EXPECT_FALSE(IsEqualGUID(ClassIdForProgId(u"A"), ClassIdForProgId(u"B")));
  EXPECT_EQ(a.Data3 >> 12, 5);            // version 5: name-based
  EXPECT_EQ(a.Data4[0] & 0xC0, 0x80);     // RFC 4122 variant
  const std::u16string text = ClassIdText(a);
  ASSERT_EQ(text.size(), 38u);
  CLSID parsed{};
  ASSERT_EQ(CLSIDFromString(reinterpret_cast<LPCOLESTR>(text.c_str()), &parsed), S_OK);
  EXPECT_TRUE(IsEqualGUID(a, parsed));
}

std::wstring ClassesValue(HKEY root, const std::wstring& path) {
  wchar_t value[260] = {};
  DWORD size = sizeof value - sizeof(wchar_t);
  if (RegGetValueW(root, (L"Software\\Classes\\" + path).c_str(), nullptr, RRF_RT_REG_SZ, nullptr, value, &size) !=
      ERROR_SUCCESS)
    return L"(none)";
  return value;
}

TEST(ClassRegistrations, AreUndoneAndLeaveOtherProgramsKeysAlone) {
  const std::wstring progid = L"SimCadTest.Registry.P" + std::to_wstring(GetCurrentProcessId());
  const std::u16string id16(progid.begin(), progid.end());
  const CLSID clsid = ClassIdForProgId(id16);
  const std::u16string clsid16 = ClassIdText(clsid);
  const std::wstring clsid_text(clsid16.begin(), clsid16.end());
  {
    ClassRegistration registration(id16, clsid);
    ASSERT_TRUE(registration.Ok());
    CLSID found{};
    ASSERT_EQ(CLSIDFromProgID(progid.c_str(), &found), S_OK);
    EXPECT_TRUE(IsEqualGUID(found, clsid));
    EXPECT_EQ(ClassesValue(HKEY_LOCAL_MACHINE, L"CLSID\\" + clsid_text + L"\\ProgID"), progid);
  }
  EXPECT_EQ(ClassesValue(HKEY_CURRENT_USER, progid + L"\\CLSID"), L"(none)");
  EXPECT_EQ(ClassesValue(HKEY_LOCAL_MACHINE, progid + L"\\CLSID"), L"(none)");

  // Another program owns the ProgID in HKCU: its value stays, before and after.
  const std::wstring foreign = L"{00000000-1111-2222-3333-444444444444}";
  const std::wstring key = L"Software\\Classes\\" + progid + L"\\CLSID";
  ASSERT_EQ(RegSetKeyValueW(HKEY_CURRENT_USER, key.c_str(), nullptr, REG_SZ, foreign.c_str(),
                            static_cast<DWORD>((foreign.size() + 1) * sizeof(wchar_t))),
            ERROR_SUCCESS);
  {
    ClassRegistration registration(id16, clsid);
    EXPECT_EQ(ClassesValue(HKEY_CURRENT_USER, progid + L"\\CLSID"), foreign);
  }
  EXPECT_EQ(ClassesValue(HKEY_CURRENT_USER, progid + L"\\CLSID"), foreign);
  RegDeleteTreeW(HKEY_CURRENT_USER, (L"Software\\Classes\\" + progid).c_str());
}

TEST(CallLogLines, ShowTypesValuesAndOutcome) {
  CallRecord call;
  call.object_type = u"Document";
  call.member = u"SendCommand";
  call.kind = InvokeKind::Method;
  call.arg_types = {VT_BYREF | VT_BSTR};
  call.args = {Variant::String(u"(princ \"x\")\r").ByRef()};
  EXPECT_EQ(CallLogLine(call),
            R"({"object":"Document","member":"SendCommand","invoke":"method","args":[{"vt":16392,)"
            R"("value":"(princ \"x\")\u000d"}],"result":null,"busy_us":0})");

  CallRecord failed;
  failed.object_type = u"Layers";
  failed.member = u"Item";
  failed.kind = InvokeKind::MethodOrGet;
  failed.arg_types = {VT_I4, VT_BSTR};
  failed.args = {Variant::Int32(3)};  // the second did not convert
  failed.hresult = plyscan::hr::kBadIndex;
  failed.error = u"レイヤーなし";
  failed.busy_us = 1234;
  EXPECT_EQ(CallLogLine(failed), R"({"object":"Layers","member":"Item","invoke":"method|get","args":[)"
                                 R"({"vt":3,"value":3},{"vt":8}],"hresult":"0x8002000B","error":"レイヤーなし",)"
                                 R"("busy_us":1234})");
}

TEST(CallFaultRules, FailTheChosenCallOfAMemberInAnyCase) {
  CallFaults faults({{u"Regen", 2}, {u"select", 0}}, {});
  EXPECT_NO_THROW(faults.Before(u"REGEN"));
  EXPECT_THROW(faults.Before(u"Regen"), AutomationFailure);
  EXPECT_NO_THROW(faults.Before(u"regen"));
  for (int i = 0; i < 3; ++i) EXPECT_THROW(faults.Before(u"Select"), AutomationFailure);
  EXPECT_NO_THROW(faults.Before(u"Clear"));
}

}  // namespace
