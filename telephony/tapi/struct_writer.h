#pragma once

// Fills a caller's variable-size structure: the fixed part is staged in a local copy, variable
// data goes straight into the caller's buffer after it while it fits. Whatever does not fit is
// only counted, so dwNeededSize tells the caller how much to allocate. A structure that would
// need more than MaxStructureSize is refused with LINEERR_NOMEM so no caller grows its buffer
// without bound.

#include <cstddef>
#include <cstring>
#include <string_view>

#include "telephony/tapi/tapi_constants.h"

namespace tapi::detail {

inline constexpr DWORD MaxStructureSize = DWORD{1} << 20;

template <class T> class StructWriter {
public:
    explicit StructWriter(void* buffer) : out_(static_cast<std::byte*>(buffer)) {
        if (out_)
            std::memcpy(&total_, out_, sizeof(DWORD));
    }

    // LINEERR_INVALPOINTER, LINEERR_STRUCTURETOOSMALL or 0.
    LONG check() const {
        if (!out_)
            return LINEERR_INVALPOINTER;
        if (total_ < sizeof(T))
            return LINEERR_STRUCTURETOOSMALL;
        return 0;
    }

    T& fixed() { return fixed_; }

    // Appends bytes and records them in the size/offset pair; an empty value leaves both 0.
    void add(DWORD T::*size, DWORD T::*offset, const void* data, std::size_t length) {
        if (length == 0)
            return;
        const DWORD at = append(data, length);
        if (at != 0) {
            fixed_.*size = static_cast<DWORD>(length);
            fixed_.*offset = at;
        }
    }

    // A text with its terminating NUL; an empty text is left out.
    void addText(DWORD T::*size, DWORD T::*offset, std::string_view text) {
        if (text.empty())
            return;
        const DWORD at = appendText(text);
        if (at != 0) {
            fixed_.*size = static_cast<DWORD>(text.size() + 1);
            fixed_.*offset = at;
        }
    }

    // Raw appends for nested entries; answer the offset, or 0 when the data did not fit.
    DWORD append(const void* data, std::size_t length) {
        const std::size_t at = needed_;
        needed_ += length;
        if (needed_ > total_ || needed_ > MaxStructureSize)
            return 0;
        std::memcpy(out_ + at, data, length);
        used_ = needed_;
        return static_cast<DWORD>(at);
    }
    // Counts bytes that will not be written (the caller's buffer is known to be too small).
    void count(std::size_t length) { needed_ += length; }

    DWORD appendText(std::string_view text) {
        const std::size_t at = needed_;
        needed_ += text.size() + 1;
        if (needed_ > total_ || needed_ > MaxStructureSize)
            return 0;
        std::memcpy(out_ + at, text.data(), text.size());
        out_[at + text.size()] = std::byte{0};
        used_ = needed_;
        return static_cast<DWORD>(at);
    }

    // Writes the fixed part with the three size fields; LINEERR_NOMEM above the cap.
    LONG finish() {
        if (needed_ > MaxStructureSize)
            return LINEERR_NOMEM;
        std::memcpy(&fixed_, &total_, sizeof(DWORD));
        const DWORD needed = static_cast<DWORD>(needed_);
        const DWORD used = static_cast<DWORD>(used_);
        std::memcpy(reinterpret_cast<std::byte*>(&fixed_) + 4, &needed, sizeof(DWORD));
        std::memcpy(reinterpret_cast<std::byte*>(&fixed_) + 8, &used, sizeof(DWORD));
        std::memcpy(out_, &fixed_, sizeof(T));
        return 0;
    }

private:
    std::byte* out_;
    DWORD total_ = 0;
    std::size_t needed_ = sizeof(T);
    std::size_t used_ = sizeof(T);
    T fixed_{};
};

} // namespace tapi::detail
