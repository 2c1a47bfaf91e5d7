// Cancel at a known point of a pass: the form keeps the standard, its reminder, the result box
// and the letter table the user had, and says only that the operation was cancelled.

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <map>
#include <ostream>
#include <string>

#include "io/cancellation.h"
#include "io/replacement.h"
#include "tests/support/form_fixture.h"
#include "tests/support/solve_trials.h"

namespace {

// What the user sees of the frequency tabs, and the table behind it.
struct FormView {
    std::string standard, reminder, results, heading;
    bool builtIn;
    std::string table;

    static FormView Of(const TForm1& form) {
        std::string table;
        for (const varn::LetterEntry& entry : form.state.LetterTable) {
            table += std::to_string(entry.character) + ":" + std::to_string(entry.count) + ":" +
                     std::to_string(entry.paired) + " ";
        }
        return {form.Memo1.text(), form.MemoOldEtl.text(),          form.Memo2.text(),
                form.Memo5.text(), form.RadioButtonRusDn.checked(), table};
    }
    bool operator==(const FormView&) const = default;
};

void PrintTo(const FormView& view, std::ostream* out) {
    *out << "standard \"" << view.standard << "\", reminder \"" << view.reminder << "\", heading \""
         << view.heading << "\", results of " << view.results.size() << " bytes";
}

class Cancel : public FormTest {
  protected:
    ~Cancel() override {
        for (ui::ProgressBar* bar :
             {&form.ProgressBar1, &form.ProgressBarNewFile, &form.ProgressBar3V}) {
            bar->setListener({});
        }
        varn::io::SetBeforeCommitCheck({});
        varn::io::ClearCancel();
    }

  public:
    // Asks to cancel once `bar` reaches `position` (-1: its maximum), as the progress window's
    // Cancel would from the window's thread.
    void cancelAt(std::int64_t position) { cancelAt(form.ProgressBar1, position); }
    void cancelAt(ui::ProgressBar& progress, std::int64_t position) {
        progress.setListener([position](ui::Control& control, ui::Property) {
            auto& bar = static_cast<ui::ProgressBar&>(control);
            const std::int64_t at = position < 0 ? bar.max() : position;
            if (bar.max() > 0 && bar.position() >= at) varn::io::RequestCancel();
        });
    }

    // A counted file with a built-in standard and a reminder in the form.
    void countedBefore(const std::string& text) {
        study(text);
        press(form.RadioButtonRusDn);
        press(form.ButtonStart);
        form.MemoOldEtl.setText("старый эталон");
        ASSERT_TRUE(platform.boxes.empty());
    }

    // Asks to cancel once the pass has written its whole result, just before it would commit.
    void cancelBeforeCommit() {
        varn::io::SetBeforeCommitCheck([] { varn::io::RequestCancel(); });
    }

  protected:
    void expectCancelledWith(const FormView& before) {
        EXPECT_EQ(FormView::Of(form), before);
        ASSERT_EQ(platform.boxes.size(), 1u);
        EXPECT_EQ(lastBox().text, kCancelledRussian);
    }
};

// Several of the passes' buffers by default, so that a cancel after the first still stops the
// read.
std::string ManyBuffers(std::size_t size = std::size_t{6} << 20) {
    std::string text;
    while (text.size() < size) text += "Съешь же ещё этих мягких булок.\r\n";
    return text;
}

TEST_F(Cancel, ACancelledCountLeavesTheFormAsItWas) {
    const std::string text = ManyBuffers();
    countedBefore(text);
    for (ui::Button TForm1::*button : {&TForm1::ButtonStart, &TForm1::Button_AllScan}) {
        platform.boxes.clear();
        const FormView before = FormView::Of(form);
        cancelAt(1);
        press(form.*button);
        expectCancelledWith(before);
        varn::io::ClearCancel();
    }
}

TEST_F(Cancel, ACancelAfterTheSearchReadTheFileLeavesTheStandard) {
    using varn::solve::Language;
    const std::string plain =
        varn::trials::Excerpt(varn::trials::HeldOutText(Language::Russian), Language::Russian, 600,
                              varn::trials::Measure::Letters, 7);
    countedBefore(varn::trials::Encipher(plain, varn::trials::RandomKey(Language::Russian, 7)));
    const FormView before = FormView::Of(form);
    cancelAt(-1);
    form.dispatch([&] { form.Memo1.contextActions.at(0).trigger(); });
    expectCancelledWith(before);
}

// Every file of the folder and its bytes.
std::map<std::string, std::string> Folder(const TempDir& dir) {
    std::map<std::string, std::string> files;
    for (const auto& entry : std::filesystem::directory_iterator(dir.path())) {
        files[entry.path().filename().string()] = TempDir::read(entry.path().string());
    }
    return files;
}

// A pass over the file under study, started from its tab; `cancel` arranges when Cancel comes.
struct FilePass {
    const char* name;
    std::size_t size;  // of the file under study
    std::function<void(Cancel&, TForm1&, FakePlatform&, const std::string& path)> start;
};

class CancelledFilePass : public Cancel, public ::testing::WithParamInterface<FilePass> {};

TEST_P(CancelledFilePass, LeavesEveryFileAndTheFormAsTheyWere) {
    countedBefore(ManyBuffers(GetParam().size));
    const std::string path = dir.file("study.txt");
    const auto files = Folder(dir);
    const FormView before = FormView::Of(form);
    const std::string shown = form.Memo10.text();
    platform.boxes.clear();
    GetParam().start(*this, form, platform, path);
    expectCancelledWith(before);
    EXPECT_EQ(form.Memo10.text(), shown);
    EXPECT_EQ(Folder(dir), files);
}

void Caesar(TForm1& form, const std::string& path, bool replace) {
    form.MemoFile3V.setText(path);
    if (form.CheckBoxOvervriteFile3V.checked() != replace) form.CheckBoxOvervriteFile3V.click();
    form.ButtonEn.click();
}

void Idea(TForm1& form, FakePlatform& platform, const std::string& path, bool triple) {
    form.MemoIdeaFile.setText(path);
    if (triple) form.CheckBox3Idea.click();
    const std::vector<std::string> passwords =
        triple ? std::vector<std::string>{"один", "два", "три"} : std::vector<std::string>{"один"};
    form.EditPassWordIdea.setText(passwords[0]);
    if (triple) {
        form.EditPassWordIdea2.setText(passwords[1]);
        form.EditPassWordIdea3.setText(passwords[2]);
    }
    platform.passwords.assign(passwords.begin(), passwords.end());
    form.Button_EnCrypt.click();
}

constexpr std::size_t kManyBuffers = std::size_t{6} << 20;

const FilePass kFilePasses[] = {
    {"CaesarInPlaceMidRead", kManyBuffers,
     [](Cancel& test, TForm1& form, FakePlatform&, const std::string& path) {
         test.cancelAt(form.ProgressBar3V, 1);
         form.dispatch([&] { Caesar(form, path, true); });
     }},
    {"CaesarInPlaceBeforeCommit", kManyBuffers,
     [](Cancel& test, TForm1& form, FakePlatform&, const std::string& path) {
         test.cancelBeforeCommit();
         form.dispatch([&] { Caesar(form, path, true); });
     }},
    {"CaesarIntoItsResultFile", kManyBuffers,
     [](Cancel& test, TForm1& form, FakePlatform&, const std::string& path) {
         test.cancelBeforeCommit();
         form.dispatch([&] { Caesar(form, path, false); });
     }},
    {"CreateMidRead", kManyBuffers,
     [](Cancel& test, TForm1& form, FakePlatform& platform, const std::string&) {
         test.cancelAt(form.ProgressBarNewFile, 1);
         platform.choose("new.txt");
         form.dispatch([&] { form.ButtonNewFile.click(); });
     }},
    {"CreateBeforeCommit", kManyBuffers,
     [](Cancel& test, TForm1& form, FakePlatform& platform, const std::string&) {
         test.cancelBeforeCommit();
         platform.choose("new.txt");
         form.dispatch([&] { form.ButtonNewFile.click(); });
     }},
    // The window shows files below 64 KiB only.
    {"InWindowMidRead", 60000,
     [](Cancel& test, TForm1& form, FakePlatform&, const std::string&) {
         test.cancelAt(form.ProgressBarNewFile, 1);
         form.dispatch([&] { form.Button_VOkno.click(); });
     }},
    {"IdeaBeforeCommit", kManyBuffers,
     [](Cancel& test, TForm1& form, FakePlatform& platform, const std::string& path) {
         test.cancelBeforeCommit();
         form.dispatch([&] { Idea(form, platform, path, false); });
     }},
    {"TripleIdeaBeforeCommit", kManyBuffers,
     [](Cancel& test, TForm1& form, FakePlatform& platform, const std::string& path) {
         test.cancelBeforeCommit();
         form.dispatch([&] { Idea(form, platform, path, true); });
     }},
};

INSTANTIATE_TEST_SUITE_P(Passes, CancelledFilePass, ::testing::ValuesIn(kFilePasses),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
