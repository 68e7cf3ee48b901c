#include "tests/common/crash_report.h"

#include <gtest/gtest.h>

#include <cstdarg>
#include <cstdio>

// One byte written by one instruction of a known length (movb $1,(%eax): 3 bytes), so the
// handler can name it and step over it.
asm(".text\n"
    ".globl _zlvn_write_one_byte\n"
    "_zlvn_write_one_byte:\n"
    "    movl 4(%esp), %eax\n"
    ".globl _zlvn_write_instruction\n"
    "_zlvn_write_instruction:\n"
    "    movb $1, (%eax)\n"
    "    ret\n");
extern "C" void zlvn_write_one_byte(void* address);
extern "C" char zlvn_write_instruction[];

namespace crash_report {

namespace {

constexpr size_t kWriteLength = 3;
constexpr int kMostFrames = 24;

// Codes raised to talk to a debugger, not faults.
bool Informational(DWORD code)
{
    return code == 0x40010006 /* DBG_PRINTEXCEPTION_C */ || code == 0x4001000A /* its wide form */ ||
           code == 0x406D1388 /* a thread's name */;
}

// Everything below runs with the heap perhaps damaged: texts are made on the stack.
struct line_t {
    char text[1024];
    size_t used = 0;
    void Add(const char* format, ...)
    {
        va_list args;
        va_start(args, format);
        int n = _vsnprintf(text + used, sizeof text - used - 1, format, args);
        va_end(args);
        used = n < 0 ? sizeof text - 1 : used + n;
        text[used] = 0;
    }
};

void WriteOut(const line_t& line)
{
    DWORD written = 0;
    WriteFile(GetStdHandle(STD_ERROR_HANDLE), line.text, static_cast<DWORD>(line.used), &written, nullptr);
}

// "module+0xoffset" for a code address, or the bare address.
void AddPlace(line_t& line, const void* address)
{
    MEMORY_BASIC_INFORMATION info = {};
    char path[MAX_PATH] = {};
    if (VirtualQuery(address, &info, sizeof info) && info.Type == MEM_IMAGE &&
        GetModuleFileNameA(static_cast<HMODULE>(info.AllocationBase), path, MAX_PATH)) {
        const char* name = strrchr(path, '\\');
        line.Add(" %s+0x%lx", name ? name + 1 : path,
                 static_cast<unsigned long>(static_cast<const char*>(address) - static_cast<const char*>(info.AllocationBase)));
    } else {
        line.Add(" %p", address);
    }
}

bool Executable(const void* address, const void** o_regionStart)
{
    MEMORY_BASIC_INFORMATION info = {};
    if (!VirtualQuery(address, &info, sizeof info) || info.State != MEM_COMMIT || info.Type != MEM_IMAGE) return false;
    *o_regionStart = info.BaseAddress;
    return (info.Protect & (PAGE_EXECUTE | PAGE_EXECUTE_READ | PAGE_EXECUTE_READWRITE | PAGE_EXECUTE_WRITECOPY)) != 0;
}

// Whether the bytes before a return address end in a call instruction.
bool AfterCall(const unsigned char* ret, const void* regionStart)
{
    if (ret - 7 < static_cast<const unsigned char*>(regionStart)) return false;
    return ret[-5] == 0xE8 ||                                    // call rel32
           (ret[-6] == 0xFF && (ret[-5] & 0x38) == 0x10) ||      // call [disp32] or [reg+disp32]
           (ret[-3] == 0xFF && (ret[-2] & 0x38) == 0x10) ||      // call [reg+disp8]
           (ret[-2] == 0xFF && (ret[-1] & 0x38) == 0x10) ||      // call reg / [reg]
           (ret[-7] == 0xFF && (ret[-6] & 0x38) == 0x10);        // call [sib+disp32]
}

// The return addresses on the faulting thread's stack: the program is built without frame
// pointers, so the stack is scanned for code addresses that follow a call.
void AddStack(line_t& line, const CONTEXT& context)
{
    // A stack is committed from its pointer up to its base, in one region.
    MEMORY_BASIC_INFORMATION stack = {};
    if (!VirtualQuery(reinterpret_cast<const void*>(context.Esp), &stack, sizeof stack)) return;
    const auto* top = reinterpret_cast<const DWORD*>(static_cast<const char*>(stack.BaseAddress) + stack.RegionSize);
    int frames = 0;
    line.Add("\n  stack:");
    for (const auto* slot = reinterpret_cast<const DWORD*>(context.Esp); slot < top && frames < kMostFrames; ++slot) {
        const void* regionStart = nullptr;
        const auto* ret = reinterpret_cast<const unsigned char*>(*slot);
        if (!Executable(ret, &regionStart) || !AfterCall(ret, regionStart)) continue;
        AddPlace(line, ret);
        ++frames;
    }
    line.Add("\n");
}

// The exceptions raised and not yet taken, kept without the heap.
struct raised_t {
    DWORD code;
    const void* at;
    ULONG_PTR access, address;
};
raised_t g_raised[16];
volatile LONG g_raisedCount;

void Describe(line_t& line, const EXCEPTION_RECORD& record)
{
    line.Add("exception %08lX", record.ExceptionCode);
    if (record.ExceptionCode == EXCEPTION_ACCESS_VIOLATION && record.NumberParameters >= 2)
        line.Add(" (%s %08lX)", record.ExceptionInformation[0] == 1 ? "write to" : record.ExceptionInformation[0] == 8 ? "execute at" : "read of",
                 static_cast<unsigned long>(record.ExceptionInformation[1]));
    line.Add(" at");
    AddPlace(line, record.ExceptionAddress);
}

// The write of WriteOneByte that expects to fault, and its thread. Not thread_local: the
// handler must not allocate, and MinGW's thread-local storage allocates at first use.
write_t* volatile g_expected;
volatile DWORD g_expectedThread;

LONG CALLBACK OnException(EXCEPTION_POINTERS* pointers)
{
    const EXCEPTION_RECORD& record = *pointers->ExceptionRecord;
    if (Informational(record.ExceptionCode)) return EXCEPTION_CONTINUE_SEARCH;
    if (g_expected && g_expectedThread == GetCurrentThreadId() && record.ExceptionAddress == zlvn_write_instruction) {
        g_expected->faulted = true;
        g_expected->faultAt = record.ExceptionAddress;
        g_expected->wasWrite = record.NumberParameters >= 2 && record.ExceptionInformation[0] == 1;
        g_expected->address = reinterpret_cast<const void*>(record.NumberParameters >= 2 ? record.ExceptionInformation[1] : 0);
        pointers->ContextRecord->Eip += kWriteLength;
        return EXCEPTION_CONTINUE_EXECUTION;
    }
    line_t line;
    Describe(line, record);
    line.Add(", thread %04lx", GetCurrentThreadId());
    AddStack(line, *pointers->ContextRecord);
    WriteOut(line);
    LONG slot = InterlockedIncrement(&g_raisedCount) - 1;
    if (slot < LONG(sizeof g_raised / sizeof *g_raised))
        g_raised[slot] = {record.ExceptionCode, record.ExceptionAddress,
                          record.NumberParameters >= 2 ? record.ExceptionInformation[0] : 0,
                          record.NumberParameters >= 2 ? record.ExceptionInformation[1] : 0};
    return EXCEPTION_CONTINUE_SEARCH;
}

// Nothing handled it: the program ends now, with the exception's code.
LONG WINAPI OnUnhandled(EXCEPTION_POINTERS* pointers)
{
    line_t line;
    line.Add("unhandled ");
    Describe(line, *pointers->ExceptionRecord);
    line.Add(": the test program ends\n");
    WriteOut(line);
    TerminateProcess(GetCurrentProcess(), pointers->ExceptionRecord->ExceptionCode);
    return EXCEPTION_EXECUTE_HANDLER;
}

class RaisedFailsTheTest : public ::testing::EmptyTestEventListener {
    void OnTestStart(const ::testing::TestInfo&) override { TakeRaised(); }
    // Before the printer's (end events go to the listeners last to first): the test is
    // reported as failed.
    void OnTestEnd(const ::testing::TestInfo&) override { FailIfRaised(); }
};

}  // namespace

void Install()
{
    AddVectoredExceptionHandler(1, OnException);
    SetUnhandledExceptionFilter(OnUnhandled);
    ::testing::UnitTest::GetInstance()->listeners().Append(new RaisedFailsTheTest);
}

std::string TakeRaised()
{
    std::string text;
    LONG count = InterlockedExchange(&g_raisedCount, 0);
    for (LONG i = 0; i < count && i < LONG(sizeof g_raised / sizeof *g_raised); ++i) {
        line_t line;
        EXCEPTION_RECORD record = {};
        record.ExceptionCode = g_raised[i].code;
        record.ExceptionAddress = const_cast<void*>(g_raised[i].at);
        record.NumberParameters = 2;
        record.ExceptionInformation[0] = g_raised[i].access;
        record.ExceptionInformation[1] = g_raised[i].address;
        Describe(line, record);
        text += std::string(line.text) + "\n";
    }
    return text;
}

void FailIfRaised()
{
    std::string raised = TakeRaised();
    if (!raised.empty()) ADD_FAILURE() << "raised during the test and not let through (a callback's dispatcher dropped it):\n" << raised;
}

write_t WriteOneByte(void* address)
{
    write_t result;
    result.instruction = zlvn_write_instruction;
    g_expectedThread = GetCurrentThreadId();
    g_expected = &result;
    zlvn_write_one_byte(address);
    g_expected = nullptr;
    return result;
}

}  // namespace crash_report
