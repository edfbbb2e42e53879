#include "scene/Matrix4.h"

#include "scene/TrigTables.h"

void SetZero(Matrix4& matrix) {
    for (auto& row : matrix.m) {
        for (double& element : row) {
            element = 0.0;
        }
    }
}

void SetIdentity(Matrix4& matrix) {
    SetZero(matrix);
    for (int i = 0; i < 4; ++i) {
        matrix.m[i][i] = 1.0;
    }
}

void Multiply(const Matrix4& a, const Matrix4& b, Matrix4& product) {
    Matrix4 result;
    for (int r = 0; r < 4; ++r) {
        for (int c = 0; c < 4; ++c) {
            double sum = 0.0;
            for (int k = 0; k < 4; ++k) {
                sum += a.m[r][k] * b.m[k][c];
            }
            result.m[r][c] = sum;
        }
    }
    product = result;
}

void SetRotationX(Matrix4& matrix, int degrees) {
    SetIdentity(matrix);
    matrix.m[1][1] = cosTable[degrees];
    matrix.m[2][2] = cosTable[degrees];
    matrix.m[2][1] = sinTable[degrees];
    matrix.m[1][2] = -sinTable[degrees];
}

void SetRotationY(Matrix4& matrix, int degrees) {
    SetIdentity(matrix);
    matrix.m[0][0] = cosTable[degrees];
    matrix.m[2][2] = cosTable[degrees];
    matrix.m[0][2] = sinTable[degrees];
    matrix.m[2][0] = -sinTable[degrees];
}

void SetRotationZ(Matrix4& matrix, int degrees) {
    SetIdentity(matrix);
    matrix.m[0][0] = cosTable[degrees];
    matrix.m[1][1] = cosTable[degrees];
    matrix.m[1][0] = sinTable[degrees];
    matrix.m[0][1] = -sinTable[degrees];
}

void SetSpinRotation(Matrix4& matrix, int aboutX, int aboutY, int aboutZ) {
    Matrix4 rx;
    Matrix4 ry;
    Matrix4 rz;
    SetRotationX(rx, aboutX);
    SetRotationY(ry, aboutY);
    SetRotationZ(rz, aboutZ);
    SetIdentity(matrix);
    Multiply(matrix, rz, matrix);
    Multiply(matrix, ry, matrix);
    Multiply(matrix, rx, matrix);
}

Point4 Transform(const Point4& p, const Matrix4& matrix) {
    const auto& m = matrix.m;
    Point4 result;
    result.x = p.x * m[0][0] + p.y * m[1][0] + p.z * m[2][0] + m[3][0];
    result.y = p.x * m[0][1] + p.y * m[1][1] + p.z * m[2][1] + m[3][1];
    result.z = p.x * m[0][2] + p.y * m[1][2] + p.z * m[2][2] + m[3][2];
    result.w = 1.0;
    result.sprite = p.sprite;
    return result;
}
