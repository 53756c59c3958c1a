#pragma once

// The maker's web pages that the program names: one site, every page under
// it. Plain macros, so that the resource texts are built from them too.
#define QN_WEB_SITE "https://quillnet.example"
#define QN_USER_GUIDE_PAGE QN_WEB_SITE "/guide"
#define QN_PROBLEM_REPORT_PAGE QN_WEB_SITE "/report"
#define QN_VERSION_CHECK_PAGE QN_WEB_SITE "/checkversion.htm?v="
#define QN_PASSWORD_RECOVERY_PAGE QN_WEB_SITE "/passwordrecovery.htm?product=qnpost&version=6.6"
