#pragma once

// The call object: a window onto the selected call (Handle), with the list of every call the
// line knows, one TetCallLog record per call, and the five party objects of the selected call.

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

#include <QDateTime>
#include <QString>
#include <QStringList>

#include "telephony/call/call_log.h"
#include "telephony/call/call_parameters.h"
#include "telephony/call/caller_id.h"
#include "telephony/call/monitoring.h"
#include "telephony/tapi/tapi_types.h"

class TetLineInternal;
class TetLineDispatch;

class TetCall {
public:
    explicit TetCall(TetLineInternal* owner);
    ~TetCall();
    TetCall(const TetCall&) = delete;
    TetCall& operator=(const TetCall&) = delete;

    // ---- Properties of the selected call.
    bool Active() const { return active_; }
    TetCallParameters* Parameters() { return &parameters_; }
    TetCallerID* CallerID() { return &parties_[0]; }
    TetCallerID* CalledID() { return &parties_[1]; }
    TetCallerID* ConnectedID() { return &parties_[2]; }
    TetCallerID* RedirectionID() { return &parties_[3]; }
    TetCallerID* RedirectingID() { return &parties_[4]; }
    // Party i in the order caller, called, connected, redirection, redirecting.
    TetCallerID* Party(std::size_t index) { return &parties_[index]; }
    TetGatherDigits* GatherDigits() { return &gatherDigits_; }
    TetMonitorDigits* MonitorDigits() { return &monitorDigits_; }
    TetMonitorMediaModes* MonitorMediaModes() { return &monitorMediaModes_; }
    TetMonitorSilence* MonitorSilence() { return &monitorSilence_; }

    int32_t Tag() const { return tag_; }
    void setTag(int32_t value) { tag_ = value; }
    uint32_t Address() const { return address_; }
    uint32_t State() const { return state_; }
    uint32_t StateMode() const { return stateMode_; }
    uint32_t Features() const { return features_; }
    uint32_t Features2() const { return features2_; }
    uint32_t BearerMode() const { return bearerMode_; }
    uint32_t MediaMode() const { return mediaMode_; }
    // With a call selected: logs, calls lineSetMediaMode and keeps the value only on success.
    void setMediaMode(uint32_t value);
    uint32_t Origin() const { return origin_; }
    uint32_t Reason() const { return reason_; }
    uint32_t Owners() const { return owners_; }
    uint32_t Monitors() const { return monitors_; }
    uint32_t DisconnectMode() const { return disconnectMode_; }
    uint32_t SpecialInfo() const { return specialInfo_; }
    uint32_t DialtoneMode() const { return dialtoneMode_; }
    uint32_t BusyMode() const { return busyMode_; }
    bool Owner() const { return owner_; }
    // Local times; null when unavailable.
    QDateTime Began() const { return began_.toLocalTime(); }
    QDateTime Connected() const { return connected_.toLocalTime(); }
    QDateTime Disconnected() const { return disconnected_.toLocalTime(); }
    QDateTime Ended() const { return ended_.toLocalTime(); }
    uint32_t ID() const { return id_; }
    const QString& OriginatingApp() const { return originatingApp_; }
    const QString& PhoneNumber() const { return phoneNumber_; }

    // ---- The call list.
    // Entry 0 is "00000000"; entries 1..Count the known calls' handles in the order they came.
    const QStringList& List() const { return list_; }
    int32_t Count() const { return count_; }
    uint32_t Handle() const { return handle_; }
    // Selects the call h (0: none); an unlisted h reports LINEERR_INVALCALLHANDLE and keeps the
    // selection. Refreshes the selected call's status and parties either way.
    void setHandle(uint32_t h);

    enum class AddMode { LookupOrAdd, Append, Start };
    enum class FindKind { ByHandle, ByRequest };

    TetCallLog* AddCallRecord(AddMode mode, uint32_t handle);
    // Unlinks and frees a record; List and Count stay as they are.
    bool DisposeCallRecord(TetCallLog* record);
    // By handle: the newest record with that handle; by request: the newest record with the
    // request ID in any slot. nullptr when none.
    TetCallLog* FindCall(FindKind kind, uint32_t key);
    // Index of the handle's entry in List (0 for handle 0), or -1.
    int32_t IndexOfCall(uint32_t handle) const;
    // Removes the call with OnCallEnd. Unless forced, only an idle call without pending requests
    // that has not ended yet. True when the call was removed.
    bool EndCall(bool forced, uint32_t handle);
    // Selects the oldest listed call that is not idle (the newest entry is never chosen), else 0.
    void SelectNextCall();
    // Processes events until flag has a bit of mask or TAPI.ReplyTimeout ms passed; True if it
    // came.
    bool WaitForCallFlag(const uint32_t& flag, uint32_t mask);

    // ---- Call information.
    // Reads LINECALLINFO of call h into its record and the parties named by mask; 0 or the TAPI
    // error (not reported), -1 without a session, LINEERR_NOMEM when no buffer could be had.
    LONG RefreshCallInfo(uint32_t h, uint32_t mask);
    // Reads LINECALLSTATUS of the selected call; errors are reported and give false.
    bool RefreshCallStatus(bool keepState);
    void SaveToRecord(uint32_t h);
    void LoadFromRecord(uint32_t h);

    // Fires the party events of the parties in stateMask whose identification is not reported
    // yet, skipping (with EventFilter) parties whose flags share a bit with filterMask.
    void FirePartyEvents(uint32_t handle, uint32_t stateMask, uint32_t filterMask);

    // Clears the selected call's fields and the party objects (before a new first call).
    void ClearCallFields();
    void ClearParties();

    // The dump lines of the call object, each "\t" + "Call." + item (prefix is the tab).
    void LogProperties(const QString& prefix) const;

    // Number of records in the chain, sentinel included (0 before the first Start).
    std::size_t RecordCount() const { return chain_.size(); }

private:
    friend class TetLineInternal;
    friend class TetLineDispatch;

    void SetPhoneNumber(const QString& number) { phoneNumber_ = number; }
    void SetActive(bool value) { active_ = value; }
    // The four monitoring objects marked not running (a new first call).
    void ResetMonitoringMarks();
    // Empties the list and frees every record (sentinel included).
    void ClearList();
    // Record of the selected call, or nullptr.
    TetCallLog* SelectedRecord();

    TetLineInternal* line_;
    bool active_ = false;
    TetCallParameters parameters_;
    std::array<TetCallerID, 5> parties_;
    TetGatherDigits gatherDigits_;
    TetMonitorDigits monitorDigits_;
    TetMonitorMediaModes monitorMediaModes_;
    TetMonitorSilence monitorSilence_;
    int32_t tag_ = 0;
    uint32_t address_ = 0;
    uint32_t state_ = 0;
    uint32_t stateMode_ = 0;
    uint32_t features_ = 0;
    uint32_t features2_ = 0;
    uint32_t bearerMode_ = 0;
    uint32_t mediaMode_ = 0;
    uint32_t origin_ = 0;
    uint32_t reason_ = 0;
    uint32_t owners_ = 0;
    uint32_t monitors_ = 0;
    uint32_t disconnectMode_ = 0;
    uint32_t specialInfo_ = 0;
    uint32_t dialtoneMode_ = 0;
    uint32_t busyMode_ = 0;
    bool owner_ = false;
    // Kept in UTC: reading the clock in local time costs a time-zone lookup on every call.
    QDateTime began_;
    QDateTime connected_;
    QDateTime disconnected_;
    QDateTime ended_;
    uint32_t id_ = 0;
    uint32_t handle_ = 0;
    QString originatingApp_;
    QString phoneNumber_;

    QStringList list_;
    int32_t count_ = 0;
    // chain_[0] is the sentinel's record; the call records follow, newest first.
    std::vector<std::unique_ptr<TetCallLog>> chain_;
};
