#pragma once

#include <string>

#include "ui/platform.h"

namespace ui {

enum class FileDialogKind { Open, Save };

// A file dialog that keeps the file name of its last use. The filter is in the form
// "Description|pattern|Description|pattern", the first entry selected.
class FileDialog {
  public:
    FileDialog(std::string name, FileDialogKind kind, Platform& platform)
        : name_(std::move(name)), kind_(kind), platform_(platform) {}

    const std::string& name() const { return name_; }
    FileDialogKind kind() const { return kind_; }

    std::string title;
    std::string filter;
    std::string defaultExt;
    std::string fileName;

    // Shows the dialog; on a choice the file name becomes the chosen path. True when chosen.
    bool execute();

  private:
    std::string name_;
    FileDialogKind kind_;
    Platform& platform_;
};

}  // namespace ui
