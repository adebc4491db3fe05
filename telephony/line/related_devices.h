#pragma once

// Devices that TAPI associates with the open line: the phone of the same handset, the wave
// devices carrying the line's audio and, during a data or fax call, the modem's comm handle.

#include <cstdint>

#include <QString>

class TetLineInternal;

class TetRelatedPhoneDevice {
public:
    explicit TetRelatedPhoneDevice(TetLineInternal* owner) : owner_(owner) {}

    bool Available() const { return available_; }
    const QString& DeviceClass() const { return deviceClass_; }
    void setDeviceClass(const QString& value);
    // The phone device number; -2 when not available under the line's privileges.
    int32_t ID() const { return id_; }

    bool LogProperties(const QString& header, const QString& name, const QString& prefix) const;

private:
    friend class TetLineInternal;
    bool available_ = false;
    TetLineInternal* owner_;
    QString deviceClass_ = QStringLiteral("tapi/phone");
    int32_t id_ = 0;
};

class TetRelatedWaveDevice {
public:
    // name is "WavePlay" or "WaveRecord", used in log lines.
    TetRelatedWaveDevice(TetLineInternal* owner, QString name, QString deviceClass)
        : name_(std::move(name)), deviceClass_(std::move(deviceClass)), owner_(owner) {}

    const QString& DeviceClass() const { return deviceClass_; }
    void setDeviceClass(const QString& value);
    bool Available() const { return available_; }
    int32_t ID() const { return id_; }

    bool LogProperties(const QString& header, const QString& name, const QString& prefix) const;

private:
    friend class TetLineInternal;
    QString name_;
    QString deviceClass_;
    bool available_ = false;
    TetLineInternal* owner_;
    int32_t id_ = 0;
};

class TetRelatedCommDevice {
public:
    explicit TetRelatedCommDevice(TetLineInternal* owner) : owner_(owner) {}

    // A comm handle is held (and owned by the component).
    bool Available() const { return available_; }
    const QString& DeviceClass() const { return deviceClass_; }
    void setDeviceClass(const QString& value);
    // The open comm handle: a file descriptor of the provider's device.
    intptr_t Handle() const { return handle_; }
    bool Enabled() const { return enabled_; }
    void setEnabled(bool value);

    bool LogProperties(const QString& header, const QString& name, const QString& prefix) const;

private:
    friend class TetLineInternal;
    bool available_ = false;
    TetLineInternal* owner_;
    QString deviceClass_ = QStringLiteral("comm/datamodem");
    intptr_t handle_ = 0;
    bool enabled_ = false;
};
