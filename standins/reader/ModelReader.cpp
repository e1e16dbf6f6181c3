#include "ModelReader.h"

#include <new>
#include <vector>

#include "PackedModel.h"
#include "StandinComObject.h"

namespace {

class ModelReader final : public standin::ComObject<ModelReader, IModelReader> {
public:
    HRESULT STDMETHODCALLTYPE ReadPackedFile(BSTR bstrPath, BSTR* pbstrContent) override {
        if (!pbstrContent)
            return E_POINTER;
        if (!bstrPath)
            return E_INVALIDARG;
        return standin::NoThrow([&] {
            std::vector<uint8_t> packed;
            const HRESULT hr = ReadWholeFile(bstrPath, packed);
            if (FAILED(hr))
                return hr;
            const BSTR bstrBuffer = *pbstrContent;
            return UnpackModel(packed.data(), packed.size(), reinterpret_cast<uint8_t*>(bstrBuffer),
                               bstrBuffer ? SysStringByteLen(bstrBuffer) : 0);
        });
    }

private:
    ~ModelReader() override = default;
};

} // namespace

HRESULT CreateStandinModelReader(IModelReader** ppReader) {
    if (!ppReader)
        return E_POINTER;
    *ppReader = new (std::nothrow) ModelReader();
    return *ppReader ? S_OK : E_OUTOFMEMORY;
}

LONG LiveModelReaders() {
    return standin::LiveObjects<ModelReader>();
}
