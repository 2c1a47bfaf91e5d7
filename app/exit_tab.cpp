#include <array>

#include "app/form1.h"
#include "io/whole_file.h"

namespace {

// Where a browser was looked for on the desktop this program was first written for. On Linux
// none of them exists and every start fails silently; the desktop's browser is used then.
constexpr std::array<const char*, 6> kBrowserPaths = {
    "c:\\Program Files\\Internet Explorer\\iexplore.exe",
    "d:\\Program Files\\Internet Explorer\\iexplore.exe",
    "e:\\Program Files\\Internet Explorer\\iexplore.exe",
    "f:\\Program Files\\Internet Explorer\\iexplore.exe",
    "g:\\Program Files\\Internet Explorer\\iexplore.exe",
    "h:\\Program Files\\Internet Explorer\\iexplore.exe",
};

void OpenSite(ui::Platform& platform) {
    const std::string address = kSiteAddress;
    bool started = false;
    for (const char* path : kBrowserPaths) {
        started = platform.startProcess(path, address + " " + address) || started;
    }
    if (!started) platform.openUrl(address);
}

}  // namespace

void TForm1::ButtonDaClick() {
    if (Memo1.hasLines() && Memo2.hasLines()) {
        // A cancelled dialog saves nothing, even when it still holds an earlier name.
        if (SaveDialog1.execute() && !SaveDialog1.fileName.empty()) {
            // The file is built apart from the editor, so a failed save leaves the editor as it
            // was.
            // Replaced whole or not at all: a failed save leaves the old file as it was.
            // In the encoding of the file under study. When it cannot hold them all, nothing is
            // written and the program stays, so that nothing is lost.
            std::string bytes;
            if (!LinesInFileEncoding({&Memo1, &Memo2}, bytes)) return;
            varn::io::ReplaceWholeFile(SaveDialog1.fileName, bytes);
        }
    }
    platform.exitProcess(0);
}

void TForm1::ButtonNetClick() {
    platform.exitProcess(0);
}

void TForm1::Label5Click() {
    OpenSite(platform);
}

void TForm1::LabelFrontURLDblClick() {
    OpenSite(platform);
}
