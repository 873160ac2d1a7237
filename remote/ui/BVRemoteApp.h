#pragma once
// The application object: runs the main dialog until it closes.
class CBVRemoteApp {
public:
    // Runs the dialog modally; the program's exit code.
    int InitInstance();
};
