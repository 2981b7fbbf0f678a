// The colour vote of mainColoursInImage:detail:, counted in a small table or per red value over dense green × blue planes.
//
// At the fine level every sample votes for 3 × 21 × 21 keys, 13,230,000 in all. The keys of one
// sample form a box (red × green × blue runs, with extra weight where offsets below zero fold
// onto 0), so there the votes are added plane by plane: for each red value, every sample that
// reaches it adds its green × blue rectangle to a dense plane, rows at a time. The coarse and
// middle levels produce a few thousand keys at most, which a hash table counts faster than any
// plane could be cleared. The thinning step then only has to order the keys that no accepted
// colour covers yet.
#include "ColourVotes.h"

#include <algorithm>
#include <bit>
#include <cstdlib>
#include <memory>

namespace tweakutils {

namespace {

// A channel's offsets as values: lo…hi once each, plus `extra` more votes on lo for the
// offsets that fell below zero and were counted as zero.
struct ChannelRun {
    int lo;
    int hi;
    int extra;
};

ChannelRun channelRun(int value, int range) {
    int lo = value - range;
    return lo >= 0 ? ChannelRun{lo, value + range, 0} : ChannelRun{0, value + range, -lo};
}

// Sort keys: ascending order is votes descending, then first producing sample, then red,
// green, blue ascending (the order in which one sample produces its keys).
constexpr int kChannelBits = 9;
constexpr int kSampleBits = 14;
constexpr int kVoteBits = 22;
constexpr std::uint64_t kMaxVotes = (std::uint64_t{1} << kVoteBits) - 1;
constexpr int kSampleShift = 3 * kChannelBits;
constexpr int kVoteShift = kSampleShift + kSampleBits;
static_assert(kVoteShift + kVoteBits <= 64);

std::uint64_t sortKey(std::uint32_t votes, int sample, int red, int green, int blue) {
    return ((kMaxVotes - votes) << kVoteShift) | (std::uint64_t(sample) << kSampleShift) |
           (std::uint64_t(red) << (2 * kChannelBits)) | (std::uint64_t(green) << kChannelBits) | std::uint64_t(blue);
}

std::uint32_t votesOf(std::uint64_t key) { return std::uint32_t(kMaxVotes - (key >> kVoteShift)); }

ColourVote voteOf(std::uint64_t key) {
    constexpr std::uint64_t channelMask = (1u << kChannelBits) - 1;
    return {int((key >> (2 * kChannelBits)) & channelMask), int((key >> kChannelBits) & channelMask),
            int(key & channelMask), votesOf(key)};
}

// The keys within `separation` of an accepted key. With few keys to test, the accepted keys
// are simply compared; otherwise one bit per key of the axis³ cube is set around each.
class Coverage {
public:
    Coverage(int axis, int separation, bool dense) : axis_(axis), separation_(separation), bits_(nullptr, &std::free) {
        if (dense) bits_.reset(static_cast<std::uint64_t*>(std::calloc((std::size_t(axis) * axis * axis + 63) / 64, 8)));
        dense_ = dense;
    }

    bool valid() const { return !dense_ || bits_ != nullptr; }

    bool covers(const ColourVote& key) const {
        if (!dense_) {
            return std::any_of(accepted_.begin(), accepted_.end(), [&](const ColourVote& a) {
                return std::abs(a.red - key.red) <= separation_ && std::abs(a.green - key.green) <= separation_ &&
                       std::abs(a.blue - key.blue) <= separation_;
            });
        }
        std::size_t bit = index(key.red, key.green, key.blue);
        return (bits_[bit / 64] >> (bit % 64)) & 1;
    }

    void cover(const ColourVote& key) {
        if (!dense_) {
            accepted_.push_back(key);
            return;
        }
        int b0 = std::max(key.blue - separation_, 0), b1 = std::min(key.blue + separation_, axis_ - 1);
        for (int r = std::max(key.red - separation_, 0); r <= std::min(key.red + separation_, axis_ - 1); ++r)
            for (int g = std::max(key.green - separation_, 0); g <= std::min(key.green + separation_, axis_ - 1); ++g)
                setRange(index(r, g, b0), index(r, g, b1));
    }

private:
    std::size_t index(int r, int g, int b) const { return (std::size_t(r) * axis_ + g) * axis_ + b; }

    void setRange(std::size_t first, std::size_t last) {
        std::size_t w0 = first / 64, w1 = last / 64;
        std::uint64_t head = ~std::uint64_t{0} << (first % 64);
        std::uint64_t tail = ~std::uint64_t{0} >> (63 - last % 64);
        if (w0 == w1) {
            bits_[w0] |= head & tail;
            return;
        }
        bits_[w0] |= head;
        for (std::size_t w = w0 + 1; w < w1; ++w) bits_[w] = ~std::uint64_t{0};
        bits_[w1] |= tail;
    }

    int axis_;
    int separation_;
    bool dense_ = false;
    std::unique_ptr<std::uint64_t[], decltype(&std::free)> bits_;
    std::vector<ColourVote> accepted_;
};

const std::uint8_t* samplePixel(std::span<const std::uint8_t> bitmap, int grid, int x, int y) {
    return &bitmap[(std::size_t(y) * grid + x) * 4];
}

// Every key produced, counted in an open-addressing table; the samples in production order.
std::vector<std::uint64_t> countInTable(std::span<const std::uint8_t> bitmap, int grid, int range) {
    const int width = 2 * range + 1;
    const std::size_t produced = std::size_t(grid) * grid * 3 * width * width;
    const std::size_t capacity = std::bit_ceil(std::max<std::size_t>(2 * produced, 64));
    const int shift = 32 - std::countr_zero(capacity);
    struct Entry {
        std::uint32_t packed;  // red, green, blue in 9 bits each
        std::uint32_t votes;
        int sample;
    };
    std::vector<std::uint32_t> slots(capacity, 0);  // entry index + 1; 0 is empty
    std::vector<Entry> entries;
    entries.reserve(produced);
    int values[3][2 * 255 + 1];
    for (int x = 0, s = 0; x < grid; ++x) {
        for (int y = 0; y < grid; ++y, ++s) {
            const std::uint8_t* pixel = samplePixel(bitmap, grid, x, y);
            for (int c = 0; c < 3; ++c)
                for (int k = 0; k < width; ++k) values[c][k] = std::max(pixel[c] - range + k, 0);
            for (int i = 0; i < 3; ++i) {
                for (int j = 0; j < width; ++j) {
                    for (int k = 0; k < width; ++k) {
                        std::uint32_t packed = (std::uint32_t(values[0][i]) << (2 * kChannelBits)) |
                                               (std::uint32_t(values[1][j]) << kChannelBits) | std::uint32_t(values[2][k]);
                        std::size_t slot = (packed * 0x9E3779B1u) >> shift;
                        while (slots[slot] != 0 && entries[slots[slot] - 1].packed != packed) slot = (slot + 1) & (capacity - 1);
                        if (slots[slot] == 0) {
                            entries.push_back({packed, 0, s});
                            slots[slot] = std::uint32_t(entries.size());
                        }
                        ++entries[slots[slot] - 1].votes;
                    }
                }
            }
        }
    }
    std::vector<std::uint64_t> keys;
    keys.reserve(entries.size());
    constexpr std::uint32_t channelMask = (1u << kChannelBits) - 1;
    for (const Entry& e : entries)
        keys.push_back(sortKey(e.votes, e.sample, int(e.packed >> (2 * kChannelBits)), int((e.packed >> kChannelBits) & channelMask),
                               int(e.packed & channelMask)));
    return keys;
}

// One sample's share of a red plane.
struct PlaneVote {
    std::uint16_t sample;
    std::uint16_t weight;
};

struct Sample {
    ChannelRun green;
    ChannelRun blue;
};

// Every key produced, counted plane by plane; `progress` is told of each plane done.
std::vector<std::uint64_t> countInPlanes(std::span<const std::uint8_t> bitmap, int grid, int range, int axis,
                                         const std::function<void(double fraction)>& progress) {
    // Samples in production order (column by column), and the red planes each one reaches
    // with its first three red offsets.
    std::vector<Sample> samples(std::size_t(grid) * grid);
    std::vector<std::vector<PlaneVote>> planes(axis);
    for (int x = 0, s = 0; x < grid; ++x) {
        for (int y = 0; y < grid; ++y, ++s) {
            const std::uint8_t* pixel = samplePixel(bitmap, grid, x, y);
            samples[s] = {channelRun(pixel[1], range), channelRun(pixel[2], range)};
            for (int i = 0; i < 3; ++i) {
                int red = std::max(pixel[0] - range + i, 0);
                auto& plane = planes[red];
                if (!plane.empty() && plane.back().sample == s) ++plane.back().weight;
                else plane.push_back({std::uint16_t(s), 1});
            }
        }
    }

    std::vector<std::uint64_t> keys;
    std::vector<std::uint32_t> votes(std::size_t(axis) * axis);
    std::vector<std::uint16_t> firstSample(votes.size());
    for (int red = 0; red < axis; ++red) {
        const auto& plane = planes[red];
        if (plane.empty()) continue;
        int g0 = axis, g1 = 0, b0 = axis, b1 = 0;
        for (const PlaneVote& v : plane) {
            const Sample& s = samples[v.sample];
            g0 = std::min(g0, s.green.lo), g1 = std::max(g1, s.green.hi);
            b0 = std::min(b0, s.blue.lo), b1 = std::max(b1, s.blue.hi);
        }
        const int width = b1 - b0 + 1;
        std::fill_n(votes.begin(), std::size_t(g1 - g0 + 1) * width, 0u);
        // Latest sample first, so that the sample left in each cell is the first that voted there.
        for (auto v = plane.rbegin(); v != plane.rend(); ++v) {
            const Sample& s = samples[v->sample];
            const std::uint16_t sample = v->sample;
            for (int g = s.green.lo; g <= s.green.hi; ++g) {
                std::uint32_t weight = v->weight * (g == s.green.lo ? 1u + s.green.extra : 1u);
                std::size_t start = std::size_t(g - g0) * width + (s.blue.lo - b0);
                std::uint32_t* cells = votes.data() + start;
                std::uint16_t* firsts = firstSample.data() + start;
                for (int i = 0, n = s.blue.hi - s.blue.lo; i <= n; ++i) {
                    cells[i] += weight;
                    firsts[i] = sample;
                }
                cells[0] += weight * s.blue.extra;
            }
        }
        for (int g = g0; g <= g1; ++g) {
            std::size_t row = std::size_t(g - g0) * width;
            for (int b = b0; b <= b1; ++b)
                if (std::uint32_t n = votes[row + b - b0]) keys.push_back(sortKey(n, firstSample[row + b - b0], red, g, b));
        }
        if (progress) progress(0.9 * (red + 1) / axis);
    }
    return keys;
}

// Walks the keys best first and accepts those not yet covered. The keys are first spread over
// buckets by their votes, most votes first (a counting sort, exact up to kExactVotes votes, with
// every larger count in the first bucket). Each bucket then drops the keys the accepted colours
// already cover and sorts only the rest: most keys lie near an early colour, so few are ever
// sorted. Within a bucket the keys keep their order (by red, then green, then blue), so that
// the coverage bits are read front to back.
constexpr std::uint32_t kExactVotes = 1u << 16;

std::vector<ColourVote> thinOut(const std::vector<std::uint64_t>& keys, Coverage& coverage) {
    std::uint32_t mostVotes = 0;
    for (std::uint64_t key : keys) mostVotes = std::max(mostVotes, votesOf(key));
    const std::uint32_t top = std::min(mostVotes, kExactVotes);
    auto bucket = [top](std::uint64_t key) { return top - std::min(votesOf(key), top); };

    std::vector<std::size_t> starts(std::size_t(top) + 2, 0);
    for (std::uint64_t key : keys) ++starts[bucket(key) + 1];
    for (std::size_t b = 1; b < starts.size(); ++b) starts[b] += starts[b - 1];
    std::vector<std::uint64_t> ordered(keys.size());
    {
        std::vector<std::size_t> next(starts.begin(), starts.end() - 1);
        for (std::uint64_t key : keys) ordered[next[bucket(key)]++] = key;
    }

    std::vector<ColourVote> accepted;
    for (std::size_t b = 0; b + 1 < starts.size(); ++b) {
        auto first = ordered.begin() + std::ptrdiff_t(starts[b]), last = ordered.begin() + std::ptrdiff_t(starts[b + 1]);
        if (!accepted.empty())
            last = std::remove_if(first, last, [&](std::uint64_t key) { return coverage.covers(voteOf(key)); });
        std::sort(first, last);
        for (auto key = first; key != last; ++key) {
            ColourVote vote = voteOf(*key);
            if (coverage.covers(vote)) continue;
            accepted.push_back(vote);
            coverage.cover(vote);
        }
    }
    return accepted;
}

}  // namespace

ColourVoteLevel colourVoteLevel(int detail) {
    if (detail == 0) return {4, 1, 100};
    if (detail == 2) return {100, 10, 20};
    return {10, 2, 60};
}

std::vector<ColourVote> mainColourVotes(std::span<const std::uint8_t> bitmap, ColourVoteLevel level,
                                        const std::function<void(double fraction)>& progress) {
    const int grid = level.grid, range = level.range;
    const int sampleCount = grid * grid;
    // The sort keys have room for 2^14 samples, channel values below 512 and the most votes
    // one key can get (three red offsets folded onto 0, times range + 1 green and blue ones).
    const std::uint64_t mostVotes = 3 * std::uint64_t(range + 1) * (range + 1) * std::uint64_t(sampleCount);
    if (grid <= 0 || range < 1 || range > 255 || sampleCount > (1 << kSampleBits) || mostVotes > kMaxVotes ||
        bitmap.size() < std::size_t(sampleCount) * 4)
        return {};
    const int axis = 256 + range;  // channel values run from 0 to 255 + range

    const std::uint64_t produced = std::uint64_t(sampleCount) * 3 * (2 * range + 1) * (2 * range + 1);
    const bool fewKeys = produced <= 100'000;
    std::vector<std::uint64_t> keys = fewKeys ? countInTable(bitmap, grid, range) : countInPlanes(bitmap, grid, range, axis, progress);
    Coverage coverage(axis, level.separation, !fewKeys);
    if (!coverage.valid()) return {};
    std::vector<ColourVote> accepted = thinOut(keys, coverage);
    if (progress) progress(1.0);
    return accepted;
}

}  // namespace tweakutils
