#pragma once

// The parameters used to place calls, forward an address and set up transfers and conferences.
// With Defaults set the operations pass no LINECALLPARAMS at all; otherwise Build() gives the
// 180-byte block with the five values and every other field 0.

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>

#include <QString>

class TetLineInternal;

// A zeroed LINECALLPARAMS block of the size the component passes (180 bytes, the TAPI 3.0 layout).
struct TetCallParamsBlock {
    static constexpr std::size_t Size = 180;
    alignas(uint32_t) std::array<std::byte, Size> bytes{};

    void* Data() { return bytes.data(); }
    uint32_t Field(std::size_t offset) const;
    void SetField(std::size_t offset, uint32_t value);
};

class TetCallParameters {
public:
    // ownerPath names the owner in log lines: "Call", "Transfer", "Conference", "Address.Forward".
    TetCallParameters(TetLineInternal* owner, QString ownerPath);

    bool Defaults() const { return defaults_; }
    int32_t BearerMode() const { return bearerMode_; }
    int32_t MediaMode() const { return mediaMode_; }
    int32_t Flags() const { return flags_; }
    int32_t AddressID() const { return addressID_; }
    int32_t NoAnswerTimeout() const { return noAnswerTimeout_; }

    void setDefaults(bool value) { defaults_ = value; }
    void setBearerMode(int32_t value) { bearerMode_ = value; }
    void setMediaMode(int32_t value) { mediaMode_ = value; }
    void setFlags(int32_t value) { flags_ = value; }
    void setAddressID(int32_t value) { addressID_ = value; }
    void setNoAnswerTimeout(int32_t value) { noAnswerTimeout_ = value; }

    // What reading a device resets the call's parameters to: voice, interactive voice, defaults.
    void ResetToDeviceDefaults();
    // A plain copy of the six values (no setter logic), as the other three objects receive them.
    void CopyValuesFrom(const TetCallParameters& other);

    // The LINECALLPARAMS to pass, or none when Defaults is set.
    std::optional<TetCallParamsBlock> Build() const;

    const QString& OwnerPath() const { return ownerPath_; }
    bool LogProperties(const QString& header, const QString& name, const QString& prefix) const;

private:
    TetLineInternal* owner_;
    QString ownerPath_;
    bool defaults_ = true;
    int32_t bearerMode_ = 0;
    int32_t mediaMode_ = 0;
    int32_t flags_ = 0;
    int32_t addressID_ = 0;
    int32_t noAnswerTimeout_ = 0;
};
