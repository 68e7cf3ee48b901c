#include "tests/common/thread_window.h"

#include "tests/common/wait.h"

const char kBareClass[] = "TestThreadWindow";  // no class icons at all

ThreadWindow::ThreadWindow(ThreadWindowKind kind, const RECT& rect) : m_kind(kind), m_rect(rect)
{
    m_thread = CreateThread(nullptr, 0, Run, this, 0, &m_threadId);
    WaitForSingleObject(m_ready, kWaitLimitMs);
}

ThreadWindow::~ThreadWindow()
{
    SetEvent(m_release);
    WaitForSingleObject(m_thread, kWaitLimitMs);
    CloseHandle(m_thread);
    CloseHandle(m_release);
    CloseHandle(m_ready);
}

DWORD WINAPI ThreadWindow::Run(void* param)
{
    auto* self = static_cast<ThreadWindow*>(param);
    WNDCLASSEXA wc = {sizeof wc, 0, DefWindowProcA, 0, 0, GetModuleHandleA(nullptr), nullptr, nullptr, nullptr, nullptr,
                      kBareClass, nullptr};
    RegisterClassExA(&wc);
    HWND owner = CreateWindowExA(0, kBareClass, "owner", WS_POPUP, 300, 300, 200, 100, nullptr, nullptr,
                                 GetModuleHandleA(nullptr), nullptr);
    const RECT& r = self->m_rect;
    self->m_window = CreateWindowExA(0, kBareClass, "thread window", WS_POPUP | WS_VISIBLE, r.left, r.top,
                                     r.right - r.left, r.bottom - r.top, owner, nullptr, GetModuleHandleA(nullptr),
                                     nullptr);
    SetForegroundWindow(self->m_window);
    SetEvent(self->m_ready);
    if (self->m_kind == ThreadWindowKind::Hung) WaitForSingleObject(self->m_release, INFINITE);
    else WaitPumping(self->m_release, INFINITE);
    DestroyWindow(self->m_window);
    DestroyWindow(owner);
    return 0;
}
