#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <random>
#include <span>
#include <vector>

namespace zz {

// The p-quantile (0 <= p <= 1) of sorted values, interpolated linearly between the two order
// statistics around rank (n - 1) p; nothing for no values.
std::optional<double> SortedQuantile(std::span<const double> sorted, double p);

// A uniform random sample of at most a fixed number of items out of a stream of any length
// (reservoir sampling with a fixed seed, so that a run is repeatable). While the stream is no
// longer than the capacity, the sample is the whole stream.
template <typename T> class TReservoirSample
{
public:
    explicit TReservoirSample(size_t capacity, uint64_t seed = 1) : Capacity(capacity), Random(seed)
    {
    }

    void Add(const T& item)
    {
        ++Seen;
        if (Kept.size() < Capacity) {
            Kept.push_back(item);
            return;
        }
        std::uniform_int_distribution<uint64_t> pick(0, Seen - 1);
        const uint64_t slot = pick(Random);
        if (slot < Capacity) {
            Kept[static_cast<size_t>(slot)] = item;
        }
    }

    const std::vector<T>& Items() const { return Kept; }
    // Items offered so far.
    uint64_t Count() const { return Seen; }
    // The sample holds every item offered.
    bool Whole() const { return Seen <= Capacity; }

private:
    size_t Capacity;
    std::mt19937_64 Random;
    uint64_t Seen = 0;
    std::vector<T> Kept;
};

// Counts of values in steps of 0.01 from 0 up to 99.99, for dilutions of precision: quantiles
// are exact for values given to two decimals, and within 0.01 otherwise. Values of 100 and
// above count in the last step; negative ones are not counted.
class TCentiHistogram
{
public:
    static constexpr size_t kSteps = 10000;

    void Add(double value);
    uint64_t Count() const { return Total; }
    // The smallest step value that at least p of the values do not exceed (nearest rank);
    // nothing without values.
    std::optional<double> Quantile(double p) const;
    std::optional<double> Max() const;

private:
    std::vector<uint64_t> Counts = std::vector<uint64_t>(kSteps, 0);
    uint64_t Total = 0;
};

} // namespace zz
