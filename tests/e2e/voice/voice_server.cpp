// The in-process COM server around the recording voice: its class factory
// and the two exports that COM looks for in an InprocServer32 DLL.
#include <windows.h>
#include <objbase.h>

#include "recording_voice.h"

namespace {

class VoiceFactory final : public IClassFactory {
 public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** result) override {
    if (result == nullptr) return E_POINTER;
    if (iid == __uuidof(IUnknown) || iid == __uuidof(IClassFactory)) {
      *result = static_cast<IClassFactory*>(this);
      return S_OK;
    }
    *result = nullptr;
    return E_NOINTERFACE;
  }
  // The factory is one static object; it is never deleted.
  ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
  ULONG STDMETHODCALLTYPE Release() override { return 1; }

  HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID iid, void** result) override {
    if (result == nullptr) return E_POINTER;
    *result = nullptr;
    if (outer != nullptr) return CLASS_E_NOAGGREGATION;
    return createRecordingVoice(iid, result);
  }
  HRESULT STDMETHODCALLTYPE LockServer(BOOL lock) override {
    if (lock)
      InterlockedIncrement(&liveObjectCount());
    else
      InterlockedDecrement(&liveObjectCount());
    return S_OK;
  }
};

VoiceFactory factory;

}  // namespace

extern "C" HRESULT STDAPICALLTYPE DllGetClassObject(REFCLSID clsid, REFIID iid, void** result) {
  if (result == nullptr) return E_POINTER;
  *result = nullptr;
  if (clsid != CLSID_RecordingVoice) return CLASS_E_CLASSNOTAVAILABLE;
  return factory.QueryInterface(iid, result);
}

extern "C" HRESULT STDAPICALLTYPE DllCanUnloadNow() {
  return liveObjectCount() == 0 ? S_OK : S_FALSE;
}
