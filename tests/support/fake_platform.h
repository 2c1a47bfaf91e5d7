#pragma once

#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "ui/file_dialog.h"
#include "ui/platform.h"

// A scripted desktop: records boxes, processes and exits; answers file dialogs from a queue
// (nothing queued means the user cancels).
class FakePlatform : public ui::Platform {
  public:
    struct Box {
        std::string text;
        std::string title;
        unsigned flags;
        bool operator==(const Box&) const = default;
    };
    struct DialogRun {
        std::string dialog;
        std::string title;
        std::string fileName;  // the name the dialog offered
    };

    std::vector<Box> boxes;
    std::vector<DialogRun> dialogs;
    std::deque<std::optional<std::string>> answers;
    std::vector<std::string> passwordQuestions;
    std::deque<std::optional<std::string>> passwords;  // answers to them; none left: cancelled
    std::vector<std::string> openedUrls;
    std::optional<int> exitCode;
    std::vector<int> languages;  // every switch of the desktop's own texts

    void messageBox(const std::string& text, const std::string& title, unsigned flags) override {
        boxes.push_back({text, title, flags});
    }
    std::optional<std::string> runFileDialog(const ui::FileDialog& dialog) override {
        dialogs.push_back({dialog.name(), dialog.title, dialog.fileName});
        if (answers.empty()) return std::nullopt;
        auto answer = answers.front();
        answers.pop_front();
        return answer;
    }
    std::optional<std::string> askPassword(const std::string& text, const std::string&) override {
        passwordQuestions.push_back(text);
        if (passwords.empty()) return std::nullopt;
        auto answer = passwords.front();
        passwords.pop_front();
        return answer;
    }
    bool openUrl(const std::string& url) override {
        openedUrls.push_back(url);
        return true;
    }
    void exitProcess(int code) override { exitCode = code; }
    void setInterfaceLanguage(int language) override { languages.push_back(language); }

    void choose(const std::string& path) { answers.emplace_back(path); }
    void cancel() { answers.emplace_back(std::nullopt); }
};
