// The Network and Email sending pages' objects, built from the settings in
// memory before the sheet opens and taken back into them after OK.
#include <cstdio>

#include "globals/ProgramGlobals.h"
#include "globals/Settings.h"
#include "shell/SettingsPageData.h"

namespace {
template <size_t N>
void CopyToSettingsMailAndNetworkValues(char (&to)[N], const char* from)
{
    std::snprintf(to, N, "%s", from);
}
}

void BuildNetworkPageData(CNetworkPageData& data)
{
    const CUserSettings& user = UserSettings();
    const CConfigSettings& config = ConfigSettings();
    data.applied = 0;
    data.network = user.networkOn;
    data.attachments = user.twoDigits[1] != 0;
    data.hideIncoming = user.hideReceived;
    data.balloon = user.balloonOnReceive;
    data.chat = user.chatOn;
    data.savedAddresses = user.useSavedAddresses;
    data.autoResend = user.retry.on;
    data.resendAmount = user.retry.amount;
    data.resendUnit = user.retry.unit;
    data.firstPort = user.listenPort;
    data.secondPort = user.sendPort;
    data.showUser = user.showSenderUser;
    data.showComputer = user.showSenderComputer;
    CopyToSettingsMailAndNetworkValues(data.relayServer, config.relayServer);
    CopyToSettingsMailAndNetworkValues(data.relayPort, config.relayPort);
}

void TakeNetworkPageData(const CNetworkPageData& data)
{
    CUserSettings& user = UserSettings();
    CConfigSettings& config = ConfigSettings();
    user.networkOn = data.network != 0;
    // The units digit of the packed pair is the attachments switch; a digit
    // that already says "on" is kept as it is.
    if ((user.twoDigits[1] != 0) != (data.attachments != 0))
        user.twoDigits[1] = data.attachments ? 1 : 0;
    user.hideReceived = data.hideIncoming != 0;
    user.balloonOnReceive = data.balloon != 0;
    user.chatOn = data.chat != 0;
    user.useSavedAddresses = data.savedAddresses != 0;
    user.retry.on = data.autoResend != 0;
    user.retry.amount = data.resendAmount;
    user.retry.unit = data.resendUnit;
    user.listenPort = data.firstPort;
    user.sendPort = data.secondPort;
    user.showSenderUser = data.showUser != 0;
    user.showSenderComputer = data.showComputer != 0;
    CopyToSettingsMailAndNetworkValues(config.relayServer, data.relayServer);
    CopyToSettingsMailAndNetworkValues(config.relayPort, data.relayPort);
}

void BuildEmailPageData(CEmailPageData& data)
{
    const CConfigSettings& config = ConfigSettings();
    data.applied = 0;
    CopyToSettingsMailAndNetworkValues(data.smtpServer, config.smtpServer);
    CopyToSettingsMailAndNetworkValues(data.senderAddress, config.senderAddress);
    CopyToSettingsMailAndNetworkValues(data.friendlyName, config.senderName);
    data.authentication = config.smtpAuthentication != 0;
    CopyToSettingsMailAndNetworkValues(data.accountName, config.smtpAccount);
    CopyToSettingsMailAndNetworkValues(data.password, config.smtpPassword);
    data.smtpPort = config.smtpPort > 0 ? static_cast<DWORD>(config.smtpPort) : 25;
    data.html = config.htmlMail != 0;
}

void TakeEmailPageData(const CEmailPageData& data)
{
    CConfigSettings& config = ConfigSettings();
    CopyToSettingsMailAndNetworkValues(config.smtpServer, data.smtpServer);
    CopyToSettingsMailAndNetworkValues(config.senderAddress, data.senderAddress);
    CopyToSettingsMailAndNetworkValues(config.senderName, data.friendlyName);
    config.smtpAuthentication = data.authentication != 0;
    CopyToSettingsMailAndNetworkValues(config.smtpAccount, data.accountName);
    CopyToSettingsMailAndNetworkValues(config.smtpPassword, data.password);
    config.smtpPort = static_cast<int>(data.smtpPort);
    config.htmlMail = data.html != 0;
}
