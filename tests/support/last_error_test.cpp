// The failure record: snapshots, cutting, the base-name rule, the null-argument assertion.
#include "tests/common/wine_test.h"

#include "support/ini/ini_file.h"

using FailureRecord = ClearedFailureRecord;

// A record as "file:line: message".
static std::string Whole(const LastError& r) { return std::string(r.File()) + ":" + std::to_string(r.Line()) + ": " + r.Message(); }

TEST_F(FailureRecord, EmptyBeforeAnyFailure)
{
    LastError snapshot;
    EXPECT_FALSE(snapshot.IsValid());
    EXPECT_EQ(nullptr, snapshot.RecordedMessage());
    char buf[8] = "kept";
    EXPECT_EQ(ResultCode::FlowError, snapshot.CopyMessage(buf, sizeof buf));
    EXPECT_STREQ("kept", buf);
}

TEST_F(FailureRecord, SnapshotHoldsTheLatestFailureAndStaysAsTaken)
{
    EXPECT_EQ(0, RecordFailure("C:\\src\\first.cpp", 10, "first %d", 1));
    EXPECT_EQ(0, RecordFailure("C:\\src\\second.cpp", 20, "second %s", "failure"));
    LastError snapshot;
    EXPECT_EQ("second.cpp:20: second failure", Whole(snapshot));

    RecordFailure("third.cpp", 30, "third");
    EXPECT_STREQ("second failure", snapshot.RecordedMessage()) << "a snapshot does not follow later failures";
    EXPECT_STREQ("third", LastError().RecordedMessage());

    char small[7];
    EXPECT_EQ(ResultCode::Normal, snapshot.CopyMessage(small, sizeof small));
    EXPECT_STREQ("second", small) << "cut to size - 1";
}

TEST_F(FailureRecord, LongTextsAreCut)
{
    for (auto [length, fill] : {std::pair{300, 'm'}, {5000, 'h'}}) {
        std::string text(length, fill);
        RecordFailure("x.cpp", 1, "%s", text.c_str());
        EXPECT_EQ(text.substr(0, 255), LastError().RecordedMessage()) << length << "-character message";
    }

    std::string path = std::string(300, 'p') + ".cpp";
    RecordFailure(path.c_str(), 1, "long file name");
    EXPECT_EQ(path.substr(0, 255), LastError().File()) << "300-character file name";
}

TEST_F(FailureRecord, NullFileRecordsNothing)
{
    RecordFailure("kept.cpp", 5, "kept");
    EXPECT_EQ(-1, RecordFailure(nullptr, 6, "lost"));
    EXPECT_EQ("kept.cpp:5: kept", Whole(LastError()));
}

TEST_F(FailureRecord, SourceFileIsRecordedByItsBaseName)
{
    // A trailing backslash is kept (never empty), the first character does not count,
    // only backslashes separate.
    const struct { const char* path; const char* recorded; } cases[] = {
        {"C:\\work\\support\\ini_file.cpp", "ini_file.cpp"}, {"support\\app_info.cpp", "app_info.cpp"},
        {"C:\\work\\support\\", "support\\"}, {"dir\\", "dir\\"}, {"\\\\", "\\\\"}, {"\\only.cpp", "\\only.cpp"},
        {"plain.cpp", "plain.cpp"}, {"a/b/c.cpp", "a/b/c.cpp"}, {"\\", "\\"}, {"", ""},
    };
    for (const auto& c : cases) {
        LastError record;
        record.Set(c.path, 1, "m");
        EXPECT_STREQ(c.recorded, record.File()) << "path \"" << c.path << "\"";
        EXPECT_STREQ(c.recorded, SourceBaseName(c.path)) << "path \"" << c.path << "\"";
    }
}

TEST_F(FailureRecord, LibraryFailuresNameTheirSourceFileAndLine)
{
    IniFile ini;
    ini.Close();
    LastError snapshot;
    EXPECT_STREQ("ini_file.cpp", snapshot.File());
    EXPECT_GT(snapshot.Line(), 0);
    EXPECT_STREQ("m_inifile is already closed.", snapshot.Message());
}

TEST(NullArgumentDeathTest, EndsTheProcessNamingParameterFileAndLine)
{
    int value = 0;
    char buf[9];
    EXPECT_DEATH(IniFile().OpenPreloaded(nullptr, ""), "i_name is NULL, file ini_file\\.cpp, line \\d+");
    EXPECT_DEATH(IniFile::HexToInt(nullptr, &value), "i_hex is NULL, file ini_file\\.cpp, line \\d+");
    EXPECT_DEATH(IniFile::HexToInt("0x000000", nullptr), "o_val is NULL");
    EXPECT_DEATH(IniFile::IntToHex(0, nullptr, sizeof buf), "o_hex is NULL");
}
