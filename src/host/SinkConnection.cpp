// AdviseSink: connects an event sink to the viewer control's event interface.
#include "VelmoraBase.h"

bool CVelmoraBase::AdviseSink(CComPtr<ICortona> spCortona, CComPtr<IEngine> spEngine,
                              CCortonaSink* pSink) {
    if (!spCortona || !spEngine || !pSink)
        return false;
    CComPtr<IConnectionPointContainer> spContainer;
    if (FAILED(spCortona.QueryInterface(&spContainer)) || !spContainer)
        return false;
    CComPtr<IConnectionPoint> spPoint;
    if (FAILED(spContainer->FindConnectionPoint(DIID_ICortonaEvents, &spPoint)) || !spPoint)
        return false;
    // Room for the record first, so that a connection is never made without being remembered.
    pSink->m_connections.reserve(pSink->m_connections.size() + 1);
    DWORD dwCookie = 0;
    if (FAILED(spPoint->Advise(pSink, &dwCookie)))
        return false;
    pSink->m_connections.push_back({spPoint, dwCookie});
    return true;
}
