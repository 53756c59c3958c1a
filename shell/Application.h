#pragma once

// Made before anything else that needs OLE and released after everything else:
// it starts the run with a fresh "log.txt" and keeps OLE initialised for the
// program's whole run.
class CApplication {
public:
    CApplication();
    ~CApplication();
    CApplication(const CApplication&) = delete;
    CApplication& operator=(const CApplication&) = delete;

private:
    bool m_oleInitialized = false;
};
