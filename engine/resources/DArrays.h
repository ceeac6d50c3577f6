#pragma once
// Container machinery of the resources: TDArray, a growable array of
// fixed-size raw elements whose size a descendant chooses, and the engine's
// shared vector arrays.

#include "math/DotMath.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace ra7 {

// Positions, normals, tangents, binormals; texture coordinates; triangle indices.
using KaGeomData3 = std::vector<Vector3>;
using KaGeomData2 = std::vector<Vector2>;
using KaCarArr = std::vector<std::uint32_t>;

class TDArray {
public:
    TDArray() = default;
    virtual ~TDArray() = default;

    std::int32_t Count() const { return count_; }
    std::int32_t ElementSize() const { return elementSize_; }

    // Resizes to n elements, keeping the first bytes; n = 0 releases all storage.
    void SetCount(std::int32_t n);
    // Copies ElementSize bytes from `source` into element `index`, growing the
    // array exactly to index + 1 elements first when needed.
    void SetItem(std::int32_t index, const void* source);

    // Address of element `index`; throws "Array index out of bounds." outside
    // the array.
    std::byte* ItemAddress(std::int32_t index);
    const std::byte* ItemAddress(std::int32_t index) const;

protected:
    explicit TDArray(std::int32_t elementSize) : elementSize_(elementSize) {}

private:
    std::size_t byteSize(std::int32_t elements) const;

    std::int32_t count_ = 0;
    std::int32_t elementSize_ = 1;
    std::vector<std::byte> data_;
};

} // namespace ra7
