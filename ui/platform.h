#pragma once

#include <optional>
#include <string>

namespace ui {

class FileDialog;

// Message-box flags, as the boxes of the program use them.
inline constexpr unsigned MB_OK = 0x00;
inline constexpr unsigned MB_ICONSTOP = 0x10;
inline constexpr unsigned MB_ICONQUESTION = 0x20;
inline constexpr unsigned MB_ICONEXCLAMATION = 0x30;
inline constexpr unsigned kIconMask = 0xF0;

// What the window needs of the desktop. The program supplies a Qt implementation; tests supply
// scripted ones.
class Platform {
  public:
    virtual ~Platform() = default;

    // Shows a box with one OK button and waits until it is dismissed.
    virtual void messageBox(const std::string& text, const std::string& title, unsigned flags) = 0;

    // Runs a file dialog; the chosen full path, or nothing when cancelled.
    virtual std::optional<std::string> runFileDialog(const FileDialog& dialog) = 0;

    // Asks for a password without showing what is typed; nothing when the user cancels.
    virtual std::optional<std::string> askPassword(const std::string& text,
                                                   const std::string& title) = 0;

    // Opens an address in the desktop's default browser; false when that failed.
    virtual bool openUrl(const std::string& url) = 0;

    // Ends the process at once with the exit code. A test platform records it and returns.
    virtual void exitProcess(int code) = 0;

    // The interface language has been switched (0 Russian, anything else English): the desktop's
    // own texts, such as the buttons of boxes and file dialogs, follow it.
    virtual void setInterfaceLanguage(int language) { (void)language; }
};

}  // namespace ui
