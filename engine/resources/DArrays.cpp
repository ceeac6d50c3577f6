#include "resources/DArrays.h"

#include "runtime/Errors.h"

#include <cassert>
#include <cstring>
#include <limits>

namespace ra7 {

std::size_t TDArray::byteSize(std::int32_t elements) const
{
    if (elements < 0)
        throw Error("Array index out of bounds.");
    const auto n = static_cast<std::uint64_t>(elements);
    const auto size = static_cast<std::uint64_t>(elementSize_);
    if (size != 0 && n > std::numeric_limits<std::size_t>::max() / size)
        throw Error("Array size overflow.");
    return static_cast<std::size_t>(n * size);
}

void TDArray::SetCount(std::int32_t n)
{
    const std::size_t bytes = byteSize(n);
    if (n == 0) {
        std::vector<std::byte>().swap(data_);
    } else {
        data_.resize(bytes);
    }
    count_ = n;
}

void TDArray::SetItem(std::int32_t index, const void* source)
{
    assert(index >= 0 && "TDArray::SetItem takes indexes from 0");
    if (index >= count_) {
        if (index == std::numeric_limits<std::int32_t>::max())
            throw Error("Array size overflow.");
        SetCount(index + 1);
    }
    std::memcpy(ItemAddress(index), source, static_cast<std::size_t>(elementSize_));
}

std::byte* TDArray::ItemAddress(std::int32_t index)
{
    if (index < 0 || index >= count_)
        throw Error("Array index out of bounds.");
    return data_.data() + byteSize(index);
}

const std::byte* TDArray::ItemAddress(std::int32_t index) const
{
    return const_cast<TDArray*>(this)->ItemAddress(index);
}

} // namespace ra7
