// The fast colour vote against the text-key count it replaces, and the vote arithmetic on known bitmaps.
#include "ColourVotes.h"
#include "main_colours_text_keys.h"

#include <gtest/gtest.h>

#include <random>

namespace {

using tweakutils::ColourVote;
using tweakutils::colourVoteLevel;
using tweakutils::mainColourVotes;

// A grid × grid RGBA bitmap whose channels are drawn from `palette`, alpha 255.
std::vector<std::uint8_t> randomBitmap(int grid, std::mt19937& random, const std::vector<int>& palette) {
    std::uniform_int_distribution<std::size_t> pick(0, palette.size() - 1);
    std::vector<std::uint8_t> bitmap(std::size_t(grid) * grid * 4, 255);
    for (std::size_t i = 0; i < bitmap.size(); ++i)
        if (i % 4 != 3) bitmap[i] = std::uint8_t(palette[pick(random)]);
    return bitmap;
}

std::vector<int> everyByte() {
    std::vector<int> all(256);
    for (int i = 0; i < 256; ++i) all[i] = i;
    return all;
}

TEST(ColourVotes, MatchTextKeysOnRandomBitmapsAtTheCoarseAndMiddleLevels) {
    std::mt19937 random(20240607);
    // Few values near the ends make many ties and offsets folded onto 0; all bytes make spread.
    const std::vector<std::vector<int>> palettes = {everyByte(), {0, 1, 2, 3, 128, 254, 255}, {0, 60, 61, 200}};
    for (int detail : {0, 1}) {
        auto level = colourVoteLevel(detail);
        for (const auto& palette : palettes) {
            for (int round = 0; round < 40; ++round) {
                auto bitmap = randomBitmap(level.grid, random, palette);
                ASSERT_EQ(mainColourVotes(bitmap, level), bench::textKeyColourVotes(bitmap, level))
                    << "detail " << detail << ", round " << round;
            }
        }
    }
}

TEST(ColourVotes, MatchTextKeysWithTheFineLevelsOffsets) {
    // The fine level's offsets (only 3 of 21 red values per sample) and separation on a small
    // grid; the full 100 × 100 grid is compared in the image benchmark.
    std::mt19937 random(7);
    const tweakutils::ColourVoteLevel level{10, 10, 20};
    for (const auto& palette : {everyByte(), std::vector<int>{0, 5, 9, 10, 11, 40, 100, 101, 250, 255}}) {
        for (int round = 0; round < 3; ++round) {
            auto bitmap = randomBitmap(level.grid, random, palette);
            ASSERT_EQ(mainColourVotes(bitmap, level), bench::textKeyColourVotes(bitmap, level)) << "round " << round;
        }
    }
}

TEST(ColourVotes, DetailLevelsOtherThanZeroAndTwoAreTheMiddleOne) {
    for (int detail : {1, 3, -1, 7}) {
        auto level = colourVoteLevel(detail);
        EXPECT_EQ(level.grid, 10);
        EXPECT_EQ(level.range, 2);
        EXPECT_EQ(level.separation, 60);
    }
}

TEST(ColourVotes, BlackSamplesPutAllTheirVotesOnOneKey) {
    // Coarse level: 3 × 3 × 3 offsets, of which -1 and 0 fold onto 0: (2·2·2) = 8 votes each.
    std::vector<std::uint8_t> black(4 * 4 * 4, 0);
    EXPECT_EQ(mainColourVotes(black, colourVoteLevel(0)), (std::vector<ColourVote>{{0, 0, 0, 16 * 8}}));
    // Fine level: red's first three offsets all fold onto 0, green and blue 11 of 21 each.
    std::vector<std::uint8_t> fine(100 * 100 * 4, 0);
    auto votes = mainColourVotes(fine, colourVoteLevel(2));
    ASSERT_FALSE(votes.empty());
    EXPECT_EQ(votes.front(), (ColourVote{0, 0, 0, 10000 * 3 * 11 * 11}));
}

TEST(ColourVotes, TiesGoToTheFirstKeyProduced) {
    std::vector<std::uint8_t> white(4 * 4 * 4, 255);
    auto votes = mainColourVotes(white, colourVoteLevel(0));
    EXPECT_EQ(votes, (std::vector<ColourVote>{{254, 254, 254, 16}}));

    // Half black, half white: black's 8 votes per sample beat white's 1 per key.
    std::vector<std::uint8_t> halves(4 * 4 * 4, 0);
    for (std::size_t i = 0; i < halves.size() / 2; ++i) halves[i] = 255;
    EXPECT_EQ(mainColourVotes(halves, colourVoteLevel(0)),
              (std::vector<ColourVote>{{0, 0, 0, 64}, {254, 254, 254, 8}}));
}

TEST(ColourVotes, AcceptedKeysAreFartherApartThanTheSeparation) {
    std::mt19937 random(99);
    auto level = colourVoteLevel(1);
    auto votes = mainColourVotes(randomBitmap(level.grid, random, everyByte()), level);
    ASSERT_GT(votes.size(), 1u);
    for (std::size_t i = 0; i < votes.size(); ++i)
        for (std::size_t j = i + 1; j < votes.size(); ++j)
            EXPECT_TRUE(std::abs(votes[i].red - votes[j].red) > level.separation ||
                        std::abs(votes[i].green - votes[j].green) > level.separation ||
                        std::abs(votes[i].blue - votes[j].blue) > level.separation);
}

TEST(ColourVotes, ABitmapTooSmallForTheLevelGivesNoVotes) {
    std::vector<std::uint8_t> tooSmall(4 * 4 * 4 - 1, 0);
    EXPECT_TRUE(mainColourVotes(tooSmall, colourVoteLevel(0)).empty());
}

}  // namespace
