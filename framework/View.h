// CView: the window that shows a document; CListView: a view that is a list control.
#pragma once

#include "framework/Wnd.h"

class CView : public CWnd {
public:
    CDocument* GetDocument() const { return m_pDocument; }
    BOOL Create(CWnd* parent, UINT id);
    BOOL PreCreateWindow(CREATESTRUCTA& cs) override;
    BOOL OnCmdMsg(UINT id, CCmdUI* ui) override;

    // Called for every new or opened document; the default runs OnUpdate with hint 0.
    virtual void OnInitialUpdate() { OnUpdate(nullptr, 0, nullptr); }
    virtual void OnUpdate(CView* sender, LPARAM hint, CObject* hintObject) { Invalidate(TRUE); }

protected:
    friend class CDocument;
    void PostNcDestroy() override;
    CDocument* m_pDocument = nullptr;
};

// A list control; a Unicode window, so its in-place editor takes any character typed.
class CListView : public CView {
public:
    CListView() { m_bUnicode = TRUE; }
    BOOL PreCreateWindow(CREATESTRUCTA& cs) override;
};

// Begins a wait cursor in its scope.
class CWaitCursor {
public:
    CWaitCursor() : m_old(SetCursor(LoadCursorA(nullptr, MAKEINTRESOURCEA(32514)))) {}  // IDC_WAIT
    ~CWaitCursor() { SetCursor(m_old); }
    CWaitCursor(const CWaitCursor&) = delete;
    CWaitCursor& operator=(const CWaitCursor&) = delete;

private:
    HCURSOR m_old;
};
