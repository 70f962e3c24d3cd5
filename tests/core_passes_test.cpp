// The passes of core/ and the plug-ins' level rules, called directly.
//
// Each plug-in's level of every uint8, uint16 and int16 value, by the rule's
// own arithmetic, against the definition: Vesk reduces integers as im2uint8
// does, Vesk2 quantises the intensity im2double gives. All values, so that a
// rule written in integers is proved equal to the definition in doubles.
#include <math.h>

#include <vector>

#include <gtest/gtest.h>

#include "absolute_contrast.h"
#include "signed_contrast.h"

using namespace vesk;

TEST(LevelRules, VeskReducesIntegersAsIm2uint8Does)
{
    const TruncateLevel rule;
    for (int v = 0; v < 256; ++v)
        ASSERT_EQ(rule.ofUint8((uint8_t)v), v);
    for (int v = 0; v < 65536; ++v)
        ASSERT_EQ(rule.ofUint16((uint16_t)v), (int32_t)lround(v / 257.0)) << v;
}

TEST(LevelRules, Vesk2QuantisesTheIntensityIm2doubleGives)
{
    const QuantizeUnitLevel rule;
    for (int v = 0; v < 256; ++v)
        ASSERT_EQ(rule.ofUint8((uint8_t)v), quantizeUnitLevel(v / 255.0)) << v;
    for (int v = 0; v < 65536; ++v)
        ASSERT_EQ(rule.ofUint16((uint16_t)v), quantizeUnitLevel(v / 65535.0)) << v;
}

// Large maps are written with streaming stores from the first 16-byte
// boundary on; whatever the map's alignment, every element gets its value and
// nothing beside the map is written.
TEST(LookUp, LargeMapsFromEitherAlignment)
{
    const int32_t n = kStreamingMapElements + 7;
    std::vector<uint8_t> indices((size_t)n);
    for (int32_t k = 0; k < n; ++k)
        indices[(size_t)k] = (uint8_t)(k * 37 + k / 256);
    double perIndex[256];
    for (int i = 0; i < 256; ++i)
        perIndex[i] = i / 255.0 - 0.5;
    for (size_t offset : {0, 1}) {
        SCOPED_TRACE(offset);
        std::vector<double> buffer((size_t)n + 3, 7.0);
        double* map = buffer.data() + offset;  // 16-byte aligned, or not
        lookUpIndices(indices.data(), n, perIndex, map);
        for (int32_t k = 0; k < n; ++k)
            ASSERT_EQ(map[k], perIndex[indices[(size_t)k]]) << k;
        EXPECT_EQ(buffer[offset + (size_t)n], 7.0);
        if (offset == 1) {
            EXPECT_EQ(buffer[0], 7.0);
        }
    }
}
