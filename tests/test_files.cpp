// Line-list files: the bytes on disk, reading them back, splitting of long lines and failures.
#include <windows.h>

#include <gtest/gtest.h>

#include <locale.h>
#include <stdio.h>

#include <filesystem>
#include <string>
#include <vector>

#include "VelmoraBase.h"

namespace {

namespace fs = std::filesystem;

using Lines = std::vector<std::wstring>;

std::vector<CString> ToCStrings(const Lines& lines) {
    std::vector<CString> result;
    for (const std::wstring& line : lines)
        result.emplace_back(line.c_str(), static_cast<int>(line.size()));
    return result;
}

Lines ToLines(const std::vector<CString>& strings) {
    Lines result;
    for (const CString& str : strings)
        result.emplace_back(str.GetString(), str.GetLength());
    return result;
}

void WriteBytes(const fs::path& path, const std::string& bytes) {
    FILE* pFile = _wfopen(path.c_str(), L"wb");
    ASSERT_NE(pFile, nullptr) << path.string();
    fwrite(bytes.data(), 1, bytes.size(), pFile);
    fclose(pFile);
}

std::string ReadBytes(const fs::path& path) {
    std::string bytes;
    if (FILE* pFile = _wfopen(path.c_str(), L"rb")) {
        char chunk[4096];
        size_t n;
        while ((n = fread(chunk, 1, sizeof(chunk), pFile)) > 0)
            bytes.append(chunk, n);
        fclose(pFile);
    }
    return bytes;
}

class LineListFile : public ::testing::Test {
protected:
    void SetUp() override {
        m_dir = fs::temp_directory_path() /
                ("velmora-lines-" + std::to_string(::GetCurrentProcessId()));
        fs::create_directories(m_dir);
    }
    void TearDown() override {
        std::error_code ignored;
        fs::remove_all(m_dir, ignored);
    }

    // Saves `lines` over a file that held something else, checks the bytes, reads them back.
    void ExpectRoundTrip(const Lines& lines, const std::string& bytes) {
        const fs::path path = m_dir / L"list.txt";
        WriteBytes(path, "previous content that must go\r\n");
        EXPECT_TRUE(m_host.SaveConfigeFile(path.c_str(), ToCStrings(lines)));
        EXPECT_EQ(ReadBytes(path), bytes);
        std::vector<CString> read = ToCStrings({L"stale"});
        EXPECT_TRUE(m_host.OpenConfigeFile(path.c_str(), read, 256));
        EXPECT_EQ(ToLines(read), lines);
    }

    CVelmoraBase m_host{nullptr};
    fs::path m_dir;
};

TEST_F(LineListFile, SavesOneCrLfLinePerEntryAndReadsItBack) {
    const struct {
        Lines lines;
        std::string bytes;
    } cases[] = {
        {{L"a", L"", L"b"}, "a\r\n\r\nb\r\n"},
        {{}, ""},
        // Entries are text, never a format.
        {{L"50%s %d %%", L"x"}, "50%s %d %%\r\nx\r\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.bytes);
        ExpectRoundTrip(c.lines, c.bytes);
    }
    // The user's default locale stays in force for the whole process.
    EXPECT_STRNE(setlocale(LC_ALL, nullptr), "C");
}

TEST_F(LineListFile, ReadsLinesSplittingThoseLongerThanTheBuffer) {
    const struct {
        std::string bytes;
        int nMaxLen;
        Lines lines;
    } cases[] = {
        {"x\r\ny", 256, {L"x", L"y"}}, // last line without a line end
        {"x\r\n", 256, {L"x"}},        // a final line end adds no entry
        {"\r\n\r\n", 256, {L"", L""}}, // empty lines
        {"", 256, {}},                 // empty file
        {"abcdefg\r\n", 4, {L"abc", L"def", L"g"}},
        {"abc\r\nd\r\n", 4, {L"abc", L"", L"d"}}, // exactly nMaxLen - 1: its line end comes alone
        {"ab", 2, {L"a", L"b"}},                  // the smallest buffer
    };
    const fs::path path = m_dir / L"read.txt";
    for (const auto& c : cases) {
        SCOPED_TRACE(c.bytes + " / " + std::to_string(c.nMaxLen));
        WriteBytes(path, c.bytes);
        std::vector<CString> read = ToCStrings({L"stale"});
        EXPECT_TRUE(m_host.OpenConfigeFile(path.c_str(), read, c.nMaxLen));
        EXPECT_EQ(ToLines(read), c.lines);
    }
}

TEST_F(LineListFile, FailedOpenEmptiesTheList) {
    const fs::path present = m_dir / L"present.txt";
    WriteBytes(present, "a\r\nb\r\n");
    const struct {
        fs::path path;
        int nMaxLen;
    } cases[] = {
        {m_dir / L"missing.txt", 256},
        // fgetws cannot read into less than two characters: refused rather than looping.
        {present, 1},
        {present, 0},
        {present, -5},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path.string() + " / " + std::to_string(c.nMaxLen));
        std::vector<CString> read = ToCStrings({L"stale", L"entries"});
        EXPECT_FALSE(m_host.OpenConfigeFile(c.path.c_str(), read, c.nMaxLen));
        EXPECT_TRUE(read.empty());
    }
}

TEST_F(LineListFile, SaveReportsAPathItCannotOpen) {
    const fs::path noFolder = m_dir / L"no-such-folder" / L"list.txt";
    EXPECT_FALSE(m_host.SaveConfigeFile(noFolder.c_str(), ToCStrings({L"a"})));
    EXPECT_FALSE(fs::exists(noFolder));
}

TEST_F(LineListFile, CharacterMissingFromTheCodePageBecomesAQuestionMark) {
    // U+0E01 is in neither code page 1252 nor 936; the rest of its line is kept.
    const fs::path path = m_dir / L"lossy.txt";
    EXPECT_TRUE(m_host.SaveConfigeFile(path.c_str(), ToCStrings({L"a\u0E01b", L"c"})));
    EXPECT_EQ(ReadBytes(path), "a?b\r\nc\r\n");
}

// Runs in its own process under LC_ALL=zh_CN.UTF-8 (see test_files.cmake).
TEST_F(LineListFile, ChineseEntriesUseTheChineseCodePage) {
    if (::GetACP() != 936)
        GTEST_SKIP() << "needs ANSI code page 936 (LC_ALL=zh_CN.UTF-8); this process has "
                     << ::GetACP();
    ExpectRoundTrip({L"\u4E2D\u6587", L"a\u6D4B"}, "\xD6\xD0\xCE\xC4\r\na\xB2\xE2\r\n");
    // The buffer counts characters, not bytes.
    const fs::path path = m_dir / L"wide.txt";
    WriteBytes(path, "\xD6\xD0\xCE\xC4\xB2\xE2\r\n");
    std::vector<CString> read;
    EXPECT_TRUE(m_host.OpenConfigeFile(path.c_str(), read, 3));
    EXPECT_EQ(ToLines(read), (Lines{L"\u4E2D\u6587", L"\u6D4B"}));
}

} // namespace
