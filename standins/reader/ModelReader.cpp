#include "ModelReader.h"

#include <atomic>
#include <new>
#include <vector>

#include "PackedModel.h"

namespace {

std::atomic<LONG> g_nLiveReaders{0};

class ModelReader final : public IModelReader {
public:
    ModelReader() { ++g_nLiveReaders; }
    ModelReader(const ModelReader&) = delete;
    ModelReader& operator=(const ModelReader&) = delete;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** ppv) override {
        if (!ppv)
            return E_POINTER;
        *ppv = nullptr;
        if (riid != IID_IUnknown && riid != IID_IModelReader)
            return E_NOINTERFACE;
        *ppv = static_cast<IModelReader*>(this);
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++m_nRefs; }
    ULONG STDMETHODCALLTYPE Release() override {
        const ULONG nRefs = --m_nRefs;
        if (nRefs == 0)
            delete this;
        return nRefs;
    }

    HRESULT STDMETHODCALLTYPE ReadPackedFile(BSTR bstrPath, BSTR* pbstrContent) override {
        if (!pbstrContent)
            return E_POINTER;
        if (!bstrPath)
            return E_INVALIDARG;
        try {
            std::vector<uint8_t> packed;
            const HRESULT hr = ReadWholeFile(bstrPath, packed);
            if (FAILED(hr))
                return hr;
            const BSTR bstrBuffer = *pbstrContent;
            return UnpackModel(packed.data(), packed.size(), reinterpret_cast<uint8_t*>(bstrBuffer),
                               bstrBuffer ? SysStringByteLen(bstrBuffer) : 0);
        } catch (const std::bad_alloc&) {
            return E_OUTOFMEMORY;
        }
    }

private:
    ~ModelReader() { --g_nLiveReaders; }

    std::atomic<ULONG> m_nRefs{1};
};

} // namespace

HRESULT CreateStandinModelReader(IModelReader** ppReader) {
    if (!ppReader)
        return E_POINTER;
    *ppReader = new (std::nothrow) ModelReader();
    return *ppReader ? S_OK : E_OUTOFMEMORY;
}

LONG LiveModelReaders() {
    return g_nLiveReaders;
}
