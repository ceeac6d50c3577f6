#pragma once
/* libmeshmender.so: computes tangent space for a triangle mesh, splitting
 * vertices where neighbouring faces disagree too much.
 *
 * A vertex is a record of 14 singles: 0-2 position, 3-4 texture coordinate
 * (u, v), 5-7 normal, 8-10 tangent, 11-13 binormal. Indices are 32-bit, three
 * per triangle. Blocks and counts travel as pointer-sized handles.
 *
 * Mend reads the caller's blocks (it never frees or changes them) and, on
 * success, returns non-zero after replacing *vertexBlock and *indexBlock with
 * blocks of its own and *vertexCount and *indexCount with the new counts;
 * each returned block must be given back with DisposeMem. On failure it
 * returns 0 and changes nothing.
 *
 * The crease cosines: faces meeting at a vertex are smoothed together when
 * the cosine between their normals (tangents, binormals) is at least the
 * given value; otherwise the vertex is split. weightNormalsByArea blends face
 * weights from 1 (0) to the face's area (1). The flags are non-zero for true:
 * calculateNormals recomputes the normals from the faces; respectSplits keeps
 * vertices that are separate in the input apart even where they share a
 * position (texture seams); fixCylindrical repairs texture coordinates that
 * wrap around a cylinder (a triangle spanning more than half the texture in u).
 */

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

#define MESHMENDER_API __attribute__((visibility("default")))

enum { kMendRecordSingles = 14 };

MESHMENDER_API int Mend(uintptr_t* vertexBlock, uintptr_t* vertexCount, uintptr_t* indexBlock,
                        uintptr_t* indexCount, float minNormalCreaseCos, float minTangentCreaseCos,
                        float minBinormalCreaseCos, float weightNormalsByArea, int calculateNormals,
                        int respectSplits, int fixCylindrical);

MESHMENDER_API void DisposeMem(uintptr_t block);

/* Plain C declarations, so that C callers can use this header too. */
/* NOLINTNEXTLINE(modernize-use-using) */
typedef int (*MendFunction)(uintptr_t*, uintptr_t*, uintptr_t*, uintptr_t*, float, float, float, float, int,
                            int, int);
/* NOLINTNEXTLINE(modernize-use-using) */
typedef void (*DisposeMemFunction)(uintptr_t);

#ifdef __cplusplus
}
#endif
