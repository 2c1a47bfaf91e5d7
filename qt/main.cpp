#include "qt/desktop_application.h"

// The program reads no arguments and always returns 0.
int main() {
    RunDesktopApplication();
    return 0;
}
