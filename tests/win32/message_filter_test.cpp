#include "win32/message_filter.h"

#include <gtest/gtest.h>

#include "win32/ui/win32_shell_ports.h"

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
  ComPtr<BusyCallFilter> filter = BusyCallFilter::Create();
  EXPECT_EQ(filter->HandleInComingCall(CALLTYPE_TOPLEVEL, nullptr, 0, nullptr), SERVERCALL_ISHANDLED);
  EXPECT_EQ(filter->RetryRejectedCall(nullptr, 0, SERVERCALL_RETRYLATER), 1000u);
  EXPECT_EQ(filter->RetryRejectedCall(nullptr, 120000, SERVERCALL_RETRYLATER), 1000u);  // no limit
  EXPECT_EQ(filter->RetryRejectedCall(nullptr, 0, SERVERCALL_REJECTED), static_cast<DWORD>(-1));
  EXPECT_EQ(filter->MessagePending(nullptr, 0, PENDINGTYPE_TOPLEVEL), static_cast<DWORD>(PENDINGMSG_WAITNOPROCESS));
  EXPECT_EQ(filter.Detach()->Release(), 0u);  // the one reference Create returned
}

TEST(MessageFilterAnswers, AnswersOnlyTheMessageFilterInterfaces) {
  ComPtr<BusyCallFilter> filter = BusyCallFilter::Create();
  IUnknown* unknown = nullptr;
  ASSERT_EQ(filter->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&unknown)), S_OK);
  void* other = reinterpret_cast<void*>(1);
  EXPECT_EQ(filter->QueryInterface(IID_IDispatch, &other), E_NOINTERFACE);
  EXPECT_EQ(other, nullptr);
  EXPECT_EQ(filter.Detach()->Release(), 1u);  // the interface's reference is still out
  EXPECT_EQ(unknown->Release(), 0u);          // the last reference: the filter is gone
}

TEST_F(Apartment, RegistrationHoldsTheEarlierFilterAndRevokePutsItBack) {
  EarlierFilter earlier;
  ComPtr<IMessageFilter> none;
  ASSERT_EQ(CoRegisterMessageFilter(&earlier, none.Put()), S_OK);
  ASSERT_FALSE(none);

  ComPtr<BusyCallFilter> ours = BusyCallFilter::Create();
  ours->RegisterFilter();
  EXPECT_EQ(ours->Displaced(), &earlier);
  EXPECT_EQ(CurrentFilter().Get(), static_cast<IMessageFilter*>(ours.Get()));

  ours->RevokeFilter();
  EXPECT_EQ(CurrentFilter().Get(), &earlier);
  EXPECT_EQ(ours.Detach()->Release(), 0u);  // COM gave its reference back: ours was the last

  ComPtr<IMessageFilter> back;
  CoRegisterMessageFilter(nullptr, back.Put());
  EXPECT_EQ(back.Get(), &earlier);
  back.Reset();
  EXPECT_EQ(earlier.refs, 1);  // every reference COM and our filter took is given back
}

TEST_F(Apartment, WithoutAnEarlierFilterRevokeLeavesNone) {
  ComPtr<BusyCallFilter> ours = BusyCallFilter::Create();
  ours->RegisterFilter();
  EXPECT_EQ(ours->Displaced(), nullptr);
  ours->RevokeFilter();
  EXPECT_FALSE(CurrentFilter());
  EXPECT_EQ(ours.Detach()->Release(), 0u);
}

TEST_F(Apartment, TheRegistryRegistersItsOwnFilterAndRevokesIt) {
  EarlierFilter earlier;
  ComPtr<IMessageFilter> none;
  ASSERT_EQ(CoRegisterMessageFilter(&earlier, none.Put()), S_OK);
  {
    Win32MessageFilterRegistry registry;
    registry.CreateAndRegister();
    const ComPtr<IMessageFilter> current = CurrentFilter();
    ASSERT_TRUE(current);
    EXPECT_NE(current.Get(), &earlier);
    EXPECT_EQ(current->RetryRejectedCall(nullptr, 0, SERVERCALL_RETRYLATER), 1000u);  // the busy-call answer
    registry.Revoke();
    EXPECT_EQ(CurrentFilter().Get(), &earlier);
  }
  ComPtr<IMessageFilter> back;
  CoRegisterMessageFilter(nullptr, back.Put());
  back.Reset();
  EXPECT_EQ(earlier.refs, 1);  // every reference to the earlier filter is given back
}

}  // namespace
}  // namespace plyscan::win32
