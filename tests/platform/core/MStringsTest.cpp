#include <gtest/gtest.h>

#include "platform/core/MStrings.h"

TEST(MStrings, CopyAndAppendStayInsideTheBufferAndTerminate) {
    char buffer[6];
    EXPECT_EQ(MStrings::Copy(buffer, sizeof buffer, "abcdefgh"), 5u);
    EXPECT_STREQ(buffer, "abcde");
    EXPECT_EQ(MStrings::Copy(buffer, sizeof buffer, nullptr), 0u);
    EXPECT_STREQ(buffer, "");
    MStrings::Copy(buffer, sizeof buffer, "ab");
    EXPECT_EQ(MStrings::Append(buffer, sizeof buffer, "cdefg"), 5u);
    EXPECT_STREQ(buffer, "abcde");
    EXPECT_EQ(MStrings::Append(buffer, sizeof buffer, "x"), 5u);
    char untouched = 'q';
    EXPECT_EQ(MStrings::Copy(&untouched, 0, "abc"), 0u);
    EXPECT_EQ(untouched, 'q');
}

TEST(MStrings, CompareIsBytewiseUnsigned) {
    EXPECT_EQ(MStrings::Compare("ABC", "ABC"), 0);
    EXPECT_LT(MStrings::Compare("ABC", "abc"), 0);
    EXPECT_GT(MStrings::Compare("\xE9", "z"), 0);
    EXPECT_LT(MStrings::Compare("AB", "ABC"), 0);
    EXPECT_EQ(MStrings::Compare(nullptr, ""), 0);
    EXPECT_EQ(MStrings::Length("abcdef", 3), 3u);
}
