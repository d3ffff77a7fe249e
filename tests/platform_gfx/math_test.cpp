// The C runtime's random numbers and the D3DX matrix helpers, bit for bit.
#include <gtest/gtest.h>
#include <cmath>
#include "platform/crt.h"
#include "platform/d3dx9.h"

TEST(CrtRand, FollowsTheRuntimeGenerator) {
    crt::srand(1);
    const int expected[] = {41, 18467, 6334, 26500, 19169};
    for (int value : expected) EXPECT_EQ(crt::rand(), value);
    // Reseeding repeats the sequence; the seed wraps at 32 bits.
    crt::srand(1);
    EXPECT_EQ(crt::rand(), 41);
    crt::srand(0xFFFFFFFFu);
    const unsigned int next = 0xFFFFFFFFu * 214013u + 2531011u;
    EXPECT_EQ(crt::rand(), (int)((next >> 16) & 0x7FFF));
    for (int i = 0; i < 1000; ++i) {
        const int value = crt::rand();
        ASSERT_GE(value, 0);
        ASSERT_LE(value, crt::RandMax);
    }
}

TEST(D3dxMath, TurnedMatrixTakesTheMiddleToItsPlace) {
    const int w = 96, h = 64;
    const float angle = 30.0f * 0.0174532924f;
    D3DXMATRIX t1, r, t2, m;
    D3DXMatrixTranslation(&t1, (float)-(w / 2), (float)-(h / 2), 0.0f);
    D3DXMatrixRotationZ(&r, angle);
    D3DXMatrixTranslation(&t2, 200.5f, 100.0f, 0.0f);
    D3DXMatrixMultiply(&m, D3DXMatrixMultiply(&m, &t1, &r), &t2);
    // The middle (w/2, h/2) lands on (200.5, 100) up to rounding.
    const float x = (w / 2) * m._11 + (h / 2) * m._21 + m._41;
    const float y = (w / 2) * m._12 + (h / 2) * m._22 + m._42;
    EXPECT_NEAR(x, 200.5f, 1e-4f);
    EXPECT_NEAR(y, 100.0f, 1e-4f);
}

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
    for (int i = 0; i < 16; ++i) {
        EXPECT_EQ(left.m[i / 4][i % 4], expected.m[i / 4][i % 4]);
        EXPECT_EQ(right.m[i / 4][i % 4], expected.m[i / 4][i % 4]);
    }
}

// The unit vector itself is checked through the light's direction; a zero
// vector must not divide by zero.
TEST(D3dxMath, NormalizingZeroGivesZero) {
    const D3DXVECTOR3 zero(0.0f, 0.0f, 0.0f);
    D3DXVECTOR3 out(1.0f, 1.0f, 1.0f);
    D3DXVec3Normalize(&out, &zero);
    EXPECT_EQ(out.x, 0.0f);
    EXPECT_EQ(out.y, 0.0f);
    EXPECT_EQ(out.z, 0.0f);
}
