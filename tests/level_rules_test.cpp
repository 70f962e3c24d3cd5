// Each plug-in's level of every uint8, uint16 and int16 value, by the rule's
// own arithmetic, against the definition: Vesk reduces integers as im2uint8
// does, Vesk2 quantises the intensity im2double gives. All values, so that a
// rule written in integers is proved equal to the definition in doubles.
#include <math.h>

#include <gtest/gtest.h>

#include "absolute_contrast.h"
#include "signed_contrast.h"

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
