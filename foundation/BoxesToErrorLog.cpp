#include "foundation/BoxesToErrorLog.h"

#include "foundation/DiagnosticLog.h"

namespace {
thread_local const char* t_reason = "";

void WriteDownBox(const char* text, const char*)
{
    WriteErrorLog(t_reason, text);
}
}

CBoxesToErrorLog::CBoxesToErrorLog(const char* reason)
    : m_previousSink(SetThreadMessageBoxSink(&WriteDownBox)), m_previousReason(t_reason)
{
    t_reason = reason;
}

CBoxesToErrorLog::~CBoxesToErrorLog()
{
    t_reason = m_previousReason;
    SetThreadMessageBoxSink(m_previousSink);
}
