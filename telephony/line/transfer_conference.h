#pragma once

// The transfer and conference objects of the component: the calls involved and the parameters of
// their consultation calls. Their operations are added with the call-control layer.

#include <cstdint>

#include <QString>
#include <QStringList>

#include "telephony/call/call_parameters.h"

class TetLineInternal;

class TetTransfer {
public:
    explicit TetTransfer(TetLineInternal* owner)
        : owner_(owner), parameters_(owner, QStringLiteral("Transfer")) {}

    const QString& PhoneNumber() const { return phoneNumber_; }
    void setPhoneNumber(const QString& value) { phoneNumber_ = value; }
    uint32_t PrimaryCall() const { return primaryCall_; }
    void setPrimaryCall(uint32_t h) { primaryCall_ = h; }
    uint32_t ConsultCall() const { return consultCall_; }
    void setConsultCall(uint32_t h) { consultCall_ = h; }
    uint32_t ThreeWayCall() const { return threeWayCall_; }
    void setThreeWayCall(uint32_t h) { threeWayCall_ = h; }
    TetCallParameters* Parameters() { return &parameters_; }
    const TetCallParameters* Parameters() const { return &parameters_; }

    void Reset() {
        primaryCall_ = 0;
        consultCall_ = 0;
        threeWayCall_ = 0;
    }

    bool LogProperties(const QString& header, const QString& name, const QString& prefix) const;

private:
    TetLineInternal* owner_;
    QString phoneNumber_;
    uint32_t primaryCall_ = 0;
    uint32_t consultCall_ = 0;
    uint32_t threeWayCall_ = 0;
    TetCallParameters parameters_;
};

class TetConference {
public:
    explicit TetConference(TetLineInternal* owner)
        : owner_(owner), parameters_(owner, QStringLiteral("Conference")) {}

    const QString& PhoneNumber() const { return phoneNumber_; }
    void setPhoneNumber(const QString& value) { phoneNumber_ = value; }
    uint32_t PrimaryCall() const { return primaryCall_; }
    void setPrimaryCall(uint32_t h) { primaryCall_ = h; }
    uint32_t ConsultCall() const { return consultCall_; }
    void setConsultCall(uint32_t h) { consultCall_ = h; }
    // Handles of the conference's consultation calls, eight hexadecimal digits each.
    const QStringList& List() const { return list_; }
    QStringList& MutableList() { return list_; }
    int32_t Count() const { return static_cast<int32_t>(list_.size()); }
    uint32_t Handle() const { return handle_; }
    void setHandle(uint32_t h) { handle_ = h; }
    TetCallParameters* Parameters() { return &parameters_; }
    const TetCallParameters* Parameters() const { return &parameters_; }

    void Reset() {
        primaryCall_ = 0;
        consultCall_ = 0;
        handle_ = 0;
        list_.clear();
    }

    bool LogProperties(const QString& header, const QString& name, const QString& prefix) const;

private:
    TetLineInternal* owner_;
    QString phoneNumber_;
    uint32_t primaryCall_ = 0;
    uint32_t consultCall_ = 0;
    QStringList list_;
    uint32_t handle_ = 0;
    TetCallParameters parameters_;
};
