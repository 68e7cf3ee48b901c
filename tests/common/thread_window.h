#pragma once
// A window on a thread of its own, in the foreground from the start: one that answers its
// messages, or one that answers none until it is destroyed (a hung window).
#include <windows.h>

enum class ThreadWindowKind { Answers, Hung };

class ThreadWindow {
public:
    explicit ThreadWindow(ThreadWindowKind kind, const RECT& rect = RECT{300, 300, 500, 400});
    // Lets a hung window go, then waits until its thread has destroyed it.
    ~ThreadWindow();
    ThreadWindow(const ThreadWindow&) = delete;
    ThreadWindow& operator=(const ThreadWindow&) = delete;

    HWND Window() const { return m_window; }  // null when the thread could not make it
    DWORD ThreadId() const { return m_threadId; }

private:
    static DWORD WINAPI Run(void* param);

    ThreadWindowKind m_kind;
    RECT m_rect;
    HWND m_window = nullptr;
    DWORD m_threadId = 0;
    HANDLE m_ready = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    HANDLE m_release = CreateEventA(nullptr, TRUE, FALSE, nullptr);  // a hung window answers nothing until this is set
    HANDLE m_thread = nullptr;
};
