// The entry list's OLE drop target. Text dragged from another program (CF_UNICODETEXT, else
// CF_TEXT) is handed to the view, which keeps it as a new entry once the drop has returned;
// files dragged from the shell (CF_HDROP) go on to the frame as WM_DROPFILES, so that they
// open as the document just as they do where no drop target is registered.
#pragma once

#include <windows.h>
#include <ole2.h>

#include <string>

class CJotwellView;

class CTextDropTarget : public IDropTarget {
public:
    explicit CTextDropTarget(CJotwellView* view) : m_view(view) {}
    // The view is going: drops are refused from now on.
    void Detach() { m_view = nullptr; }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;
    HRESULT STDMETHODCALLTYPE DragEnter(IDataObject* data, DWORD keys, POINTL pt, DWORD* effect) override;
    HRESULT STDMETHODCALLTYPE DragOver(DWORD keys, POINTL pt, DWORD* effect) override;
    HRESULT STDMETHODCALLTYPE DragLeave() override;
    HRESULT STDMETHODCALLTYPE Drop(IDataObject* data, DWORD keys, POINTL pt, DWORD* effect) override;

    // The text a data object carries: CF_UNICODETEXT, else CF_TEXT in the ANSI code page.
    static bool TextOf(IDataObject* data, std::wstring& text);

private:
    virtual ~CTextDropTarget() = default;
    enum class Kind { None, Text, Files };
    static Kind KindOf(IDataObject* data);
    DWORD Effect(DWORD allowed) const;

    LONG m_refs = 1;
    CJotwellView* m_view;
    Kind m_kind = Kind::None;
};
