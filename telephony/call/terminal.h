#pragma once

// The selected terminal of the line device and the routing of media modes to it.

#include <cstdint>

#include <QString>
#include <QStringList>

class TetLineInternal;
class TapiBuffer;

class TetTerminal {
public:
    explicit TetTerminal(TetLineInternal* owner) : owner_(owner) {}

    int32_t ID() const { return id_; }
    // Selects terminal n: reloads the terminal names and capabilities from LINEDEVCAPS.
    void setID(int32_t n);
    const QString& Name() const { return name_; }
    const QStringList& List() const { return list_; }
    int32_t Count() const { return count_; }
    uint32_t Device() const { return device_; }
    uint32_t AvailableModes() const { return availableModes_; }
    uint32_t ActiveModes() const { return activeModes_; }
    // Routes the modes to this terminal (and the other available ones away) with lineSetTerminal.
    // ActiveModes itself follows at the next line status refresh.
    void setActiveModes(uint32_t modes);
    uint32_t Sharing() const { return sharing_; }
    bool HasTerminals() const { return hasTerminals_; }

    // The slot of a pending lineSetTerminal request, marked -1 by the reply dispatch.
    int32_t& PendingRequest() { return pendingRequest_; }

    bool LogProperties(const QString& header, const QString& name, const QString& prefix) const;

    // The name of terminal i in a filled LINEDEVCAPS buffer.
    static QString NameFromCaps(const TapiBuffer& devCaps, uint32_t index);

private:
    friend class TetLineInternal;

    // Loads count, names and the capabilities of terminal index from LINEDEVCAPS.
    void LoadFromCaps(const TapiBuffer& devCaps, int32_t index);
    void SetActiveModesFromStatus(uint32_t modes) { activeModes_ = modes; }
    void Reset();

    TetLineInternal* owner_;
    int32_t pendingRequest_ = 0;
    int32_t id_ = 0;
    QString name_;
    QStringList list_;
    int32_t count_ = 0;
    uint32_t device_ = 0;
    uint32_t availableModes_ = 0;
    uint32_t activeModes_ = 0;
    uint32_t sharing_ = 0;
    bool hasTerminals_ = false;
};
