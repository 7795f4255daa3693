#include "install/overwrite_rules.h"

#include <gtest/gtest.h>

#include <string>

using namespace kelvara;

namespace {

constexpr std::uint64_t kEarlier = 0x01D0000000000000ull;
constexpr std::uint64_t kLater = 0x01D0000000000001ull;  // one tick later
constexpr VersionPair kV1{0x00010002, 0x00030004};
constexpr VersionPair kV1Patch{0x00010002, 0x00030005};  // only the low dword is larger

enum Compare { Older, Equal, Newer };  // the package's value against the installed one

struct Situation {
    Compare date;
    Compare version;
    bool installedHasVersion;
};

OverwriteFacts facts(int mode, int rule, Situation s) {
    OverwriteFacts f;
    f.mode = mode;
    f.rule = rule;
    f.installedWriteTime = kEarlier;
    f.packageWriteTime = s.date == Older ? kEarlier - 1 : (s.date == Equal ? kEarlier : kLater);
    f.installedHasVersion = s.installedHasVersion;
    f.installedVersion = s.installedHasVersion ? kV1 : VersionPair{};
    VersionPair older{0x00010001, 0xFFFFFFFF};  // lower high dword wins over any low dword
    f.packageVersion = s.version == Older ? older : (s.version == Equal ? kV1 : kV1Patch);
    return f;
}

}  // namespace

// Each row: the decision for the 9 situations (package date older, equal, newer; within each,
// package version older, equal, newer), first against an installed file with a version, then
// against one without. 'Y' replaces, '.' keeps the installed file.
TEST(OverwriteRules, EveryModeAndRuleAgainstDatesAndVersions) {
    struct Row {
        int mode;
        int rule;
        const char* withVersion;
        const char* withoutVersion;
    } rows[] = {
        {kOverwriteAlways, kDecideByDate, "YYYYYYYYY", "YYYYYYYYY"},
        {kOverwriteAlways, kDecideByVersionAndDate, "YYYYYYYYY", "YYYYYYYYY"},
        {kOverwriteNewer, kDecideByDate, "......YYY", "......YYY"},
        {kOverwriteNewer, kDecideByVersion, "..Y..Y..Y", "YYYYYYYYY"},
        {kOverwriteNewer, kDecideByVersionAndDate, "........Y", "......YYY"},
        {kOverwriteNewer, 3, "YYYYYYYYY", "YYYYYYYYY"},
        {kOverwriteNewerOrSame, kDecideByDate, "...YYYYYY", "...YYYYYY"},
        {kOverwriteNewerOrSame, kDecideByVersion, ".YY.YY.YY", "YYYYYYYYY"},
        {kOverwriteNewerOrSame, kDecideByVersionAndDate, "....YY.YY", "...YYYYYY"},
        {kOverwriteOlder, kDecideByDate, "YYY......", "YYY......"},
        {kOverwriteOlder, kDecideByVersion, "Y..Y..Y..", "YYYYYYYYY"},
        {kOverwriteOlder, kDecideByVersionAndDate, "Y........", "YYY......"},
        {kOverwriteOlder, -1, "YYYYYYYYY", "YYYYYYYYY"},
        {kOverwriteNever, kDecideByDate, ".........", "........."},
        {kOverwriteNever, kDecideByVersion, ".........", "........."},
        {kOverwriteNever, 3, ".........", "........."},
    };
    const Compare order[] = {Older, Equal, Newer};
    for (const Row& row : rows) {
        for (bool hasVersion : {true, false}) {
            std::string got;
            for (Compare date : order) {
                for (Compare version : order) {
                    bool replace =
                        mayReplaceExisting(facts(row.mode, row.rule, {date, version, hasVersion}));
                    got += replace ? 'Y' : '.';
                }
            }
            EXPECT_EQ(got, hasVersion ? row.withVersion : row.withoutVersion)
                << "mode " << row.mode << " rule " << row.rule
                << (hasVersion ? ", installed file with a version" : ", without a version");
        }
    }
}

TEST(OverwriteRules, NamedCasesFromTheTables) {
    // Newer by date only: a newer file replaces, an equal one does not.
    EXPECT_TRUE(mayReplaceExisting(facts(kOverwriteNewer, kDecideByDate, {Newer, Older, true})));
    EXPECT_FALSE(mayReplaceExisting(facts(kOverwriteNewer, kDecideByDate, {Equal, Newer, true})));
    // Newer or same accepts equal times.
    EXPECT_TRUE(
        mayReplaceExisting(facts(kOverwriteNewerOrSame, kDecideByDate, {Equal, Older, true})));
    // By version, an installed file without a version is always replaced, even by an older one.
    EXPECT_TRUE(
        mayReplaceExisting(facts(kOverwriteNewer, kDecideByVersion, {Older, Older, false})));
    // Version and date: an installed file without a version falls back to the date alone.
    EXPECT_FALSE(
        mayReplaceExisting(facts(kOverwriteNewer, kDecideByVersionAndDate, {Older, Newer, false})));
    EXPECT_FALSE(
        mayReplaceExisting(facts(kOverwriteNewer, kDecideByVersionAndDate, {Older, Newer, true})));
    EXPECT_TRUE(
        mayReplaceExisting(facts(kOverwriteNewer, kDecideByVersionAndDate, {Newer, Newer, true})));
    // Older: only an older package replaces.
    EXPECT_TRUE(mayReplaceExisting(facts(kOverwriteOlder, kDecideByVersion, {Newer, Older, true})));
    EXPECT_FALSE(
        mayReplaceExisting(facts(kOverwriteOlder, kDecideByVersion, {Older, Equal, true})));
    // Unknown rule: always; unknown mode: nothing is tested.
    EXPECT_TRUE(mayReplaceExisting(facts(kOverwriteNewer, 7, {Older, Older, true})));
    EXPECT_TRUE(mayReplaceExisting(facts(9, kDecideByDate, {Older, Older, true})));
    EXPECT_TRUE(mayReplaceExisting(facts(-1, kDecideByDate, {Older, Older, true})));
}

TEST(OverwriteRules, TimesAndVersionsCompareAsUnsigned) {
    OverwriteFacts f;
    f.mode = kOverwriteNewer;
    f.rule = kDecideByDate;
    f.installedWriteTime = 0x7FFFFFFFFFFFFFFFull;
    f.packageWriteTime = 0x8000000000000000ull;
    EXPECT_TRUE(mayReplaceExisting(f)) << "a time with the top bit set is later";
    f.rule = kDecideByVersion;
    f.installedHasVersion = true;
    f.installedVersion = {0x7FFFFFFF, 0};
    f.packageVersion = {0x80000000, 0};
    EXPECT_TRUE(mayReplaceExisting(f)) << "a version with the top bit set is larger";
    f.packageVersion = {0x7FFFFFFF, 0xFFFFFFFF};
    f.installedVersion = {0x80000000, 0};
    EXPECT_FALSE(mayReplaceExisting(f)) << "the high dword decides first";
}
