// Refused calls asked again: a busy CAD's refusals are waited out, other
// failures are not, and there is an end to the patience.
#include "cadlink/patient_calls.h"

#include <gtest/gtest.h>

#include "base/failure.h"

namespace plyscan {
namespace {

using automation::Args;
using automation::Variant;

// Refuses its first `refusals` calls with `code`, then answers; its object
// results refuse alike.
class BusyObject final : public automation::Object {
 public:
  BusyObject(int refusals, std::int32_t code, int& calls) : refusals_(refusals), code_(code), calls_(&calls) {}
  Variant Get(TextView member, const Args&) override {
    Answer(member);
    if (member == u"Child") return Variant::Obj(std::make_shared<BusyObject>(refusals_, code_, *calls_));
    return Variant::Int32(7);
  }
  void Put(TextView member, const Variant&) override { Answer(member); }
  Variant Call(TextView member, const Args&) override {
    Answer(member);
    return {};
  }

 private:
  void Answer(TextView member) {
    ++*calls_;
    if (seen_++ < refusals_) throw AutomationFailure(code_, Text(member), u"busy");
  }
  int refusals_;
  std::int32_t code_;
  int* calls_;
  int seen_ = 0;
};

struct Sleeps : DesktopWindows {
  bool IsIconic(WindowHandle) override { return false; }
  void OpenIcon(WindowHandle) override {}
  void Sleep(unsigned ms) override { total += ms, ++count; }
  void SetForegroundWindow(WindowHandle) override {}
  unsigned total = 0;
  int count = 0;
};

TEST(PatientCalls, ARefusedCallIsAskedAgainUntilTheCadAnswers) {
  for (const std::int32_t code : {hr::kCallRejected, hr::kRetryLater}) {
    int calls = 0;
    Sleeps sleeps;
    const auto object = Patient(std::make_shared<BusyObject>(3, code, calls), sleeps);
    EXPECT_EQ(object->Get(u"Count").AsInt32(), 7);
    EXPECT_EQ(calls, 4);
    EXPECT_EQ(sleeps.count, 3);
    EXPECT_EQ(sleeps.total, 3 * kRefusedCallPause);
    // Puts and calls wait too, and so do the objects that come back.
    object->Put(u"LayerOn", Variant::Bool(true));
    const auto child = object->Get(u"Child").AsObject();
    EXPECT_EQ(child->Get(u"Name").AsInt32(), 7);
    EXPECT_EQ(sleeps.count, 6);
  }
}

TEST(PatientCalls, OtherFailuresAndEndlessRefusalsStand) {
  int calls = 0;
  Sleeps sleeps;
  const auto failing = Patient(std::make_shared<BusyObject>(1, hr::kFail, calls), sleeps);
  EXPECT_THROW(failing->Call(u"Regen"), AutomationFailure);
  EXPECT_EQ(calls, 1);
  EXPECT_EQ(sleeps.count, 0);

  const auto never = Patient(std::make_shared<BusyObject>(1 << 20, hr::kCallRejected, calls), sleeps);
  try {
    never->Call(u"Regen");
    ADD_FAILURE() << "the refusal did not stand";
  } catch (const AutomationFailure& failure) {
    EXPECT_EQ(failure.HResult(), hr::kCallRejected);
  }
  EXPECT_EQ(sleeps.total, kRefusedCallPatience);
}

}  // namespace
}  // namespace plyscan
