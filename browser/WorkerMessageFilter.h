// The browser worker's COM message filter: a call that a busy Internet Explorer
// rejects (RPC_E_SERVERCALL_RETRYLATER, RPC_E_CALL_REJECTED) is tried again for a
// few seconds (RetryRejectedCallDelay), then fails to the run's guard as before.
#pragma once

#include <windows.h>
#include <ole2.h>

// Registers the filter on the calling thread (with OLE initialised) for its
// lifetime, and puts the thread's earlier filter back at the end.
class WorkerMessageFilterScope {
public:
    WorkerMessageFilterScope();
    ~WorkerMessageFilterScope();
    WorkerMessageFilterScope(const WorkerMessageFilterScope&) = delete;
    WorkerMessageFilterScope& operator=(const WorkerMessageFilterScope&) = delete;
    bool Registered() const { return m_registered; }

private:
    IMessageFilter* m_previous = nullptr;
    bool m_registered = false;
};
