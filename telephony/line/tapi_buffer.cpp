#include "telephony/line/tapi_buffer.h"

bool TapiBuffer::Allocate(std::size_t total) {
    Release();
    try {
        data_ = std::make_unique<std::byte[]>(total); // value-initialised: zero-filled
    } catch (const std::bad_alloc&) {
        return false;
    }
    size_ = total;
    const auto totalSize = static_cast<uint32_t>(total);
    std::memcpy(data_.get(), &totalSize, sizeof totalSize);
    return true;
}

uint32_t TapiBuffer::Field(std::size_t offset) const {
    if (!data_ || size_ < offset + sizeof(uint32_t))
        return 0;
    uint32_t value = 0;
    std::memcpy(&value, data_.get() + offset, sizeof value);
    return value;
}

std::pair<const char*, std::size_t> TapiBuffer::Bytes(uint32_t offset, uint32_t size) const {
    if (!data_ || size == 0 || offset >= size_ || size > size_ - offset)
        return {nullptr, 0};
    return {reinterpret_cast<const char*>(data_.get()) + offset, size};
}
