#include "app/form1.h"
#include "qt/desktop_application.h"

// The program reads no arguments and always returns 0.
int main(int argc, char** argv) {
    RunDesktopApplication(argc, argv);
    return 0;
}
