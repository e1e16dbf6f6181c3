// Reads a model file into one movable memory block and wraps the block in a stream that frees
// it on its last release. The plain form is read as it lies on disk with a single read; the
// packed form is read through the host's model reader and copied once into the block.
#include "VelmoraBase.h"

#include <io.h>
#include <sys/stat.h>

#include <cstring>

#include "atl/AtlResource.h"

namespace {

// The packed form carries a header of this many bytes that is not part of the content.
constexpr long kPackedHeaderBytes = 16;

// Fills a fresh movable block of nBytes through fill(pBlock). On success the caller receives
// the block and its stream; on any failure the block is freed and hGlobal is null.
template <class Fill>
bool StreamOverNewBlock(SIZE_T nBytes, Fill fill, IStream** ppStream, void*& hGlobal) {
    CUniqueHGlobal block(::GlobalAlloc(GMEM_MOVEABLE, nBytes));
    hGlobal = block.get();
    if (!block)
        return false;
    {
        CGlobalLock lock(block.get());
        if (!lock.get() || !fill(lock.get())) {
            hGlobal = nullptr;
            return false;
        }
    }
    IStream* pStream = nullptr;
    if (FAILED(::CreateStreamOnHGlobal(block.get(), TRUE, &pStream)) || !pStream) {
        hGlobal = nullptr;
        return false;
    }
    block.release(); // the stream owns it now
    *ppStream = pStream;
    return true;
}

bool StreamFromPlainFile(const CString& strPath, IStream** ppStream, void*& hGlobal) {
    CUniqueFile file(::CreateFileW(strPath, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                   FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file)
        return false;
    // Files of 4 GiB or more are refused rather than read in part.
    DWORD nSizeHigh = 0;
    const DWORD nSize = ::GetFileSize(file.get(), &nSizeHigh);
    if (nSize == INVALID_FILE_SIZE || nSize == 0 || nSizeHigh != 0)
        return false;
    return StreamOverNewBlock(
        nSize,
        [&file, nSize](void* pBlock) {
            // A short read (the file shrank meanwhile) would hand the engine a half model.
            DWORD nRead = 0;
            return ::ReadFile(file.get(), pBlock, nSize, &nRead, nullptr) && nRead == nSize;
        },
        ppStream, hGlobal);
}

bool StreamFromPackedFile(IModelReader* pReader, const CString& strPath, IStream** ppStream,
                          void*& hGlobal) {
    if (!pReader)
        return false;
    struct _stat64i32 status;
    if (::_wstat64i32(strPath, &status) != 0)
        return false;
    const long nContentBytes = static_cast<long>(status.st_size) - kPackedHeaderBytes;
    if (nContentBytes <= 0)
        return false;
    const CUniqueBstr bstrPath = MakeBstr(strPath);
    BSTR bstrBuffer = ::SysAllocStringByteLen(nullptr, static_cast<UINT>(nContentBytes));
    if (!bstrBuffer)
        return false;
    // The reader fills the buffer or replaces it by a BSTR of its own; either way the variable
    // then holds what is to be freed.
    const HRESULT hr = pReader->ReadPackedFile(bstrPath.get(), &bstrBuffer);
    const CUniqueBstr content(bstrBuffer);
    // Never read past what the reader handed back.
    if (FAILED(hr) || !content ||
        ::SysStringByteLen(content.get()) < static_cast<UINT>(nContentBytes))
        return false;
    return StreamOverNewBlock(
        static_cast<SIZE_T>(nContentBytes),
        [&content, nContentBytes](void* pBlock) {
            std::memcpy(pBlock, content.get(), static_cast<size_t>(nContentBytes));
            return true;
        },
        ppStream, hGlobal);
}

} // namespace

bool CVelmoraBase::CreateStreamFromFile(CComPtr<IEngine>, CString strPath, IStream** ppStream,
                                        void*& hGlobal, bool bPacked) {
    if (!ppStream || ::_waccess(strPath, 0) != 0)
        return false;
    return bPacked ? StreamFromPackedFile(m_spModelReader, strPath, ppStream, hGlobal)
                   : StreamFromPlainFile(strPath, ppStream, hGlobal);
}
