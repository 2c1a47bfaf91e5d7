#pragma once

#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "ui/file_dialog.h"
#include "ui/platform.h"

// A desktop that records what the window asks of it and answers file dialogs from a queue
// (an empty queue cancels).
class ScriptedPlatform : public ui::Platform {
  public:
    struct Box {
        std::string text;
        std::string title;
        unsigned flags;
        bool operator==(const Box&) const = default;
    };

    std::vector<Box> boxes;
    std::deque<std::optional<std::string>> answers;
    std::vector<std::string> dialogTitles;
    std::vector<std::string> processes;
    std::vector<std::string> urls;
    std::vector<int> exits;

    void messageBox(const std::string& text, const std::string& title, unsigned flags) override {
        boxes.push_back({text, title, flags});
    }
    std::optional<std::string> runFileDialog(const ui::FileDialog& dialog) override {
        dialogTitles.push_back(dialog.title);
        if (answers.empty()) return std::nullopt;
        auto answer = answers.front();
        answers.pop_front();
        return answer;
    }
    bool startProcess(const std::string& program, const std::string& commandLine) override {
        processes.push_back(program + " | " + commandLine);
        return false;
    }
    bool openUrl(const std::string& url) override {
        urls.push_back(url);
        return true;
    }
    void exitProcess(int code) override { exits.push_back(code); }
};
