#pragma once

class DromvelApplication;
class FileDialogs;
class Messages;

// The start-up of the main program up to the open ledger window, then the event loop. Returns the exit code.
int RunDromvelPro(DromvelApplication &app, Messages &messages, FileDialogs &fileDialogs);
