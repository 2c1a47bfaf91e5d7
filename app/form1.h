#pragma once

#include <map>
#include <string>
#include <string_view>

#include "app/chart_state.h"
#include "app/program_state.h"
#include "ui/combo_box.h"
#include "ui/edit.h"
#include "ui/event_guard.h"
#include "ui/file_dialog.h"
#include "ui/memo.h"
#include "ui/page_control.h"
#include "ui/platform.h"
#include "ui/progress_bar.h"
#include "ui/simple_controls.h"
#include "ui/toggles.h"
#include "ui/up_down.h"

// How a message box looks: its title and icon go by the kind of message.
enum class MessageKind { Warning, Error, PlainError, ModuleError, Notice, CaesarNotice };

inline constexpr const char* kApplicationTitle = "Ostrel Varn 3.8";
inline constexpr const char* kWindowCaption = "Ostrel Varn 3.8 final ";
inline constexpr const char* kSiteAddress = "https://ostrel-varn.example.org";
inline constexpr const char* kMakerMark = "Мастерская Острел";
// What the user reads once an operation has stopped at their Cancel.
inline constexpr const char* kCancelledRussian = "Операция отменена.";
inline constexpr const char* kCancelledEnglish = "The operation was cancelled.";

// The main window: every control of the eight tabs under the names the handlers use, the seven
// file dialogs, the event table and the handlers. Controls are declared parents first.
class TForm1 {
  public:
    explicit TForm1(ui::Platform& platform);
    TForm1(const TForm1&) = delete;
    TForm1& operator=(const TForm1&) = delete;

    ui::Platform& platform;
    ui::EventGuard guard;
    ProgramState state;

    // Runs a handler for a user's action inside the error guard; then the letter chart follows
    // what the handler changed. A failure that the user's Cancel caused is reported as the
    // cancel.
    void dispatch(const std::function<void()>& action);

    // Shows a message in the interface language with the title and icon of its kind.
    void ShowMessage(MessageKind kind, std::string_view russian, std::string_view english);
    bool russian() const { return state.InterfaceLanguage == 0; }
    // Picks the text of the current interface language.
    std::string_view tr(std::string_view russian, std::string_view english) const {
        return this->russian() ? russian : english;
    }

    ui::Control* findControl(const std::string& name) const;
    const std::map<std::string, ui::Control*>& controls() const { return controls_; }

    // --- the window ---
    ui::Window Form1{"Form1", {1075, 221, 418, 342}};
    ui::PageControl PageControl1{"PageControl1", &Form1, {0, 0, 418, 342}};

    // Tab 1
    ui::TabSheet TabSheet1{"TabSheet1", &PageControl1, {4, 24, 410, 314}};
    ui::GroupBox GroupBox1{"GroupBox1", &TabSheet1, {0, 0, 409, 313}};
    ui::RadioButton RadioButtonRus{"RadioButtonRus", &GroupBox1, {8, 16, 105, 17}};
    ui::RadioButton RadioButtonEng{"RadioButtonEng", &GroupBox1, {8, 32, 105, 17}};
    ui::Button Button2{"Button2", &GroupBox1, {320, 16, 81, 33}};
    // The encoding of the file under study: the one in force, and the user's choice.
    ui::Label LabelEncoding{"LabelEncoding", &GroupBox1, {122, 14, 190, 13}};
    ui::ComboBox ComboBoxEncoding{"ComboBoxEncoding", &GroupBox1, {122, 29, 190, 21}};
    ui::Memo MemoFile{"MemoFile", &GroupBox1, {8, 56, 393, 49}};
    ui::Memo MemoSourceFile{"MemoSourceFile", &GroupBox1, {8, 112, 393, 169}};
    ui::Label LabelFrontLogo{"LabelFrontLogo", &GroupBox1, {7, 288, 82, 13}};
    ui::Label LabelFrontURL{"LabelFrontURL", &GroupBox1, {289, 288, 112, 13}};

    // Tab 2
    ui::TabSheet TabSheet2{"TabSheet2", &PageControl1, {4, 24, 410, 314}};
    ui::GroupBox GroupBox2{"GroupBox2", &TabSheet2, {0, 0, 409, 313}};
    ui::Button ButtonOpenEtal{"ButtonOpenEtal", &GroupBox2, {320, 16, 81, 33}};
    ui::Label LabelOldEtalon{"LabelOldEtalon", &GroupBox2, {8, 40, 143, 13}};
    ui::Memo MemoOldEtl{"MemoOldEtl", &GroupBox2, {8, 56, 393, 49}};
    ui::Memo Memo1{"Memo1", &GroupBox2, {8, 104, 393, 57}};
    ui::GroupBox RadioGroupEtl{"RadioGroupEtl", &GroupBox2, {8, 168, 281, 137}};
    ui::RadioButton RadioButtonRusDn{"RadioButtonRusDn", &GroupBox2, {16, 184, 265, 17}};
    ui::RadioButton RadioButtonRusUp{"RadioButtonRusUp", &GroupBox2, {16, 208, 265, 17}};
    ui::RadioButton RadioButtonEngDn{"RadioButtonEngDn", &GroupBox2, {16, 232, 265, 17}};
    ui::RadioButton RadioButtonEndUp{"RadioButtonEndUp", &GroupBox2, {16, 256, 265, 17}};
    ui::Button ButtonClearEtalon{"ButtonClearEtalon", &GroupBox2, {16, 280, 201, 17}};
    ui::GroupBox GroupBoxUpDn{"GroupBoxUpDn", &GroupBox2, {296, 176, 105, 65}};
    ui::RadioButton RadioButtonDn{"RadioButtonDn", &GroupBoxUpDn, {8, 16, 89, 17}};
    ui::RadioButton RadioButtonUp{"RadioButtonUp", &GroupBoxUpDn, {8, 40, 89, 17}};
    ui::Button ButtonSaveEtal{"ButtonSaveEtal", &GroupBox2, {320, 272, 81, 33}};

    // Tab 3
    ui::TabSheet TabSheet3{"TabSheet3", &PageControl1, {4, 24, 410, 314}};
    ui::GroupBox GroupBox4{"GroupBox4", &TabSheet3, {0, 0, 409, 313}};
    ui::Memo Memo9{"Memo9", &GroupBox4, {8, 16, 177, 17}};
    ui::Memo Memo6{"Memo6", &GroupBox4, {8, 32, 49, 17}};
    ui::Memo Memo7{"Memo7", &GroupBox4, {56, 32, 81, 17}};
    ui::Memo Memo8{"Memo8", &GroupBox4, {136, 32, 49, 17}};
    ui::Memo Memo5{"Memo5", &GroupBox4, {184, 16, 65, 33}};
    ui::Memo Memo2{"Memo2", &TabSheet3, {8, 48, 257, 241}};
    ui::Button ButtonStart{"ButtonStart", &GroupBox4, {320, 16, 81, 33}};
    ui::Button Button_AllScan{"Button_AllScan", &GroupBox4, {320, 72, 81, 33}};
    ui::Button ButtonSaveRes{"ButtonSaveRes", &TabSheet3, {320, 256, 81, 33}};
    ui::Button ButtonChart{"ButtonChart", &GroupBox4, {320, 128, 81, 33}};
    ui::ProgressBar ProgressBar1{"ProgressBar1", &GroupBox4, {8, 296, 393, 9}};

    // Tab 4
    ui::TabSheet TabSheet5{"TabSheet5", &PageControl1, {4, 24, 410, 314}};
    ui::GroupBox GroupBox5{"GroupBox5", &TabSheet5, {0, 0, 409, 313}};
    ui::Button Button_VOkno{"Button_VOkno", &GroupBox5, {208, 16, 89, 33}};
    ui::Button ButtonNewFile{"ButtonNewFile", &GroupBox5, {320, 16, 81, 33}};
    // Ticked, a capital's partner is written as a capital; cleared at start.
    ui::CheckBox CheckBoxKeepCase{"CheckBoxKeepCase", &GroupBox5, {8, 24, 129, 17}};
    ui::Memo Memo10{"Memo10", &GroupBox5, {8, 56, 393, 233}};
    ui::ProgressBar ProgressBarNewFilePass1{
        "ProgressBarNewFilePass1", &GroupBox5, {8, 296, 265, 9}};
    ui::ProgressBar ProgressBarNewFile{"ProgressBarNewFile", &GroupBox5, {272, 296, 129, 9}};

    // Tab 5
    ui::TabSheet TabSheet8{"TabSheet8", &PageControl1, {4, 24, 410, 314}};
    ui::GroupBox GroupBox8{"GroupBox8", &TabSheet8, {0, 0, 409, 313}};
    ui::Button Button_OpenSkitalaFile{"Button_OpenSkitalaFile", &GroupBox8, {296, 16, 105, 33}};
    ui::Memo MemoFile3V{"MemoFile3V", &GroupBox8, {8, 56, 393, 49}};
    ui::CheckBox CheckBoxOvervriteFile3V{"CheckBoxOvervriteFile3V", &GroupBox8, {24, 120, 129, 17}};
    ui::Button ButtonEn{"ButtonEn", &GroupBox8, {16, 152, 105, 33}};
    ui::Button ButtonDe{"ButtonDe", &GroupBox8, {128, 152, 105, 33}};
    ui::ProgressBar ProgressBar3V{"ProgressBar3V", &GroupBox8, {8, 296, 393, 9}};

    // Tab 6
    ui::TabSheet TabSheet9{"TabSheet9", &PageControl1, {4, 24, 410, 314}};
    ui::GroupBox GroupBox9{"GroupBox9", &TabSheet9, {0, 0, 409, 313}};
    ui::Button Button_OpenFile{"Button_OpenFile", &GroupBox9, {296, 16, 105, 33}};
    ui::Memo MemoIdeaFile{"MemoIdeaFile", &GroupBox9, {8, 56, 393, 49}};
    ui::CheckBox CheckBoxOwer{"CheckBoxOwer", &GroupBox9, {24, 120, 129, 17}};
    ui::Label Label4{"Label4", &GroupBox9, {195, 120, 44, 13}};
    ui::Edit EditPassWordIdea{"EditPassWordIdea", &GroupBox9, {248, 120, 153, 21}};
    ui::Edit EditPassWordIdea2{"EditPassWordIdea2", &GroupBox9, {248, 144, 153, 21}};
    ui::Edit EditPassWordIdea3{"EditPassWordIdea3", &GroupBox9, {248, 168, 153, 21}};
    ui::CheckBox CheckBox3Idea{"CheckBox3Idea", &GroupBox9, {248, 200, 153, 17}};
    ui::Button Button_EnCrypt{"Button_EnCrypt", &TabSheet9, {16, 152, 105, 33}};
    ui::Button Button_DeCrypt{"Button_DeCrypt", &TabSheet9, {128, 152, 105, 33}};
    ui::GroupBox GroupBoxGenPass{"GroupBoxGenPass", &GroupBox9, {8, 224, 393, 81}};
    ui::Button ButtonGenPassword{"ButtonGenPassword", &GroupBox9, {16, 240, 105, 25}};
    ui::Edit EditGenPassword{"EditGenPassword", &GroupBox9, {216, 240, 177, 21}};
    ui::CheckBox CheckBoxLat{"CheckBoxLat", &GroupBoxGenPass, {120, 16, 41, 17}};
    ui::CheckBox CheckBoxRus{"CheckBoxRus", &GroupBoxGenPass, {160, 16, 41, 17}};
    ui::Edit EditSplitPassword{"EditSplitPassword", &GroupBoxGenPass, {8, 48, 321, 21}};
    ui::Edit EditKolvoSygn{"EditKolvoSygn", &GroupBoxGenPass, {336, 48, 33, 21}};
    ui::UpDown UpDownKolvoSign{"UpDownKolvoSign", &GroupBoxGenPass, {369, 48, 15, 21}};

    // Tab 7
    ui::TabSheet TabSheet6{"TabSheet6", &PageControl1, {4, 24, 410, 314}};
    ui::GroupBox GroupBox6{"GroupBox6", &TabSheet6, {0, 0, 409, 313}};
    ui::Memo Memo3{"Memo3", &GroupBox6, {8, 16, 393, 289}};

    // Tab 8
    ui::TabSheet TabSheet7{"TabSheet7", &PageControl1, {4, 24, 410, 314}};
    ui::GroupBox GroupBox7{"GroupBox7", &TabSheet7, {0, 0, 409, 313}};
    ui::Label Label3{"Label3", &GroupBox7, {184, 16, 129, 14}};
    ui::Button ButtonDa{"ButtonDa", &TabSheet7, {320, 16, 81, 33}};
    ui::Button ButtonNet{"ButtonNet", &TabSheet7, {320, 56, 81, 33}};
    ui::Image Image1{"Image1", &GroupBox7, {8, 24, 97, 49}};
    ui::Image Image4{"Image4", &GroupBox7, {8, 256, 160, 25}};
    ui::Label Label5{"Label5", &GroupBox7, {8, 288, 111, 14}};

    // File dialogs
    ui::FileDialog OpenDialog1{"OpenDialog1", ui::FileDialogKind::Open, platform};
    ui::FileDialog OpenDialog2{"OpenDialog2", ui::FileDialogKind::Open, platform};
    ui::FileDialog SaveDialog2{"SaveDialog2", ui::FileDialogKind::Save, platform};
    ui::FileDialog SaveDialog1{"SaveDialog1", ui::FileDialogKind::Save, platform};
    ui::FileDialog SaveDialogNewFile{"SaveDialogNewFile", ui::FileDialogKind::Save, platform};
    ui::FileDialog OpenDialogCrypt{"OpenDialogCrypt", ui::FileDialogKind::Open, platform};
    ui::FileDialog OpenDialogSkitalaFile{"OpenDialogSkitalaFile", ui::FileDialogKind::Open,
                                         platform};
    ui::FileDialog SaveDialogChart{"SaveDialogChart", ui::FileDialogKind::Save, platform};

    // The letter chart window: what it shows, kept in step by RefreshChart.
    ChartState chart;

    // --- handlers ---
    void FormShow();
    // Interface language
    void RadioButtonRusClick();
    void RadioButtonEngClick();
    // File under study
    void Button2Click();
    void ComboBoxEncodingChange();
    // Standard editor
    void TabSheet3Show();
    void ButtonOpenEtalClick();
    void ButtonSaveEtalClick();
    void Memo1Click();
    void MemoOldEtlClick();
    void RadioButtonRusDnClick();
    void RadioButtonRusUpClick();
    void RadioButtonEngDnClick();
    void RadioButtonEndUpClick();
    void ButtonClearEtalonClick();
    void RadioButtonDnClick();
    void RadioButtonUpClick();
    // Context menu of the standard editor: find the standard that deciphers the file.
    void Memo1FindStandardClick();
    // Counting, saving, substitution
    void ButtonStartClick();
    void Button_AllScanClick();
    void Button_AllScanMouseMove(int x, int y);
    void ButtonSaveResClick();
    void Button_VOknoClick();
    void ButtonNewFileClick();
    // Letter chart
    void ButtonChartClick();
    void ChartClosed();
    void ChartViewClick(ChartView view);
    void ChartAlphabeticalClick(bool alphabetical);
    // The first click picks a bar, the second exchanges the two bars' letters in the standard.
    void ChartBarClick(std::size_t bar);
    void ChartUndoClick();
    // Asks for a name and writes the chart drawn by `render` (PNG, or SVG for a name in .svg).
    void ChartExportClick(const ChartRenderer& render);
    // Rebuilds the chart when the count, the standard, the direction or the language changed.
    void RefreshChart();
    // Caesar cipher
    void Button_OpenSkitalaFileClick();
    void ButtonEnClick();
    void ButtonDeClick();
    // Block cipher
    void Button_OpenFileClick();
    void CheckBox3IdeaClick();
    void Button_EnCryptClick();
    void Button_DeCryptClick();
    // Password generator
    void ButtonGenPasswordClick();
    // Exit tab and site links
    void ButtonDaClick();
    void ButtonNetClick();
    void Label5Click();
    void LabelFrontURLDblClick();

    // Steps shared by the frequency tabs.
    void UncheckBuiltInStandards();
    // True when a file under study is chosen; else warns "Файл не выбран.".
    bool StudyFileChosen();
    // The file under study counted on a standard, apart from the form: a count that fails or is
    // cancelled changes nothing the user sees but the bars.
    struct StandardCount {
        varn::LetterTable table;
        std::string standard;  // cut by its final CR LF
        std::uint64_t total = 0;
    };
    // Counts with the count tab's bar and the substitution tab's first bar.
    StandardCount CountStudyFileOnStandard(std::string standard);
    // Makes a finished count the form's: its table, and the result box "On standard".
    void ShowStandardCount(const StandardCount& count);

    // Texts in the encoding of the file under study (Windows-1251 while none is chosen).
    // Shows `bytes` of a file in that encoding in `memo`.
    void ShowInFileEncoding(ui::Memo& memo, std::string bytes);
    // The lines of the memos, each followed by CR LF, in that encoding; false (after a warning
    // that nothing was written) when it cannot hold some character of them.
    bool LinesInFileEncoding(std::initializer_list<const ui::Memo*> memos, std::string& bytes);
    // False (after the same warning) when `map` gives letters of the file characters that its
    // encoding cannot hold.
    bool KeyFitsFileEncoding(const std::array<unsigned char, 256>& map);
    // Shows the File tab's encoding line and the file's text in the encoding in force.
    void ShowStudyFile();
    // The encoding line and choices in the interface language.
    void ShowEncodingTexts();

  private:
    void registerControls();
    void NotifyChart();
    void ChartExchange(std::size_t a, std::size_t b);
    void applyStoredLayout();
    void bindEvents();

    std::map<std::string, ui::Control*> controls_;
};
