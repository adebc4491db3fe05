#pragma once

// The growing buffer for TAPI structures with a variable part (LINEDEVCAPS, LINEADDRESSCAPS,
// LINEDEVSTATUS, LINEADDRESSSTATUS, LINECALLLIST, VARSTRING, ...). A request starts with the
// fixed size plus 4096 bytes, zero-filled, and doubles the extra part while the provider answers
// that the structure is too small. The extra part stops at 1 MiB: a provider that keeps asking for
// more gets LINEERR_NOMEM instead of exhausting memory.

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <new>
#include <utility>

#include "telephony/tapi/tapi.h"

class TapiBuffer {
public:
    static constexpr std::size_t InitialExtra = 4096;
    static constexpr std::size_t MaxExtra = std::size_t{1} << 20;

    TapiBuffer() = default;

    // Runs request(pointer to the buffer) until it fits; returns the TAPI result, LINEERR_NOMEM
    // when the buffer cannot be had. The request sees dwTotalSize already set.
    template <class Request> LONG Fill(std::size_t fixedSize, Request&& request) {
        std::size_t extra = InitialExtra;
        for (;;) {
            const std::size_t total = fixedSize + extra;
            if (!Allocate(total))
                return LINEERR_NOMEM;
            const LONG result = request(data_.get());
            if (result != LINEERR_STRUCTURETOOSMALL && NeededSize() <= TotalSize())
                return result;
            if (extra >= MaxExtra) {
                Release();
                return LINEERR_NOMEM;
            }
            extra *= 2;
        }
    }

    template <class T> T* As() { return reinterpret_cast<T*>(data_.get()); }
    template <class T> const T* As() const { return reinterpret_cast<const T*>(data_.get()); }

    const std::byte* Data() const { return data_.get(); }
    std::size_t Size() const { return size_; }
    bool Empty() const { return !data_; }

    // The bytes at offset, size long, or an empty view when they lie outside the buffer, so a
    // provider's bad offset cannot make a reader run past the end.
    std::pair<const char*, std::size_t> Bytes(uint32_t offset, uint32_t size) const;

    // dwTotalSize and dwNeededSize, the first two fields of every such structure.
    uint32_t TotalSize() const { return Field(0); }
    uint32_t NeededSize() const { return Field(4); }

    void Release() {
        data_.reset();
        size_ = 0;
    }

private:
    bool Allocate(std::size_t total);
    uint32_t Field(std::size_t offset) const;

    std::unique_ptr<std::byte[]> data_;
    std::size_t size_ = 0;
};
