// VelmoraBase: the host class of an application that shows 3D models in the embedded viewer
// control. A host derives its main class from CVelmoraBase, constructs it with its main
// window, routes WM_VIEWER_EVENT from that window to SinkInvoke and overrides the event
// handlers it needs. Everything runs on the host's user-interface thread, which must have
// initialised COM (OleInitialize).
#pragma once

#include <windows.h>

#include <vector>

#include "atl/AtlException.h"
#include "atl/AtlString.h"
#include "atl/AtlComPtr.h"
#include "atl/AtlTypes.h"
#include "atl/AtlWindow.h"
#include "atl/AtlAxWindow.h"
#include "ViewerInterfaces.h"
#include "CortonaSink.h"
#include "TipDlg.h"

#if defined(VELMORABASE_STATIC)
#define VELMORABASE_API
#elif defined(VELMORABASE_BUILD)
#define VELMORABASE_API __declspec(dllexport)
#else
#define VELMORABASE_API __declspec(dllimport)
#endif

class VELMORABASE_API CVelmoraBase {
public:
    explicit CVelmoraBase(CWindow* pMainWnd);
    CVelmoraBase(const CVelmoraBase& other);
    CVelmoraBase& operator=(const CVelmoraBase& other);
    virtual ~CVelmoraBase();

    // Viewer event handlers; each receives the viewer's scene engine first. The defaults do
    // nothing. The wchar_t* and IDispatch* arguments are the viewer's, valid during the call.
    virtual void Click(CComPtr<IEngine> spEngine);
    virtual void DblClick(CComPtr<IEngine> spEngine);
    virtual void MouseMove(CComPtr<IEngine> spEngine, short nButton, short nShift, long x, long y);
    virtual void MouseDown(CComPtr<IEngine> spEngine, short nButton, short nShift, long x, long y);
    virtual void MouseUp(CComPtr<IEngine> spEngine, short nButton, short nShift, long x, long y);
    virtual void OnKeyDown(CComPtr<IEngine> spEngine, short nKeyCode, short nShift);
    virtual void OnKeyUp(CComPtr<IEngine> spEngine, short nKeyCode, short nShift);
    virtual void OnMouseEnter(CComPtr<IEngine> spEngine);
    virtual void OnMouseOut(CComPtr<IEngine> spEngine);
    virtual void OnEventOut(CComPtr<IEngine> spEngine, IDispatch* pNode, wchar_t* pszField,
                            wchar_t* pszValue, double dTime);
    virtual void OnSceneLoaded(CComPtr<IEngine> spEngine, short nStatus);
    virtual void OnAnchor(CComPtr<IEngine> spEngine, wchar_t* pszUrl, wchar_t* pszTarget,
                          wchar_t* pszDescription, wchar_t* pszParameter);
    virtual void OnSceneUnloaded(CComPtr<IEngine> spEngine);
    virtual void OnDrag(CComPtr<IEngine> spEngine, wchar_t* pszData, short nButton, short nShift,
                        long x, long y);
    virtual void OnDrop(CComPtr<IEngine> spEngine, wchar_t* pszData, short nButton, short nShift,
                        long x, long y);
    virtual void OnFrameRateMeasured(CComPtr<IEngine> spEngine, float fRate);
    virtual void OnCameraMove(CComPtr<IEngine> spEngine, long nReason);

    // Viewer control creation and wiring.
    bool CreateControl(CAxWindow* pWnd, HWND hWndParent, CString strProgID, CRect rcControl);
    bool CreateCortonaControl(CAxWindow* pWnd, HWND hWndParent, CRect rcControl);
    bool InitCortonaInterface(CAxWindow* pWnd, CComPtr<ICortona>& spCortona,
                              CComPtr<IEngine>& spEngine, CComPtr<I3DViewService4>& spViewService,
                              CComPtr<INodesCollection>& spNodes);

    // Event sink connection and dispatch.
    bool AdviseSink(CComPtr<ICortona> spCortona, CComPtr<IEngine> spEngine, CCortonaSink* pSink);
    LRESULT SinkInvoke(UINT uMsg, WPARAM wParam, LPARAM lParam, BOOL& bHandled);

    // Model loading.
    bool CreateStreamFromFile(CComPtr<IEngine> spEngine, CString strPath, IStream** ppStream,
                              void*& hGlobal, bool bPacked);
    CComPtr<IMFNodeObject> CreateModelFromStream(CComPtr<IEngine> spEngine, CString strPath,
                                                 bool bPacked);
    bool AddObjectFromModelFile(CComPtr<IEngine> spEngine, CComPtr<INodesCollection> spNodes,
                                CString strPath, CComPtr<INodeObject>* pspNode = nullptr,
                                CString* pstrNodeName = nullptr, CString* pstrObjectName = nullptr);

    // Node names and field values.
    bool GetObjectName(CComPtr<IEngine> spEngine, CString& strName);
    CComPtr<IFieldObject> GetFieldObject(CComPtr<INodeObject> spNode, CString strFieldName);
    bool OperatorSFNodeFieldValue(CString strFieldName, CComPtr<INodeObject> spNode,
                                  CComPtr<INodeObject>& spValue, bool bRead);
    bool OperatorSFStringFieldValue(CString strFieldName, CComPtr<INodeObject> spNode,
                                    CString& strValue, bool bRead);
    bool OperatorMFStringFieldValue(CString strFieldName, CComPtr<INodeObject> spNode,
                                    CString& strValue, bool bRead);
    bool OperatorSFVec2fFieldValue(CString strFieldName, CComPtr<INodeObject> spNode,
                                   float* const pValues, bool bRead);
    bool OperatorSFVec3fFieldValue(CString strFieldName, CComPtr<INodeObject> spNode,
                                   float* const pValues, bool bRead);
    bool OperatorSFRotationFieldValue(CString strFieldName, CComPtr<INodeObject> spNode,
                                      float* const pValues, bool bRead);

    // Float arrays in variants.
    bool Unpack_VariantToArray(VARIANT* pVariant, float* pValues, int nCount);
    bool Pack_ArrayToVariant(VARIANT* pVariant, float* pValues, int nCount);

    // Navigation and viewpoint transfer.
    bool SetNavigationInfo(CComPtr<ICortona> spCortona, bool bSetting, short nSetting,
                           CString strSetting1, CString strSetting2);
    bool ViewTransfer(CComPtr<I3DViewService4>& spViewService, int nDirection, int nAmount);
    bool ViewTransfer_Key(CComPtr<I3DViewService4>& spViewService, wchar_t chKey, wchar_t chKey1,
                          wchar_t chKey2, wchar_t chKey3, wchar_t chKey4, int nAmount);

    // Tips.
    bool InitTipDlg();
    void ShowTip(HWND hWnd, CPoint pt, CString strText, int nGap, CSize sizeChar,
                 CString strFaceName, int nWeight);
    void ShowTip(CPoint pt, CString strText, int nGap, CSize sizeChar, CString strFaceName,
                 int nWeight);
    void ShowTip(CString strText, int nGap, CSize sizeChar, CString strFaceName, int nWeight);
    void HideTip();
    void SetUseTip(bool bUse);

    // String utilities: character tests, case and comparison.
    CString To_Upper_lower(CString strText, bool bUpper);
    bool Is_Alpha(CString strText);
    bool Is_Num(CString strText);
    bool Is_Alpha_Num(CString strText);
    bool Is_Any_Of(CString strText, CString strSet);
    bool Is_From_Range(CString strText, wchar_t chFrom, wchar_t chTo);
    bool Is_Ansi(CString strText);
    bool Is_Equal(CString strLeft, CString strRight, bool bIgnoreCase);

    // Trimming; nSide -1 trims the start, 1 the end, anything else both ends.
    CString Trim_Any_Of(CString strText, CString strSet, int nSide);
    CString Trim_Alpha(CString strText, int nSide);
    CString Trim_Num(CString strText, int nSide);
    CString Trim_Punct(CString strText, int nSide);
    CString Trim_From_Range(CString strText, wchar_t chFrom, wchar_t chTo, int nSide);

    // Searching.
    int Find_First(CString strText, CString strSearch);
    int Find_Last(CString strText, CString strSearch);
    int Find_Nth(CString strText, CString strSearch, long nIndex);
    CString Find_Head(CString strText, long nCount);
    CString Find_Tail(CString strText, long nCount);

    // Replacing and erasing.
    CString Replace_First(CString strText, CString strSearch, CString strReplace);
    CString Replace_Last(CString strText, CString strSearch, CString strReplace);
    CString Replace_Nth(CString strText, CString strSearch, CString strReplace, long nIndex);
    CString Replace_Head(CString strText, CString strReplace, long nCount);
    CString Replace_Tail(CString strText, CString strReplace, long nCount);
    CString Erase_First(CString strText, CString strSearch);
    CString Erase_Last(CString strText, CString strSearch);
    CString Erase_Nth(CString strText, CString strSearch, long nIndex);
    CString Erase_Head(CString strText, long nCount);
    CString Erase_Tail(CString strText, long nCount);
    CString Erase_All(CString strText, CString strSearch);

    // Splitting and joining.
    bool Split(CString strText, CString strSeparators, std::vector<CString>& vecParts,
               bool bCompress);
    CString Join(std::vector<CString> vecParts, CString strSeparator);

    // Line-list files.
    bool SaveConfigeFile(CString strPath, std::vector<CString> vecLines);
    bool OpenConfigeFile(CString strPath, std::vector<CString>& vecLines, int nMaxLen);

    // File transfer.
    bool InitFileTransfer(CComPtr<IInstallCtl>& spCtl, CString strServiceName,
                          CString strServerAddress, int nServerPort, CString& strLocalFolder);
    bool DownloadFile(CString strName, bool bShowMsg);
    bool UploadFile(CString strPath, bool bShowMsg);

    HINSTANCE m_hInstance;
    int m_nHostSetting1;
    int m_nHostSetting2;
    int m_nHostSetting3;
    CWindow* m_pMainWnd;
    CTipDlg* m_pTipDlg;
    LARGE_INTEGER m_liStartCounter;
    LARGE_INTEGER m_liFrequency;
    CComPtr<IModelReader> m_spModelReader;
    CComPtr<IInstallCtl> m_spInstallCtl;
    CString m_strServiceName;
    CString m_strServerAddress;
    int m_nServerPort;
    CString m_strLocalFolder;
    std::vector<CCortonaSink*> m_vecSinks;
    int m_nScreenWidth;
    int m_nScreenHeight;

private:
    void AdoptShared(const CVelmoraBase& other);
    void ReleaseShared();
};
