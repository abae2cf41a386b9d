// The entry list view: a report list with the columns "Text" and "Explanation", one row
// per entry, the placeholder entry last. The list is virtual (owner data): row i shows
// entry i, and the texts come from the document's strings when a row is drawn, so the
// cost of a change does not grow with the number of rows.
#pragma once

#include "framework/View.h"

class CJotwellDoc;

class CJotwellView : public CListView {
    DECLARE_DYNCREATE(CJotwellView)

public:
    CJotwellDoc* GetDocument() const;
    BOOL PreCreateWindow(CREATESTRUCTA& cs) override;
    void OnInitialUpdate() override;
    void OnUpdate(CView* sender, LPARAM hint, CObject* hintObject) override;
    BOOL OnNotifyReflect(NMHDR* nm, LRESULT* result) override;

protected:
    void OnDestroy() override;
    int ColumnWidth(int column) const;
};
