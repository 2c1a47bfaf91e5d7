#include "qt/window_thread.h"

#include <QCoreApplication>
#include <QMetaObject>

namespace varn::desktop {

ui::WindowHandoff& WindowThreadHandoff() {
    // Never destroyed: the process may end (the exit tab) while a handler thread waits on it.
    static auto* handoff = new ui::WindowHandoff([] {
        // An event of the application's own: run in its loop, or in a dialog's.
        QMetaObject::invokeMethod(
            QCoreApplication::instance(), [] { WindowThreadHandoff().RunPending(); },
            Qt::QueuedConnection);
    });
    return *handoff;
}

}  // namespace varn::desktop
