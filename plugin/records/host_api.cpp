#include "plugin/records/host_api.h"

#include <cstdarg>
#include <cstring>

#include "plugin/records/globals.h"
#include "plugin/records/version_rule.h"
#include "support/bounded_text.h"
#include "support/dpi_awareness.h"
#include "support/proc_address.h"

namespace {

const char* const kFunctionNames[kZlvnFnCount] = {
#define ZLVN_NAME_ROW(name, result, params, bytes) "Zlvn_" #name,
    ZLVN_HOST_FUNCTIONS(ZLVN_NAME_ROW)
#undef ZLVN_NAME_ROW
};

constexpr size_t kLogBufferSize = 256;

// The table's function, typed; null when the host does not export it.
template <ZlvnFn Row, typename Fn>
Fn Bound(const FARPROC (&functions)[kZlvnFnCount])
{
    return As<Fn>(functions[static_cast<int>(Row)]);
}

// Every call into the host runs in the host's own DPI context, also from inside our
// per-monitor scopes: a window the host makes there must not become per-monitor aware.
template <typename Fn, typename... Args>
auto InHostContext(Fn fn, Args... args)
{
    HostDpiScope host;
    return fn(args...);
}

}  // namespace

ZlvnAPI g_zlvnAPI;

ZlvnAPI::ZlvnAPI()
    : m_functions{}, m_hostModule(nullptr), m_logThreshold(kLogThresholdUnknown),
      m_printRaw(nullptr), m_printErrRaw(nullptr)
{
    HMODULE host = GetModuleHandleA(nullptr);
    if (host == nullptr) return;
    m_hostModule = host;
    m_printRaw = As<zlvn_fn::PrintRaw>(GetProcAddress(host, "Zlvn_PrintRaw"));
    m_printErrRaw = As<zlvn_fn::PrintErrRaw>(GetProcAddress(host, "Zlvn_PrintErrRaw"));
    if (m_printRaw == nullptr && m_printErrRaw == nullptr) return;
    for (int i = 0; i < kZlvnFnCount; ++i) m_functions[i] = GetProcAddress(host, kFunctionNames[i]);
}

bool ZlvnAPI::GetVersion(char* o_text, int size)
{
    auto fn = Bound<ZlvnFn::GetVersion, zlvn_fn::GetVersion>(m_functions);
    if (fn == nullptr) return false;
    InHostContext(fn, o_text, size);
    return true;
}

bool ZlvnAPI::GetQuickOption(unsigned char o_record[kQuickOptionSize])
{
    auto fn = Bound<ZlvnFn::GetQuickOption, zlvn_fn::GetQuickOption>(m_functions);
    if (fn == nullptr) return false;
    InHostContext(fn, o_record);
    return true;
}

bool ZlvnAPI::GetWindowHandles(HWND* o_first, HWND* o_second)
{
    auto fn = Bound<ZlvnFn::GetWindowHandles, zlvn_fn::GetWindowHandles>(m_functions);
    if (fn == nullptr) return false;
    InHostContext(fn, o_first, o_second);
    return true;
}

int ZlvnAPI::GetList(void* o_items, int* io_size)
{
    auto fn = Bound<ZlvnFn::GetList, zlvn_fn::GetList>(m_functions);
    return fn ? InHostContext(fn, o_items, io_size) : 0;
}

void ZlvnAPI::RegisterFocus(HWND hwnd)
{
    if (auto fn = Bound<ZlvnFn::RegisterFocus, zlvn_fn::RegisterFocus>(m_functions)) InHostContext(fn, hwnd);
}

void ZlvnAPI::UnregisterFocus(HWND hwnd)
{
    if (auto fn = Bound<ZlvnFn::UnregisterFocus, zlvn_fn::UnregisterFocus>(m_functions)) InHostContext(fn, hwnd);
}

void ZlvnAPI::ReloadMenu(const char* i_pluginName)
{
    if (auto fn = Bound<ZlvnFn::ReloadMenu, zlvn_fn::ReloadMenu>(m_functions)) InHostContext(fn, i_pluginName);
}

void ZlvnAPI::ReadHostVersion(char (&o_version)[kHostVersionSize])
{
    char raw[kHostVersionSize] = {};
    GetVersion(raw, kHostVersionSize);
    raw[kHostVersionSize - 1] = '\0';  // the host may fill the whole buffer
    CopyText(o_version, SkipVersionPrefix(raw));
}

bool ZlvnAPI::CheckVersion(const char* i_lower, const char* i_upper)
{
    if (!IsBound(ZlvnFn::GetVersion) || i_lower == nullptr || i_upper == nullptr) return false;
    char version[kHostVersionSize];
    ReadHostVersion(version);
    return VersionInRange(version, i_lower, i_upper);
}

void ZlvnAPI::ReportVersionMismatch(const char* i_name, const char* i_lower, const char* i_upper)
{
    // Without Zlvn_GetVersion the report names an empty host version.
    char version[kHostVersionSize];
    ReadHostVersion(version);
    Print(kLogWarning, i_name, "%sプラグインはZelvanever.%s以上ver.%s未満で使用できます。ver.%sには対応していません。",
          i_name, i_lower, i_upper, version);
}

void ZlvnAPI::ReportMissingFunctions(const char* i_name)
{
    if (m_hostModule == nullptr || (m_printRaw == nullptr && m_printErrRaw == nullptr)) return;
    static const size_t kPrefixLength = strlen("Zlvn_");
    for (int i = 0; i < kZlvnFnCount; ++i) {
        if (m_functions[i] == nullptr) Print(kLogDetail, i_name, "failed load ZlvnApi.%s()", kFunctionNames[i] + kPrefixLength);
    }
}

void ZlvnAPI::Print(int level, const char* i_prefix, const char* format, ...)
{
    if (m_printRaw == nullptr && m_printErrRaw == nullptr) return;
    if (i_prefix == nullptr || i_prefix[0] == '\0') return;
    if (m_logThreshold == kLogThresholdUnknown) {
        auto ask = Bound<ZlvnFn::GetLogSeverity, zlvn_fn::GetLogSeverity>(m_functions);
        if (ask) InHostContext(ask, &m_logThreshold);
        else m_logThreshold = kLogThresholdDefault;
    }
    if (level > m_logThreshold) return;

    char message[kLogBufferSize];
    va_list args;
    va_start(args, format);
    FormatTextV(message, sizeof message, format, args);
    va_end(args);
    char line[kLogBufferSize];
    FormatText(line, sizeof line, "%s %s", i_prefix, message);

    if (m_printRaw) InHostContext(m_printRaw, level, static_cast<const char*>(line));
    else InHostContext(m_printErrRaw, static_cast<const char*>(line));
}
