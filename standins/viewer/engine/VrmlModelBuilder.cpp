#include "VrmlModelBuilder.h"

#include <string>
#include <vector>

#include "NodeList.h"

#include "ComObject.h"
#include "VrmlParser.h"

namespace {

// The root nodes of a model.
class ModelNodes final : public ComObject<IMFNodeObject> {
public:
    explicit ModelNodes(std::vector<CComPtr<INodeObject>> nodes) : m_nodes(std::move(nodes)) {}

    HRESULT STDMETHODCALLTYPE get_Count(LONG* pnCount) override {
        return NodeListCount(m_nodes, pnCount);
    }
    HRESULT STDMETHODCALLTYPE get_Element(LONG nIndex, INodeObject** ppNode) override {
        return NodeListItem(m_nodes, nIndex, ppNode);
    }

private:
    std::vector<CComPtr<INodeObject>> m_nodes;
};

// Everything from the stream's current position to its end.
HRESULT ReadStream(IStream* pStream, std::string& text) {
    constexpr ULONG kChunk = 1 << 16;
    STATSTG stat{};
    if (SUCCEEDED(pStream->Stat(&stat, STATFLAG_NONAME)) && stat.cbSize.QuadPart < INT32_MAX)
        text.reserve(static_cast<size_t>(stat.cbSize.QuadPart));
    for (;;) {
        const size_t nOld = text.size();
        if (nOld >= INT32_MAX)
            return E_OUTOFMEMORY;
        text.resize(nOld + kChunk);
        ULONG nRead = 0;
        const HRESULT hr = pStream->Read(text.data() + nOld, kChunk, &nRead);
        text.resize(nOld + (SUCCEEDED(hr) ? nRead : 0));
        if (FAILED(hr))
            return hr;
        if (nRead == 0)
            return S_OK;
    }
}

} // namespace

HRESULT BuildModelFromStream(const EngineStatePtr& spState, IStream* pStream,
                             IMFNodeObject** ppModel) {
    if (!ppModel)
        return E_POINTER;
    *ppModel = nullptr;
    if (!pStream)
        return E_POINTER;
    try {
        std::string text;
        const HRESULT hr = ReadStream(pStream, text);
        if (FAILED(hr))
            return hr;
        *ppModel = MakeComObject<ModelNodes>(ParseVrmlScene(spState, text)).Detach();
        return S_OK;
    } catch (const VrmlSyntaxError&) {
        return HRESULT_FROM_WIN32(ERROR_INVALID_DATA);
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
}
