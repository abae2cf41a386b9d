#include "framework/DocTemplate.h"

#include "framework/Document.h"
#include "framework/FrameWnd.h"
#include "framework/WinApp.h"
#include "text/CodePageText.h"

CDocTemplate::CDocTemplate(UINT idResource) : m_nIDResource(idResource), m_strDocStrings(AfxLoadString(idResource)) {}

CString CDocTemplate::GetDocString(DocStringIndex index) const {
    size_t start = 0;
    for (int i = 0; i < index; ++i) {
        start = m_strDocStrings.find('\n', start);
        if (start == CString::npos) return CString();
        ++start;
    }
    const size_t end = m_strDocStrings.find('\n', start);
    return m_strDocStrings.substr(start, end == CString::npos ? CString::npos : end - start);
}

CSingleDocTemplate::CSingleDocTemplate(UINT idResource, const CRuntimeClass* docClass,
                                       const CRuntimeClass* frameClass, const CRuntimeClass* viewClass)
    : CDocTemplate(idResource), m_pDocClass(docClass), m_pFrameClass(frameClass), m_pViewClass(viewClass) {}

void CSingleDocTemplate::OnFrameDestroyed(CFrameWnd* frame) {
    if (frame == m_pFrame) CloseDocument();
}

void CSingleDocTemplate::CloseDocument() {
    m_pFrame = nullptr;
    m_pDocument.reset();
}

CFrameWnd* CSingleDocTemplate::CreateFrame(CDocument* doc) {
    CFrameWnd* frame = dynamic_cast<CFrameWnd*>(m_pFrameClass->CreateObject());
    if (!frame) return nullptr;
    CCreateContext context;
    context.m_pNewViewClass = m_pViewClass;
    context.m_pCurrentDoc = doc;
    context.m_pNewDocTemplate = this;
    if (!frame->LoadFrame(m_nIDResource, WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE, nullptr, &context)) {
        if (!frame->m_hWnd) delete frame;  // a frame that got a window deleted itself with it
        return nullptr;
    }
    return frame;
}

CDocument* CSingleDocTemplate::OpenDocumentFile(const wchar_t* path, BOOL makeVisible) {
    bool created = false;
    if (!m_pDocument) {
        std::unique_ptr<CDocument> doc(dynamic_cast<CDocument*>(m_pDocClass->CreateObject()));
        if (!doc) return nullptr;
        doc->m_pDocTemplate = this;
        CFrameWnd* frame = CreateFrame(doc.get());
        if (!frame) return nullptr;
        m_pDocument = std::move(doc);
        m_pFrame = frame;
        created = true;
    } else if (!m_pDocument->SaveModified() || !m_pDocument) {
        return nullptr;  // cancelled, or the frame and its document closed during the question
    }

    CDocument* doc = m_pDocument.get();
    const BOOL ok = path ? doc->OnOpenDocument(path) : doc->OnNewDocument();
    if (!ok) {
        if (created) {
            // A document that never opened goes with its frame.
            m_pFrame->DestroyWindow();
        }
        return nullptr;
    }
    if (path) {
        doc->SetPathName(path);
    } else {
        doc->SetTitle(ToWide(AfxLoadString(AFX_IDS_UNTITLED), CP_ACP));
    }
    CWinApp* app = AfxGetApp();
    if (app && !app->m_pMainWnd) app->m_pMainWnd = m_pFrame;
    m_pFrame->InitialUpdateFrame(makeVisible);
    return doc;
}
