// Benchmark (not a test): 1000 reads of one layer's Name from simcad.exe
// across processes, with the member name resolved at every call (as a plain
// late-bound client does) and with the DISPID cached. The client counts its
// round trips (GetIDsOfNames and Invoke) through a counting IDispatch between
// it and the proxy. Prints both, the wall times (best of three rounds) and
// the ratios. Run it under Wine with tools/bench-cadlink.
#include <windows.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>

#include "simcad_process.h"
#include "win32/com_activation.h"
#include "win32/dispatch_client.h"

namespace {

using plyscan::automation::Variant;
using plyscan::win32::ComPtr;
using plyscan::win32::DispatchObject;

constexpr int kReads = 1000;
constexpr int kRounds = 3;

// Passes every call on to `inner` and counts the two that cross to the server.
class CountingDispatch final : public IDispatch {
 public:
  [[nodiscard]] static ComPtr<CountingDispatch> Create(ComPtr<IDispatch> inner) {
    return ComPtr<CountingDispatch>::Adopt(new CountingDispatch(std::move(inner)));
  }

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override {
    if (!out) return E_POINTER;
    if (riid == IID_IUnknown || riid == IID_IDispatch) {
      *out = static_cast<IDispatch*>(this);
      AddRef();
      return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return ++refs_; }
  ULONG STDMETHODCALLTYPE Release() override {
    const ULONG left = --refs_;
    if (left == 0) delete this;
    return left;
  }
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override { return inner_->GetTypeInfoCount(count); }
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID locale, ITypeInfo** info) override {
    return inner_->GetTypeInfo(index, locale, info);
  }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID riid, LPOLESTR* names, UINT count, LCID locale,
                                          DISPID* ids) override {
    ++name_lookups;
    return inner_->GetIDsOfNames(riid, names, count, locale, ids);
  }
  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID riid, LCID locale, WORD flags, DISPPARAMS* params,
                                   VARIANT* result, EXCEPINFO* exception, UINT* arg_error) override {
    ++invokes;
    return inner_->Invoke(id, riid, locale, flags, params, result, exception, arg_error);
  }

  long name_lookups = 0;
  long invokes = 0;

 private:
  explicit CountingDispatch(ComPtr<IDispatch> inner) : inner_(std::move(inner)) {}
  ~CountingDispatch() = default;

  std::atomic<ULONG> refs_{1};
  ComPtr<IDispatch> inner_;
};

struct Measure {
  long name_lookups = 0;
  long invokes = 0;
  double best_ms = 0;
  long RoundTrips() const { return name_lookups + invokes; }
};

// The first layer of the running instance's active document, as the raw IDispatch proxy.
ComPtr<IDispatch> FirstLayer(const std::u16string& progid) {
  const auto layer = plyscan::win32::AttachByProgId(progid)
                         ->Get(u"ActiveDocument").AsObject()
                         ->Get(u"Layers").AsObject()
                         ->Get(u"Item", {Variant::Int32(0)}).AsObject();
  return ComPtr<IDispatch>::Copy(dynamic_cast<DispatchObject&>(*layer).Dispatch());
}

Measure ReadNames(const std::u16string& progid, bool cache_ids) {
  Measure measure;
  for (int round = 0; round < kRounds; ++round) {
    const ComPtr<CountingDispatch> counting = CountingDispatch::Create(FirstLayer(progid));
    const auto layer = DispatchObject::Wrap(ComPtr<IDispatch>::Copy(counting.Get()), cache_ids);
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < kReads; ++i) {
      if (layer->Get(u"Name").AsText().empty()) throw std::runtime_error("a layer without a name");
    }
    const std::chrono::duration<double, std::milli> took = std::chrono::steady_clock::now() - start;
    measure.best_ms = round == 0 ? took.count() : std::min(measure.best_ms, took.count());
    measure.name_lookups = counting->name_lookups;
    measure.invokes = counting->invokes;
  }
  return measure;
}

void Print(const char* label, const Measure& m) {
  std::printf("%-18s %5ld round trips (%ld GetIDsOfNames + %ld Invoke), %8.1f ms, %6.1f us per read\n", label,
              m.RoundTrips(), m.name_lookups, m.invokes, m.best_ms, m.best_ms * 1000.0 / kReads);
}

int Run() {
  const plyscan::win32::OleApartment ole;
  if (!ole.Ok()) {
    std::fputs("name_read_bench: OLE could not be initialised\n", stderr);
    return 1;
  }
  const std::u16string progid = simcad::testing::UniqueProgId(u"CadLinkBench.NameRead");
  simcad::testing::SimcadProcess simcad({u"--progid", progid, u"--demo"});
  if (!simcad.Running()) {
    std::fprintf(stderr, "name_read_bench: %s\n", simcad.Problem().c_str());
    return 1;
  }
  (void)ReadNames(progid, false);  // warm-up: the proxies, the channel, the server's first calls

  const Measure each_call = ReadNames(progid, false);
  const Measure cached = ReadNames(progid, true);
  std::printf("%d reads of a layer's Name from simcad.exe across processes (wall time: best of %d rounds)\n",
              kReads, kRounds);
  Print("resolve each call:", each_call);
  Print("cached DISPID:", cached);
  std::printf("ratio (resolve each call / cached): round trips %.2f, wall time %.2f\n",
              static_cast<double>(each_call.RoundTrips()) / static_cast<double>(cached.RoundTrips()),
              each_call.best_ms / cached.best_ms);
  return 0;
}

}  // namespace

int main() {
  try {
    return Run();
  } catch (const std::exception& e) {
    std::fprintf(stderr, "name_read_bench: %s\n", e.what());
    return 1;
  }
}
