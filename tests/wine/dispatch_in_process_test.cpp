// The IDispatch client and simcad's IDispatch server against each other in
// one process: every argument and result kind crosses VARIANT both ways, and
// failures come back with the codes and texts that clients rely on.
#include <windows.h>
#include <oleauto.h>

#include <gtest/gtest.h>

#include "fake_sim_object.h"
#include "simcad/server/dispatch_server.h"
#include "simcad/server/type_info.h"
#include "win32/com_activation.h"
#include "win32/dispatch_client.h"
#include "win32/variant_win32.h"

namespace {

using plyscan::AutomationFailure;
using plyscan::automation::Args;
using plyscan::automation::ObjectRef;
using plyscan::automation::Variant;
using plyscan::win32::DispatchObject;
using simcad::server::CallRecord;
using simcad::server::InvokeKind;
using simcad::server::SimDispatch;
using simcad::testing::FakeSimObject;

class RecordingObserver final : public simcad::server::CallObserver {
 public:
  std::vector<CallRecord> calls;
  void BeforeCall(const CallRecord&) override {}
  void AfterCall(const CallRecord& call) noexcept override { calls.push_back(call); }
};

class DispatchInProcess : public ::testing::Test {
 protected:
  plyscan::win32::OleApartment ole_;
  RecordingObserver observer_;
  std::shared_ptr<FakeSimObject> fake_ = std::make_shared<FakeSimObject>();
  ObjectRef client_ = DispatchObject::Wrap(SimDispatch::Create(fake_, &observer_));

  std::int32_t FailureCode(const std::function<void()>& call) {
    try {
      call();
    } catch (const AutomationFailure& failure) {
      return failure.HResult();
    }
    ADD_FAILURE() << "the call did not fail";
    return 0;
  }
};

TEST_F(DispatchInProcess, ArgumentsArriveWithTheirKindsAndByReferenceMarks) {
  const Args sent = {Variant::Int32(1),
                     Variant::String(u"(princ)\r").ByRef(),
                     Variant::Doubles({-1.5, 2.25, 0}).ByRef(),
                     Variant::Omitted(),
                     Variant::Omitted(),
                     Variant::Int16(-7),
                     Variant::Bool(true),
                     Variant::UInt64(0xFFFF'0000'1234'5678ULL),
                     Variant::Int64(-5),
                     Variant::Double(0.5)};
  EXPECT_EQ(client_->Call(u"echo", sent).AsInt32(), 10);
  EXPECT_EQ(fake_->last_member, u"Echo");
  EXPECT_EQ(fake_->last_args, sent);

  ASSERT_EQ(observer_.calls.size(), 1u);
  const CallRecord& call = observer_.calls[0];
  EXPECT_EQ(call.kind, InvokeKind::Method);
  const std::vector<VARTYPE> types = {VT_I4, VT_BYREF | VT_BSTR, VT_BYREF | VT_ARRAY | VT_R8, VT_ERROR, VT_ERROR,
                                      VT_I2, VT_BOOL, VT_UI8, VT_I8, VT_R8};
  EXPECT_EQ(call.arg_types, types);
}

TEST_F(DispatchInProcess, ResultsOfEveryKindComeBackEqual) {
  fake_->values = {Variant(),
                   Variant::Bool(true),
                   Variant::Bool(false),
                   Variant::Int16(-32768),
                   Variant::Int32(2147483647),
                   Variant::Int64(0x1234'5678'9ABCLL),
                   Variant::UInt64(~0ULL),
                   Variant::Double(-0.125),
                   Variant::String(std::u16string(u"レイヤー\0名", 6)),
                   Variant::String(u""),
                   Variant::Doubles({}),
                   Variant::Doubles({1e300, -2, 3.5})};
  for (std::size_t i = 0; i < fake_->values.size(); ++i) {
    EXPECT_EQ(client_->Get(u"Value", {Variant::Int32(static_cast<std::int32_t>(i))}), fake_->values[i])
        << "value " << i;
  }
}

TEST_F(DispatchInProcess, BooleanPutTravelsAsMinusOneAndReadsBack) {
  client_->Put(u"Flag", Variant::Bool(true));
  ASSERT_FALSE(observer_.calls.empty());
  EXPECT_EQ(observer_.calls.back().kind, InvokeKind::Put);
  EXPECT_EQ(observer_.calls.back().arg_types, std::vector<VARTYPE>{VT_BOOL});
  EXPECT_TRUE(client_->Get(u"Flag").AsBool());
  client_->Put(u"FLAG", Variant::Bool(false));
  EXPECT_FALSE(client_->Get(u"flag").AsBool());
}

TEST_F(DispatchInProcess, ReadsAreMethodOrPropertyGetAndFallBackToMethods) {
  client_->Get(u"Name");
  EXPECT_EQ(observer_.calls.back().kind, InvokeKind::MethodOrGet);
  // A method read as a property (no type library tells the server its kind).
  EXPECT_EQ(client_->Get(u"Echo", {Variant::Int32(1)}).AsInt32(), 1);
}

TEST_F(DispatchInProcess, FailuresCarryTheServersCodeAndText) {
  EXPECT_EQ(FailureCode([&] { client_->Get(u"NoSuchMember"); }), plyscan::hr::kUnknownName);
  EXPECT_EQ(FailureCode([&] { client_->Call(u"SetVariable", {Variant::String(u"GRIDMODE"), Variant::Int32(0)}); }),
            plyscan::hr::kTypeMismatch);
  client_->Call(u"SetVariable", {Variant::String(u"GRIDMODE"), Variant::Int16(0)});
  EXPECT_EQ(FailureCode([&] { client_->Get(u"Item"); }), plyscan::hr::kBadParamCount);
  EXPECT_EQ(FailureCode([&] { client_->Put(u"Name", Variant::String(u"x")); }), plyscan::hr::kMemberNotFound);

  try {
    client_->Call(u"Fail");
    FAIL() << "Fail did not fail";
  } catch (const AutomationFailure& failure) {
    EXPECT_EQ(failure.HResult(), plyscan::hr::kFail);  // the EXCEPINFO's scode
    EXPECT_EQ(failure.Member(), u"Fail");
    EXPECT_EQ(failure.Detail(), u"fake failure");
  }
  ASSERT_FALSE(observer_.calls.empty());
  EXPECT_EQ(observer_.calls.back().hresult, plyscan::hr::kFail);
}

TEST_F(DispatchInProcess, ObjectResultsAreNewWrappersReleasedWithTheClient) {
  const long before = simcad::SimObject::LiveObjects();
  {
    ObjectRef item = client_->Get(u"Item", {Variant::Int32(0)}).AsObject();
    EXPECT_EQ(simcad::SimObject::LiveObjects(), before + 1);
    EXPECT_EQ(item->Get(u"Name").AsText(), u"fake");
    EXPECT_EQ(observer_.calls.back().object_type, u"Fake");
  }
  observer_.calls.clear();  // the records hold the results too
  EXPECT_EQ(simcad::SimObject::LiveObjects(), before);
}

TEST_F(DispatchInProcess, CachedDispIdsAnswerLikeFreshOnes) {
  ObjectRef cached = DispatchObject::Wrap(SimDispatch::Create(fake_, &observer_), true);
  for (int i = 0; i < 3; ++i) EXPECT_EQ(cached->Get(u"Name").AsText(), u"fake");
  EXPECT_EQ(FailureCode([&] { cached->Get(u"NoSuchMember"); }), plyscan::hr::kUnknownName);
  EXPECT_EQ(cached->Get(u"Item", {Variant::Int32(0)}).AsObject()->Get(u"name").AsText(), u"fake");
}

// An object whose class name and members the test chooses: a member's DISPID
// is its place in the list plus one. Each read answers "class.member", so a
// DISPID used on the wrong object shows in the answer.
class ChosenMembers final : public simcad::SimObject {
 public:
  ChosenMembers(std::u16string type, std::vector<std::u16string_view> members)
      : type_(std::move(type)), members_(std::move(members)) {}
  std::span<const std::u16string_view> Members() const override { return members_; }
  std::u16string_view TypeName() const override { return type_; }
  Variant Get(std::u16string_view member, const Args&) override {
    return Variant::String(type_ + u"." + std::u16string(member));
  }
  void Put(std::u16string_view member, const Variant&) override {
    throw AutomationFailure(plyscan::hr::kMemberNotFound, std::u16string(member), u"read-only");
  }
  Variant Call(std::u16string_view member, const Args&) override {
    throw AutomationFailure(plyscan::hr::kMemberNotFound, std::u16string(member), u"not a method");
  }

 private:
  std::u16string type_;
  std::vector<std::u16string_view> members_;
};

class CountingObserver final : public simcad::server::CallObserver {
 public:
  int lookups = 0, type_infos = 0, type_attrs = 0;
  void BeforeCall(const CallRecord&) override {}
  void AfterCall(const CallRecord&) noexcept override {}
  void LookedUp(std::u16string_view, std::u16string_view) noexcept override { ++lookups; }
  void TypeAsked(std::u16string_view, std::u16string_view question) noexcept override {
    ++(question == u"GetTypeInfo" ? type_infos : type_attrs);
  }
};

// Two objects of the class Alpha and one of Beta, whose members stand in the
// other order, reached in one session: a DISPID learnt on one class is never
// used on the other; a server with type information is asked each name once
// per class and each class's attributes once; one without keeps the cache of
// each object.
TEST(DispatchIds, AreSharedByClassWhereTheServerNamesItAndKeptPerObjectElsewhere) {
  plyscan::win32::OleApartment ole;
  struct Case {
    const char* what;
    bool typed;
    bool cache;
    int lookups, type_infos, type_attrs;
  };
  const Case cases[] = {
      {"typed, cached", true, true, 4, 3, 2},
      {"untyped, cached", false, true, 6, 0, 0},
      {"typed, resolved at each call", true, false, 8, 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    CountingObserver observer;
    simcad::server::TypeLibrary types(&observer);
    simcad::server::TypeLibrary* const library = c.typed ? &types : nullptr;
    auto session = std::make_shared<plyscan::win32::DispatchSession>();
    session->cache_ids = c.cache;
    const auto make = [&](std::u16string type, std::vector<std::u16string_view> members) {
      return DispatchObject::Wrap(
          SimDispatch::Create(std::make_shared<ChosenMembers>(std::move(type), std::move(members)), &observer, library),
          session);
    };
    const ObjectRef alpha1 = make(u"Alpha", {u"Name", u"Kind"});
    const ObjectRef alpha2 = make(u"Alpha", {u"Name", u"Kind"});
    const ObjectRef beta = make(u"Beta", {u"Kind", u"Name"});
    const std::pair<const ObjectRef*, const char16_t*> reads[] = {
        {&alpha1, u"Name"}, {&alpha2, u"Name"}, {&beta, u"Name"},   {&alpha1, u"Kind"},
        {&beta, u"Kind"},   {&alpha2, u"kind"}, {&alpha1, u"NAME"}, {&beta, u"Name"},
    };
    const std::u16string expected[] = {u"Alpha.Name", u"Alpha.Name", u"Beta.Name",  u"Alpha.Kind",
                                       u"Beta.Kind",  u"Alpha.Kind", u"Alpha.Name", u"Beta.Name"};
    for (std::size_t i = 0; i < std::size(reads); ++i)
      EXPECT_EQ((*reads[i].first)->Get(reads[i].second).AsText(), expected[i]) << "read " << i;
    EXPECT_EQ(observer.lookups, c.lookups);
    EXPECT_EQ(observer.type_infos, c.type_infos);
    EXPECT_EQ(observer.type_attrs, c.type_attrs);
  }
}

// Results that some servers hand back as arrays of variants.
TEST(VariantConversion, ArraysOfNumericVariantsReadAsDoubles) {
  struct Refusing final : plyscan::win32::ObjectBridge {
    ObjectRef Wrap(IDispatch*) override { throw AutomationFailure(plyscan::hr::kTypeMismatch, {}, {}); }
    plyscan::win32::ComPtr<IDispatch> Unwrap(const ObjectRef&) override {
      throw AutomationFailure(plyscan::hr::kTypeMismatch, {}, {});
    }
  } bridge;

  auto array_of = [](std::vector<VARIANT> items) {
    SAFEARRAYBOUND bound{static_cast<ULONG>(items.size()), 1};  // 1-based, as some servers make them
    plyscan::win32::UniqueVariant v;
    v.Get()->parray = SafeArrayCreate(VT_VARIANT, 1, &bound);
    v.Get()->vt = VT_ARRAY | VT_VARIANT;
    for (LONG i = 0; i < static_cast<LONG>(items.size()); ++i) {
      LONG index = i + 1;
      SafeArrayPutElement(v.Get()->parray, &index, &items[static_cast<std::size_t>(i)]);
      VariantClear(&items[static_cast<std::size_t>(i)]);
    }
    return v;
  };
  VARIANT i4{}, r8{}, text{};
  i4.vt = VT_I4;
  i4.lVal = 1024;
  r8.vt = VT_R8;
  r8.dblVal = 768.5;
  text.vt = VT_BSTR;
  text.bstrVal = SysAllocString(L"x");

  auto numbers = array_of({i4, r8});
  EXPECT_EQ(plyscan::win32::FromVariant(*numbers.Get(), bridge, u"GetVariable"), Variant::Doubles({1024, 768.5}));
  auto mixed = array_of({i4, text});
  EXPECT_THROW(plyscan::win32::FromVariant(*mixed.Get(), bridge, u"GetVariable"), AutomationFailure);

  SAFEARRAYBOUND square[2] = {{2, 0}, {2, 0}};
  plyscan::win32::UniqueVariant two_d;
  two_d.Get()->parray = SafeArrayCreate(VT_R8, 2, square);
  two_d.Get()->vt = VT_ARRAY | VT_R8;
  EXPECT_THROW(plyscan::win32::FromVariant(*two_d.Get(), bridge, u"GetVariable"), AutomationFailure);
}

}  // namespace
