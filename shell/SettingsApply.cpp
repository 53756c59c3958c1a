// What the settings sheet's pages accepted, put into effect in the running
// program once the sheet has closed with OK.
#include <winsock2.h>
#include <windows.h>

#include <string>

#include "foundation/bytes/MessageBoxes.h"
#include "shell/ProgramGlobals.h"
#include "shell/Settings.h"
#include "shell/SettingsPageData.h"
#include "shell/WindowController.h"
#include "store/UsersTable.h"

void CWindowController::ApplyNetworkPage(const CNetworkPageData& network)
{
    CUserSettings& user = UserSettings();
    const WORD previousPorts[2] = {user.listenPort, user.sendPort};
    user.listenPort = network.firstPort;
    user.sendPort = network.secondPort;
    // The settings are saved before any listener moves, so a port that cannot
    // be bound loses none of them.
    SaveSettingsSheetOptions(previousPorts[0], previousPorts[1]);
    if (!user.networkOn)
        return;
    const WORD newPorts[2] = {user.listenPort, user.sendPort};
    for (int i = 0; i < 2; ++i) {
        if (newPorts[i] == previousPorts[i])
            continue;
        StopListening(m_ports[i]);
        m_ports[i].m_port = newPorts[i];
        try {
            ListenOnPortThreadNew(m_mainWindow, m_ports[i]);
        } catch (const CGenericException& failure) {
            std::string text = "Quillnet+ cannot listen on port " + std::to_string(newPorts[i]) + ":\r\n" +
                               failure.GetErrorText();
            ShowMessageBox(m_mainWindow, text.c_str(), "Quillnet+", MB_OK | MB_ICONERROR);
        }
    }
}
