// The colour vote behind mainColoursInImage:detail:: nearby colour keys of every sample, counted and thinned out.
#pragma once

#include <cstdint>
#include <functional>
#include <span>
#include <vector>

namespace tweakutils {

// What a detail level of mainColoursInImage:detail: asks for: a grid × grid sample bitmap, the
// offsets -range…range tried around each channel, and the separation between accepted colours.
struct ColourVoteLevel {
    int grid;
    int range;
    int separation;
};

// Detail 0 is the coarse 4 × 4 level, detail 2 the fine 100 × 100 level; every other value
// is the 10 × 10 level.
ColourVoteLevel colourVoteLevel(int detail);

// An accepted colour key (channel values 0…255 + range) and the votes it received.
struct ColourVote {
    int red;
    int green;
    int blue;
    std::uint32_t votes;

    bool operator==(const ColourVote&) const = default;
};

// Counts the colour keys of a grid × grid bitmap of premultiplied R,G,B,A bytes (rows from the
// top, 4 × grid bytes per row) and returns the accepted keys, most votes first.
//
// Every sample votes for the keys made from the offsets of its channels: the red value runs
// through the first three of its 2·range + 1 offsets, green and blue through all of them, values
// below zero count as zero. Keys are ordered by votes, largest first; keys with equal votes
// keep the order in which they were first produced (samples column by column, each column from
// the top row down; within a sample, red, then green, then blue, ascending). A key is accepted
// unless an accepted key lies within `separation` of it on all three channels.
// `progress`, when set, is told the fraction done (0 to 1) as the count goes on.
std::vector<ColourVote> mainColourVotes(std::span<const std::uint8_t> samples, ColourVoteLevel level,
                                        const std::function<void(double fraction)>& progress = {});

}  // namespace tweakutils
