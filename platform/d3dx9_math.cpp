#include <cmath>
#include "platform/d3dx9.h"

namespace {
void SetIdentity(D3DXMATRIX* out) {
    for (int row = 0; row < 4; ++row) {
        for (int col = 0; col < 4; ++col) out->m[row][col] = row == col ? 1.0f : 0.0f;
    }
}
}  // namespace

D3DXMATRIX* D3DXMatrixTranslation(D3DXMATRIX* out, float x, float y, float z) {
    SetIdentity(out);
    out->_41 = x;
    out->_42 = y;
    out->_43 = z;
    return out;
}

D3DXMATRIX* D3DXMatrixRotationZ(D3DXMATRIX* out, float angle) {
    const float c = std::cos(angle);
    const float s = std::sin(angle);
    SetIdentity(out);
    out->_11 = c;
    out->_12 = s;
    out->_21 = -s;
    out->_22 = c;
    return out;
}

D3DXMATRIX* D3DXMatrixMultiply(D3DXMATRIX* out, const D3DXMATRIX* m1, const D3DXMATRIX* m2) {
    // Worked into a copy: out may be m1 or m2.
    D3DXMATRIX product;
    for (int row = 0; row < 4; ++row) {
        for (int col = 0; col < 4; ++col) {
            float sum = m1->m[row][0] * m2->m[0][col];
            sum = sum + m1->m[row][1] * m2->m[1][col];
            sum = sum + m1->m[row][2] * m2->m[2][col];
            sum = sum + m1->m[row][3] * m2->m[3][col];
            product.m[row][col] = sum;
        }
    }
    *out = product;
    return out;
}

D3DXVECTOR3* D3DXVec3Normalize(D3DXVECTOR3* out, const D3DXVECTOR3* in) {
    const float x = in->x, y = in->y, z = in->z;
    const float length = std::sqrt(x * x + y * y + z * z);
    // A zero vector has no direction; it stays zero rather than NaN.
    if (length == 0.0f) {
        *out = D3DXVECTOR3(0.0f, 0.0f, 0.0f);
        return out;
    }
    *out = D3DXVECTOR3(x / length, y / length, z / length);
    return out;
}
