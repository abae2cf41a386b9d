// Putting data on the clipboard for one paste and then leaving the clipboard as it was: what
// the clipboard holds is copied, the new data is offered by delayed rendering from a window
// of this module, and the copy goes back once the data has been read.
#pragma once

#include "framework/Clipboard.h"
#include "framework/Handles.h"

#include <cstddef>
#include <string>
#include <vector>

// A copy of what the clipboard holds, each format that can be copied: every format whose
// data is a global memory block, bitmaps (CF_BITMAP) and enhanced metafiles (CF_ENHMETAFILE).
// Not kept: CF_METAFILEPICT (a block holding a metafile handle), CF_PALETTE, the display
// formats (CF_OWNERDISPLAY, CF_DSP*) and the private and GDI object ranges, whose handles
// mean nothing outside the program that put them there.
class CClipboardSnapshot {
public:
    CClipboardSnapshot() = default;
    ~CClipboardSnapshot() { Clear(); }
    CClipboardSnapshot(const CClipboardSnapshot&) = delete;
    CClipboardSnapshot& operator=(const CClipboardSnapshot&) = delete;

    // Copies the open clipboard's formats, in the clipboard's order; false when it is not open.
    bool Take(const ClipboardSession& clipboard);
    // Empties the open clipboard and hands it the copies; false when it is not open or
    // refused one (the copies it did not take are freed).
    bool PutBack(const ClipboardSession& clipboard);
    void Clear();

    std::vector<UINT> Formats() const;
    // Formats the clipboard held that were not copied.
    const std::vector<UINT>& Skipped() const { return m_skipped; }

private:
    struct Item {
        UINT format;
        HANDLE data;
    };
    std::vector<Item> m_items;
    std::vector<UINT> m_skipped;
};

// Marks the data on the open clipboard as transient: clipboard managers and the system's
// clipboard history neither record nor upload it ("ExcludeClipboardContentFromMonitorProcessing",
// "CanIncludeInClipboardHistory" = 0, "CanUploadToCloudClipboard" = 0).
bool MarkClipboardTransient(const ClipboardSession& clipboard);

// Offers data for one paste and puts back what the clipboard held: as soon as the reader is
// done (kGraceMs after the last render request), or kUnreadMs after the offer when nothing
// was read. Nothing is put back when the clipboard changed hands meanwhile (someone emptied
// it: the user copied something else); while another program holds the clipboard open, the
// kept contents wait and are tried again. Belongs to one thread, whose messages it needs.
class CClipboardRestore {
public:
    static constexpr UINT kGraceMs = 100;
    static constexpr UINT kUnreadMs = 2000;

    using Data = ClipboardData;

    CClipboardRestore() = default;
    // Puts back at once what is still pending (within kClipboardWaitMs), then destroys its window.
    ~CClipboardRestore();
    CClipboardRestore(const CClipboardRestore&) = delete;
    CClipboardRestore& operator=(const CClipboardRestore&) = delete;

    // Ends a pending offer first (putting its contents back), keeps the clipboard, empties it
    // and offers `data` by delayed rendering, marked transient when `transient`. False when
    // the clipboard could not be had in time (the earlier offer's contents included): it is
    // then as it was.
    bool Offer(std::vector<Data> data, bool transient);
    // Puts the kept contents back now, unless the clipboard changed hands. False when the
    // clipboard stayed busy for waitMs: the contents are kept and tried again shortly.
    bool Finish(DWORD waitMs = kClipboardWaitMs);
    bool Pending() const { return m_pending; }
    // The clipboard owner of the offer.
    HWND Window() const { return m_window; }
    // Render requests answered for the last offer.
    int Renders() const { return m_renders; }

private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    bool EnsureWindow();
    void Render(UINT format);
    void RenderAll();
    // The time-out: put back, or try again shortly while another program has the clipboard open.
    void OnTimer();

    HWND m_window = nullptr;
    std::vector<Data> m_offered;
    CClipboardSnapshot m_saved;
    bool m_pending = false;
    bool m_lost = false;      // someone else emptied the clipboard after the offer
    bool m_emptying = false;  // our own EmptyClipboard, which also tells us
    int m_renders = 0;
};
