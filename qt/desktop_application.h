#pragma once

// Runs the program on the desktop: the application, the main window and the message loop.
// Errors that escape start-up are shown in a stop box; nothing escapes from here.
void RunDesktopApplication(int argc, char** argv);
