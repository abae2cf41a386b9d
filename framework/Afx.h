// The application framework: a small document/view framework over Win32 with the class
// names and operations the program is written against (application, document, template,
// frame, view, dialogs, profile). Include this instead of <windows.h> in the Windows layer.
#pragma once

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>
#include <commdlg.h>

#include <string>
#include <vector>

#include "framework/AfxRes.h"

// 8-bit text in the system's ANSI code page.
using CString = std::string;

class CWinApp;
class CWnd;
class CFrameWnd;
class CDocument;
class CView;

// A growable array of strings with the operations the program uses.
class CStringArray {
public:
    int GetSize() const { return static_cast<int>(m_items.size()); }
    const CString& GetAt(int i) const { return m_items[static_cast<size_t>(i)]; }
    const CString& operator[](int i) const { return GetAt(i); }
    CString& operator[](int i) { return m_items[static_cast<size_t>(i)]; }
    // Sets element i, growing the array with empty strings as needed.
    void SetAtGrow(int i, const CString& s);
    int Add(const CString& s) { m_items.push_back(s); return GetSize() - 1; }
    int Add(CString&& s) { m_items.push_back(std::move(s)); return GetSize() - 1; }
    void InsertAt(int i, const CString& s, int count = 1);
    void RemoveAt(int i, int count = 1);
    void RemoveAll() { m_items.clear(); }
    void Reserve(size_t n) { m_items.reserve(n); }
    std::vector<CString>& Items() { return m_items; }
    const std::vector<CString>& Items() const { return m_items; }

private:
    std::vector<CString> m_items;
};

// Global services of the framework.
CWinApp* AfxGetApp();
CWnd* AfxGetMainWnd();
HINSTANCE AfxGetInstanceHandle();
HINSTANCE AfxGetResourceHandle();

// Loads a string resource; empty when there is none.
CString AfxLoadString(UINT id);
// Replaces %1 in the string resource `id` by `arg`.
CString AfxFormatString1(UINT id, const CString& arg);
// The string resource `id` with %1 replaced by the file `path`, as UTF-8 text (a file name
// may hold any character), for AfxMessageBox with CP_UTF8; AfxMessageBoxPath shows it.
CString AfxFormatPath(UINT id, const std::wstring& path);
// A message box with the application's title, owned by the main window. MB_OK and
// MB_OKCANCEL boxes get the exclamation icon unless the caller chose one.
// `codePage`: the code page `text` is in (the title is in the ANSI code page).
int AfxMessageBox(const CString& text, UINT type = MB_OK, UINT codePage = CP_ACP);
int AfxMessageBox(UINT idText, UINT type = MB_OK);
int AfxMessageBoxPath(UINT idText, const std::wstring& path, UINT type);
// Lets a test answer the framework's message boxes instead of a person: the hook gets the
// text and type and returns the button. Null restores the real message box.
using AfxMessageBoxHook = int (*)(const CString& text, UINT type);
void AfxSetMessageBoxHook(AfxMessageBoxHook hook);
