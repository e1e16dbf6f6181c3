// Navigation settings of the viewer control, and shifting the view by a direction or a key.
#include "VelmoraBase.h"

#include "atl/AtlResource.h"
#include "scene/ViewDirections.h"

namespace {

// Reads the current view, shifts it and hands it back. When the view service cannot report
// the current view, nothing is handed back (the record would be undefined) and the result is
// false.
bool TransferView(I3DViewService4* pViewService, int nDirection, int nAmount) {
    ViewRecord view{};
    if (FAILED(pViewService->GetView(&view)))
        return false;
    ShiftView(view, nDirection, nAmount);
    pViewService->SetView(&view, VIEW_SET_ANIMATED_NOTIFY);
    return true;
}

} // namespace

bool CVelmoraBase::SetNavigationInfo(CComPtr<ICortona> spCortona, bool bSetting, short nSetting,
                                     CString strSetting1, CString strSetting2) {
    if (!spCortona)
        return false;
    // The control's results are not examined: a refused setting does not stop the others.
    spCortona->put_Headlight(bSetting ? 1 : 0);
    spCortona->put_Speed(nSetting);
    spCortona->put_NavigationType(MakeBstr(strSetting1).get());
    spCortona->put_TransitionType(MakeBstr(strSetting2).get());
    return true;
}

bool CVelmoraBase::ViewTransfer(CComPtr<I3DViewService4>& spViewService, int nDirection,
                                int nAmount) {
    if (!spViewService || !IsViewDirection(nDirection))
        return false;
    return TransferView(spViewService, nDirection, nAmount);
}

bool CVelmoraBase::ViewTransfer_Key(CComPtr<I3DViewService4>& spViewService, wchar_t chKey,
                                    wchar_t chKey1, wchar_t chKey2, wchar_t chKey3, wchar_t chKey4,
                                    int nAmount) {
    if (!spViewService)
        return false;
    const int nDirection = DirectionForKey(chKey, {chKey1, chKey2, chKey3, chKey4});
    if (nDirection == 0)
        return true;
    return TransferView(spViewService, nDirection, nAmount);
}
