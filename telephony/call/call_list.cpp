// The call list: the records of the known calls, their handles in List, finding and ending calls
// and choosing the selected call.

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>

#include "telephony/call/call.h"
#include "telephony/call/log_listened.h"
#include "telephony/diagnostics/popup.h"
#include "telephony/line/line_internal.h"
#include "telephony/line/line_settings.h"
#include "telephony/tapi/tapi.h"

namespace {

const QString& SentinelText() {
    static const QString text = QStringLiteral("00000000");
    return text;
}

uint32_t HandleOfEntry(const QString& entry) {
    bool ok = false;
    const uint32_t h = entry.toUInt(&ok, 16);
    return ok ? h : 0;
}

} // namespace

TetCallLog* TetCall::AddCallRecord(AddMode mode, uint32_t handle) {
    if (mode == AddMode::LookupOrAdd && handle != 0) {
        if (TetCallLog* found = FindCall(FindKind::ByHandle, handle))
            return found;
    }
    auto record = std::make_unique<TetCallLog>();
    record->Handle = handle;
    TetCallLog* raw = record.get();
    if (mode == AddMode::Start) {
        // A new list: the records of the old one go with it.
        chain_.clear();
        chain_.push_back(std::move(record));
        list_.append(TetLineInternal::Hex8(handle));
        return raw;
    }
    if (chain_.empty()) {
        // A call before any list was started still needs the sentinel in front of it.
        chain_.push_back(std::make_unique<TetCallLog>());
        list_.clear();
        list_.append(SentinelText());
        count_ = 0;
    }
    if (handle != 0) {
        list_.append(TetLineInternal::Hex8(handle));
        ++count_;
    }
    chain_.insert(chain_.begin() + 1, std::move(record));
    return raw;
}

bool TetCall::DisposeCallRecord(TetCallLog* record) {
    for (std::size_t i = 1; i < chain_.size(); ++i) {
        if (chain_[i].get() == record) {
            chain_.erase(chain_.begin() + static_cast<std::ptrdiff_t>(i));
            return true;
        }
    }
    return false;
}

TetCallLog* TetCall::FindCall(FindKind kind, uint32_t key) {
    if (kind == FindKind::ByRequest) {
        // Request IDs are positive; 0 and -1 are the slots' "nothing pending" and "replied" marks.
        const auto id = static_cast<int32_t>(key);
        if (id <= 0)
            return nullptr;
        for (std::size_t i = 1; i < chain_.size(); ++i)
            if (chain_[i]->SlotOfRequest(id))
                return chain_[i].get();
        return nullptr;
    }
    for (std::size_t i = 1; i < chain_.size(); ++i)
        if (chain_[i]->Handle == key)
            return chain_[i].get();
    return nullptr;
}

int32_t TetCall::IndexOfCall(uint32_t handle) const {
    const QString text = TetLineInternal::Hex8(handle);
    const qsizetype last = std::min<qsizetype>(count_, list_.size() - 1);
    for (qsizetype i = 0; i <= last; ++i)
        if (list_[i] == text)
            return static_cast<int32_t>(i);
    return -1;
}

bool TetCall::EndCall(bool forced, uint32_t handle) {
    const QString text = TetLineInternal::Hex8(handle);
    const qsizetype last = std::min<qsizetype>(count_, list_.size() - 1);
    qsizetype entry = -1;
    for (qsizetype i = 1; i <= last && entry < 0; ++i)
        if (list_[i] == text)
            entry = i;
    if (entry < 0)
        return false;
    TetCallLog* record = FindCall(FindKind::ByHandle, handle);
    if (!record)
        return false;
    // A call whose OnCallEnd is running further up the stack is not ended a second time.
    if (record->Ended.isValid())
        return false;
    if (!forced &&
        ((record->State != 0 && record->State != LINECALLSTATE_IDLE) || record->RequestPending()))
        return false;

    const QDateTime now = QDateTime::currentDateTimeUtc();
    record->Ended = now;
    if (handle == handle_)
        ended_ = now;
    if (LogListened(*line_)) {
        line_->Stamped(QStringLiteral("OnCallEnd [") + text + QStringLiteral("]"));
        line_->Detail(QStringLiteral("\tCall.Ended = ") +
                      now.toLocalTime().toString(QStringLiteral("hh:mm:ss")));
    }
    line_->FireEvent(line_->OnCallEnd, static_cast<int32_t>(handle));
    line_->Vigil()->ShowOnEvent(line_->Popup()->OnCallEnd());
    if (handle == handle_)
        SelectNextCall();

    // The handler may have let other messages run: find the entry and the record again.
    const qsizetype now_last = std::min<qsizetype>(count_, list_.size() - 1);
    for (qsizetype i = 1; i <= now_last; ++i) {
        if (list_[i] == text) {
            list_.removeAt(i);
            --count_;
            break;
        }
    }
    if (TetCallLog* again = FindCall(FindKind::ByHandle, handle))
        DisposeCallRecord(again);
    return true;
}

void TetCall::SelectNextCall() {
    uint32_t next = 0;
    if (count_ <= 0) {
        active_ = false;
        ClearCallFields();
    } else {
        const qsizetype last = std::min<qsizetype>(count_, list_.size());
        for (qsizetype i = 1; i < last; ++i) {
            const uint32_t h = HandleOfEntry(list_[i]);
            const TetCallLog* record = FindCall(FindKind::ByHandle, h);
            // A call that is being ended is no candidate, whatever its state.
            if (record && record->State != 0 && record->State != LINECALLSTATE_IDLE &&
                !record->Ended.isValid()) {
                next = h;
                break;
            }
        }
    }
    setHandle(next);
}

void TetCall::setHandle(uint32_t h) {
    if (h == handle_)
        return;
    if (LogListened(*line_))
        line_->Stamped(QStringLiteral("Call.Handle = ") + TetLineInternal::HexBr(h));
    const int32_t index = IndexOfCall(h);
    if (index < 0 && h != 0) {
        line_->Report(LINEERR_INVALCALLHANDLE);
    } else {
        handle_ = h;
        LoadFromRecord(h);
    }

    const bool statusRead = RefreshCallStatus(false);
    const LONG infoResult = statusRead ? RefreshCallInfo(handle_, 0xF8000) : 0;
    if ((!statusRead || infoResult != 0) && line_->ErrorNumber() == LINEERR_INVALCALLHANDLE) {
        // TAPI no longer knows the call.
        const uint32_t selected = handle_;
        if (EndCall(false, selected))
            SelectNextCall();
        else
            SaveToRecord(selected);
    }
}

bool TetCall::WaitForCallFlag(const uint32_t& flag, uint32_t mask) {
    QElapsedTimer clock;
    clock.start();
    while ((flag & mask) == 0) {
        QCoreApplication::processEvents();
        if (clock.elapsed() >= line_->TAPI()->ReplyTimeout())
            return false;
        QThread::msleep(10);
    }
    return true;
}

void TetCall::ClearList() {
    chain_.clear();
    list_.clear();
}

TetCallLog* TetCall::SelectedRecord() {
    return handle_ != 0 ? FindCall(FindKind::ByHandle, handle_) : nullptr;
}
