#include "win32/message_filter.h"

#include <gtest/gtest.h>

namespace plyscan::win32 {
namespace {

// A filter registered before ours, counting its references.
class EarlierFilter final : public IMessageFilter {
 public:
  LONG refs = 1;  // the test's own reference
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override {
    if (riid == IID_IUnknown || riid == IID_IMessageFilter) {
      *object = this;
      AddRef();
      return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++refs; }
  ULONG STDMETHODCALLTYPE Release() override { return --refs; }
  DWORD STDMETHODCALLTYPE HandleInComingCall(DWORD, HTASK, DWORD, LPINTERFACEINFO) override { return 0; }
  DWORD STDMETHODCALLTYPE RetryRejectedCall(HTASK, DWORD, DWORD) override { return 0; }
  DWORD STDMETHODCALLTYPE MessagePending(HTASK, DWORD, DWORD) override { return 0; }
};

class Apartment : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(SUCCEEDED(OleInitialize(nullptr))); }
  void TearDown() override { OleUninitialize(); }
};

// The current filter of the thread, without changing it.
ComPtr<IMessageFilter> CurrentFilter() {
  ComPtr<IMessageFilter> current;
  CoRegisterMessageFilter(nullptr, current.Put());
  ComPtr<IMessageFilter> ignored;
  CoRegisterMessageFilter(current.Get(), ignored.Put());
  return current;
}

TEST(MessageFilterAnswers, RetryBusyServersEverySecondCancelRejectionsKeepMessagesQueued) {
  auto* filter = TMessageFilter::Create();  // the count starts at zero
  filter->AddRef();
  EXPECT_EQ(filter->HandleInComingCall(CALLTYPE_TOPLEVEL, nullptr, 0, nullptr), SERVERCALL_ISHANDLED);
  EXPECT_EQ(filter->RetryRejectedCall(nullptr, 0, SERVERCALL_RETRYLATER), 1000u);
  EXPECT_EQ(filter->RetryRejectedCall(nullptr, 120000, SERVERCALL_RETRYLATER), 1000u);  // no limit
  EXPECT_EQ(filter->RetryRejectedCall(nullptr, 0, SERVERCALL_REJECTED), static_cast<DWORD>(-1));
  EXPECT_EQ(filter->MessagePending(nullptr, 0, PENDINGTYPE_TOPLEVEL), static_cast<DWORD>(PENDINGMSG_WAITNOPROCESS));
  EXPECT_EQ(filter->Release(), 0u);
}

TEST(MessageFilterAnswers, AnswersOnlyTheMessageFilterInterfaces) {
  auto* filter = TMessageFilter::Create();
  IUnknown* unknown = nullptr;
  ASSERT_EQ(filter->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&unknown)), S_OK);
  void* other = reinterpret_cast<void*>(1);
  EXPECT_EQ(filter->QueryInterface(IID_IDispatch, &other), E_NOINTERFACE);
  EXPECT_EQ(other, nullptr);
  EXPECT_EQ(unknown->Release(), 0u);  // the only reference: the filter is gone
}

TEST_F(Apartment, RegistrationHoldsTheEarlierFilterAndRevokePutsItBack) {
  EarlierFilter earlier;
  ComPtr<IMessageFilter> none;
  ASSERT_EQ(CoRegisterMessageFilter(&earlier, none.Put()), S_OK);
  ASSERT_FALSE(none);

  auto* ours = TMessageFilter::Create();
  ours->RegisterFilter();
  EXPECT_EQ(ours->OldFilter(), &earlier);
  EXPECT_EQ(CurrentFilter().Get(), static_cast<IMessageFilter*>(ours));

  ours->RevokeFilter();  // destroys ours: the registration held its only reference
  EXPECT_EQ(CurrentFilter().Get(), &earlier);

  ComPtr<IMessageFilter> back;
  CoRegisterMessageFilter(nullptr, back.Put());
  EXPECT_EQ(back.Get(), &earlier);
  back.Reset();
  EXPECT_EQ(earlier.refs, 1);  // every reference COM and our filter took is given back
}

TEST_F(Apartment, WithoutAnEarlierFilterRevokeLeavesNone) {
  auto* ours = TMessageFilter::Create();
  ours->RegisterFilter();
  EXPECT_EQ(ours->OldFilter(), nullptr);
  ours->RevokeFilter();
  EXPECT_FALSE(CurrentFilter());
}

}  // namespace
}  // namespace plyscan::win32
