#include "market/SeriesFields.h"

#include <gtest/gtest.h>

namespace glimmer {
namespace {

TEST(SeriesFields, SplitDropsEmptyPiecesAndCountsPastItsCapacity) {
    std::array<std::string_view, 3> pieces;
    EXPECT_EQ(SeriesFields::split(",,a,,b,", ',', pieces), 2u);
    EXPECT_EQ(pieces[0], "a");
    EXPECT_EQ(pieces[1], "b");
    EXPECT_EQ(SeriesFields::split("1,2,3,4,5", ',', pieces), 5u);
    EXPECT_EQ(pieces[2], "3");
    EXPECT_EQ(SeriesFields::split("", ',', pieces), 0u);
}

TEST(SeriesFields, CharacterPositionsCountCodePointsNotBytes) {
    EXPECT_EQ(SeriesFields::lastCharacters("2024-11-08 09:31", 5), "09:31");
    EXPECT_EQ(SeriesFields::lastCharacters("时间09:31", 6), "间09:31");
    EXPECT_EQ(SeriesFields::lastCharacters("9:31", 5), "9:31");
    EXPECT_EQ(SeriesFields::characters("２０２４１１０８１３０５", 8, 2), "１３");
    EXPECT_EQ(SeriesFields::characters("abc", 2, 5), "c");
    EXPECT_EQ(SeriesFields::characters("abc", 7, 2), "");
    // Broken UTF-8 never reads past the text.
    EXPECT_EQ(SeriesFields::lastCharacters("\x80\x80\xe6", 2), "\x80\xe6");
    EXPECT_EQ(SeriesFields::characters("\xe6\x97", 0, 1), "\xe6\x97");
}

TEST(SeriesFields, SessionMinutesAreInclusive) {
    EXPECT_FALSE(SeriesFields::isSessionMinute("09:29"));
    EXPECT_TRUE(SeriesFields::isSessionMinute("09:30"));
    EXPECT_TRUE(SeriesFields::isSessionMinute("15:00"));
    EXPECT_FALSE(SeriesFields::isSessionMinute("15:01"));
}

} // namespace
} // namespace glimmer
