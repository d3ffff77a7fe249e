// The C runtime's random numbers and the D3DX matrix helpers, bit for bit.
#include <gtest/gtest.h>
#include <cstring>
#include "platform/crt.h"
#include "platform/d3dx9.h"

TEST(CrtRand, FollowsTheRuntimeGenerator) {
    for (int pass = 0; pass < 2; ++pass) {
        crt::srand(1);  // reseeding repeats the sequence
        for (int value : {41, 18467, 6334, 26500, 19169}) EXPECT_EQ(crt::rand(), value);
    }
    for (int i = 0; i < 1000; ++i) {
        const int value = crt::rand();
        ASSERT_TRUE(value >= 0 && value <= crt::RandMax) << value;
    }
}

// Where a turned matrix lands is the sprite tests' business.
TEST(D3dxMath, MultiplyMayWriteOverEitherInput) {
    D3DXMATRIX a, b, expected;
    for (int i = 0; i < 16; ++i) {
        a.m[i / 4][i % 4] = (float)(i + 1) * 0.5f;
        b.m[i / 4][i % 4] = (float)(16 - i) * 0.25f;
    }
    D3DXMatrixMultiply(&expected, &a, &b);
    D3DXMATRIX left = a, right = b;
    D3DXMatrixMultiply(&left, &left, &b);
    D3DXMatrixMultiply(&right, &a, &right);
    EXPECT_EQ(memcmp(&left, &expected, sizeof expected), 0);
    EXPECT_EQ(memcmp(&right, &expected, sizeof expected), 0);
}

// The unit vector itself is checked through the light's direction; a zero
// vector must not divide by zero.
TEST(D3dxMath, NormalizingZeroGivesZero) {
    const D3DXVECTOR3 zero(0.0f, 0.0f, 0.0f);
    D3DXVECTOR3 out(1.0f, 1.0f, 1.0f);
    D3DXVec3Normalize(&out, &zero);
    EXPECT_TRUE(out.x == 0.0f && out.y == 0.0f && out.z == 0.0f);
}
