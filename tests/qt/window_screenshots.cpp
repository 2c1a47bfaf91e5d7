// Drives the real window on a scripted desktop and saves what the screen shows: the result table
// after "По эталону" and after "Всё" in both interface languages, the guide, the password
// fields, and the letter chart of an enciphered text in both languages. Run on a virtual X server
// by the smoke test. Usage: window_screenshots <folder>
#include <QApplication>
#include <QDir>
#include <QPixmap>
#include <QScreen>
#include <QTest>
#include <QWidget>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

#include "app/form1.h"
#include "qt/chart_window.h"
#include "qt/fonts.h"
#include "qt/main_window.h"
#include "tests/support/fake_platform.h"
#include "tests/support/temp_dir.h"
#include "ui/cp1251.h"

namespace {

// What the screen shows of the window, or its own rendering where the screen cannot be read.
QPixmap Capture(QWidget& window) {
    QApplication::processEvents();
    QTest::qWait(300);
    QPixmap shot;
    if (QScreen* screen = window.screen()) shot = screen->grabWindow(window.winId());
    if (shot.isNull()) shot = window.grab();
    return shot;
}

bool Save(QWidget& window, const QString& folder, const QString& name) {
    const QString path = QDir(folder).filePath(name + ".png");
    if (!Capture(window).save(path)) {
        std::fprintf(stderr, "cannot save %s\n", qPrintable(path));
        return false;
    }
    std::printf("screenshot: %s\n", qPrintable(path));
    return true;
}

// Counts from one to five digits, percentages with three decimals, line ends, NUL and Cyrillic.
std::string StudyText() {
    std::string text = "The quick brown fox jumps over the lazy dog.\r\n";
    const std::string russian =
        ui::EncodeCp1251("Съешь же ещё этих мягких французских булок, да выпей чаю.\r\n");
    for (int i = 0; i < 300; ++i) text += russian;
    text += std::string(1, '\0') + std::string(9000, 'e');
    return text;
}

// The first passages of a language's held-out texts, every letter shifted by three places in
// its alphabet: a simple substitution to look at.
std::string EncipheredPassages(const std::string& language) {
    std::ifstream in(std::string(VARN_SOLVE_DATA_DIR) + "/heldout-" + language + ".txt",
                     std::ios::binary);
    std::stringstream whole;
    whole << in.rdbuf();
    std::string text = whole.str().substr(0, 6000);
    for (char& c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte >= 'a' && byte <= 'z') c = static_cast<char>('a' + (byte - 'a' + 3) % 26);
        if (byte >= 'A' && byte <= 'Z') c = static_cast<char>('a' + (byte - 'A' + 3) % 26);
        if (byte >= 192) c = static_cast<char>(224 + (byte - 192 + 3) % 32);
    }
    return text;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: window_screenshots <folder>\n");
        return 2;
    }
    const QString folder = QString::fromLocal8Bit(argv[1]);
    QApplication application(argc, argv);
    varn::desktop::InstallFontSubstitutes();
    QDir().mkpath(folder);

    TempDir dir;
    FakePlatform platform;
    TForm1 form(platform);
    varn::desktop::MainWindow window(form);
    window.move(20, 20);
    window.show();
    if (!QTest::qWaitForWindowExposed(&window)) {
        std::fprintf(stderr, "the window was not shown\n");
        return 1;
    }
    const auto act = [&](ui::Control& control) { window.dispatch([&] { control.click(); }); };

    platform.choose(dir.write("study.txt", StudyText()));
    act(form.Button2);
    bool saved = true;
    for (const bool english : {false, true}) {
        act(english ? form.RadioButtonEng : form.RadioButtonRus);
        act(form.RadioButtonRusDn);
        form.PageControl1.setActivePageIndex(2);
        const QString language = english ? "en" : "ru";
        act(form.ButtonStart);
        saved = Save(window, folder, "count_on_standard_" + language) && saved;
        act(form.Button_AllScan);
        saved = Save(window, folder, "count_all_" + language) && saved;
    }
    act(form.RadioButtonRus);
    // The File tab with a UTF-8 text, its encoding found, in both languages.
    platform.choose(dir.write("utf8.txt", "Съешь же ещё этих мягких французских булок.\n"));
    act(form.Button2);
    form.PageControl1.setActivePageIndex(0);
    saved = Save(window, folder, "file_utf8_ru") && saved;
    act(form.RadioButtonEng);
    saved = Save(window, folder, "file_utf8_en") && saved;
    act(form.RadioButtonRus);
    form.PageControl1.setActivePageIndex(6);
    saved = Save(window, folder, "guide") && saved;

    form.PageControl1.setActivePageIndex(5);
    window.dispatch([&] { form.CheckBox3Idea.click(); });
    QWidget* password = window.widgetFor("EditPassWordIdea");
    password->setFocus();
    QTest::keyClicks(password, "secret");
    saved = Save(window, folder, "passwords") && saved;

    varn::desktop::ChartWindow chart(form, window, &window);
    form.PageControl1.setActivePageIndex(2);
    for (const bool english : {false, true}) {
        act(english ? form.RadioButtonEng : form.RadioButtonRus);
        platform.choose(dir.write(english ? "cipher-en.txt" : "cipher-ru.txt",
                                  EncipheredPassages(english ? "en" : "ru")));
        act(form.Button2);
        act(english ? form.RadioButtonEngDn : form.RadioButtonRusDn);
        act(form.ButtonStart);
        act(form.ButtonChart);
        // The first bar picked for an exchange, as a user's first click leaves it.
        window.dispatch([&] { form.ChartBarClick(0); });
        if (!QTest::qWaitForWindowExposed(&chart)) {
            std::fprintf(stderr, "the chart window was not shown\n");
            return 1;
        }
        saved = Save(chart, folder, english ? "chart_en" : "chart_ru") && saved;
    }
    // The chart as "Save picture..." writes it.
    platform.choose(QDir(folder).filePath("chart_export_en.png").toStdString());
    window.dispatch([&] { form.ChartExportClick(chart.renderer()); });
    // The whole screen: the chart stands beside the main window.
    if (QScreen* screen = window.screen()) {
        const QString path = QDir(folder).filePath("chart_beside_window.png");
        saved = screen->grabWindow(0).save(path) && saved;
        std::printf("screenshot: %s\n", qPrintable(path));
    }
    window.dispatch([&] { form.ChartViewClick(ChartView::Bigrams); });
    saved = Save(chart, folder, "chart_bigrams_en") && saved;
    return saved ? 0 : 1;
}
