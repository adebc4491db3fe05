#include "telephony/call/address.h"

#include <cstring>
#include <vector>

#include "telephony/line/line_device.h"
#include "telephony/line/line_internal.h"
#include "telephony/line/line_settings.h"
#include "telephony/line/tapi_buffer.h"

namespace {
// A forwarding text may not reach this length (TAPI's limit for the addresses of a LINEFORWARD).
constexpr qsizetype MaxForwardText = 32;

QByteArray CopyBytes(const TapiBuffer& buffer, uint32_t offset, uint32_t size) {
    const auto [bytes, length] = buffer.Bytes(offset, size);
    return bytes ? QByteArray(bytes, static_cast<qsizetype>(length)) : QByteArray();
}
} // namespace

// ---- TetAddressCaps

void TetAddressCaps::Assign(const TapiBuffer& buffer) {
    const auto* c = buffer.As<LINEADDRESSCAPS>();
    flags_ = c->dwAddrCapFlags;
    busyModes_ = c->dwBusyModes;
    callerIDFlags_ = c->dwCallerIDFlags;
    calledIDFlags_ = c->dwCalledIDFlags;
    connectedIDFlags_ = c->dwConnectedIDFlags;
    redirectionIDFlags_ = c->dwRedirectionIDFlags;
    redirectingIDFlags_ = c->dwRedirectingIDFlags;
    callInfoStates_ = c->dwCallInfoStates;
    callStates_ = c->dwCallStates;
    dialtoneModes_ = c->dwDialToneModes;
    disconnectModes_ = c->dwDisconnectModes;
    states_ = c->dwAddressStates;
    specialInfo_ = c->dwSpecialInfo;
    maxNumActiveCalls_ = c->dwMaxNumActiveCalls;
    maxNumOnHoldCalls_ = c->dwMaxNumOnHoldCalls;
    maxNumOnHoldPendingCalls_ = c->dwMaxNumOnHoldPendingCalls;
    maxNumConference_ = c->dwMaxNumConference;
    maxNumTransConf_ = c->dwMaxNumTransConf;
    callFeatures_ = c->dwCallFeatures;
    callFeatures2_ = c->dwCallFeatures2;
    removeFromConfCaps_ = c->dwRemoveFromConfCaps;
    removeFromConfState_ = c->dwRemoveFromConfState;
    transferModes_ = c->dwTransferModes;
    parkModes_ = c->dwParkModes;
    forwardModes_ = c->dwForwardModes;
    maxForwardEntries_ = c->dwMaxForwardEntries;
    maxSpecificEntries_ = c->dwMaxSpecificEntries;
    minFwdNumRings_ = c->dwMinFwdNumRings;
    maxFwdNumRings_ = c->dwMaxFwdNumRings;
    features_ = c->dwAddressFeatures;
    maxNoAnswerTimeout_ = c->dwMaxNoAnswerTimeout;
    connectedModes_ = c->dwConnectedModes;
    offeringModes_ = c->dwOfferingModes;
    devSpecific_ = CopyBytes(buffer, c->dwDevSpecificOffset, c->dwDevSpecificSize);
}

void TetAddressCaps::Clear() {
    *this = TetAddressCaps(owner_);
}

// ---- TetAddressForward

TetAddressForward::TetAddressForward(TetLineInternal* owner)
    : owner_(owner), parameters_(owner, QStringLiteral("Address.Forward")) {}

void TetAddressForward::SetStatus(int32_t numEntries, bool active, uint32_t mode,
                                  const QString& caller, const QString& phoneNumber) {
    numForwardEntries_ = numEntries;
    active_ = active;
    mode_ = mode;
    caller_ = caller;
    phoneNumber_ = phoneNumber;
}

bool TetAddressForward::ChangeText(QString& field, const QString& value, const char* path) {
    if (value == field)
        return false;
    owner_->Stamped(QStringLiteral("Address.Forward.%1 = '%2'").arg(QLatin1String(path), value));
    owner_->ClearError();
    if (active_)
        owner_->Report(LINEERR_OPERATIONFAILED);
    else if (value.size() < MaxForwardText)
        field = value;
    else
        owner_->Report(LINEERR_INVALADDRESS);
    return true;
}

void TetAddressForward::setCaller(const QString& value) {
    ChangeText(caller_, value, "Caller");
}

void TetAddressForward::setPhoneNumber(const QString& value) {
    ChangeText(phoneNumber_, value, "PhoneNumber");
}

void TetAddressForward::setMode(uint32_t value) {
    if (value == mode_)
        return;
    owner_->Stamped(
        QStringLiteral("Address.Forward.Mode = [%1]").arg(TetLineInternal::Hex8(value)));
    owner_->ClearError();
    if (active_)
        owner_->Report(LINEERR_OPERATIONFAILED);
    else
        mode_ = value;
}

namespace {
// One LINEFORWARDLIST with one LINEFORWARD and both texts in its variable part; offsets count
// from the start of the list and dwTotalSize covers both texts.
std::vector<std::byte> BuildForwardList(uint32_t mode, const QByteArray& caller,
                                        const QByteArray& destination) {
    constexpr uint32_t ListHeader = 8; // dwTotalSize, dwNumEntries
    constexpr uint32_t EntrySize = 24; // one LINEFORWARD
    const uint32_t callerSize = caller.isEmpty() ? 0 : static_cast<uint32_t>(caller.size() + 1);
    const uint32_t destSize =
        destination.isEmpty() ? 0 : static_cast<uint32_t>(destination.size() + 1);
    const uint32_t callerOffset = callerSize ? ListHeader + EntrySize : 0;
    const uint32_t destOffset = destSize ? ListHeader + EntrySize + callerSize : 0;
    const uint32_t total = ListHeader + EntrySize + callerSize + destSize;

    std::vector<std::byte> list(total);
    auto put = [&list](uint32_t at, uint32_t value) { std::memcpy(list.data() + at, &value, 4); };
    put(0, total);
    put(4, 1);
    put(ListHeader + 0, mode);
    put(ListHeader + 4, callerSize);
    put(ListHeader + 8, callerOffset);
    put(ListHeader + 12, 0); // dwDestCountryCode
    put(ListHeader + 16, destSize);
    put(ListHeader + 20, destOffset);
    if (callerSize)
        std::memcpy(list.data() + callerOffset, caller.constData(), callerSize); // with its NUL
    if (destSize)
        std::memcpy(list.data() + destOffset, destination.constData(), destSize);
    return list;
}
} // namespace

void TetAddressForward::setActive(bool value) {
    active_ = false;
    owner_->ClearError();
    owner_->Stamped(
        QStringLiteral("Address.Forward.Active = %1").arg(TetLineInternal::Bool(value)));

    std::optional<TetCallParamsBlock> params;
    std::vector<std::byte> list;
    try {
        params = parameters_.Build();
        if (value)
            list = BuildForwardList(mode_, TetLineInternal::TapiText(caller_).chopped(1),
                                    TetLineInternal::TapiText(phoneNumber_).chopped(1));
    } catch (const std::bad_alloc&) {
        owner_->Report(LINEERR_NOMEM);
        return;
    }

    const LONG result =
        lineForward(owner_->Line()->Handle(), 0, static_cast<DWORD>(owner_->Address()->ID()),
                    value ? reinterpret_cast<const LINEFORWARDLIST*>(list.data()) : nullptr,
                    static_cast<DWORD>(owner_->Address()->NumRingsNoAnswer()), &consultCall_,
                    params ? reinterpret_cast<const LINECALLPARAMS*>(params->Data()) : nullptr);
    if (result > 0) {
        pendingRequest_ = result;
        owner_->ClearError();
        if (owner_->WaitForReply(pendingRequest_))
            owner_->Report(-3);
        else if (owner_->ErrorNumber() == 0)
            active_ = value;
    } else if (result < 0) {
        owner_->Report(result);
    } else {
        active_ = value;
    }
    pendingRequest_ = 0;
    owner_->RefreshLineStatus();
    owner_->RefreshAddressStatus();
}

// ---- TetAddress

TetAddress::TetAddress(TetLineInternal* owner)
    : owner_(owner), capabilities_(owner), forward_(owner) {}

void TetAddress::Reset() {
    list_.clear();
    capabilities_.Clear();
    count_ = 0;
    id_ = 0;
    name_.clear();
}

void TetAddress::SetStatus(const TapiBuffer& buffer) {
    const auto* s = buffer.As<LINEADDRESSSTATUS>();
    numInUse_ = static_cast<int32_t>(s->dwNumInUse);
    numActiveCalls_ = static_cast<int32_t>(s->dwNumActiveCalls);
    numOnHoldCalls_ = static_cast<int32_t>(s->dwNumOnHoldCalls);
    numOnHoldPendCalls_ = static_cast<int32_t>(s->dwNumOnHoldPendCalls);
    features_ = s->dwAddressFeatures;
    numRingsNoAnswer_ = static_cast<int32_t>(s->dwNumRingsNoAnswer);

    const auto entries = static_cast<int32_t>(s->dwForwardNumEntries);
    forward_.SetStatus(entries, false, 0, QString(), QString());
    if (s->dwForwardSize > 0 && s->dwForwardNumEntries > 0) {
        const auto [bytes, size] = buffer.Bytes(s->dwForwardOffset, sizeof(LINEFORWARD));
        if (bytes && size == sizeof(LINEFORWARD)) {
            LINEFORWARD first;
            std::memcpy(&first, bytes, sizeof first);
            forward_.SetStatus(1, true, first.dwForwardMode,
                               TetLineInternal::StructText(buffer, first.dwCallerAddressOffset,
                                                           first.dwCallerAddressSize),
                               TetLineInternal::StructText(buffer, first.dwDestAddressOffset,
                                                           first.dwDestAddressSize));
        }
    }
}

void TetAddress::setID(int32_t n) {
    owner_->Stamped(QStringLiteral("Address.ID := %1").arg(n));
    owner_->Detail(QStringLiteral("\tAddress.Count = %1").arg(count_));
    owner_->ClearError();
    if (count_ == 0 && n == 0)
        return;
    if (count_ < 0 || n < 0 || n >= count_) {
        owner_->Report(LINEERR_INVALADDRESSID);
        return;
    }
    if (!owner_->SessionOpen())
        return;

    TapiBuffer caps;
    const LONG result = caps.Fill(sizeof(LINEADDRESSCAPS), [&](std::byte* data) {
        return lineGetAddressCaps(owner_->Line()->AppHandle(),
                                  static_cast<DWORD>(owner_->Device()->ID()), static_cast<DWORD>(n),
                                  owner_->TAPI()->Version(), 0,
                                  reinterpret_cast<LINEADDRESSCAPS*>(data));
    });
    if (result != 0) {
        owner_->Report(result);
    } else {
        id_ = n;
        capabilities_.Assign(caps);
        const auto* c = caps.As<LINEADDRESSCAPS>();
        name_ = c->dwAddressSize > 0
                    ? TetLineInternal::StructText(caps, c->dwAddressOffset, c->dwAddressSize)
                    : QStringLiteral("Address.ID = %1 <Name not available>").arg(n);
        owner_->Detail(QStringLiteral("\tAddress.Name = '%1'").arg(name_));
    }
    if (owner_->Device()->Active())
        lineSetStatusMessages(owner_->Line()->Handle(), owner_->Device()->Capabilities()->States(),
                              capabilities_.States());
}
