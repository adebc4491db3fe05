#include "telephony/tapi/scenario.h"

#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonParseError>
#include <QStringList>

#include <algorithm>
#include <map>
#include <set>
#include <utility>

namespace tapi::sim {

namespace {

// Names of a constant family, without the family prefix; a scenario may write either form.
struct Family {
    const char* prefix;
    std::vector<std::pair<QString, DWORD>> names;
};

Family bits(const char* prefix, const char* names, DWORD first = 1) {
    Family f{prefix, {}};
    DWORD v = first;
    for (const QString& n : QString::fromLatin1(names).split(u' ', Qt::SkipEmptyParts)) {
        f.names.emplace_back(n, v);
        v <<= 1;
    }
    return f;
}

const Family& mediaModes() {
    static const Family f =
        bits("LINEMEDIAMODE_",
             "UNKNOWN INTERACTIVEVOICE AUTOMATEDVOICE DATAMODEM G3FAX TDD G4FAX "
             "DIGITALDATA TELETEX VIDEOTEX TELEX MIXED ADSI VOICEVIEW VIDEO",
             2);
    return f;
}
const Family& bearerModes() {
    static const Family f = bits("LINEBEARERMODE_", "VOICE SPEECH MULTIUSE DATA ALTSPEECHDATA "
                                                    "NONCALLSIGNALING PASSTHROUGH RESTRICTEDDATA");
    return f;
}
const Family& lineStates() {
    static const Family f = bits(
        "LINEDEVSTATE_", "OTHER RINGING CONNECTED DISCONNECTED MSGWAITON MSGWAITOFF INSERVICE "
                         "OUTOFSERVICE MAINTENANCE OPEN CLOSE NUMCALLS NUMCOMPLETIONS TERMINALS "
                         "ROAMMODE BATTERY SIGNAL DEVSPECIFIC REINIT LOCK CAPSCHANGE CONFIGCHANGE "
                         "TRANSLATECHANGE COMPLCANCEL REMOVED");
    return f;
}
const Family& addressStates() {
    static const Family f = bits("LINEADDRESSSTATE_", "OTHER DEVSPECIFIC INUSEZERO INUSEONE "
                                                      "INUSEMANY NUMCALLS FORWARD TERMINALS "
                                                      "CAPSCHANGE");
    return f;
}
const Family& callStates() {
    static const Family f =
        bits("LINECALLSTATE_", "IDLE OFFERING ACCEPTED DIALTONE DIALING RINGBACK BUSY SPECIALINFO "
                               "CONNECTED PROCEEDING ONHOLD CONFERENCED ONHOLDPENDCONF "
                               "ONHOLDPENDTRANSF DISCONNECTED UNKNOWN");
    return f;
}
const Family& partyFlags() {
    static const Family f =
        bits("LINECALLPARTYID_", "BLOCKED OUTOFAREA NAME ADDRESS PARTIAL UNKNOWN UNAVAIL");
    return f;
}
const Family& origins() {
    static const Family f{"LINECALLORIGIN_",
                          {{"OUTBOUND", 0x1},
                           {"INTERNAL", 0x2},
                           {"EXTERNAL", 0x4},
                           {"UNKNOWN", 0x10},
                           {"UNAVAIL", 0x20},
                           {"CONFERENCE", 0x40},
                           {"INBOUND", 0x80}}};
    return f;
}
const Family& reasons() {
    static const Family f =
        bits("LINECALLREASON_", "DIRECT FWDBUSY FWDNOANSWER FWDUNCOND PICKUP UNPARK REDIRECT "
                                "CALLCOMPLETION TRANSFER REMINDER UNKNOWN UNAVAIL INTRUDE PARKED "
                                "CAMPEDON ROUTEREQUEST");
    return f;
}
const Family& digitModes() {
    static const Family f = bits("LINEDIGITMODE_", "PULSE DTMF DTMFEND");
    return f;
}
const Family& termDevs() {
    static const Family f = bits("LINETERMDEV_", "PHONE HEADSET SPEAKER");
    return f;
}
const Family& termModes() {
    static const Family f = bits("LINETERMMODE_", "BUTTONS LAMPS DISPLAY RINGER HOOKSWITCH "
                                                  "MEDIATOLINE MEDIAFROMLINE MEDIABIDIRECT");
    return f;
}
const Family& termSharing() {
    static const Family f = bits("LINETERMSHARING_", "PRIVATE SHAREDEXCL SHAREDCONF");
    return f;
}

// The mode family a call state's mode is named from.
const Family* modeFamily(DWORD state) {
    static const Family offering = bits("LINEOFFERINGMODE_", "ACTIVE INACTIVE");
    static const Family dialtone =
        bits("LINEDIALTONEMODE_", "NORMAL SPECIAL INTERNAL EXTERNAL UNKNOWN UNAVAIL");
    static const Family busy = bits("LINEBUSYMODE_", "STATION TRUNK UNKNOWN UNAVAIL");
    static const Family special =
        bits("LINESPECIALINFO_", "NOCIRCUIT CUSTIRREG REORDER UNKNOWN UNAVAIL");
    static const Family connected =
        bits("LINECONNECTEDMODE_", "ACTIVE INACTIVE ACTIVEHELD INACTIVEHELD CONFIRMED");
    static const Family disconnect = bits(
        "LINEDISCONNECTMODE_", "NORMAL UNKNOWN REJECT PICKUP FORWARDED BUSY NOANSWER BADADDRESS "
                               "UNREACHABLE CONGESTION INCOMPATIBLE UNAVAIL NODIALTONE "
                               "NUMBERCHANGED OUTOFORDER TEMPFAILURE QOSUNAVAIL BLOCKED "
                               "DONOTDISTURB CANCELLED");
    switch (state) {
    case LINECALLSTATE_OFFERING:
        return &offering;
    case LINECALLSTATE_DIALTONE:
        return &dialtone;
    case LINECALLSTATE_BUSY:
        return &busy;
    case LINECALLSTATE_SPECIALINFO:
        return &special;
    case LINECALLSTATE_CONNECTED:
        return &connected;
    case LINECALLSTATE_DISCONNECTED:
        return &disconnect;
    default:
        return nullptr;
    }
}

DWORD defaultMode(DWORD state) {
    switch (state) {
    case LINECALLSTATE_OFFERING:
        return LINEOFFERINGMODE_ACTIVE;
    case LINECALLSTATE_DIALTONE:
        return LINEDIALTONEMODE_NORMAL;
    case LINECALLSTATE_BUSY:
        return LINEBUSYMODE_UNAVAIL;
    case LINECALLSTATE_SPECIALINFO:
        return LINESPECIALINFO_UNAVAIL;
    case LINECALLSTATE_CONNECTED:
        return LINECONNECTEDMODE_ACTIVE;
    case LINECALLSTATE_DISCONNECTED:
        return LINEDISCONNECTMODE_NORMAL;
    default:
        return 0;
    }
}

struct Failure {
    QString place;
    QString what;
};

QString typeName(const QJsonValue& v) {
    switch (v.type()) {
    case QJsonValue::Null:
        return QStringLiteral("null");
    case QJsonValue::Bool:
        return QStringLiteral("a boolean");
    case QJsonValue::Double:
        return QStringLiteral("a number");
    case QJsonValue::String:
        return QStringLiteral("a text");
    case QJsonValue::Array:
        return QStringLiteral("an array");
    case QJsonValue::Object:
        return QStringLiteral("an object");
    default:
        return QStringLiteral("nothing");
    }
}

// Reads one JSON object, remembering where it is and which keys were used, so that a typo in a
// key is an error rather than a silently ignored setting.
class Node {
public:
    Node(QJsonObject object, QString place)
        : object_(std::move(object)), place_(std::move(place)) {}

    const QString& place() const { return place_; }
    QString at(const QString& key) const { return place_.isEmpty() ? key : place_ + u'.' + key; }

    bool has(const QString& key) {
        used_.insert(key);
        return object_.contains(key);
    }
    QJsonValue value(const QString& key) {
        used_.insert(key);
        return object_.value(key);
    }

    [[noreturn]] void fail(const QString& key, const QString& what) const {
        throw Failure{at(key), what};
    }

    QString text(const QString& key, const QString& fallback = {}) {
        const QJsonValue v = value(key);
        if (v.isUndefined())
            return fallback;
        if (!v.isString())
            fail(key, QStringLiteral("expected a text, found %1").arg(typeName(v)));
        return v.toString();
    }
    QString requiredText(const QString& key) {
        if (!has(key))
            fail(key, QStringLiteral("missing"));
        return text(key);
    }
    bool boolean(const QString& key, bool fallback) {
        const QJsonValue v = value(key);
        if (v.isUndefined())
            return fallback;
        if (!v.isBool())
            fail(key, QStringLiteral("expected true or false, found %1").arg(typeName(v)));
        return v.toBool();
    }
    qint64 integer(const QString& key, qint64 fallback, qint64 low = 0,
                   qint64 high = 0xFFFFFFFFLL) {
        const QJsonValue v = value(key);
        if (v.isUndefined())
            return fallback;
        return integerOf(v, at(key), low, high);
    }
    static qint64 integerOf(const QJsonValue& v, const QString& place, qint64 low, qint64 high) {
        qint64 n = 0;
        bool ok = false;
        if (v.isDouble()) {
            const double d = v.toDouble();
            ok = d == static_cast<double>(static_cast<qint64>(d));
            n = static_cast<qint64>(d);
        } else if (v.isString()) {
            const QString s = v.toString().trimmed();
            n = s.startsWith(QLatin1String("0x"), Qt::CaseInsensitive)
                    ? s.mid(2).toLongLong(&ok, 16)
                    : s.toLongLong(&ok, 10);
        } else {
            throw Failure{place,
                          QStringLiteral("expected a whole number, found %1").arg(typeName(v))};
        }
        if (!ok)
            throw Failure{place, QStringLiteral("expected a whole number")};
        if (n < low || n > high)
            throw Failure{place, QStringLiteral("%1 is outside %2..%3").arg(n).arg(low).arg(high)};
        return n;
    }

    // A set of flags: a name, a number, or an array of names and numbers.
    DWORD flags(const QString& key, const Family& family, DWORD fallback) {
        const QJsonValue v = value(key);
        if (v.isUndefined())
            return fallback;
        return flagsOf(v, at(key), family);
    }
    static DWORD flagsOf(const QJsonValue& v, const QString& place, const Family& family) {
        if (v.isArray()) {
            DWORD all = 0;
            const QJsonArray a = v.toArray();
            for (qsizetype i = 0; i < a.size(); ++i)
                all |= flagsOf(a[i], place + QStringLiteral("[%1]").arg(i), family);
            return all;
        }
        if (v.isDouble())
            return static_cast<DWORD>(integerOf(v, place, 0, 0xFFFFFFFFLL));
        if (!v.isString())
            throw Failure{place,
                          QStringLiteral("expected a name or a number, found %1").arg(typeName(v))};
        QString name = v.toString().trimmed().toUpper();
        if (name.startsWith(QLatin1String("0X")))
            return static_cast<DWORD>(integerOf(v, place, 0, 0xFFFFFFFFLL));
        if (name == QLatin1String("ALL")) {
            DWORD all = 0;
            for (const auto& n : family.names)
                all |= n.second;
            return all;
        }
        const QString prefix = QString::fromLatin1(family.prefix);
        if (name.startsWith(prefix))
            name = name.mid(prefix.size());
        for (const auto& n : family.names)
            if (n.first == name)
                return n.second;
        throw Failure{
            place,
            QStringLiteral("unknown name '%1' (expected one of %2...)").arg(v.toString(), prefix)};
    }

    Node object(const QString& key) {
        const QJsonValue v = value(key);
        if (!v.isObject())
            fail(key, QStringLiteral("expected an object, found %1").arg(typeName(v)));
        return Node(v.toObject(), at(key));
    }
    QJsonArray array(const QString& key) {
        const QJsonValue v = value(key);
        if (v.isUndefined())
            return {};
        if (!v.isArray())
            fail(key, QStringLiteral("expected an array, found %1").arg(typeName(v)));
        return v.toArray();
    }

    void finish() const {
        for (auto it = object_.begin(); it != object_.end(); ++it)
            if (!used_.count(it.key()))
                throw Failure{at(it.key()), QStringLiteral("unknown key")};
    }

private:
    QJsonObject object_;
    QString place_;
    std::set<QString> used_;
};

Node element(const QJsonArray& array, qsizetype i, const QString& place) {
    const QString at = place + QStringLiteral("[%1]").arg(i);
    if (!array[i].isObject())
        throw Failure{at, QStringLiteral("expected an object, found %1").arg(typeName(array[i]))};
    return Node(array[i].toObject(), at);
}

PartyData party(Node& n, const QString& key, bool blocked = false, bool outOfArea = false) {
    PartyData p;
    if (n.has(key)) {
        Node o = n.object(key);
        p.number = o.text(QStringLiteral("number")).toStdString();
        p.name = o.text(QStringLiteral("name")).toStdString();
        p.flags = o.flags(QStringLiteral("flags"), partyFlags(), 0);
        blocked = o.boolean(QStringLiteral("blocked"), blocked);
        outOfArea = o.boolean(QStringLiteral("outOfArea"), outOfArea);
        o.finish();
    } else {
        p.flags = 0;
    }
    if (p.flags == 0) {
        if (blocked)
            p.flags |= LINECALLPARTYID_BLOCKED;
        if (outOfArea)
            p.flags |= LINECALLPARTYID_OUTOFAREA;
        if (!blocked && !outOfArea) {
            if (!p.number.empty())
                p.flags |= LINECALLPARTYID_ADDRESS;
            if (!p.name.empty())
                p.flags |= LINECALLPARTYID_NAME;
            if (p.flags == 0)
                p.flags = LINECALLPARTYID_UNKNOWN;
        }
    }
    return p;
}

struct TimelineReader {
    std::vector<TimelineEvent>& out;
    std::set<QString> known; // calls introduced so far
    const DeviceInfo& info;

    DWORD state(Node& n, const QString& key, DWORD fallback) {
        const DWORD s = n.flags(key, callStates(), fallback);
        if (s == 0 || (s & (s - 1)) != 0)
            n.fail(key, QStringLiteral("expected one call state"));
        return s;
    }
    DWORD mode(Node& n, DWORD forState) {
        if (!n.has(QStringLiteral("mode")))
            return defaultMode(forState);
        const Family* f = modeFamily(forState);
        if (!f) {
            return static_cast<DWORD>(n.integer(QStringLiteral("mode"), 0));
        }
        return n.flags(QStringLiteral("mode"), *f, 0);
    }
    QString call(Node& n, const QString& suffix, bool introduce) {
        const QString name = n.requiredText(QStringLiteral("call"));
        const QString unique = name + suffix;
        if (introduce) {
            known.insert(unique);
        } else if (!known.count(unique)) {
            n.fail(QStringLiteral("call"),
                   QStringLiteral("unknown call '%1' (no earlier newCall names it)").arg(name));
        }
        return unique;
    }

    void read(const QJsonArray& events, const QString& place, qint64 base, const QString& suffix) {
        // Events are read in file order so that a call is introduced before it is used.
        for (qsizetype i = 0; i < events.size(); ++i) {
            Node n = element(events, i, place);
            const qint64 at = base + n.integer(QStringLiteral("at"), 0, 0, 864'000'000);
            if (n.has(QStringLiteral("repeat"))) {
                const qint64 times = n.integer(QStringLiteral("repeat"), 1, 0, 10'000'000);
                const qint64 every = n.integer(QStringLiteral("every"), 0, 0, 864'000'000);
                const QJsonArray inner = n.array(QStringLiteral("events"));
                n.finish();
                if (times * inner.size() + static_cast<qint64>(out.size()) > MaxTimelineEvents)
                    throw Failure{n.place(),
                                  QStringLiteral("the timeline would grow beyond %1 events")
                                      .arg(MaxTimelineEvents)};
                for (qint64 k = 0; k < times; ++k)
                    read(inner, n.at(QStringLiteral("events")), at + k * every,
                         suffix + QStringLiteral("#%1").arg(k));
                continue;
            }
            if (static_cast<qsizetype>(out.size()) >= MaxTimelineEvents)
                throw Failure{n.place(), QStringLiteral("the timeline would grow beyond %1 events")
                                             .arg(MaxTimelineEvents)};
            TimelineEvent e;
            e.at = at;
            const QString kind = n.requiredText(QStringLiteral("event"));
            if (kind == QLatin1String("newCall")) {
                e.kind = EventKind::NewCall;
                e.call = call(n, suffix, true);
                CallData& d = e.data;
                d.addressId =
                    static_cast<DWORD>(n.integer(QStringLiteral("address"), 0, 0,
                                                 static_cast<qint64>(info.addresses.size()) - 1));
                d.origin = n.flags(QStringLiteral("origin"), origins(), LINECALLORIGIN_EXTERNAL);
                d.reason = n.flags(QStringLiteral("reason"), reasons(), LINECALLREASON_DIRECT);
                d.mediaMode = n.flags(QStringLiteral("mediaMode"), mediaModes(),
                                      (info.mediaModes & LINEMEDIAMODE_INTERACTIVEVOICE)
                                          ? LINEMEDIAMODE_INTERACTIVEVOICE
                                          : (info.mediaModes & (~info.mediaModes + 1)));
                if ((d.mediaMode & ~LINEMEDIAMODE_UNKNOWN & ~info.mediaModes) != 0)
                    n.fail(QStringLiteral("mediaMode"),
                           QStringLiteral("the device does not carry this media mode"));
                d.bearerMode =
                    n.flags(QStringLiteral("bearerMode"), bearerModes(), LINEBEARERMODE_VOICE);
                const bool blocked = n.boolean(QStringLiteral("blocked"), false);
                const bool outOfArea = n.boolean(QStringLiteral("outOfArea"), false);
                d.parties[Caller] = party(n, QStringLiteral("caller"), blocked, outOfArea);
                d.parties[Called] = party(n, QStringLiteral("called"));
                d.parties[Connected] = party(n, QStringLiteral("connected"));
                d.parties[Redirection] = party(n, QStringLiteral("redirection"));
                d.parties[Redirecting] = party(n, QStringLiteral("redirecting"));
                d.comment = n.text(QStringLiteral("comment")).toStdString();
                e.state = state(n, QStringLiteral("state"), LINECALLSTATE_OFFERING);
                e.mode = mode(n, e.state);
            } else if (kind == QLatin1String("callState")) {
                e.kind = EventKind::CallState;
                e.call = call(n, suffix, false);
                if (!n.has(QStringLiteral("state")))
                    n.fail(QStringLiteral("state"), QStringLiteral("missing"));
                e.state = state(n, QStringLiteral("state"), 0);
                e.mode = mode(n, e.state);
            } else if (kind == QLatin1String("callerInfo") || kind == QLatin1String("partyInfo")) {
                e.kind = EventKind::PartyInfo;
                e.call = call(n, suffix, false);
                static const QStringList partyNames{"caller", "called", "connected", "redirection",
                                                    "redirecting"};
                const QString which = n.text(QStringLiteral("party"), QStringLiteral("caller"));
                const auto p = partyNames.indexOf(which);
                if (p < 0)
                    n.fail(QStringLiteral("party"),
                           QStringLiteral("unknown party '%1' (expected %2)")
                               .arg(which, partyNames.join(QStringLiteral(", "))));
                e.party = static_cast<PartyIndex>(p);
                PartyData pd;
                pd.number = n.text(QStringLiteral("number")).toStdString();
                pd.name = n.text(QStringLiteral("name")).toStdString();
                const bool blocked = n.boolean(QStringLiteral("blocked"), false);
                const bool outOfArea = n.boolean(QStringLiteral("outOfArea"), false);
                pd.flags = n.flags(QStringLiteral("flags"), partyFlags(), 0);
                if (pd.flags == 0) {
                    pd.flags = (blocked ? LINECALLPARTYID_BLOCKED : 0) |
                               (outOfArea ? LINECALLPARTYID_OUTOFAREA : 0);
                    if (pd.flags == 0)
                        pd.flags = (pd.number.empty() ? 0 : LINECALLPARTYID_ADDRESS) |
                                   (pd.name.empty() ? 0 : LINECALLPARTYID_NAME);
                    if (pd.flags == 0)
                        pd.flags = LINECALLPARTYID_UNKNOWN;
                }
                e.partyData = pd;
            } else if (kind == QLatin1String("ring")) {
                e.kind = EventKind::Ring;
                e.count = static_cast<DWORD>(n.integer(QStringLiteral("count"), 1, 0));
                e.ringMode = static_cast<DWORD>(n.integer(QStringLiteral("ringMode"), 1, 0));
            } else if (kind == QLatin1String("digits")) {
                e.kind = EventKind::Digits;
                e.call = call(n, suffix, false);
                e.digits = n.requiredText(QStringLiteral("digits"));
                for (QChar c : e.digits)
                    if (!QStringLiteral("0123456789ABCDabcd*#").contains(c))
                        n.fail(QStringLiteral("digits"),
                               QStringLiteral("'%1' is not a digit").arg(c));
                e.digitMode = n.flags(QStringLiteral("mode"), digitModes(), LINEDIGITMODE_DTMF);
                if (e.digitMode != LINEDIGITMODE_DTMF && e.digitMode != LINEDIGITMODE_PULSE)
                    n.fail(QStringLiteral("mode"), QStringLiteral("expected DTMF or PULSE"));
            } else if (kind == QLatin1String("tone")) {
                e.kind = EventKind::Tone;
                e.call = call(n, suffix, false);
                const QJsonArray f = n.array(QStringLiteral("frequencies"));
                if (f.isEmpty() || f.size() > 3)
                    n.fail(QStringLiteral("frequencies"),
                           QStringLiteral("expected one to three frequencies"));
                for (qsizetype k = 0; k < f.size(); ++k)
                    e.frequencies[k] = static_cast<DWORD>(Node::integerOf(
                        f[k], n.at(QStringLiteral("frequencies[%1]").arg(k)), 1, 100000));
            } else if (kind == QLatin1String("mediaMode")) {
                e.kind = EventKind::MediaMode;
                e.call = call(n, suffix, false);
                if (!n.has(QStringLiteral("mediaMode")))
                    n.fail(QStringLiteral("mediaMode"), QStringLiteral("missing"));
                e.mediaMode = n.flags(QStringLiteral("mediaMode"), mediaModes(), 0);
            } else if (kind == QLatin1String("lineClose")) {
                e.kind = EventKind::LineClose;
            } else if (kind == QLatin1String("lineDisconnected")) {
                e.kind = EventKind::LineDisconnected;
            } else if (kind == QLatin1String("lineConnected")) {
                e.kind = EventKind::LineConnected;
            } else if (kind == QLatin1String("lineDevState")) {
                e.kind = EventKind::LineDevState;
                e.state = n.flags(QStringLiteral("state"), lineStates(), 0);
                e.params[1] = static_cast<DWORD>(n.integer(QStringLiteral("param2"), 0));
                e.params[2] = static_cast<DWORD>(n.integer(QStringLiteral("param3"), 0));
                if (e.state == 0)
                    n.fail(QStringLiteral("state"), QStringLiteral("missing"));
            } else if (kind == QLatin1String("addressState")) {
                e.kind = EventKind::AddressState;
                e.addressId =
                    static_cast<DWORD>(n.integer(QStringLiteral("address"), 0, 0,
                                                 static_cast<qint64>(info.addresses.size()) - 1));
                e.state = n.flags(QStringLiteral("state"), addressStates(), 0);
                if (e.state == 0)
                    n.fail(QStringLiteral("state"), QStringLiteral("missing"));
            } else if (kind == QLatin1String("devSpecific")) {
                e.kind = EventKind::DevSpecific;
                for (int k = 0; k < 3; ++k)
                    e.params[k] =
                        static_cast<DWORD>(n.integer(QStringLiteral("param%1").arg(k + 1), 0));
            } else {
                n.fail(QStringLiteral("event"),
                       QStringLiteral("unknown event '%1' (expected newCall, callState, "
                                      "callerInfo, partyInfo, ring, digits, tone, mediaMode, "
                                      "lineClose, lineDisconnected, lineConnected, lineDevState, "
                                      "addressState or devSpecific)")
                           .arg(kind));
            }
            n.finish();
            out.push_back(std::move(e));
        }
    }
};

std::vector<uint8_t> bytes(Node& n, const QString& key) {
    std::vector<uint8_t> out;
    const QJsonValue v = n.value(key);
    if (v.isUndefined())
        return out;
    if (v.isString()) {
        const QString hex = v.toString().remove(u' ');
        const QByteArray raw = QByteArray::fromHex(hex.toLatin1());
        if (hex.size() % 2 != 0 || raw.size() * 2 != hex.size())
            n.fail(key, QStringLiteral("expected pairs of hexadecimal digits"));
        out.assign(raw.begin(), raw.end());
        return out;
    }
    if (!v.isArray())
        n.fail(key, QStringLiteral("expected hexadecimal text or an array of bytes"));
    const QJsonArray a = v.toArray();
    for (qsizetype i = 0; i < a.size(); ++i)
        out.push_back(static_cast<uint8_t>(
            Node::integerOf(a[i], n.at(key) + QStringLiteral("[%1]").arg(i), 0, 255)));
    return out;
}

ScenarioDevice device(Node& n, DWORD index) {
    ScenarioDevice d;
    DeviceInfo& info = d.info;
    info.name = n.requiredText(QStringLiteral("name")).toStdString();
    info.providerInfo =
        n.text(QStringLiteral("providerInfo"), QStringLiteral("VORBEL simulator")).toStdString();
    info.switchInfo = n.text(QStringLiteral("switchInfo")).toStdString();
    info.permanentLineId =
        static_cast<DWORD>(n.integer(QStringLiteral("permanentLineId"), 0x1000 + index));
    info.mediaModes =
        n.flags(QStringLiteral("mediaModes"), mediaModes(), LINEMEDIAMODE_INTERACTIVEVOICE);
    if (info.mediaModes == 0)
        n.fail(QStringLiteral("mediaModes"), QStringLiteral("a device needs a media mode"));
    info.reportedMediaModes = n.flags(QStringLiteral("reportedMediaModes"), mediaModes(), 0);
    info.bearerModes = n.flags(QStringLiteral("bearerModes"), bearerModes(), LINEBEARERMODE_VOICE);
    info.lineStates = n.flags(QStringLiteral("lineStates"), lineStates(), LINEDEVSTATE_ALL);
    info.addressStates =
        n.flags(QStringLiteral("addressStates"), addressStates(), LINEADDRESSSTATE_ALL);
    info.callerIdFlags = n.flags(QStringLiteral("callerIdFlags"), partyFlags(), info.callerIdFlags);
    if (n.has(QStringLiteral("addresses"))) {
        const QJsonArray a = n.array(QStringLiteral("addresses"));
        info.addresses.clear();
        for (qsizetype i = 0; i < a.size(); ++i) {
            if (!a[i].isString())
                n.fail(QStringLiteral("addresses[%1]").arg(i),
                       QStringLiteral("expected a text, found %1").arg(typeName(a[i])));
            info.addresses.push_back(a[i].toString().toStdString());
        }
        if (info.addresses.empty())
            n.fail(QStringLiteral("addresses"), QStringLiteral("a device needs an address"));
    }
    const QJsonArray terminals = n.array(QStringLiteral("terminals"));
    for (qsizetype i = 0; i < terminals.size(); ++i) {
        Node t = element(terminals, i, n.at(QStringLiteral("terminals")));
        TerminalInfo ti;
        ti.name = t.requiredText(QStringLiteral("name")).toStdString();
        ti.caps.dwTermDev = t.flags(QStringLiteral("device"), termDevs(), LINETERMDEV_PHONE);
        ti.caps.dwTermModes = t.flags(QStringLiteral("modes"), termModes(),
                                      LINETERMMODE_BUTTONS | LINETERMMODE_RINGER);
        ti.caps.dwTermSharing =
            t.flags(QStringLiteral("sharing"), termSharing(), LINETERMSHARING_PRIVATE);
        t.finish();
        info.terminals.push_back(ti);
    }
    info.devSpecific = bytes(n, QStringLiteral("devSpecific"));
    if (n.has(QStringLiteral("negotiationFails"))) {
        const QJsonValue v = n.value(QStringLiteral("negotiationFails"));
        if (v.isBool()) {
            info.negotiateError = v.toBool() ? LINEERR_INCOMPATIBLEAPIVERSION : 0;
        } else {
            n.fail(QStringLiteral("negotiationFails"), QStringLiteral("expected true or false"));
        }
    }
    info.lowApiVersion = static_cast<DWORD>(
        n.integer(QStringLiteral("lowApiVersion"), TAPI_VERSION1_0, 0x10000, 0x30001));
    info.highApiVersion = static_cast<DWORD>(
        n.integer(QStringLiteral("highApiVersion"), TAPI_VERSION2_2, 0x10000, 0x30001));
    info.lowExtVersion = static_cast<DWORD>(n.integer(QStringLiteral("lowExtVersion"), 0));
    info.highExtVersion = static_cast<DWORD>(n.integer(QStringLiteral("highExtVersion"), 0));
    const auto optionalId = [&](const QString& key) -> std::optional<DWORD> {
        if (!n.has(key))
            return std::nullopt;
        return static_cast<DWORD>(n.integer(key, 0));
    };
    info.phoneId = optionalId(QStringLiteral("phoneId"));
    info.waveInId = optionalId(QStringLiteral("waveInId"));
    info.waveOutId = optionalId(QStringLiteral("waveOutId"));
    info.commPort = n.boolean(QStringLiteral("commPort"),
                              (info.mediaModes & (LINEMEDIAMODE_DATAMODEM | LINEMEDIAMODE_G3FAX |
                                                  LINEMEDIAMODE_G4FAX)) != 0);
    info.maxActiveCalls =
        static_cast<DWORD>(n.integer(QStringLiteral("maxActiveCalls"), 4, 1, 1000));
    const QJsonArray unavailable = n.array(QStringLiteral("unavailable"));
    for (qsizetype i = 0; i < unavailable.size(); ++i) {
        const QString place = n.at(QStringLiteral("unavailable[%1]").arg(i));
        const auto op = operationByName(unavailable[i].toString());
        if (!unavailable[i].isString() || !op)
            throw Failure{place, QStringLiteral("unknown operation '%1'")
                                     .arg(unavailable[i].toVariant().toString())};
        info.unavailable[static_cast<int>(*op)] = true;
    }
    if (!(info.mediaModes & LINEMEDIAMODE_INTERACTIVEVOICE)) {
        // Without voice the device cannot hold, conference or transfer.
        for (Operation op :
             {Operation::Hold, Operation::Unhold, Operation::SetupConference,
              Operation::PrepareAddToConference, Operation::AddToConference,
              Operation::RemoveFromConference, Operation::SetupTransfer,
              Operation::CompleteTransfer, Operation::SwapHold, Operation::Park, Operation::Unpark,
              Operation::Pickup, Operation::Forward, Operation::BlindTransfer, Operation::Redirect,
              Operation::MonitorTones, Operation::GenerateTone})
            info.unavailable[static_cast<int>(op)] = true;
    }
    d.callStepMs = n.integer(QStringLiteral("callStepMs"), 0, 0, 600000);
    const QString outgoing = n.text(QStringLiteral("outgoingResult"), QStringLiteral("connected"));
    if (outgoing == QLatin1String("connected"))
        d.outgoing = OutgoingResult::Connected;
    else if (outgoing == QLatin1String("busy"))
        d.outgoing = OutgoingResult::Busy;
    else if (outgoing == QLatin1String("noAnswer"))
        d.outgoing = OutgoingResult::NoAnswer;
    else
        n.fail(QStringLiteral("outgoingResult"),
               QStringLiteral("unknown result '%1' (expected connected, busy or noAnswer)")
                   .arg(outgoing));
    TimelineReader reader{d.timeline, {}, info};
    reader.read(n.array(QStringLiteral("timeline")), n.at(QStringLiteral("timeline")), 0, {});
    std::stable_sort(d.timeline.begin(), d.timeline.end(),
                     [](const TimelineEvent& a, const TimelineEvent& b) { return a.at < b.at; });
    n.finish();
    return d;
}

} // namespace

ParseResult parseScenario(const QByteArray& json, const QString& fileName) {
    ParseResult result;
    QJsonParseError error{};
    const QJsonDocument doc = QJsonDocument::fromJson(json, &error);
    if (doc.isNull()) {
        result.code = LINEERR_INIFILECORRUPT;
        result.error = QStringLiteral("%1: not valid JSON at offset %2: %3")
                           .arg(fileName)
                           .arg(error.offset)
                           .arg(error.errorString());
        return result;
    }
    if (!doc.isObject()) {
        result.code = LINEERR_INIFILECORRUPT;
        result.error = QStringLiteral("%1: (top): expected an object").arg(fileName);
        return result;
    }
    try {
        Node root(doc.object(), QString());
        Scenario s;
        s.lineInitializeExA = root.boolean(QStringLiteral("lineInitializeExA"), true);
        const QJsonArray devices = root.array(QStringLiteral("devices"));
        for (qsizetype i = 0; i < devices.size(); ++i) {
            Node d = element(devices, i, QStringLiteral("devices"));
            s.devices.push_back(device(d, static_cast<DWORD>(i)));
        }
        root.finish();
        result.scenario = std::move(s);
    } catch (const Failure& f) {
        result.code = LINEERR_INIFILECORRUPT;
        result.error = QStringLiteral("%1: %2: %3").arg(fileName, f.place, f.what);
    }
    return result;
}

ParseResult loadScenario(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        ParseResult result;
        result.code = LINEERR_NODRIVER;
        result.error =
            QStringLiteral("%1: cannot read the scenario: %2").arg(path, file.errorString());
        return result;
    }
    // A scenario is small; refuse anything that is plainly not one before parsing it.
    constexpr qint64 MaxScenarioBytes = 64 * 1024 * 1024;
    if (file.size() > MaxScenarioBytes) {
        ParseResult result;
        result.code = LINEERR_INIFILECORRUPT;
        result.error = QStringLiteral("%1: larger than %2 bytes").arg(path).arg(MaxScenarioBytes);
        return result;
    }
    return parseScenario(file.readAll(), path);
}

} // namespace tapi::sim
