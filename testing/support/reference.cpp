#include "reference.h"

#include <math.h>

#include <algorithm>
#include <map>

namespace test_support::reference {

int32_t levelOf(double value)
{
    int32_t truncated = INT32_MIN;
    if (!isnan(value)) {
        const double t = trunc(value);
        if (t >= -2147483648.0 && t <= 2147483647.0)
            truncated = (int32_t)t;
    }
    if (truncated <= 0)
        return 0;
    return truncated > 255 ? 255 : truncated;
}

int32_t unitLevelOf(double intensity)
{
    return levelOf(intensity * 255.0);
}

namespace {

// contrast[level] for every level that occurs: the sum over all elements.
std::map<int32_t, double> contrastByLevel(const std::vector<int32_t>& levels)
{
    std::map<int32_t, double> contrast;
    for (int32_t level : levels) {
        if (contrast.count(level) != 0)
            continue;
        double sum = 0.0;
        for (int32_t other : levels)
            sum += std::abs(level - other);
        contrast[level] = sum;
    }
    return contrast;
}

std::vector<int32_t> levelsOf(const std::vector<double>& input, int32_t (*mapLevel)(double))
{
    std::vector<int32_t> levels;
    for (double value : input)
        levels.push_back(mapLevel(value));
    return levels;
}

double normaliserOf(const std::map<int32_t, double>& contrast)
{
    double maximum = 0.0;
    for (const auto& entry : contrast)
        maximum = std::max(maximum, entry.second);
    return maximum == 0.0 ? 0.001 : maximum;
}

}  // namespace

AbsoluteContrast absoluteContrast(const std::vector<double>& input)
{
    const std::vector<int32_t> levels = levelsOf(input, levelOf);
    const std::map<int32_t, double> contrast = contrastByLevel(levels);
    const double normaliser = normaliserOf(contrast);

    AbsoluteContrast result;
    result.distribution.assign(101, 0.0);
    for (int32_t level : levels) {
        result.map.push_back(contrast.at(level) / normaliser);
        const int bucket = (int)((double)(int64_t)contrast.at(level) / normaliser * 100.0);
        if (bucket < 100)
            result.distribution[(size_t)bucket] += 1.0;
    }
    if (!contrast.empty()) {
        int32_t least = contrast.begin()->first;  // the map is ordered: the lowest level wins ties
        for (const auto& entry : contrast)
            if (entry.second < contrast.at(least))
                least = entry.first;
        result.distribution[100] = least / 255.0;
    }
    return result;
}

SignedContrast signedContrast(const std::vector<double>& input)
{
    const std::vector<int32_t> levels = levelsOf(input, unitLevelOf);
    const std::map<int32_t, double> contrast = contrastByLevel(levels);
    const double normaliser = normaliserOf(contrast);

    SignedContrast result;
    int32_t least = 0;
    if (!contrast.empty()) {
        least = contrast.begin()->first;  // the map is ordered: the lowest level wins ties
        for (const auto& entry : contrast)
            if (entry.second < contrast.at(least))
                least = entry.first;
        result.leastContrastLevel = least / 255.0;
    }
    for (int32_t level : levels) {
        const double magnitude = contrast.at(level) / normaliser;
        result.map.push_back(level > least ? magnitude : -magnitude);
    }
    return result;
}

}  // namespace test_support::reference
