#include <QHash>
#include <QTest>

#include <cstring>

#include "telephony/diagnostics/error_text.h"
#include "telephony/diagnostics/tapi_names.h"
#include "telephony/tapi/tapi.h"

namespace {

const QHash<QString, TetNameFunction>& nameFunctions() {
    static const QHash<QString, TetNameFunction> functions = {
        {"BearerModeName", &BearerModeName},
        {"ToneModeName", &ToneModeName},
        {"AddressCapFlagName", &AddressCapFlagName},
        {"PartyIDFlagName", &PartyIDFlagName},
        {"CallInfoStateName", &CallInfoStateName},
        {"CallStateName", &CallStateName},
        {"CallFeatureName", &CallFeatureName},
        {"CallFeature2Name", &CallFeature2Name},
        {"BusyModeName", &BusyModeName},
        {"DialToneModeName", &DialToneModeName},
        {"DisconnectModeName", &DisconnectModeName},
        {"SpecialInfoName", &SpecialInfoName},
        {"CallOriginName", &CallOriginName},
        {"CallReasonName", &CallReasonName},
        {"MediaModeName", &MediaModeName},
        {"TermDevName", &TermDevName},
        {"TermModeName", &TermModeName},
        {"TermSharingName", &TermSharingName},
        {"AddressStateName", &AddressStateName},
        {"DevCapFlagName", &DevCapFlagName},
        {"LineDevStateName", &LineDevStateName},
        {"RemoveFromConfName", &RemoveFromConfName},
        {"TransferModeName", &TransferModeName},
        {"ParkModeName", &ParkModeName},
        {"LineFeatureName", &LineFeatureName},
        {"CallParamFlagName", &CallParamFlagName},
        {"ForwardModeName", &ForwardModeName},
        {"AddressFeatureName", &AddressFeatureName},
        {"AnswerModeName", &AnswerModeName},
        {"ConnectedModeName", &ConnectedModeName},
        {"OfferingModeName", &OfferingModeName},
    };
    return functions;
}

void addName(const char* function, uint32_t value, const char* expected) {
    QTest::addRow("%s(0x%x)", function, value)
        << QString::fromLatin1(function) << value << QString::fromLatin1(expected);
}

// A structure buffer as TAPI fills it: dwTotalSize first, text at an offset.
QByteArray structureWith(uint32_t totalSize, qsizetype bufferSize, uint32_t offset,
                         const QByteArray& text) {
    QByteArray buffer(bufferSize, '\0');
    std::memcpy(buffer.data(), &totalSize, sizeof totalSize);
    std::memcpy(buffer.data() + offset, text.constData(), static_cast<std::size_t>(text.size()));
    return buffer;
}

} // namespace

class TestTapiNames : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void names_data();
    void names();
    void everyBitOfAFlagFamilyOutsideItsTableIsUnnamed_data();
    void everyBitOfAFlagFamilyOutsideItsTableIsUnnamed();
    void stateModeName_data();
    void stateModeName();
    void messageAndHandleNames_data();
    void messageAndHandleNames();
    void messageParameterNames();
    void errorText_data();
    void errorText();
    void tapiStringFromText_data();
    void tapiStringFromText();
    void tapiStringStaysInsideTheStructure_data();
    void tapiStringStaysInsideTheStructure();
};

void TestTapiNames::names_data() {
    QTest::addColumn<QString>("function");
    QTest::addColumn<uint32_t>("value");
    QTest::addColumn<QString>("expected");

    // Every constant of the platform layer reads as its own name.
#define NAMED(function, constant) addName(#function, constant, #constant)
    NAMED(BearerModeName, LINEBEARERMODE_VOICE);
    NAMED(BearerModeName, LINEBEARERMODE_SPEECH);
    NAMED(BearerModeName, LINEBEARERMODE_MULTIUSE);
    NAMED(BearerModeName, LINEBEARERMODE_DATA);
    NAMED(BearerModeName, LINEBEARERMODE_ALTSPEECHDATA);
    NAMED(BearerModeName, LINEBEARERMODE_NONCALLSIGNALING);
    NAMED(BearerModeName, LINEBEARERMODE_PASSTHROUGH);
    NAMED(BearerModeName, LINEBEARERMODE_RESTRICTEDDATA);
    NAMED(ToneModeName, LINETONEMODE_NONE);
    NAMED(ToneModeName, LINETONEMODE_CUSTOM);
    NAMED(ToneModeName, LINETONEMODE_RINGBACK);
    NAMED(ToneModeName, LINETONEMODE_BUSY);
    NAMED(ToneModeName, LINETONEMODE_BEEP);
    NAMED(ToneModeName, LINETONEMODE_BILLING);
    NAMED(AddressCapFlagName, LINEADDRCAPFLAGS_FWDNUMRINGS);
    NAMED(AddressCapFlagName, LINEADDRCAPFLAGS_PICKUPGROUPID);
    NAMED(AddressCapFlagName, LINEADDRCAPFLAGS_SECURE);
    NAMED(AddressCapFlagName, LINEADDRCAPFLAGS_BLOCKIDDEFAULT);
    NAMED(AddressCapFlagName, LINEADDRCAPFLAGS_BLOCKIDOVERRIDE);
    NAMED(AddressCapFlagName, LINEADDRCAPFLAGS_DIALED);
    NAMED(AddressCapFlagName, LINEADDRCAPFLAGS_ORIGOFFHOOK);
    NAMED(AddressCapFlagName, LINEADDRCAPFLAGS_DESTOFFHOOK);
    NAMED(AddressCapFlagName, LINEADDRCAPFLAGS_FWDCONSULT);
    NAMED(AddressCapFlagName, LINEADDRCAPFLAGS_SETUPCONFNULL);
    NAMED(AddressCapFlagName, LINEADDRCAPFLAGS_AUTORECONNECT);
    NAMED(AddressCapFlagName, LINEADDRCAPFLAGS_COMPLETIONID);
    NAMED(AddressCapFlagName, LINEADDRCAPFLAGS_TRANSFERHELD);
    NAMED(AddressCapFlagName, LINEADDRCAPFLAGS_TRANSFERMAKE);
    NAMED(AddressCapFlagName, LINEADDRCAPFLAGS_CONFERENCEHELD);
    NAMED(AddressCapFlagName, LINEADDRCAPFLAGS_CONFERENCEMAKE);
    NAMED(AddressCapFlagName, LINEADDRCAPFLAGS_PARTIALDIAL);
    NAMED(AddressCapFlagName, LINEADDRCAPFLAGS_FWDSTATUSVALID);
    NAMED(AddressCapFlagName, LINEADDRCAPFLAGS_FWDINTEXTADDR);
    NAMED(AddressCapFlagName, LINEADDRCAPFLAGS_FWDBUSYNAADDR);
    NAMED(AddressCapFlagName, LINEADDRCAPFLAGS_ACCEPTTOALERT);
    NAMED(AddressCapFlagName, LINEADDRCAPFLAGS_CONFDROP);
    NAMED(AddressCapFlagName, LINEADDRCAPFLAGS_PICKUPCALLWAIT);
    NAMED(AddressCapFlagName, LINEADDRCAPFLAGS_PREDICTIVEDIALER);
    NAMED(AddressCapFlagName, LINEADDRCAPFLAGS_QUEUE);
    NAMED(AddressCapFlagName, LINEADDRCAPFLAGS_ROUTEPOINT);
    NAMED(AddressCapFlagName, LINEADDRCAPFLAGS_HOLDMAKESNEW);
    NAMED(AddressCapFlagName, LINEADDRCAPFLAGS_NOINTERNALCALLS);
    NAMED(AddressCapFlagName, LINEADDRCAPFLAGS_NOEXTERNALCALLS);
    NAMED(AddressCapFlagName, LINEADDRCAPFLAGS_SETCALLINGID);
    NAMED(AddressCapFlagName, LINEADDRCAPFLAGS_ACDGROUP);
    NAMED(PartyIDFlagName, LINECALLPARTYID_BLOCKED);
    NAMED(PartyIDFlagName, LINECALLPARTYID_OUTOFAREA);
    NAMED(PartyIDFlagName, LINECALLPARTYID_NAME);
    NAMED(PartyIDFlagName, LINECALLPARTYID_ADDRESS);
    NAMED(PartyIDFlagName, LINECALLPARTYID_PARTIAL);
    NAMED(PartyIDFlagName, LINECALLPARTYID_UNKNOWN);
    NAMED(PartyIDFlagName, LINECALLPARTYID_UNAVAIL);
    NAMED(CallInfoStateName, LINECALLINFOSTATE_OTHER);
    NAMED(CallInfoStateName, LINECALLINFOSTATE_DEVSPECIFIC);
    NAMED(CallInfoStateName, LINECALLINFOSTATE_BEARERMODE);
    NAMED(CallInfoStateName, LINECALLINFOSTATE_RATE);
    NAMED(CallInfoStateName, LINECALLINFOSTATE_MEDIAMODE);
    NAMED(CallInfoStateName, LINECALLINFOSTATE_APPSPECIFIC);
    NAMED(CallInfoStateName, LINECALLINFOSTATE_CALLID);
    NAMED(CallInfoStateName, LINECALLINFOSTATE_RELATEDCALLID);
    NAMED(CallInfoStateName, LINECALLINFOSTATE_ORIGIN);
    NAMED(CallInfoStateName, LINECALLINFOSTATE_REASON);
    NAMED(CallInfoStateName, LINECALLINFOSTATE_COMPLETIONID);
    NAMED(CallInfoStateName, LINECALLINFOSTATE_NUMOWNERINCR);
    NAMED(CallInfoStateName, LINECALLINFOSTATE_NUMOWNERDECR);
    NAMED(CallInfoStateName, LINECALLINFOSTATE_NUMMONITORS);
    NAMED(CallInfoStateName, LINECALLINFOSTATE_TRUNK);
    NAMED(CallInfoStateName, LINECALLINFOSTATE_CALLERID);
    NAMED(CallInfoStateName, LINECALLINFOSTATE_CALLEDID);
    NAMED(CallInfoStateName, LINECALLINFOSTATE_CONNECTEDID);
    NAMED(CallInfoStateName, LINECALLINFOSTATE_REDIRECTIONID);
    NAMED(CallInfoStateName, LINECALLINFOSTATE_REDIRECTINGID);
    NAMED(CallInfoStateName, LINECALLINFOSTATE_DISPLAY);
    NAMED(CallInfoStateName, LINECALLINFOSTATE_USERUSERINFO);
    NAMED(CallInfoStateName, LINECALLINFOSTATE_HIGHLEVELCOMP);
    NAMED(CallInfoStateName, LINECALLINFOSTATE_LOWLEVELCOMP);
    NAMED(CallInfoStateName, LINECALLINFOSTATE_CHARGINGINFO);
    NAMED(CallInfoStateName, LINECALLINFOSTATE_TERMINAL);
    NAMED(CallInfoStateName, LINECALLINFOSTATE_DIALPARAMS);
    NAMED(CallInfoStateName, LINECALLINFOSTATE_MONITORMODES);
    NAMED(CallInfoStateName, LINECALLINFOSTATE_TREATMENT);
    NAMED(CallInfoStateName, LINECALLINFOSTATE_QOS);
    NAMED(CallInfoStateName, LINECALLINFOSTATE_CALLDATA);
    NAMED(CallStateName, LINECALLSTATE_IDLE);
    NAMED(CallStateName, LINECALLSTATE_OFFERING);
    NAMED(CallStateName, LINECALLSTATE_ACCEPTED);
    NAMED(CallStateName, LINECALLSTATE_DIALTONE);
    NAMED(CallStateName, LINECALLSTATE_DIALING);
    NAMED(CallStateName, LINECALLSTATE_RINGBACK);
    NAMED(CallStateName, LINECALLSTATE_BUSY);
    NAMED(CallStateName, LINECALLSTATE_SPECIALINFO);
    NAMED(CallStateName, LINECALLSTATE_CONNECTED);
    NAMED(CallStateName, LINECALLSTATE_PROCEEDING);
    NAMED(CallStateName, LINECALLSTATE_ONHOLD);
    NAMED(CallStateName, LINECALLSTATE_CONFERENCED);
    NAMED(CallStateName, LINECALLSTATE_ONHOLDPENDCONF);
    NAMED(CallStateName, LINECALLSTATE_ONHOLDPENDTRANSF);
    NAMED(CallStateName, LINECALLSTATE_DISCONNECTED);
    NAMED(CallStateName, LINECALLSTATE_UNKNOWN);
    NAMED(CallFeatureName, LINECALLFEATURE_ACCEPT);
    NAMED(CallFeatureName, LINECALLFEATURE_ADDTOCONF);
    NAMED(CallFeatureName, LINECALLFEATURE_ANSWER);
    NAMED(CallFeatureName, LINECALLFEATURE_BLINDTRANSFER);
    NAMED(CallFeatureName, LINECALLFEATURE_COMPLETECALL);
    NAMED(CallFeatureName, LINECALLFEATURE_COMPLETETRANSF);
    NAMED(CallFeatureName, LINECALLFEATURE_DIAL);
    NAMED(CallFeatureName, LINECALLFEATURE_DROP);
    NAMED(CallFeatureName, LINECALLFEATURE_GATHERDIGITS);
    NAMED(CallFeatureName, LINECALLFEATURE_GENERATEDIGITS);
    NAMED(CallFeatureName, LINECALLFEATURE_GENERATETONE);
    NAMED(CallFeatureName, LINECALLFEATURE_HOLD);
    NAMED(CallFeatureName, LINECALLFEATURE_MONITORDIGITS);
    NAMED(CallFeatureName, LINECALLFEATURE_MONITORMEDIA);
    NAMED(CallFeatureName, LINECALLFEATURE_MONITORTONES);
    NAMED(CallFeatureName, LINECALLFEATURE_PARK);
    NAMED(CallFeatureName, LINECALLFEATURE_PREPAREADDCONF);
    NAMED(CallFeatureName, LINECALLFEATURE_REDIRECT);
    NAMED(CallFeatureName, LINECALLFEATURE_REMOVEFROMCONF);
    NAMED(CallFeatureName, LINECALLFEATURE_SECURECALL);
    NAMED(CallFeatureName, LINECALLFEATURE_SENDUSERUSER);
    NAMED(CallFeatureName, LINECALLFEATURE_SETCALLPARAMS);
    NAMED(CallFeatureName, LINECALLFEATURE_SETMEDIACONTROL);
    NAMED(CallFeatureName, LINECALLFEATURE_SETTERMINAL);
    NAMED(CallFeatureName, LINECALLFEATURE_SETUPCONF);
    NAMED(CallFeatureName, LINECALLFEATURE_SETUPTRANSFER);
    NAMED(CallFeatureName, LINECALLFEATURE_SWAPHOLD);
    NAMED(CallFeatureName, LINECALLFEATURE_UNHOLD);
    NAMED(CallFeatureName, LINECALLFEATURE_RELEASEUSERUSERINFO);
    NAMED(CallFeatureName, LINECALLFEATURE_SETTREATMENT);
    NAMED(CallFeatureName, LINECALLFEATURE_SETQOS);
    NAMED(CallFeatureName, LINECALLFEATURE_SETCALLDATA);
    NAMED(CallFeature2Name, LINECALLFEATURE2_NOHOLDCONFERENCE);
    NAMED(CallFeature2Name, LINECALLFEATURE2_ONESTEPTRANSFER);
    NAMED(CallFeature2Name, LINECALLFEATURE2_COMPLCAMPON);
    NAMED(CallFeature2Name, LINECALLFEATURE2_COMPLCALLBACK);
    NAMED(CallFeature2Name, LINECALLFEATURE2_COMPLINTRUDE);
    NAMED(CallFeature2Name, LINECALLFEATURE2_COMPLMESSAGE);
    NAMED(CallFeature2Name, LINECALLFEATURE2_TRANSFERNORM);
    NAMED(CallFeature2Name, LINECALLFEATURE2_TRANSFERCONF);
    NAMED(CallFeature2Name, LINECALLFEATURE2_PARKDIRECT);
    NAMED(CallFeature2Name, LINECALLFEATURE2_PARKNONDIRECT);
    NAMED(BusyModeName, LINEBUSYMODE_STATION);
    NAMED(BusyModeName, LINEBUSYMODE_TRUNK);
    NAMED(BusyModeName, LINEBUSYMODE_UNKNOWN);
    NAMED(BusyModeName, LINEBUSYMODE_UNAVAIL);
    NAMED(DialToneModeName, LINEDIALTONEMODE_NORMAL);
    NAMED(DialToneModeName, LINEDIALTONEMODE_SPECIAL);
    NAMED(DialToneModeName, LINEDIALTONEMODE_INTERNAL);
    NAMED(DialToneModeName, LINEDIALTONEMODE_EXTERNAL);
    NAMED(DialToneModeName, LINEDIALTONEMODE_UNKNOWN);
    NAMED(DialToneModeName, LINEDIALTONEMODE_UNAVAIL);
    NAMED(DisconnectModeName, LINEDISCONNECTMODE_NORMAL);
    NAMED(DisconnectModeName, LINEDISCONNECTMODE_UNKNOWN);
    NAMED(DisconnectModeName, LINEDISCONNECTMODE_REJECT);
    NAMED(DisconnectModeName, LINEDISCONNECTMODE_PICKUP);
    NAMED(DisconnectModeName, LINEDISCONNECTMODE_FORWARDED);
    NAMED(DisconnectModeName, LINEDISCONNECTMODE_BUSY);
    NAMED(DisconnectModeName, LINEDISCONNECTMODE_NOANSWER);
    NAMED(DisconnectModeName, LINEDISCONNECTMODE_BADADDRESS);
    NAMED(DisconnectModeName, LINEDISCONNECTMODE_UNREACHABLE);
    NAMED(DisconnectModeName, LINEDISCONNECTMODE_CONGESTION);
    NAMED(DisconnectModeName, LINEDISCONNECTMODE_INCOMPATIBLE);
    NAMED(DisconnectModeName, LINEDISCONNECTMODE_UNAVAIL);
    NAMED(DisconnectModeName, LINEDISCONNECTMODE_NODIALTONE);
    NAMED(DisconnectModeName, LINEDISCONNECTMODE_NUMBERCHANGED);
    NAMED(DisconnectModeName, LINEDISCONNECTMODE_OUTOFORDER);
    NAMED(DisconnectModeName, LINEDISCONNECTMODE_TEMPFAILURE);
    NAMED(DisconnectModeName, LINEDISCONNECTMODE_QOSUNAVAIL);
    NAMED(DisconnectModeName, LINEDISCONNECTMODE_BLOCKED);
    NAMED(DisconnectModeName, LINEDISCONNECTMODE_DONOTDISTURB);
    NAMED(DisconnectModeName, LINEDISCONNECTMODE_CANCELLED);
    NAMED(SpecialInfoName, LINESPECIALINFO_NOCIRCUIT);
    NAMED(SpecialInfoName, LINESPECIALINFO_CUSTIRREG);
    NAMED(SpecialInfoName, LINESPECIALINFO_REORDER);
    NAMED(SpecialInfoName, LINESPECIALINFO_UNKNOWN);
    NAMED(SpecialInfoName, LINESPECIALINFO_UNAVAIL);
    NAMED(CallOriginName, LINECALLORIGIN_OUTBOUND);
    NAMED(CallOriginName, LINECALLORIGIN_INTERNAL);
    NAMED(CallOriginName, LINECALLORIGIN_EXTERNAL);
    NAMED(CallOriginName, LINECALLORIGIN_UNKNOWN);
    NAMED(CallOriginName, LINECALLORIGIN_UNAVAIL);
    NAMED(CallOriginName, LINECALLORIGIN_CONFERENCE);
    NAMED(CallOriginName, LINECALLORIGIN_INBOUND);
    NAMED(CallReasonName, LINECALLREASON_DIRECT);
    NAMED(CallReasonName, LINECALLREASON_FWDBUSY);
    NAMED(CallReasonName, LINECALLREASON_FWDNOANSWER);
    NAMED(CallReasonName, LINECALLREASON_FWDUNCOND);
    NAMED(CallReasonName, LINECALLREASON_PICKUP);
    NAMED(CallReasonName, LINECALLREASON_UNPARK);
    NAMED(CallReasonName, LINECALLREASON_REDIRECT);
    NAMED(CallReasonName, LINECALLREASON_CALLCOMPLETION);
    NAMED(CallReasonName, LINECALLREASON_TRANSFER);
    NAMED(CallReasonName, LINECALLREASON_REMINDER);
    NAMED(CallReasonName, LINECALLREASON_UNKNOWN);
    NAMED(CallReasonName, LINECALLREASON_UNAVAIL);
    NAMED(CallReasonName, LINECALLREASON_INTRUDE);
    NAMED(CallReasonName, LINECALLREASON_PARKED);
    NAMED(CallReasonName, LINECALLREASON_CAMPEDON);
    NAMED(CallReasonName, LINECALLREASON_ROUTEREQUEST);
    NAMED(MediaModeName, LINEMEDIAMODE_UNKNOWN);
    NAMED(MediaModeName, LINEMEDIAMODE_INTERACTIVEVOICE);
    NAMED(MediaModeName, LINEMEDIAMODE_AUTOMATEDVOICE);
    NAMED(MediaModeName, LINEMEDIAMODE_DATAMODEM);
    NAMED(MediaModeName, LINEMEDIAMODE_G3FAX);
    NAMED(MediaModeName, LINEMEDIAMODE_TDD);
    NAMED(MediaModeName, LINEMEDIAMODE_G4FAX);
    NAMED(MediaModeName, LINEMEDIAMODE_DIGITALDATA);
    NAMED(MediaModeName, LINEMEDIAMODE_TELETEX);
    NAMED(MediaModeName, LINEMEDIAMODE_VIDEOTEX);
    NAMED(MediaModeName, LINEMEDIAMODE_TELEX);
    NAMED(MediaModeName, LINEMEDIAMODE_MIXED);
    NAMED(MediaModeName, LINEMEDIAMODE_ADSI);
    NAMED(MediaModeName, LINEMEDIAMODE_VOICEVIEW);
    NAMED(MediaModeName, LINEMEDIAMODE_VIDEO);
    NAMED(TermDevName, LINETERMDEV_PHONE);
    NAMED(TermDevName, LINETERMDEV_HEADSET);
    NAMED(TermDevName, LINETERMDEV_SPEAKER);
    NAMED(TermModeName, LINETERMMODE_BUTTONS);
    NAMED(TermModeName, LINETERMMODE_LAMPS);
    NAMED(TermModeName, LINETERMMODE_DISPLAY);
    NAMED(TermModeName, LINETERMMODE_RINGER);
    NAMED(TermModeName, LINETERMMODE_HOOKSWITCH);
    NAMED(TermModeName, LINETERMMODE_MEDIATOLINE);
    NAMED(TermModeName, LINETERMMODE_MEDIAFROMLINE);
    NAMED(TermModeName, LINETERMMODE_MEDIABIDIRECT);
    NAMED(TermSharingName, LINETERMSHARING_PRIVATE);
    NAMED(TermSharingName, LINETERMSHARING_SHAREDEXCL);
    NAMED(TermSharingName, LINETERMSHARING_SHAREDCONF);
    NAMED(AddressStateName, LINEADDRESSSTATE_OTHER);
    NAMED(AddressStateName, LINEADDRESSSTATE_DEVSPECIFIC);
    NAMED(AddressStateName, LINEADDRESSSTATE_INUSEZERO);
    NAMED(AddressStateName, LINEADDRESSSTATE_INUSEONE);
    NAMED(AddressStateName, LINEADDRESSSTATE_INUSEMANY);
    NAMED(AddressStateName, LINEADDRESSSTATE_NUMCALLS);
    NAMED(AddressStateName, LINEADDRESSSTATE_FORWARD);
    NAMED(AddressStateName, LINEADDRESSSTATE_TERMINALS);
    NAMED(AddressStateName, LINEADDRESSSTATE_CAPSCHANGE);
    NAMED(DevCapFlagName, LINEDEVCAPFLAGS_CROSSADDRCONF);
    NAMED(DevCapFlagName, LINEDEVCAPFLAGS_HIGHLEVCOMP);
    NAMED(DevCapFlagName, LINEDEVCAPFLAGS_LOWLEVCOMP);
    NAMED(DevCapFlagName, LINEDEVCAPFLAGS_MEDIACONTROL);
    NAMED(DevCapFlagName, LINEDEVCAPFLAGS_MULTIPLEADDR);
    NAMED(DevCapFlagName, LINEDEVCAPFLAGS_CLOSEDROP);
    NAMED(DevCapFlagName, LINEDEVCAPFLAGS_DIALBILLING);
    NAMED(DevCapFlagName, LINEDEVCAPFLAGS_DIALQUIET);
    NAMED(DevCapFlagName, LINEDEVCAPFLAGS_DIALDIALTONE);
    NAMED(DevCapFlagName, LINEDEVCAPFLAGS_MSP);
    NAMED(DevCapFlagName, LINEDEVCAPFLAGS_PARTICIPANTINFO);
    NAMED(DevCapFlagName, LINEDEVCAPFLAGS_CALLHUB);
    NAMED(DevCapFlagName, LINEDEVCAPFLAGS_CALLHUBTRACKING);
    NAMED(DevCapFlagName, LINEDEVCAPFLAGS_PRIVATEOBJECTS);
    NAMED(LineDevStateName, LINEDEVSTATE_OTHER);
    NAMED(LineDevStateName, LINEDEVSTATE_RINGING);
    NAMED(LineDevStateName, LINEDEVSTATE_CONNECTED);
    NAMED(LineDevStateName, LINEDEVSTATE_DISCONNECTED);
    NAMED(LineDevStateName, LINEDEVSTATE_MSGWAITON);
    NAMED(LineDevStateName, LINEDEVSTATE_MSGWAITOFF);
    NAMED(LineDevStateName, LINEDEVSTATE_INSERVICE);
    NAMED(LineDevStateName, LINEDEVSTATE_OUTOFSERVICE);
    NAMED(LineDevStateName, LINEDEVSTATE_MAINTENANCE);
    NAMED(LineDevStateName, LINEDEVSTATE_OPEN);
    NAMED(LineDevStateName, LINEDEVSTATE_CLOSE);
    NAMED(LineDevStateName, LINEDEVSTATE_NUMCALLS);
    NAMED(LineDevStateName, LINEDEVSTATE_NUMCOMPLETIONS);
    NAMED(LineDevStateName, LINEDEVSTATE_TERMINALS);
    NAMED(LineDevStateName, LINEDEVSTATE_ROAMMODE);
    NAMED(LineDevStateName, LINEDEVSTATE_BATTERY);
    NAMED(LineDevStateName, LINEDEVSTATE_SIGNAL);
    NAMED(LineDevStateName, LINEDEVSTATE_DEVSPECIFIC);
    NAMED(LineDevStateName, LINEDEVSTATE_REINIT);
    NAMED(LineDevStateName, LINEDEVSTATE_LOCK);
    NAMED(LineDevStateName, LINEDEVSTATE_CAPSCHANGE);
    NAMED(LineDevStateName, LINEDEVSTATE_CONFIGCHANGE);
    NAMED(LineDevStateName, LINEDEVSTATE_TRANSLATECHANGE);
    NAMED(LineDevStateName, LINEDEVSTATE_COMPLCANCEL);
    NAMED(LineDevStateName, LINEDEVSTATE_REMOVED);
    NAMED(RemoveFromConfName, LINEREMOVEFROMCONF_NONE);
    NAMED(RemoveFromConfName, LINEREMOVEFROMCONF_ANY);
    NAMED(TransferModeName, LINETRANSFERMODE_TRANSFER);
    NAMED(TransferModeName, LINETRANSFERMODE_CONFERENCE);
    NAMED(ParkModeName, LINEPARKMODE_DIRECTED);
    NAMED(ParkModeName, LINEPARKMODE_NONDIRECTED);
    NAMED(LineFeatureName, LINEFEATURE_DEVSPECIFIC);
    NAMED(LineFeatureName, LINEFEATURE_DEVSPECIFICFEAT);
    NAMED(LineFeatureName, LINEFEATURE_FORWARD);
    NAMED(LineFeatureName, LINEFEATURE_MAKECALL);
    NAMED(LineFeatureName, LINEFEATURE_SETMEDIACONTROL);
    NAMED(LineFeatureName, LINEFEATURE_SETTERMINAL);
    NAMED(LineFeatureName, LINEFEATURE_SETDEVSTATUS);
    NAMED(LineFeatureName, LINEFEATURE_FORWARDFWD);
    NAMED(LineFeatureName, LINEFEATURE_FORWARDDND);
    NAMED(CallParamFlagName, LINECALLPARAMFLAGS_SECURE);
    NAMED(CallParamFlagName, LINECALLPARAMFLAGS_IDLE);
    NAMED(CallParamFlagName, LINECALLPARAMFLAGS_BLOCKID);
    NAMED(CallParamFlagName, LINECALLPARAMFLAGS_ORIGOFFHOOK);
    NAMED(CallParamFlagName, LINECALLPARAMFLAGS_DESTOFFHOOK);
    NAMED(CallParamFlagName, LINECALLPARAMFLAGS_NOHOLDCONFERENCE);
    NAMED(CallParamFlagName, LINECALLPARAMFLAGS_PREDICTIVEDIAL);
    NAMED(CallParamFlagName, LINECALLPARAMFLAGS_ONESTEPTRANSFER);
    NAMED(ForwardModeName, LINEFORWARDMODE_UNCOND);
    NAMED(ForwardModeName, LINEFORWARDMODE_UNCONDINTERNAL);
    NAMED(ForwardModeName, LINEFORWARDMODE_UNCONDEXTERNAL);
    NAMED(ForwardModeName, LINEFORWARDMODE_UNCONDSPECIFIC);
    NAMED(ForwardModeName, LINEFORWARDMODE_BUSY);
    NAMED(ForwardModeName, LINEFORWARDMODE_BUSYINTERNAL);
    NAMED(ForwardModeName, LINEFORWARDMODE_BUSYEXTERNAL);
    NAMED(ForwardModeName, LINEFORWARDMODE_BUSYSPECIFIC);
    NAMED(ForwardModeName, LINEFORWARDMODE_NOANSW);
    NAMED(ForwardModeName, LINEFORWARDMODE_NOANSWINTERNAL);
    NAMED(ForwardModeName, LINEFORWARDMODE_NOANSWEXTERNAL);
    NAMED(ForwardModeName, LINEFORWARDMODE_NOANSWSPECIFIC);
    NAMED(ForwardModeName, LINEFORWARDMODE_BUSYNA);
    NAMED(ForwardModeName, LINEFORWARDMODE_BUSYNAINTERNAL);
    NAMED(ForwardModeName, LINEFORWARDMODE_BUSYNAEXTERNAL);
    NAMED(ForwardModeName, LINEFORWARDMODE_BUSYNASPECIFIC);
    NAMED(ForwardModeName, LINEFORWARDMODE_UNKNOWN);
    NAMED(ForwardModeName, LINEFORWARDMODE_UNAVAIL);
    NAMED(AddressFeatureName, LINEADDRFEATURE_FORWARD);
    NAMED(AddressFeatureName, LINEADDRFEATURE_MAKECALL);
    NAMED(AddressFeatureName, LINEADDRFEATURE_PICKUP);
    NAMED(AddressFeatureName, LINEADDRFEATURE_SETMEDIACONTROL);
    NAMED(AddressFeatureName, LINEADDRFEATURE_SETTERMINAL);
    NAMED(AddressFeatureName, LINEADDRFEATURE_SETUPCONF);
    NAMED(AddressFeatureName, LINEADDRFEATURE_UNCOMPLETECALL);
    NAMED(AddressFeatureName, LINEADDRFEATURE_UNPARK);
    NAMED(AddressFeatureName, LINEADDRFEATURE_PICKUPHELD);
    NAMED(AddressFeatureName, LINEADDRFEATURE_PICKUPGROUP);
    NAMED(AddressFeatureName, LINEADDRFEATURE_PICKUPDIRECT);
    NAMED(AddressFeatureName, LINEADDRFEATURE_PICKUPWAITING);
    NAMED(AddressFeatureName, LINEADDRFEATURE_FORWARDFWD);
    NAMED(AddressFeatureName, LINEADDRFEATURE_FORWARDDND);
    NAMED(AnswerModeName, LINEANSWERMODE_NONE);
    NAMED(AnswerModeName, LINEANSWERMODE_DROP);
    NAMED(AnswerModeName, LINEANSWERMODE_HOLD);
    NAMED(ConnectedModeName, LINECONNECTEDMODE_ACTIVE);
    NAMED(ConnectedModeName, LINECONNECTEDMODE_INACTIVE);
    NAMED(ConnectedModeName, LINECONNECTEDMODE_ACTIVEHELD);
    NAMED(ConnectedModeName, LINECONNECTEDMODE_INACTIVEHELD);
    NAMED(ConnectedModeName, LINECONNECTEDMODE_CONFIRMED);
    NAMED(OfferingModeName, LINEOFFERINGMODE_ACTIVE);
    NAMED(OfferingModeName, LINEOFFERINGMODE_INACTIVE);
#undef NAMED

    // Values the tables do not name.
    addName("CallStateName", 0x3, "LINECALLSTATE_???");
    addName("CallStateName", 0, "LINECALLSTATE_???");
    addName("CallStateName", 0x10000, "LINECALLSTATE_???");
    addName("BearerModeName", 0, "LINEBEARERMODE_???");
    addName("MediaModeName", 0x1, "LINEMEDIAMODE_???");
    addName("MediaModeName", 0, "LINEMEDIAMODE_???");
    addName("MediaModeName", 0x10000, "LINEMEDIAMODE_???");
    addName("CallOriginName", 0x8, "LINECALLORIGIN_???");
    addName("AddressFeatureName", 0, "LINEADDRFEATURE_???");
    addName("AddressFeatureName", 0x4000, "LINEADDRFEATURE_???");
    addName("TransferModeName", 3, "LINETRANSFERMODE_???");
    addName("TransferModeName", 0, "LINETRANSFERMODE_???");
    addName("ParkModeName", 3, "LINEPARKMODE_???");
    addName("RemoveFromConfName", 0, "LINEREMOVEFROMCONF_???");
    addName("RemoveFromConfName", 4, "LINEREMOVEFROMCONF_???");
    addName("ToneModeName", 0x20, "LINETONEMODE_???");
    addName("ToneModeName", 0x3, "LINETONEMODE_???");
    addName("PartyIDFlagName", 0x80, "LINECALLPARTYID_???");
    addName("CallFeatureName", 0x80000001u, "LINECALLFEATURE_???");
    addName("AddressCapFlagName", 0x80000000u, "LINEADDRCAPFLAGS_???");
    addName("CallInfoStateName", 0x80000000u, "LINECALLINFOSTATE_???");
    addName("LineDevStateName", 0x2000000, "LINEDEVSTATE_???");
    addName("DisconnectModeName", 0x100000, "LINEDISCONNECTMODE_???");
    addName("OfferingModeName", 0x4, "LINEOFFERINGMODE_???");
    addName("AnswerModeName", 0, "LINEANSWERMODE_???");
    addName("ForwardModeName", 0x40000, "LINEFORWARDMODE_???");
}

void TestTapiNames::names() {
    QFETCH(QString, function);
    QFETCH(uint32_t, value);
    QFETCH(QString, expected);
    const TetNameFunction nameOf = nameFunctions().value(function);
    QVERIFY2(nameOf != nullptr, qPrintable(function));
    QCOMPARE(nameOf(value), expected);
}

void TestTapiNames::everyBitOfAFlagFamilyOutsideItsTableIsUnnamed_data() {
    QTest::addColumn<QString>("function");
    QTest::addColumn<uint32_t>("first");
    QTest::addColumn<uint32_t>("last");
    QTest::newRow("call states") << "CallStateName" << 0x1u << 0x8000u;
    QTest::newRow("call features") << "CallFeatureName" << 0x1u << 0x80000000u;
    QTest::newRow("media modes") << "MediaModeName" << 0x2u << 0x8000u;
    QTest::newRow("party id") << "PartyIDFlagName" << 0x1u << 0x40u;
    QTest::newRow("line dev states") << "LineDevStateName" << 0x1u << 0x1000000u;
    QTest::newRow("address features") << "AddressFeatureName" << 0x1u << 0x2000u;
    QTest::newRow("bearer modes") << "BearerModeName" << 0x1u << 0x80u;
}

// Each family names exactly the bits from its first to its last and nothing around them.
void TestTapiNames::everyBitOfAFlagFamilyOutsideItsTableIsUnnamed() {
    QFETCH(QString, function);
    QFETCH(uint32_t, first);
    QFETCH(uint32_t, last);
    const TetNameFunction nameOf = nameFunctions().value(function);
    for (int i = 0; i < 32; ++i) {
        const uint32_t bit = 1u << i;
        const bool named = bit >= first && bit <= last;
        QCOMPARE(!nameOf(bit).endsWith(QStringLiteral("_???")), named);
    }
}

void TestTapiNames::stateModeName_data() {
    QTest::addColumn<uint32_t>("state");
    QTest::addColumn<uint32_t>("mode");
    QTest::addColumn<QString>("expected");
    QTest::newRow("disconnected busy") << 0x4000u << 0x20u << "LINEDISCONNECTMODE_BUSY";
    QTest::newRow("disconnected unnamed") << 0x4000u << 0x3u << "LINEDISCONNECTMODE_???";
    QTest::newRow("dialtone") << 0x8u << 0x4u << "LINEDIALTONEMODE_INTERNAL";
    QTest::newRow("busy") << 0x40u << 0x2u << "LINEBUSYMODE_TRUNK";
    QTest::newRow("special info") << 0x80u << 0x4u << "LINESPECIALINFO_REORDER";
    QTest::newRow("idle") << 0x1u << 0x1u << "Not applicable";
    QTest::newRow("connected") << 0x100u << 0x1u << "Not applicable";
    QTest::newRow("offering") << 0x2u << 0x1u << "Not applicable";
    QTest::newRow("no state") << 0x0u << 0x1u << "Not applicable";
}

void TestTapiNames::stateModeName() {
    QFETCH(uint32_t, state);
    QFETCH(uint32_t, mode);
    QFETCH(QString, expected);
    QCOMPARE(StateModeName(state, mode), expected);
}

void TestTapiNames::messageAndHandleNames_data() {
    QTest::addColumn<uint32_t>("message");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("handle");
    const char* names[] = {"LINE_ADDRESSSTATE",  "LINE_CALLINFO",      "LINE_CALLSTATE",
                           "LINE_CLOSE",         "LINE_DEVSPECIFIC",   "LINE_DEVSPECIFICFEATURE",
                           "LINE_GATHERDIGITS",  "LINE_GENERATE",      "LINE_LINEDEVSTATE",
                           "LINE_MONITORDIGITS", "LINE_MONITORMEDIA",  "LINE_MONITORTONE",
                           "LINE_REPLY",         "LINE_REQUEST",       "PHONE_BUTTON",
                           "PHONE_CLOSE",        "PHONE_DEVSPECIFIC",  "PHONE_REPLY",
                           "PHONE_STATE",        "LINE_CREATE",        "PHONE_CREATE",
                           "LINE_AGENTSPECIFIC", "LINE_AGENTSTATUS",   "LINE_APPNEWCALL",
                           "LINE_PROXYREQUEST",  "LINE_REMOVE",        "PHONE_REMOVE",
                           "LINE_APPNEWCALLHUB", "LINE_CALLHUBCLOSE",  "LINE_AGENTSESSIONSTATUS",
                           "LINE_QUEUESTATUS",   "LINE_DEVSPECIFICEX", "LINE_AGENTSTATUSEX",
                           "LINE_GROUPSTATUS",   "LINE_PROXYSTATUS"};
    const char* handles[] = {"Line.Handle",
                             "Call.Handle",
                             "Call.Handle",
                             "Line.Handle",
                             "Line.Handle or Call.Handle",
                             "Line.Handle or Call.Handle",
                             "Call.Handle",
                             "Call.Handle",
                             "Line.Handle",
                             "Call.Handle",
                             "Call.Handle",
                             "Call.Handle",
                             "Undefined",
                             "Undefined",
                             "Phone.Handle",
                             "Phone.Handle",
                             "Phone.Handle",
                             "Undefined",
                             "Phone.Handle",
                             "Undefined",
                             "Phone.Handle",
                             "Line.Handle",
                             "Line.Handle",
                             "Line.Handle",
                             "Line.Handle",
                             "Undefined",
                             "Undefined",
                             "Call.Handle",
                             "Call.Handle",
                             "Line.Handle",
                             "Line.Handle",
                             "Line.Handle or Call.Handle",
                             "Line.Handle",
                             "Line.Handle",
                             "Line.Handle"};
    static_assert(std::size(names) == 35 && std::size(handles) == 35);
    for (uint32_t m = 0; m < 35; ++m)
        QTest::addRow("%u", m) << m << QString::fromLatin1(names[m])
                               << QString::fromLatin1(handles[m]);
    QTest::newRow("35") << 35u << "???"
                        << "Undefined";
    QTest::newRow("huge") << 0xFFFFFFFFu << "???"
                          << "Undefined";
}

void TestTapiNames::messageAndHandleNames() {
    QFETCH(uint32_t, message);
    QFETCH(QString, name);
    QFETCH(QString, handle);
    QCOMPARE(MessageName(message), name);
    QCOMPARE(HandleName(message), handle);
}

void TestTapiNames::messageParameterNames() {
    QVERIFY(MessageParam1NameFunction(LINE_ADDRESSSTATE) == nullptr);
    QVERIFY(MessageParam2NameFunction(LINE_ADDRESSSTATE, 0) == &AddressStateName);
    QVERIFY(MessageParam1NameFunction(LINE_CALLINFO) == &CallInfoStateName);
    QVERIFY(MessageParam2NameFunction(LINE_CALLINFO, 0) == nullptr);
    QVERIFY(MessageParam1NameFunction(LINE_CALLSTATE) == &CallStateName);
    QVERIFY(MessageParam2NameFunction(LINE_CALLSTATE, LINECALLSTATE_OFFERING) == &OfferingModeName);
    QVERIFY(MessageParam2NameFunction(LINE_CALLSTATE, LINECALLSTATE_DIALTONE) == &DialToneModeName);
    QVERIFY(MessageParam2NameFunction(LINE_CALLSTATE, LINECALLSTATE_BUSY) == &BusyModeName);
    QVERIFY(MessageParam2NameFunction(LINE_CALLSTATE, LINECALLSTATE_SPECIALINFO) ==
            &SpecialInfoName);
    QVERIFY(MessageParam2NameFunction(LINE_CALLSTATE, LINECALLSTATE_CONNECTED) ==
            &ConnectedModeName);
    QVERIFY(MessageParam2NameFunction(LINE_CALLSTATE, LINECALLSTATE_DISCONNECTED) ==
            &DisconnectModeName);
    QVERIFY(MessageParam2NameFunction(LINE_CALLSTATE, LINECALLSTATE_IDLE) == nullptr);
    QVERIFY(MessageParam1NameFunction(LINE_LINEDEVSTATE) == &LineDevStateName);
    QVERIFY(MessageParam1NameFunction(LINE_MONITORMEDIA) == &MediaModeName);
    QVERIFY(MessageParam1NameFunction(LINE_REPLY) == nullptr);
    QVERIFY(MessageParam2NameFunction(LINE_REPLY, 0) == nullptr);
}

void TestTapiNames::errorText_data() {
    QTest::addColumn<int32_t>("code");
    QTest::addColumn<QString>("expected");

    // Every TAPI 2.x code up to 0x80000056 reads as its constant; later ones are not in the table.
#define ERRNAMED(constant)                                                                         \
    QTest::newRow(#constant) << constant                                                           \
                             << (static_cast<uint32_t>(constant) <= 0x80000056u                    \
                                     ? QStringLiteral(#constant)                                   \
                                     : QStringLiteral("Unknown"))
    ERRNAMED(LINEERR_ALLOCATED);
    ERRNAMED(LINEERR_BADDEVICEID);
    ERRNAMED(LINEERR_BEARERMODEUNAVAIL);
    ERRNAMED(LINEERR_CALLUNAVAIL);
    ERRNAMED(LINEERR_COMPLETIONOVERRUN);
    ERRNAMED(LINEERR_CONFERENCEFULL);
    ERRNAMED(LINEERR_DIALBILLING);
    ERRNAMED(LINEERR_DIALDIALTONE);
    ERRNAMED(LINEERR_DIALPROMPT);
    ERRNAMED(LINEERR_DIALQUIET);
    ERRNAMED(LINEERR_INCOMPATIBLEAPIVERSION);
    ERRNAMED(LINEERR_INCOMPATIBLEEXTVERSION);
    ERRNAMED(LINEERR_INIFILECORRUPT);
    ERRNAMED(LINEERR_INUSE);
    ERRNAMED(LINEERR_INVALADDRESS);
    ERRNAMED(LINEERR_INVALADDRESSID);
    ERRNAMED(LINEERR_INVALADDRESSMODE);
    ERRNAMED(LINEERR_INVALADDRESSSTATE);
    ERRNAMED(LINEERR_INVALAPPHANDLE);
    ERRNAMED(LINEERR_INVALAPPNAME);
    ERRNAMED(LINEERR_INVALBEARERMODE);
    ERRNAMED(LINEERR_INVALCALLCOMPLMODE);
    ERRNAMED(LINEERR_INVALCALLHANDLE);
    ERRNAMED(LINEERR_INVALCALLPARAMS);
    ERRNAMED(LINEERR_INVALCALLPRIVILEGE);
    ERRNAMED(LINEERR_INVALCALLSELECT);
    ERRNAMED(LINEERR_INVALCALLSTATE);
    ERRNAMED(LINEERR_INVALCALLSTATELIST);
    ERRNAMED(LINEERR_INVALCARD);
    ERRNAMED(LINEERR_INVALCOMPLETIONID);
    ERRNAMED(LINEERR_INVALCONFCALLHANDLE);
    ERRNAMED(LINEERR_INVALCONSULTCALLHANDLE);
    ERRNAMED(LINEERR_INVALCOUNTRYCODE);
    ERRNAMED(LINEERR_INVALDEVICECLASS);
    ERRNAMED(LINEERR_INVALDEVICEHANDLE);
    ERRNAMED(LINEERR_INVALDIALPARAMS);
    ERRNAMED(LINEERR_INVALDIGITLIST);
    ERRNAMED(LINEERR_INVALDIGITMODE);
    ERRNAMED(LINEERR_INVALDIGITS);
    ERRNAMED(LINEERR_INVALEXTVERSION);
    ERRNAMED(LINEERR_INVALGROUPID);
    ERRNAMED(LINEERR_INVALLINEHANDLE);
    ERRNAMED(LINEERR_INVALLINESTATE);
    ERRNAMED(LINEERR_INVALLOCATION);
    ERRNAMED(LINEERR_INVALMEDIALIST);
    ERRNAMED(LINEERR_INVALMEDIAMODE);
    ERRNAMED(LINEERR_INVALMESSAGEID);
    ERRNAMED(LINEERR_INVALPARAM);
    ERRNAMED(LINEERR_INVALPARKID);
    ERRNAMED(LINEERR_INVALPARKMODE);
    ERRNAMED(LINEERR_INVALPOINTER);
    ERRNAMED(LINEERR_INVALPRIVSELECT);
    ERRNAMED(LINEERR_INVALRATE);
    ERRNAMED(LINEERR_INVALREQUESTMODE);
    ERRNAMED(LINEERR_INVALTERMINALID);
    ERRNAMED(LINEERR_INVALTERMINALMODE);
    ERRNAMED(LINEERR_INVALTIMEOUT);
    ERRNAMED(LINEERR_INVALTONE);
    ERRNAMED(LINEERR_INVALTONELIST);
    ERRNAMED(LINEERR_INVALTONEMODE);
    ERRNAMED(LINEERR_INVALTRANSFERMODE);
    ERRNAMED(LINEERR_LINEMAPPERFAILED);
    ERRNAMED(LINEERR_NOCONFERENCE);
    ERRNAMED(LINEERR_NODEVICE);
    ERRNAMED(LINEERR_NODRIVER);
    ERRNAMED(LINEERR_NOMEM);
    ERRNAMED(LINEERR_NOREQUEST);
    ERRNAMED(LINEERR_NOTOWNER);
    ERRNAMED(LINEERR_NOTREGISTERED);
    ERRNAMED(LINEERR_OPERATIONFAILED);
    ERRNAMED(LINEERR_OPERATIONUNAVAIL);
    ERRNAMED(LINEERR_RATEUNAVAIL);
    ERRNAMED(LINEERR_RESOURCEUNAVAIL);
    ERRNAMED(LINEERR_REQUESTOVERRUN);
    ERRNAMED(LINEERR_STRUCTURETOOSMALL);
    ERRNAMED(LINEERR_TARGETNOTFOUND);
    ERRNAMED(LINEERR_TARGETSELF);
    ERRNAMED(LINEERR_UNINITIALIZED);
    ERRNAMED(LINEERR_USERUSERINFOTOOBIG);
    ERRNAMED(LINEERR_REINIT);
    ERRNAMED(LINEERR_ADDRESSBLOCKED);
    ERRNAMED(LINEERR_BILLINGREJECTED);
    ERRNAMED(LINEERR_INVALFEATURE);
    ERRNAMED(LINEERR_NOMULTIPLEINSTANCE);
    ERRNAMED(LINEERR_INVALAGENTID);
    ERRNAMED(LINEERR_INVALAGENTGROUP);
    ERRNAMED(LINEERR_INVALPASSWORD);
    ERRNAMED(LINEERR_INVALAGENTSTATE);
    ERRNAMED(LINEERR_INVALAGENTACTIVITY);
    ERRNAMED(LINEERR_DIALVOICEDETECT);
    ERRNAMED(LINEERR_USERCANCELLED);
    ERRNAMED(LINEERR_INVALADDRESSTYPE);
    ERRNAMED(LINEERR_INVALAGENTSESSIONSTATE);
    ERRNAMED(LINEERR_DISCONNECTED);
    ERRNAMED(LINEERR_SERVICE_NOT_RUNNING);
#undef ERRNAMED

    QTest::newRow("0x80000004") << static_cast<int32_t>(0x80000004u) << "Unknown";
    QTest::newRow("0x80000031") << static_cast<int32_t>(0x80000031u) << "Unknown";
    QTest::newRow("0x80000000") << static_cast<int32_t>(0x80000000u) << "Unknown";
    QTest::newRow("0x80000057") << static_cast<int32_t>(0x80000057u) << "Unknown";
    QTest::newRow("0") << 0 << "";
    QTest::newRow("-1") << -1 << "Unknown";
    QTest::newRow("-2") << -2 << "LINE_ERROR_DEVICE";
    QTest::newRow("-3") << -3 << "TAPIREPLYTIMEOUT";
    QTest::newRow("-985") << -985 << "Not 100% TAPI compliant";
    QTest::newRow("12345") << 12345 << "Unknown";
    QTest::newRow("1") << 1 << "Unknown";
}

void TestTapiNames::errorText() {
    QFETCH(int32_t, code);
    QFETCH(QString, expected);
    QCOMPARE(ErrorText(code), expected);
}

void TestTapiNames::tapiStringFromText_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int32_t>("size");
    QTest::addColumn<QString>("expected");
    QTest::newRow("name and NUL") << QByteArray("Modem\0", 6) << 6 << "Modem";
    QTest::newRow("blanks around, NUL inside")
        << QByteArray("  Line 1  \0xyz", 14) << 14 << "Line 1";
    QTest::newRow("no NUL within size") << QByteArray("ABCDEF", 6) << 3 << "ABC";
    QTest::newRow("control characters trimmed") << QByteArray("\t\r\nX Y\x01\x1f", 8) << 8 << "X Y";
    QTest::newRow("only blanks") << QByteArray("   \0", 4) << 4 << "";
    QTest::newRow("leading NUL") << QByteArray("\0abc", 4) << 4 << "";
    QTest::newRow("size 0") << QByteArray("abc", 3) << 0 << "";
    QTest::newRow("negative size") << QByteArray("abc", 3) << -4 << "";
    QTest::newRow("single-byte text")
        << QByteArray("Caf\xe9\0", 5) << 5 << QString::fromLatin1("Caf\xe9");
}

void TestTapiNames::tapiStringFromText() {
    QFETCH(QByteArray, bytes);
    QFETCH(int32_t, size);
    QFETCH(QString, expected);
    QCOMPARE(TapiString(bytes.constData(), size), expected);
}

void TestTapiNames::tapiStringStaysInsideTheStructure_data() {
    QTest::addColumn<QByteArray>("structure");
    QTest::addColumn<uint32_t>("offset");
    QTest::addColumn<int32_t>("size");
    QTest::addColumn<QString>("expected");
    const QByteArray name("Modem 1\0", 8);
    QTest::newRow("inside") << structureWith(64, 64, 40, name) << 40u << 8 << "Modem 1";
    QTest::newRow("size past the end is cut")
        << structureWith(44, 64, 40, name) << 40u << 8 << "Mode";
    QTest::newRow("offset past dwTotalSize") << structureWith(32, 64, 40, name) << 40u << 8 << "";
    QTest::newRow("offset past the buffer")
        << structureWith(64, 64, 40, name) << 0x7FFFFFF0u << 8 << "";
    QTest::newRow("dwTotalSize larger than the buffer")
        << structureWith(0xFFFFFFFFu, 46, 40, name) << 40u << 8 << "Modem";
    QTest::newRow("huge size") << structureWith(64, 64, 40, name) << 40u << 0x7FFFFFFF << "Modem 1";
    QTest::newRow("zero size") << structureWith(64, 64, 40, name) << 40u << 0 << "";
}

void TestTapiNames::tapiStringStaysInsideTheStructure() {
    QFETCH(QByteArray, structure);
    QFETCH(uint32_t, offset);
    QFETCH(int32_t, size);
    QFETCH(QString, expected);
    // A copy of exactly the buffer's size, so reading past it shows up under the sanitizers.
    const auto bytes = std::make_unique<char[]>(static_cast<std::size_t>(structure.size()));
    std::memcpy(bytes.get(), structure.constData(), static_cast<std::size_t>(structure.size()));
    QCOMPARE(TapiString(bytes.get(), static_cast<std::size_t>(structure.size()), offset, size),
             expected);
}

QTEST_GUILESS_MAIN(TestTapiNames)
#include "test_tapi_names.moc"
