#pragma once
// Exact-sign triangle-triangle tests (Guigue and Devillers, 2003): do two closed triangles share
// a point, and where do two triangles in space meet.
//
// A point is a pointer to plain doubles: (x, y, z) in the spatial tests, (x, y) in the plane
// tests. The first triangle is p1, q1, r1 and the second p2, q2, r2, either winding; the points
// are only read, so one array may stand for several of them. Every decision is the sign of an
// orientation determinant compared with 0.0 exactly: for coordinates whose products are exact in
// doubles (small integers, say) every answer is exact.
//
// Degenerate triangles (collinear or coincident vertices, found by a zero orientation or a zero
// normal) are answered as the segment or point they are, so that a flat triangle never reports
// contact with something it misses.

// 1 when the two closed triangles in space share at least one point, otherwise 0.
int tri_tri_overlap_test_3d(const double* p1, const double* q1, const double* r1, const double* p2,
                            const double* q2, const double* r2);

// The same for two triangles known to lie in one plane, of which normal_1 is a normal (of any
// non-zero length); normal_2 is accepted and never read.
int coplanar_tri_tri3d(const double* p1, const double* q1, const double* r1, const double* p2,
                       const double* q2, const double* r2, const double* normal_1, const double* normal_2);

// 1 when the two closed triangles in the plane share at least one point, otherwise 0.
int tri_tri_overlap_test_2d(const double* p1, const double* q1, const double* r1, const double* p2,
                            const double* q2, const double* r2);

// The core of the plane test for two counter-clockwise triangles. It takes a point collinear with a
// flat second triangle for a point inside it, so tri_tri_overlap_test_2d hands it proper
// triangles only.
int ccw_tri_tri_intersection_2d(const double* p1, const double* q1, const double* r1, const double* p2,
                                const double* q2, const double* r2);

// 1 when the two closed triangles in space meet, otherwise 0. When they meet without lying in one
// plane, source and target get the ends of the segment that they share (equal for a single point).
// On the coplanar branches 1 is written into *coplanar and the result is that of the coplanar
// test; the flag is never cleared, and source and target are left as they were.
int tri_tri_intersection_test_3d(const double* p1, const double* q1, const double* r1, const double* p2,
                                 const double* q2, const double* r2, int* coplanar, double* source,
                                 double* target);
