// The owners of what the system hands out: each gives it back once, when its scope ends
// or when it takes another, and gives back nothing when it holds none.
#include "tests/common/wine_test.h"

#include "support/owners.h"

namespace {

// Stands in for a COM interface: it only counts its releases.
struct counted_object_t {
    int releases = 0;
    ULONG Release() { return ++releases; }
};

}  // namespace

TEST(Owners, GiveBackOnceAtTheEndOrOnReset)
{
    HANDLE held = nullptr;
    {
        HandleOwner process(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, GetCurrentProcessId())), none(nullptr);
        EXPECT_TRUE(process.Valid() && !none.Valid()) << "an open handle, a failed open";
        held = process.Get();
    }
    DWORD flags = 0;
    EXPECT_FALSE(GetHandleInformation(held, &flags)) << "the process handle is closed";

    counted_object_t first, second;
    {
        ComOwner<counted_object_t> owner(&first), none;
        owner.Reset(&second);
        EXPECT_EQ(std::make_pair(1, 0), std::make_pair(first.releases, second.releases)) << "on Reset";
    }
    EXPECT_EQ(std::make_pair(1, 1), std::make_pair(first.releases, second.releases)) << "at the end";

    {
        ModuleOwner module(LoadLibraryA((ProgramDir() + "\\fixture_noversion.dll").c_str()));
        ASSERT_TRUE(module);
    }
    EXPECT_EQ(nullptr, GetModuleHandleA("fixture_noversion.dll")) << "the module is freed";
}
