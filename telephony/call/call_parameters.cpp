#include "telephony/call/call_parameters.h"

#include <cstddef>
#include <cstring>

#include "telephony/line/line_internal.h"

namespace {
// Offsets in the LINECALLPARAMS block.
constexpr std::size_t TotalSizeAt = offsetof(LINECALLPARAMS, dwTotalSize);
constexpr std::size_t BearerModeAt = offsetof(LINECALLPARAMS, dwBearerMode);
constexpr std::size_t MediaModeAt = offsetof(LINECALLPARAMS, dwMediaMode);
constexpr std::size_t CallParamFlagsAt = offsetof(LINECALLPARAMS, dwCallParamFlags);
constexpr std::size_t AddressIDAt = offsetof(LINECALLPARAMS, dwAddressID);
constexpr std::size_t NoAnswerTimeoutAt = offsetof(LINECALLPARAMS, dwNoAnswerTimeout);
static_assert(sizeof(LINECALLPARAMS) <= TetCallParamsBlock::Size);
} // namespace

uint32_t TetCallParamsBlock::Field(std::size_t offset) const {
    uint32_t value = 0;
    std::memcpy(&value, bytes.data() + offset, sizeof value);
    return value;
}

void TetCallParamsBlock::SetField(std::size_t offset, uint32_t value) {
    std::memcpy(bytes.data() + offset, &value, sizeof value);
}

TetCallParameters::TetCallParameters(TetLineInternal* owner, QString ownerPath)
    : owner_(owner), ownerPath_(std::move(ownerPath)) {}

void TetCallParameters::ResetToDeviceDefaults() {
    defaults_ = true;
    bearerMode_ = 1; // LINEBEARERMODE_VOICE
    mediaMode_ = 4;  // LINEMEDIAMODE_INTERACTIVEVOICE
    flags_ = 0;
    addressID_ = 0;
    noAnswerTimeout_ = 0;
}

void TetCallParameters::CopyValuesFrom(const TetCallParameters& other) {
    defaults_ = other.defaults_;
    bearerMode_ = other.bearerMode_;
    mediaMode_ = other.mediaMode_;
    flags_ = other.flags_;
    addressID_ = other.addressID_;
    noAnswerTimeout_ = other.noAnswerTimeout_;
}

std::optional<TetCallParamsBlock> TetCallParameters::Build() const {
    if (defaults_)
        return std::nullopt;
    TetCallParamsBlock block;
    block.SetField(TotalSizeAt, TetCallParamsBlock::Size);
    block.SetField(BearerModeAt, static_cast<uint32_t>(bearerMode_));
    block.SetField(MediaModeAt, static_cast<uint32_t>(mediaMode_));
    block.SetField(CallParamFlagsAt, static_cast<uint32_t>(flags_));
    block.SetField(AddressIDAt, static_cast<uint32_t>(addressID_));
    block.SetField(NoAnswerTimeoutAt, static_cast<uint32_t>(noAnswerTimeout_));
    return block;
}
