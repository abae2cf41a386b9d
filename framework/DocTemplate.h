// CSingleDocTemplate: one document, one frame, one view. The first open creates all three;
// later opens reuse them and run the view's initial update again.
#pragma once

#include <memory>

#include "framework/CmdTarget.h"

class CDocument;
class CFrameWnd;

class CDocTemplate : public CCmdTarget {
public:
    // The parts of the document string, separated by '\n' in the resource.
    enum DocStringIndex { windowTitle, docName, fileNewName, filterName, filterExt, regFileTypeId, regFileTypeName };

    explicit CDocTemplate(UINT idResource);
    CString GetDocString(DocStringIndex index) const;
    UINT GetResourceId() const { return m_nIDResource; }

    // Opens `path`, or makes a new document when it is null; null on failure.
    virtual CDocument* OpenDocumentFile(const wchar_t* path, BOOL makeVisible = TRUE) = 0;
    // The frame's window is gone: its document goes with it.
    virtual void OnFrameDestroyed(CFrameWnd* frame) {}

protected:
    UINT m_nIDResource;
    CString m_strDocStrings;
};

class CSingleDocTemplate : public CDocTemplate {
public:
    CSingleDocTemplate(UINT idResource, const CRuntimeClass* docClass, const CRuntimeClass* frameClass,
                       const CRuntimeClass* viewClass);

    CDocument* OpenDocumentFile(const wchar_t* path, BOOL makeVisible = TRUE) override;
    CDocument* GetDocument() const { return m_pDocument.get(); }
    void OnFrameDestroyed(CFrameWnd* frame) override;

private:
    CFrameWnd* CreateFrame(CDocument* doc);
    void CloseDocument();

    const CRuntimeClass* m_pDocClass;
    const CRuntimeClass* m_pFrameClass;
    const CRuntimeClass* m_pViewClass;
    std::unique_ptr<CDocument> m_pDocument;
    CFrameWnd* m_pFrame = nullptr;
};
