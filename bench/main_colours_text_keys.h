// mainColoursInImage:detail: counted the plain way, one text key per vote: the yardstick for the fast count.
#pragma once

#include "ColourVotes.h"

#include <CoreGraphics/CGBitmapContext.h>
#include <Foundation/Foundation.h>
#include <objc/message.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <unordered_map>
#include <vector>

namespace bench {

// Builds every key as "%i,%i,%i" text, counts the texts, orders them by count with ties in
// the order the texts first appeared, and thins them out; the result tweakutils::mainColourVotes
// must reproduce exactly.
inline std::vector<tweakutils::ColourVote> textKeyColourVotes(const std::vector<std::uint8_t>& bitmap,
                                                              tweakutils::ColourVoteLevel level) {
    const int grid = level.grid, range = level.range, width = 2 * range + 1;
    std::unordered_map<std::string, std::size_t> index;  // text → position in `counted`
    std::vector<std::pair<std::string, std::uint32_t>> counted;
    char text[48];
    for (int x = 0; x < grid; ++x) {
        for (int y = 0; y < grid; ++y) {
            const std::uint8_t* pixel = &bitmap[(std::size_t(y) * grid + x) * 4];
            std::vector<int> lists[3];
            for (int c = 0; c < 3; ++c)
                for (int k = -range; k <= range; ++k) lists[c].push_back(std::max(pixel[c] + k, 0));
            int r = 0, g = 0, b = 0;
            for (int step = 0; step < width * width * 3; ++step) {
                std::snprintf(text, sizeof text, "%i,%i,%i", lists[0][r], lists[1][g], lists[2][b]);
                auto [at, fresh] = index.try_emplace(text, counted.size());
                if (fresh) counted.emplace_back(text, 0);
                ++counted[at->second].second;
                if (++b == width) {
                    b = 0;
                    if (++g == width) {
                        g = 0;
                        if (++r == width) r = 0;
                    }
                }
            }
        }
    }
    std::stable_sort(counted.begin(), counted.end(), [](const auto& a, const auto& b) { return b.second < a.second; });

    std::vector<tweakutils::ColourVote> accepted;
    for (const auto& [key, count] : counted) {
        tweakutils::ColourVote vote{0, 0, 0, count};
        std::sscanf(key.c_str(), "%i,%i,%i", &vote.red, &vote.green, &vote.blue);
        bool near = std::any_of(accepted.begin(), accepted.end(), [&](const tweakutils::ColourVote& a) {
            return std::abs(a.red - vote.red) <= level.separation && std::abs(a.green - vote.green) <= level.separation &&
                   std::abs(a.blue - vote.blue) <= level.separation;
        });
        if (!near) accepted.push_back(vote);
    }
    return accepted;
}

// The whole method with the text-key count: the image drawn into the zero-filled sample
// bitmap, the votes counted as texts, and the dictionary of opaque colours to float shares.
inline id textKeyMainColoursInImage(id image, int detail) {
    const tweakutils::ColourVoteLevel level = tweakutils::colourVoteLevel(detail);
    std::vector<std::uint8_t> samples(std::size_t(level.grid) * level.grid * 4, 0);
    CGColorSpaceRef rgb = CGColorSpaceCreateDeviceRGB();
    CGContextRef context = CGBitmapContextCreate(samples.data(), level.grid, level.grid, 8, level.grid * 4, rgb,
                                                 kCGImageAlphaPremultipliedLast | kCGBitmapByteOrder32Big);
    CGContextDrawImage(context, CGRectMake(0, 0, level.grid, level.grid), msg<CGImageRef>(image, sel<"CGImage">()));
    CGContextRelease(context);
    CGColorSpaceRelease(rgb);

    auto votes = textKeyColourVotes(samples, level);
    float total = 0;
    for (const auto& vote : votes) total += float(vote.votes);
    id colours = msg<id>(objc_getClass("NSMutableDictionary"), sel<"dictionary">());
    for (const auto& vote : votes) {
        id colour = msg<id>(objc_getClass("UIColor"), sel<"colorWithRed:green:blue:alpha:">(), double(float(vote.red) / 255.0f),
                            double(float(vote.green) / 255.0f), double(float(vote.blue) / 255.0f), 1.0);
        msg<void>(colours, sel<"setObject:forKey:">(),
                  msg<id>(objc_getClass("NSNumber"), sel<"numberWithFloat:">(), float(vote.votes) / total), colour);
    }
    return colours;
}

}  // namespace bench
