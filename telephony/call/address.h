#pragma once

// The selected address of the line device: its capabilities, status and call forwarding.

#include <cstdint>
#include <memory>

#include <QByteArray>
#include <QString>
#include <QStringList>

#include "telephony/call/call_parameters.h"

class TetLineInternal;
class TapiBuffer;

// A copy of the selected address's LINEADDRESSCAPS.
class TetAddressCaps {
public:
    explicit TetAddressCaps(TetLineInternal* owner) : owner_(owner) {}

    uint32_t Flags() const { return flags_; }
    uint32_t BusyModes() const { return busyModes_; }
    uint32_t CallerIDFlags() const { return callerIDFlags_; }
    uint32_t CalledIDFlags() const { return calledIDFlags_; }
    uint32_t ConnectedIDFlags() const { return connectedIDFlags_; }
    uint32_t RedirectionIDFlags() const { return redirectionIDFlags_; }
    uint32_t RedirectingIDFlags() const { return redirectingIDFlags_; }
    uint32_t CallInfoStates() const { return callInfoStates_; }
    uint32_t CallStates() const { return callStates_; }
    uint32_t DialtoneModes() const { return dialtoneModes_; }
    uint32_t DisconnectModes() const { return disconnectModes_; }
    uint32_t States() const { return states_; }
    uint32_t SpecialInfo() const { return specialInfo_; }
    uint32_t MaxNumActiveCalls() const { return maxNumActiveCalls_; }
    uint32_t MaxNumOnHoldCalls() const { return maxNumOnHoldCalls_; }
    uint32_t MaxNumOnHoldPendingCalls() const { return maxNumOnHoldPendingCalls_; }
    uint32_t MaxNumConference() const { return maxNumConference_; }
    uint32_t MaxNumTransConf() const { return maxNumTransConf_; }
    uint32_t CallFeatures() const { return callFeatures_; }
    uint32_t CallFeatures2() const { return callFeatures2_; }
    uint32_t RemoveFromConfCaps() const { return removeFromConfCaps_; }
    uint32_t RemoveFromConfState() const { return removeFromConfState_; }
    uint32_t TransferModes() const { return transferModes_; }
    uint32_t ParkModes() const { return parkModes_; }
    uint32_t ForwardModes() const { return forwardModes_; }
    uint32_t MaxForwardEntries() const { return maxForwardEntries_; }
    uint32_t MaxSpecificEntries() const { return maxSpecificEntries_; }
    uint32_t MinFwdNumRings() const { return minFwdNumRings_; }
    uint32_t MaxFwdNumRings() const { return maxFwdNumRings_; }
    uint32_t Features() const { return features_; }
    uint32_t MaxNoAnswerTimeout() const { return maxNoAnswerTimeout_; }
    uint32_t ConnectedModes() const { return connectedModes_; }
    uint32_t OfferingModes() const { return offeringModes_; }
    int32_t DevSpecificSize() const { return static_cast<int32_t>(devSpecific_.size()); }
    const QByteArray& DevSpecific() const { return devSpecific_; }

    // Takes every field from a filled LINEADDRESSCAPS buffer.
    void Assign(const TapiBuffer& caps);
    void Clear();

    bool LogProperties(const QString& header, const QString& name, const QString& prefix) const;

private:
    TetLineInternal* owner_;
    uint32_t flags_ = 0, busyModes_ = 0, callerIDFlags_ = 0, calledIDFlags_ = 0,
             connectedIDFlags_ = 0, redirectionIDFlags_ = 0, redirectingIDFlags_ = 0,
             callInfoStates_ = 0, callStates_ = 0, dialtoneModes_ = 0, disconnectModes_ = 0,
             states_ = 0, specialInfo_ = 0, maxNumActiveCalls_ = 0, maxNumOnHoldCalls_ = 0,
             maxNumOnHoldPendingCalls_ = 0, maxNumConference_ = 0, maxNumTransConf_ = 0,
             callFeatures_ = 0, callFeatures2_ = 0, removeFromConfCaps_ = 0,
             removeFromConfState_ = 0, transferModes_ = 0, parkModes_ = 0, forwardModes_ = 0,
             maxForwardEntries_ = 0, maxSpecificEntries_ = 0, minFwdNumRings_ = 0,
             maxFwdNumRings_ = 0, features_ = 0, maxNoAnswerTimeout_ = 0, connectedModes_ = 0,
             offeringModes_ = 0;
    QByteArray devSpecific_;
};

// Call forwarding of the selected address.
class TetAddressForward {
public:
    explicit TetAddressForward(TetLineInternal* owner);

    bool Active() const { return active_; }
    // Starts (true) or cancels (false) forwarding with lineForward and waits for the reply.
    void setActive(bool value);

    TetCallParameters* Parameters() { return &parameters_; }
    const TetCallParameters* Parameters() const { return &parameters_; }

    const QString& Caller() const { return caller_; }
    void setCaller(const QString& value);
    const QString& PhoneNumber() const { return phoneNumber_; }
    void setPhoneNumber(const QString& value);
    uint32_t ConsultCall() const { return consultCall_; }
    int32_t NumForwardEntries() const { return numForwardEntries_; }
    uint32_t Mode() const { return mode_; }
    void setMode(uint32_t value);

    // The slot of a pending lineForward request: the positive request ID while the reply is
    // awaited, -1 once LINE_REPLY for it arrived, 0 otherwise. The line callback marks it.
    int32_t& PendingRequest() { return pendingRequest_; }

    // What RefreshAddressStatus reads back from LINEADDRESSSTATUS.
    void SetStatus(int32_t numEntries, bool active, uint32_t mode, const QString& caller,
                   const QString& phoneNumber);

    bool LogProperties(const QString& header, const QString& name, const QString& prefix) const;

private:
    bool ChangeText(QString& field, const QString& value, const char* path);

    TetLineInternal* owner_;
    bool active_ = false;
    TetCallParameters parameters_;
    QString caller_;
    QString phoneNumber_;
    uint32_t consultCall_ = 0;
    int32_t numForwardEntries_ = 0;
    uint32_t mode_ = 1; // LINEFORWARDMODE_UNCOND
    int32_t pendingRequest_ = 0;
};

class TetAddress {
public:
    explicit TetAddress(TetLineInternal* owner);

    const QString& Name() const { return name_; }
    const QStringList& List() const { return list_; }
    int32_t Count() const { return count_; }
    int32_t ID() const { return id_; }
    // Selects address n: reads its capabilities and, with the line open, asks for its states.
    void setID(int32_t n);

    TetAddressCaps* Capabilities() { return &capabilities_; }
    const TetAddressCaps* Capabilities() const { return &capabilities_; }
    TetAddressForward* Forward() { return &forward_; }
    const TetAddressForward* Forward() const { return &forward_; }

    int32_t NumInUse() const { return numInUse_; }
    int32_t NumActiveCalls() const { return numActiveCalls_; }
    int32_t NumOnHoldCalls() const { return numOnHoldCalls_; }
    int32_t NumOnHoldPendCalls() const { return numOnHoldPendCalls_; }
    uint32_t Features() const { return features_; }
    int32_t NumRingsNoAnswer() const { return numRingsNoAnswer_; }

    bool LogProperties(const QString& header, const QString& name, const QString& prefix) const;

private:
    friend class TetLineInternal;

    // The component's session code fills these directly, without the setter's work.
    void Reset();
    void SetStatus(const TapiBuffer& status);

    TetLineInternal* owner_;
    QString name_;
    QStringList list_;
    int32_t count_ = 0;
    int32_t id_ = -1;
    TetAddressCaps capabilities_;
    int32_t numInUse_ = 0;
    int32_t numActiveCalls_ = 0;
    int32_t numOnHoldCalls_ = 0;
    int32_t numOnHoldPendCalls_ = 0;
    uint32_t features_ = 0;
    int32_t numRingsNoAnswer_ = 0;
    TetAddressForward forward_;
};
