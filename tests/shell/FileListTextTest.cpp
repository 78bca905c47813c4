// Column texts and the name filter of the file list view.
#include "shell/FileListText.h"

#include "namespace/ShellFolder.h"


#include <gtest/gtest.h>

using namespace filelisttext;

namespace {

struct FilterCase
{
    const char *filter;
    const char *name;
    bool passes;
};

class FilterMatch : public ::testing::TestWithParam<FilterCase>
{
};

TEST_P(FilterMatch, Name)
{
    const FilterCase &c = GetParam();
    EXPECT_EQ(matchesFilter(FileMask(c.filter), c.name), c.passes) << c.filter << " vs " << c.name;
}

INSTANTIATE_TEST_SUITE_P(Cases, FilterMatch, ::testing::Values(
    // A star takes as much as it must, not the first occurrence of what follows.
    FilterCase{"*.mp3", "a.b.mp3", true},
    FilterCase{"*.mp3", "Song.MP3", true},
    FilterCase{"*a", "xA", true},
    FilterCase{"*a", "xab", false},
    FilterCase{"*?.txt", "a.txt", true},
    FilterCase{"*?.txt", ".txt", false},
    FilterCase{"a*b*c", "aXbYbZc", true},
    FilterCase{"a*b*c", "aXbYbZ", false},
    FilterCase{"a*", "A.txt", true},
    FilterCase{"?", "x", true},
    FilterCase{"?", "xy", false},
    FilterCase{"abc.txt", "ab", false},
    // Blanks around each piece do not count.
    FilterCase{"*.mp3; *.WAV", "take.wav", true},
    FilterCase{"*.mp3; *.WAV", "take.mp3", true},
    FilterCase{"*.mp3; *.WAV", "take.ogg", false},
    FilterCase{" *.mp3 ", "x.mp3", true},
    // An empty piece adds nothing; a filter of separators alone passes nothing.
    FilterCase{"*.mp3;", "x.mp3", true},
    FilterCase{"*.mp3;", "x.wav", false},
    FilterCase{";", "x.wav", false},
    // No filter at all, or blanks only, passes everything.
    FilterCase{"", "anything", true},
    FilterCase{"  ", "anything", true}));

TEST(FileListText, SizesRoundUpSoOnlyAnEmptyFileShowsZero)
{
    const struct {
        std::uint64_t size;
        bool folder;
        const char *text;
    } cases[] = {
        {0, false, "0KB"},   {1, false, "1KB"},       {1000, false, "1KB"},  {1023, false, "1KB"},
        {1024, false, "1KB"}, {1025, false, "2KB"},   {2048, false, "2KB"},
        {5'000'000'000ULL, false, "4882813KB"},       {0, true, ""},         {4096, true, "4KB"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(sizeString(c.size, c.folder), QString::fromUtf8(c.text)) << c.size;
}

TEST(FileListText, AttributeLettersAndStatus)
{
    using namespace shellns::fileattr;
    EXPECT_EQ(attributeString(kReadOnly | kArchive), "RA");
    EXPECT_EQ(attributeString(kReadOnly | kHidden | kSystem | kArchive | kDirectory), "RHSA");
    EXPECT_EQ(attributeString(kNormal | kDirectory), "");
    EXPECT_EQ(statusString(kOffline | kReadOnly), QStringLiteral("オフライン"));
    EXPECT_EQ(statusString(kNormal), QStringLiteral("オンライン"));
}

TEST(FileListText, DatesInLocalTimeWithTheHourPaddedByABlank)
{
    const QDateTime morning(QDate(2024, 3, 5), QTime(9, 7, 59), Qt::LocalTime);
    EXPECT_EQ(dateString(morning), "2024/03/05  9:07");
    EXPECT_EQ(dateString(morning.toUTC()), "2024/03/05  9:07");
    EXPECT_EQ(dateString(QDateTime(QDate(1999, 12, 31), QTime(23, 59), Qt::LocalTime)), "1999/12/31 23:59");
    EXPECT_EQ(dateString(QDateTime()), "");
}

} // namespace
