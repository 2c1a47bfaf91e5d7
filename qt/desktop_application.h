#pragma once

// Runs the program on the desktop: the application, the main window and the message loop.
// Errors that escape start-up are shown in a stop box; nothing escapes from here. The toolkit
// gets no arguments of the user's: its own options (-style, -reverse, -qwindowtitle...) would
// change the window.
void RunDesktopApplication();
