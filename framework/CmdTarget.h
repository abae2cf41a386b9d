// Objects that receive commands, and the command-update protocol for menus.
#pragma once

#include "framework/Afx.h"

class CObject {
public:
    virtual ~CObject() = default;
};

// Run-time class information: a factory, for classes the document template creates by class.
struct CRuntimeClass {
    CObject* (*m_pfnCreateObject)();
    CObject* CreateObject() const { return m_pfnCreateObject ? m_pfnCreateObject() : nullptr; }
};

#define DECLARE_DYNCREATE(cls) \
public: \
    static const CRuntimeClass class##cls; \
    static CObject* CreateObject##cls();

#define IMPLEMENT_DYNCREATE(cls) \
    CObject* cls::CreateObject##cls() { return new cls; } \
    const CRuntimeClass cls::class##cls = {&cls::CreateObject##cls};

#define RUNTIME_CLASS(cls) (&cls::class##cls)

// Asks for the state of one menu item: its handler decides enabled and checked.
class CCmdUI {
public:
    CCmdUI(HMENU menu, UINT index) : m_menu(menu), m_index(index) {}
    void Enable(BOOL on = TRUE);
    void SetCheck(int check = 1);
    HMENU m_menu;
    UINT m_index;
};

class CCmdTarget : public CObject {
public:
    // Handles command `id`, or with `ui` set, updates its menu state. True when handled.
    virtual BOOL OnCmdMsg(UINT id, CCmdUI* ui) { return FALSE; }
};

// A command map: rows of {command, handler, optional update handler} for class T.
template <typename T>
struct CommandEntry {
    UINT id;
    void (T::*handler)();
    void (T::*update)(CCmdUI*);
};

template <typename T, size_t N>
BOOL DispatchCommand(T* target, const CommandEntry<T> (&map)[N], UINT id, CCmdUI* ui) {
    for (const CommandEntry<T>& e : map) {
        if (e.id != id) continue;
        if (ui) {
            if (!e.update) { ui->Enable(TRUE); return TRUE; }
            (target->*e.update)(ui);
            return TRUE;
        }
        if (!e.handler) return FALSE;
        (target->*e.handler)();
        return TRUE;
    }
    return FALSE;
}
