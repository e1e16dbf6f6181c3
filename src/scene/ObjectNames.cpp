// Unique node names "$<number>" from one process-wide counter, shared by every host object.
#include "VelmoraBase.h"

#include "scene/NameCounter.h"

namespace {

// The number used in the most recent name; 0 until the first name of the process.
int g_nNameCounter = 0;

// The engine's seed count, or 0 when the engine offers no seed object. The count is taken as
// the seed object leaves it, whatever its call reports.
LONG ReadSeedCount(IEngine* pEngine) {
    CComPtr<IUnknown> spSeedObject;
    if (FAILED(pEngine->get_Seed(&spSeedObject)) || !spSeedObject)
        return 0;
    CComQIPtr<ISeedObject> spSeed(spSeedObject.p);
    if (!spSeed)
        return 0;
    LONG nCount = 0;
    spSeed->get_Count(&nCount);
    return nCount;
}

} // namespace

bool CVelmoraBase::GetObjectName(CComPtr<IEngine> spEngine, CString& strName) {
    if (!spEngine)
        return false;
    g_nNameCounter =
        NextNameNumber(g_nNameCounter, [&spEngine] { return ReadSeedCount(spEngine); });
    strName.Format(L"$%d", g_nNameCounter);
    return true;
}
