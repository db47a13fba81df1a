#pragma once

// The application object: opens the run gate and runs the main window modally.
class CQel2App {
public:
    // The style and the dialog font of all three dialogs; before any window exists.
    static void SetUpLook();
    bool InitInstance();
    int ExitInstance();
};
