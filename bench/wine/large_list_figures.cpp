// Figures of the entry list inside the program, without an application object: a file of
// 100,000 entries opened and shown, then one Insert, Delete and Modify Text on its first
// row, each with the file's rewrite, the filter typed a key at a time (each keystroke until
// the rows are drawn), a key through the message loop in its wide and ANSI forms, and the time
// from another program's write of the file until the rows show it. Printed, not asserted;
// scripts/figures.sh runs it (beside an earlier build's, given one).
#include "document/JotwellDoc.h"
#include "framework/Handles.h"
#include "framework/WholeFile.h"
#include "view/JotwellView.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <string>

namespace {

// The view with its two questions answered at once: OK to the delete, "changed" as the text.
class AnsweringView : public CJotwellView {
protected:
    int AskDeleteConfirm(const CString&) override { return IDOK; }
    BOOL RunModifyDialog(const CString&, std::wstring& text) override {
        text = L"changed";
        return TRUE;
    }
};

class Host : public CWnd {};

using Clock = std::chrono::steady_clock;

double Ms(Clock::time_point from, Clock::time_point to) {
    return std::chrono::duration<double, std::milli>(to - from).count();
}

}  // namespace

int main() {
    std::string bytes;
    for (int i = 0; i < 100000; ++i)
        bytes += "entry number " + std::to_string(100000 + i) + " with some text\\tand its explanation " +
                 std::to_string(i) + "\r\n";
    wchar_t dir[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, dir);
    const std::wstring path = std::wstring(dir) + L"jotwell-list-figures.txt";
    if (AfxWriteFileSafely(path.c_str(), bytes) != ERROR_SUCCESS) {
        std::fprintf(stderr, "cannot write the list\n");
        return 1;
    }

    CJotwellDoc* doc = new CJotwellDoc;
    Host host;
    if (!host.CreateEx(0, nullptr, "list figures", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 10, 400, 300, nullptr,
                       nullptr))
        return 1;
    AnsweringView* view = new AnsweringView;  // deletes itself with its window
    doc->AddView(view);
    if (!view->Create(&host, AFX_IDW_PANE_FIRST)) return 1;
    view->SetWindowPos(nullptr, 0, 0, 380, 260, SWP_NOZORDER);

    const auto opening = Clock::now();
    const bool opened = doc->OnOpenDocument(path.c_str()) != FALSE;
    doc->SetPathName(path.c_str(), FALSE);
    view->OnInitialUpdate();
    UpdateWindow(view->m_hWnd);
    const auto shown = Clock::now();
    const int rows = view->GetRowCount();
    view->SelectLine(0);
    const auto inserting = Clock::now();
    view->OnInsertLine();
    UpdateWindow(view->m_hWnd);
    const auto inserted = Clock::now();
    view->OnDeleteLine();
    UpdateWindow(view->m_hWnd);
    const auto deleted = Clock::now();
    view->SelectLine(0);
    const auto modifying = Clock::now();
    view->OnModifyText();
    UpdateWindow(view->m_hWnd);
    const auto modified = Clock::now();

    // The filter: a first character (every entry searched), typing on (the last result
    // searched), then the field cleared.
    std::string filterFigures;
    for (const wchar_t* typed : {L"9", L"99", L"999", L"9999", L""}) {
        const auto typing = Clock::now();
        view->SetFilter(typed);
        UpdateWindow(view->m_hWnd);
        char figure[96] = {};
        std::snprintf(figure, sizeof(figure), "%s\"%ls\" %.1f ms (%d rows)", filterFigures.empty() ? "" : "; ", typed,
                      Ms(typing, Clock::now()), view->GetRowCount());
        filterFigures += figure;
    }

    // A typed key through the message loop, in both forms: 200 key presses posted to the
    // host (an ANSI window, whose characters the wide loop has the system convert) and pumped
    // as the program's loop does, the wide form against the ANSI form the loop had before.
    // (Keys to the list itself would time its type-ahead search through 100,000 rows.)
    const auto pumpKeys = [&](bool wide) {
        const auto start = Clock::now();
        for (int i = 0; i < 200; ++i) {
            PostMessageW(host.m_hWnd, WM_KEYDOWN, VK_SHIFT, 0);
            PostMessageW(host.m_hWnd, WM_CHAR, L'\u0141', 1);
            MSG msg = {};
            while (wide ? PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE) : PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
                TranslateMessage(&msg);
                if (wide) DispatchMessageW(&msg);
                else DispatchMessageA(&msg);
            }
        }
        return Ms(start, Clock::now()) * 1000.0 / 200;
    };
    double wideKeyUs = 0, ansiKeyUs = 0;
    for (int round = 0; round < 3; ++round) {  // alternated, the better of three each
        const double a = pumpKeys(false), w = pumpKeys(true);
        ansiKeyUs = round == 0 ? a : std::min(ansiKeyUs, a);
        wideKeyUs = round == 0 ? w : std::min(wideKeyUs, w);
    }

    // Another program rewrites the file in place with a new first entry: the watcher's notice,
    // the check, the read and the rows, through the message loop as the program runs it.
    const std::string changedBytes = "written elsewhere\r\n" + bytes;
    const auto writing = Clock::now();
    {
        UniqueHandle out(CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS, 0, nullptr));
        DWORD written = 0;
        WriteFile(out.Get(), changedBytes.data(), static_cast<DWORD>(changedBytes.size()), &written, nullptr);
    }
    double reloadMs = -1;
    while (Ms(writing, Clock::now()) < 5000) {
        MSG msg = {};
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        if (view->GetRowCount() == 100002) {
            UpdateWindow(view->m_hWnd);
            reloadMs = Ms(writing, Clock::now());
            break;
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
    }

    host.DestroyWindow();
    delete doc;
    DeleteFileW(path.c_str());
    if (!opened || rows != 100001) {
        std::fprintf(stderr, "the file did not open whole (%d rows)\n", rows);
        return 1;
    }
    std::printf("100,000 entries (%zu bytes), inside the program: open and show %.1f ms; Insert row 0 %.1f ms; "
                "Delete row 0 %.1f ms; Modify Text row 0 %.1f ms (each with the file rewrite)\n",
                bytes.size(), Ms(opening, shown), Ms(inserting, inserted), Ms(inserted, deleted),
                Ms(modifying, modified));
    std::printf("100,000 entries, the filter typed a key at a time, each until drawn: %s\n", filterFigures.c_str());
    std::printf("A key press and its character through the message loop: %.1f us wide (the loop now), %.1f us ANSI "
                "(the loop before)\n",
                wideKeyUs, ansiKeyUs);
    if (reloadMs < 0) std::printf("100,000 entries changed on disk: the rows did not follow within 5 s\n");
    else std::printf("100,000 entries changed on disk by another program: rows show the new file after %.1f ms\n", reloadMs);
    return 0;
}
