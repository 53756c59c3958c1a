#pragma once

// Controls of the Network settings page.
#define IDC_NETWORK_PORTS 1125
#define IDC_NETWORK_PORTS_LABEL 1126
