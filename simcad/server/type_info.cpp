#include "simcad/server/type_info.h"

#include <objbase.h>

#include <atomic>

#include "simcad/server/class_registration.h"

namespace simcad::server {

namespace {

using plyscan::win32::ComPtr;

class SimTypeInfo final : public ITypeInfo {
 public:
  SimTypeInfo(std::u16string type_name, CallObserver* observer)
      : name_(std::move(type_name)), guid_(TypeGuidOf(name_)), observer_(observer) {}

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override {
    if (!out) return E_POINTER;
    if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_ITypeInfo)) {
      *out = static_cast<ITypeInfo*>(this);
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

  HRESULT STDMETHODCALLTYPE GetTypeAttr(TYPEATTR** attributes) override {
    if (observer_) observer_->TypeAsked(name_, u"GetTypeAttr");
    if (!attributes) return E_INVALIDARG;
    auto* made = static_cast<TYPEATTR*>(CoTaskMemAlloc(sizeof(TYPEATTR)));
    if (!made) return E_OUTOFMEMORY;
    *made = TYPEATTR{};
    made->guid = guid_;
    made->memidConstructor = MEMBERID_NIL;
    made->memidDestructor = MEMBERID_NIL;
    made->typekind = TKIND_DISPATCH;
    made->cbSizeVft = 7 * sizeof(void*);  // IUnknown and IDispatch
    made->cbAlignment = sizeof(void*);
    made->wTypeFlags = TYPEFLAG_FDISPATCHABLE;
    made->wMajorVerNum = 1;
    made->tdescAlias.vt = VT_EMPTY;
    *attributes = made;
    return S_OK;
  }
  void STDMETHODCALLTYPE ReleaseTypeAttr(TYPEATTR* attributes) override { CoTaskMemFree(attributes); }

  // Not answered: a client that tells classes apart needs only the above.
  HRESULT STDMETHODCALLTYPE GetTypeComp(ITypeComp**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetFuncDesc(UINT, FUNCDESC**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetVarDesc(UINT, VARDESC**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetNames(MEMBERID, BSTR*, UINT, UINT*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetRefTypeOfImplType(UINT, HREFTYPE*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetImplTypeFlags(UINT, INT*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(LPOLESTR*, UINT, MEMBERID*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE Invoke(PVOID, MEMBERID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE GetDocumentation(MEMBERID, BSTR*, BSTR*, DWORD*, BSTR*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetDllEntry(MEMBERID, INVOKEKIND, BSTR*, BSTR*, WORD*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetRefTypeInfo(HREFTYPE, ITypeInfo**) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE AddressOfMember(MEMBERID, INVOKEKIND, PVOID*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown*, REFIID, PVOID*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetMops(MEMBERID, BSTR*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetContainingTypeLib(ITypeLib**, UINT*) override { return E_NOTIMPL; }
  void STDMETHODCALLTYPE ReleaseFuncDesc(FUNCDESC*) override {}
  void STDMETHODCALLTYPE ReleaseVarDesc(VARDESC*) override {}

 private:
  ~SimTypeInfo() = default;

  std::atomic<ULONG> refs_{1};
  std::u16string name_;
  GUID guid_;
  CallObserver* observer_;
};

}  // namespace

GUID TypeGuidOf(std::u16string_view type_name) { return ClassIdForProgId(u"simcad.type." + std::u16string(type_name)); }

ComPtr<ITypeInfo> TypeLibrary::TypeOf(std::u16string_view type_name) {
  auto found = types_.find(type_name);
  if (found == types_.end())
    found = types_
                .emplace(std::u16string(type_name),
                         ComPtr<ITypeInfo>::Adopt(new SimTypeInfo(std::u16string(type_name), observer_)))
                .first;
  return found->second.Copy();
}

}  // namespace simcad::server
