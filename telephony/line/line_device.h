#pragma once

// The line device sub-object: the device list, the selected device, its capabilities, media modes
// and status counters.

#include <cstdint>

#include <QByteArray>
#include <QString>
#include <QStringList>

class TetLineInternal;
class TapiBuffer;

// What every device object of the suite shares.
class TetSharedDevice {
public:
    explicit TetSharedDevice(TetLineInternal* owner) : owner_(owner) {}
    virtual ~TetSharedDevice() = default;
    TetSharedDevice(const TetSharedDevice&) = delete;
    TetSharedDevice& operator=(const TetSharedDevice&) = delete;

    bool Active() const { return active_; }
    const QString& Name() const { return name_; }
    const QStringList& List() const { return list_; }
    int32_t ID() const { return id_; }
    int32_t Count() const { return count_; }

protected:
    TetLineInternal* owner_;
    bool active_ = false;
    QString name_;
    QStringList list_;
    int32_t id_ = 0;
    int32_t count_ = 0;
};

// Capabilities of the selected device, from its LINEDEVCAPS.
class TetLineDeviceCaps {
public:
    explicit TetLineDeviceCaps(TetLineInternal* owner) : owner_(owner) {}

    uint32_t Flags() const { return flags_; }
    uint32_t MaxNumActiveCalls() const { return maxNumActiveCalls_; }
    uint32_t AnswerMode() const { return answerMode_; }
    uint32_t States() const { return states_; }
    uint32_t LineFeatures() const { return lineFeatures_; }
    uint32_t BearerModes() const { return bearerModes_; }
    uint32_t RingModes() const { return ringModes_; }
    uint32_t Tones() const { return tones_; }
    int32_t DevSpecificSize() const { return static_cast<int32_t>(devSpecific_.size()); }
    const QByteArray& DevSpecific() const { return devSpecific_; }

    void Assign(const TapiBuffer& devCaps);
    // Replaces only the private copy of the device-specific bytes.
    void AssignDevSpecific(const TapiBuffer& devCaps);
    void Clear();

    bool LogProperties(const QString& header, const QString& name, const QString& prefix) const;

private:
    TetLineInternal* owner_;
    uint32_t flags_ = 0, maxNumActiveCalls_ = 0, answerMode_ = 0, states_ = 0, lineFeatures_ = 0,
             bearerModes_ = 0, ringModes_ = 0, tones_ = 0;
    QByteArray devSpecific_;
};

// LINEMEDIAMODE sets of the selected device.
class TetMediaModes {
public:
    explicit TetMediaModes(TetLineInternal* owner) : owner_(owner) {}

    // The media modes the line is opened with.
    uint32_t Active() const { return active_; }
    void setActive(uint32_t modes) { active_ = modes; }
    uint32_t Available() const { return available_; }
    uint32_t Open() const { return open_; }

    bool LogProperties(const QString& header, const QString& name, const QString& prefix) const;

private:
    friend class TetLineInternal;
    TetLineInternal* owner_;
    uint32_t active_ = 0;
    uint32_t available_ = 0;
    uint32_t open_ = 0;
};

class TetLineDevice : public TetSharedDevice {
public:
    explicit TetLineDevice(TetLineInternal* owner);

    // Opens (true) or closes (false) the line.
    void setActive(bool value);
    // Selects device n of the list; closes an open line first.
    void setID(int32_t n);

    bool TranslatePhoneNumber() const { return translatePhoneNumber_; }
    void setTranslatePhoneNumber(bool value) { translatePhoneNumber_ = value; }
    bool UnformatPhoneNumber() const { return unformatPhoneNumber_; }
    void setUnformatPhoneNumber(bool value) { unformatPhoneNumber_ = value; }
    // Milliseconds between a call going idle and OnIdle; refused while the line is open.
    int32_t IdleDelay() const { return idleDelay_; }
    void setIdleDelay(int32_t milliseconds);

    TetLineDeviceCaps* Capabilities() { return &capabilities_; }
    const TetLineDeviceCaps* Capabilities() const { return &capabilities_; }
    TetMediaModes* MediaModes() { return &mediaModes_; }
    const TetMediaModes* MediaModes() const { return &mediaModes_; }

    uint32_t OpenCount() const { return openCount_; }
    uint32_t ActiveCalls() const { return activeCalls_; }
    uint32_t OnHoldCalls() const { return onHoldCalls_; }
    uint32_t OnHoldPendCalls() const { return onHoldPendCalls_; }
    uint32_t RingMode() const { return ringMode_; }

    // The provider's configuration dialog for the selected device.
    bool Configure();

    bool LogProperties(const QString& header, const QString& name, const QString& prefix) const;

private:
    friend class TetLineInternal;

    bool translatePhoneNumber_ = false;
    bool unformatPhoneNumber_ = false;
    int32_t idleDelay_ = 0;
    TetLineDeviceCaps capabilities_;
    TetMediaModes mediaModes_;
    uint32_t openCount_ = 0;
    uint32_t activeCalls_ = 0;
    uint32_t onHoldCalls_ = 0;
    uint32_t onHoldPendCalls_ = 0;
    uint32_t ringMode_ = 0;
};
