#pragma once

// The simulator's scenario: line devices and, per device, a timeline of events in milliseconds
// after the device is opened. Read from JSON; the README describes the format.

#include <QByteArray>
#include <QString>

#include <optional>
#include <vector>

#include "telephony/tapi/service_provider.h"

namespace tapi::sim {

enum class EventKind {
    NewCall,
    CallState,
    PartyInfo,
    Ring,
    Digits,
    Tone,
    MediaMode,
    LineClose,
    LineDisconnected,
    LineConnected,
    LineDevState,
    AddressState,
    DevSpecific
};

struct TimelineEvent {
    qint64 at = 0;
    EventKind kind = EventKind::Ring;
    QString call; // the scenario's name of the call (repeated blocks make it unique)
    CallData data;
    DWORD state = 0;
    DWORD mode = 0;
    PartyIndex party = Caller;
    PartyData partyData;
    DWORD count = 1;
    DWORD ringMode = 1;
    QString digits;
    DWORD digitMode = LINEDIGITMODE_DTMF;
    DWORD frequencies[3] = {0, 0, 0};
    DWORD mediaMode = 0;
    DWORD addressId = 0;
    DWORD params[3] = {0, 0, 0};
};

enum class OutgoingResult { Connected, Busy, NoAnswer };

struct ScenarioDevice {
    DeviceInfo info;
    std::vector<TimelineEvent> timeline; // sorted by time, stable
    qint64 callStepMs = 0;               // pause between the states of a call-control sequence
    OutgoingResult outgoing = OutgoingResult::Connected;
};

struct Scenario {
    bool lineInitializeExA = true;
    std::vector<ScenarioDevice> devices;
};

struct ParseResult {
    std::optional<Scenario> scenario;
    QString error; // "<file>: <place>: <what>" when scenario is empty
    LONG code = 0; // LINEERR_NODRIVER (unreadable) or LINEERR_INIFILECORRUPT (bad content)
};

// The largest number of timeline events a scenario may expand to (repeat blocks included).
inline constexpr qsizetype MaxTimelineEvents = 2'000'000;

ParseResult parseScenario(const QByteArray& json, const QString& fileName);
ParseResult loadScenario(const QString& path);

} // namespace tapi::sim
