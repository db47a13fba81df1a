#pragma once

// The application object: opens the run gate and runs the main window modally.
class CQel2App {
public:
    bool InitInstance();
    int ExitInstance();
    int m_nExitCount = 0;
};
