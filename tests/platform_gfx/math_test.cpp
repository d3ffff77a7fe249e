// The C runtime's random numbers and the D3DX helpers the sprites do not
// already pin down.
#include <gtest/gtest.h>
#include "platform/crt.h"
#include "platform/d3dx9.h"

TEST(CrtRand, FollowsTheRuntimeGeneratorAndReseedingRepeatsIt) {
    for (int pass = 0; pass < 2; ++pass) {
        crt::srand(1);
        for (int value : {41, 18467, 6334, 26500, 19169}) EXPECT_EQ(crt::rand(), value);
    }
    for (int i = 0; i < 1000; ++i) {
        const int value = crt::rand();
        ASSERT_TRUE(value >= 0 && value <= crt::RandMax) << value;
    }
}

// The light's direction pins the unit vector; zero must not divide by zero.
TEST(D3dxMath, NormalizingZeroGivesZero) {
    const D3DXVECTOR3 zero(0.0f, 0.0f, 0.0f);
    D3DXVECTOR3 out(1.0f, 1.0f, 1.0f);
    D3DXVec3Normalize(&out, &zero);
    EXPECT_TRUE(out.x == 0.0f && out.y == 0.0f && out.z == 0.0f);
}
