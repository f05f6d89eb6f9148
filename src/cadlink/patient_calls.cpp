#include "cadlink/patient_calls.h"

#include "base/failure.h"

namespace plyscan {

namespace {

using automation::Args;
using automation::ObjectRef;
using automation::Variant;

bool Refused(std::int32_t hresult) { return hresult == hr::kCallRejected || hresult == hr::kRetryLater; }

class PatientObject final : public automation::Object {
 public:
  PatientObject(ObjectRef inner, DesktopWindows& desktop, RetryWaits* waits)
      : inner_(std::move(inner)), desktop_(&desktop), waits_(waits) {}

  Variant Get(TextView member, const Args& args) override {
    return Patiently([&] { return Wrap(inner_->Get(member, args)); });
  }
  void Put(TextView member, const Variant& value) override {
    Patiently([&] {
      inner_->Put(member, value);
      return Variant();
    });
  }
  Variant Call(TextView member, const Args& args) override {
    return Patiently([&] { return Wrap(inner_->Call(member, args)); });
  }

 private:
  template <typename Attempt>
  Variant Patiently(Attempt&& attempt) {
    for (unsigned waited = 0;; waited += kRefusedCallPause) {
      try {
        return attempt();
      } catch (const AutomationFailure& failure) {
        if (!Refused(failure.HResult()) || waited >= kRefusedCallPatience || !Wait()) throw;
      }
    }
  }
  bool Wait() {
    if (waits_) return waits_->Wait(kRefusedCallPause);
    desktop_->Sleep(kRefusedCallPause);
    return true;
  }
  Variant Wrap(Variant result) {
    if (result.GetKind() != automation::Kind::Object) return result;
    return Variant::Obj(std::make_shared<PatientObject>(result.AsObject(), *desktop_, waits_));
  }

  ObjectRef inner_;
  DesktopWindows* desktop_;
  RetryWaits* waits_;
};

}  // namespace

ObjectRef Patient(ObjectRef inner, DesktopWindows& desktop, RetryWaits* waits) {
  return std::make_shared<PatientObject>(std::move(inner), desktop, waits);
}

}  // namespace plyscan
