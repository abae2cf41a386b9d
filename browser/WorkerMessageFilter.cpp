#include "browser/WorkerMessageFilter.h"

#include "browser/BusyRetry.h"

namespace {

// One object for every worker thread: it holds no state, and COM's references to
// it never free it.
class WorkerMessageFilter : public IMessageFilter {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override {
        if (!out) return E_POINTER;
        if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IMessageFilter)) {
            *out = static_cast<IMessageFilter*>(this);
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }

    DWORD STDMETHODCALLTYPE HandleInComingCall(DWORD, HTASK, DWORD, LPINTERFACEINFO) override {
        return SERVERCALL_ISHANDLED;
    }
    DWORD STDMETHODCALLTYPE RetryRejectedCall(HTASK, DWORD elapsedMs, DWORD rejectType) override {
        return static_cast<DWORD>(RetryRejectedCallDelay(elapsedMs, rejectType));
    }
    DWORD STDMETHODCALLTYPE MessagePending(HTASK, DWORD, DWORD) override { return PENDINGMSG_WAITDEFPROCESS; }
};

WorkerMessageFilter g_filter;

}  // namespace

static_assert(busy_retry::kRejected == SERVERCALL_REJECTED && busy_retry::kRetryLater == SERVERCALL_RETRYLATER,
              "the reject types COM passes");

WorkerMessageFilterScope::WorkerMessageFilterScope()
    : m_registered(SUCCEEDED(CoRegisterMessageFilter(&g_filter, &m_previous))) {}

WorkerMessageFilterScope::~WorkerMessageFilterScope() {
    if (!m_registered) return;
    IMessageFilter* ours = nullptr;
    CoRegisterMessageFilter(m_previous, &ours);
    if (m_previous) m_previous->Release();
}
