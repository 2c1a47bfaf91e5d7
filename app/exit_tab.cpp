#include "app/form1.h"
#include "io/whole_file.h"

namespace {

// The site opens in the desktop's browser.
void OpenSite(ui::Platform& platform) {
    platform.openUrl(kSiteAddress);
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
