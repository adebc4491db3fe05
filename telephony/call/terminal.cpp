#include "telephony/call/terminal.h"

#include <cstring>

#include "telephony/line/line_device.h"
#include "telephony/line/line_internal.h"
#include "telephony/line/line_settings.h"

namespace {
constexpr uint32_t TermCapsSize = 12; // dwTermDev, dwTermModes, dwTermSharing
constexpr uint32_t AllTermModes = 0xFF;

struct TermCaps {
    uint32_t device = 0, modes = 0, sharing = 0;
};

TermCaps ReadTermCaps(const TapiBuffer& devCaps, uint32_t index) {
    const auto* caps = devCaps.As<LINEDEVCAPS>();
    TermCaps out;
    const auto [bytes, size] =
        devCaps.Bytes(caps->dwTerminalCapsOffset + index * TermCapsSize, TermCapsSize);
    if (size == TermCapsSize) {
        std::memcpy(&out.device, bytes, 4);
        std::memcpy(&out.modes, bytes + 4, 4);
        std::memcpy(&out.sharing, bytes + 8, 4);
    }
    return out;
}
} // namespace

QString TetTerminal::NameFromCaps(const TapiBuffer& devCaps, uint32_t index) {
    const auto* caps = devCaps.As<LINEDEVCAPS>();
    if (caps->dwTerminalTextSize == 0)
        return QStringLiteral("Terminal.ID = %1 <Name not available>").arg(index);
    const uint32_t entrySize = caps->dwTerminalTextEntrySize;
    // An entry outside the text area (or the buffer) gives an empty name rather than a stray read.
    if (entrySize == 0 || uint64_t{index + 1} * entrySize > caps->dwTerminalTextSize)
        return QString();
    return TetLineInternal::StructText(devCaps, caps->dwTerminalTextOffset + index * entrySize,
                                       entrySize);
}

void TetTerminal::Reset() {
    pendingRequest_ = 0;
    id_ = 0;
    name_.clear();
    list_.clear();
    count_ = 0;
    device_ = availableModes_ = activeModes_ = sharing_ = 0;
    hasTerminals_ = false;
}

void TetTerminal::LoadFromCaps(const TapiBuffer& devCaps, int32_t index) {
    const auto* caps = devCaps.As<LINEDEVCAPS>();
    count_ = static_cast<int32_t>(caps->dwNumTerminals);
    name_.clear();
    list_.clear();
    device_ = availableModes_ = sharing_ = activeModes_ = 0;
    if (count_ > 0) {
        for (int32_t i = 0; i < count_; ++i)
            list_.append(NameFromCaps(devCaps, static_cast<uint32_t>(i)));
        id_ = index;
        name_ = list_.value(index);
        const TermCaps term = ReadTermCaps(devCaps, static_cast<uint32_t>(index));
        device_ = term.device;
        availableModes_ = term.modes;
        sharing_ = term.sharing;
        hasTerminals_ = true;
    } else {
        hasTerminals_ = false;
    }
}

void TetTerminal::setID(int32_t n) {
    if (owner_->Device()->Active() && n == id_)
        return;
    owner_->Stamped(QStringLiteral("Terminal.ID := %1").arg(n));
    owner_->Detail(QStringLiteral("\tTerminal.Count = %1").arg(count_));
    owner_->ClearError();
    if (n < 0 || count_ < 0 || (n >= count_ && count_ != 0)) {
        owner_->Report(LINEERR_INVALTERMINALID);
        return;
    }
    if (!owner_->SessionOpen())
        return;
    TapiBuffer devCaps;
    if (owner_->GetDevCaps(static_cast<uint32_t>(owner_->Device()->ID()), devCaps) != 0)
        return;
    const auto reloaded = static_cast<int32_t>(devCaps.As<LINEDEVCAPS>()->dwNumTerminals);
    if (reloaded > 0 && n >= reloaded) {
        // The device lost terminals since the range check; keep the selection as it was.
        owner_->Report(LINEERR_INVALTERMINALID);
        return;
    }
    LoadFromCaps(devCaps, n);
    owner_->Detail(QStringLiteral("\tTerminal.Name = '%1'").arg(name_));
}

void TetTerminal::setActiveModes(uint32_t modes) {
    owner_->Stamped(
        QStringLiteral("Terminal.ActiveModes := [%1]").arg(TetLineInternal::Hex8(modes)));
    owner_->ClearError();
    const uint32_t enable = modes & availableModes_;
    const HLINE line = owner_->Line()->Handle();
    LONG outcome = 0;

    auto route = [&](uint32_t routed, bool on) {
        const LONG result = lineSetTerminal(line, 0, 0, LINECALLSELECT_LINE, routed,
                                            static_cast<DWORD>(id_), on ? 1 : 0);
        if (result > 0) {
            pendingRequest_ = result;
            if (owner_->WaitForReply(pendingRequest_))
                outcome = -3;
            pendingRequest_ = 0;
        } else if (result < 0) {
            outcome = result;
        }
    };

    if (enable != 0)
        route(enable, true);
    if (outcome == 0 && owner_->ErrorNumber() == 0) {
        const uint32_t disable = availableModes_ & AllTermModes & ~enable;
        if (disable != 0)
            route(disable, false);
    }
    if (outcome < 0)
        owner_->Report(outcome);
}
