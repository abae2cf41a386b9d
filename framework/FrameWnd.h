// CFrameWnd: the main window. It owns the menu and accelerators, lays out its control bars
// and the view, routes commands (view, document, frame, application) and asks the
// command handlers for the state of menu items as a menu opens.
#pragma once

#include "framework/Wnd.h"

class CDocTemplate;

// Adds the document's title to the window title ("Untitled - Jotwell").
constexpr DWORD FWS_ADDTOTITLE = 0x00008000;

// What the frame needs to create its view.
struct CCreateContext {
    const CRuntimeClass* m_pNewViewClass = nullptr;
    CDocument* m_pCurrentDoc = nullptr;
    CDocTemplate* m_pNewDocTemplate = nullptr;
};

class CFrameWnd : public CWnd {
public:
    BOOL LoadFrame(UINT idResource, DWORD style, CWnd* parent, CCreateContext* context);
    BOOL PreCreateWindow(CREATESTRUCTA& cs) override;
    BOOL PreTranslateMessage(MSG* msg) override;
    // Commands go to the view (and its document), then the frame, then the application.
    BOOL OnCmdMsg(UINT id, CCmdUI* ui) override;
    // The frame's own commands.
    virtual BOOL OnFrameCommand(UINT id, CCmdUI* ui) { return FALSE; }

    CDocument* GetActiveDocument() const;
    // Shows the frame and gives its view the initial update.
    void InitialUpdateFrame(BOOL makeVisible);
    // Sets the title from the document's title and the application title.
    void OnUpdateFrameTitle();
    // Places the control bars and the view in the client area.
    virtual void RecalcLayout();

    HACCEL m_hAccelTable = nullptr;

protected:
    int OnCreate(CREATESTRUCTA* cs) override;
    void OnSize(UINT type, int cx, int cy) override;
    void OnClose() override;
    // The session ends (a logoff or shutdown): the main frame closes without a question.
    virtual void OnEndSession(BOOL ending);
    void OnDestroy() override;
    void PostNcDestroy() override;
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override;
    virtual BOOL OnCreateClient(CREATESTRUCTA* cs, CCreateContext* context);
    // Asks the command handlers for the state of each item of a menu that is opening.
    void UpdateMenuItems(HMENU menu);

    CView* m_pView = nullptr;
    CDocTemplate* m_pDocTemplate = nullptr;
    DWORD m_frameStyle = 0;
    CString m_strTitle;
};
