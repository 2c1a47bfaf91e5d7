#include "ui/file_dialog.h"

namespace ui {

bool FileDialog::execute() {
    auto chosen = platform_.runFileDialog(*this);
    if (!chosen) return false;
    fileName = std::move(*chosen);
    return true;
}

}  // namespace ui
