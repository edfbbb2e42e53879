#pragma once

#include "scene/Point4.h"

// A 4 x 4 matrix stored row by row. Points are rows multiplied from the left, so the
// translation lives in row 3.
struct Matrix4 {
    double m[4][4];
};

void SetZero(Matrix4& matrix);
void SetIdentity(Matrix4& matrix);

// product = a x b. The product is formed in a temporary, so product may be a or b.
void Multiply(const Matrix4& a, const Matrix4& b, Matrix4& product);

// Rotations by a whole degree 0..359, read from the trigonometric tables.
void SetRotationX(Matrix4& matrix, int degrees);
void SetRotationY(Matrix4& matrix, int degrees);
void SetRotationZ(Matrix4& matrix, int degrees);

// The cube's turn for one frame: Rz x Ry x Rx for whole degrees about x, y and z, so that a
// row point turns about z first, then y, then x.
void SetSpinRotation(Matrix4& matrix, int aboutX, int aboutY, int aboutZ);

// The row (p.x, p.y, p.z, 1) times the matrix; w becomes 1 and sprite is kept.
Point4 Transform(const Point4& p, const Matrix4& matrix);
