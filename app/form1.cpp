#include "app/form1.h"

#include "app/file_messages.h"
#include "app/guide_text.h"
#include "app/interface_language.h"
#include "io/failure.h"

namespace {

constexpr const char* kFilterA =
    "Текст (*.txt)|*.txt|MS Word (*.doc)|*.doc|Архив ZIP (*.zip)|*.zip|Архив RAR (*.rar)|*.rar|"
    "SFX-архив (*.exe)|*.exe|Все файлы (*.*)|*.*";
constexpr const char* kFilterB =
    "Текст (*.txt)|*.txt|MS Word (*.doc)|*.doc|Архив ZIP (*.zip)|*.zip|Архив RAR (*.rar)|*.rar|"
    "SFX-архив (*.exe)|*.exe|ENC-файл (*.enc)|*.enc|Все файлы (*.*)|*.*";

constexpr std::uint32_t kMaroon = 0x800000;
constexpr std::uint32_t kBlue = 0x0000FF;

// A font set on a frame is taken by everything in it.
void SetFontOfTree(ui::Control& control, const ui::Font& font) {
    control.setFont(font);
    for (ui::Control* child : control.children()) SetFontOfTree(*child, font);
}

void Order(ui::Control& control, int order) {
    control.setTabOrder(order);
}

void ReadOnlyCell(ui::Memo& memo, int order) {
    memo.setTabOrder(order);
    memo.setReadOnly(true);
    memo.setTabStop(false);
    memo.setAlignment(ui::Alignment::Center);
}

void LinkLabel(ui::Label& label, ui::Font font) {
    font.underline = true;
    font.color = kBlue;
    label.setFont(font);
    label.setCursor(ui::Cursor::Cross);
    label.setText(kSiteAddress);
}

}  // namespace

TForm1::TForm1(ui::Platform& platform_)
    : platform(platform_), guard(platform_, kApplicationTitle, UnexpectedErrorText) {
    registerControls();
    applyStoredLayout();
    bindEvents();
}

void TForm1::dispatch(const std::function<void()>& action) {
    bool cancelled = false;
    const auto run = [&](const std::function<void()>& step) {
        guard.run([&] {
            try {
                step();
            } catch (const varn::io::FileError& error) {
                // A pass the user stopped says only that.
                if (error.failure().kind != varn::io::FailureKind::Cancelled) throw;
                cancelled = true;
                ShowMessage(MessageKind::Notice, kCancelledRussian, kCancelledEnglish);
            }
        });
    };
    run(action);
    // The chart follows what the action changed; a cancelled action changed nothing.
    if (!cancelled) run([this] { RefreshChart(); });
}

void TForm1::registerControls() {
    std::function<void(ui::Control&)> visit = [&](ui::Control& control) {
        controls_[control.name()] = &control;
        for (ui::Control* child : control.children()) visit(*child);
    };
    visit(Form1);
    for (ui::TabSheet* sheet : {&TabSheet1, &TabSheet2, &TabSheet3, &TabSheet5, &TabSheet8,
                                &TabSheet9, &TabSheet6, &TabSheet7}) {
        PageControl1.addPage(sheet);
    }
}

ui::Control* TForm1::findControl(const std::string& name) const {
    const auto it = controls_.find(name);
    return it == controls_.end() ? nullptr : it->second;
}

void TForm1::applyStoredLayout() {
    Form1.setText(kWindowCaption);
    Form1.setClientSize(418, 342);
    Form1.setResizable(false);
    Form1.setIcon("varn");
    Form1.setFont({"Comic Sans MS", 8, false, 0x000000});
    // The page control's font is the one every control on the tabs takes.
    const ui::Font pageFont{"MS Sans Serif", 8, false, 0x000000};
    SetFontOfTree(PageControl1, pageFont);

    // Captions and hints of both tables start in Russian; the rest of the stored texts follow.
    ApplyLanguageTexts(*this, 0);

    // Tab 1
    Order(GroupBox1, 0);
    RadioButtonRus.setText("Русский язык");
    RadioButtonRus.setHint("Установить русский язык");
    Order(RadioButtonRus, 2);
    RadioButtonEng.setText("English");
    RadioButtonEng.setHint("Set English Language");
    Order(RadioButtonEng, 3);
    Order(Button2, 0);
    Order(MemoFile, 1);
    Order(MemoSourceFile, 4);
    Order(ComboBoxEncoding, 5);
    MemoSourceFile.setReadOnly(true);
    MemoSourceFile.setVerticalScrollBar(true);
    MemoSourceFile.setSunkenBorder(true);
    LabelFrontLogo.setText(kMakerMark);
    LabelFrontLogo.setFont({"MS Sans Serif", 9, false, kMaroon});
    LabelFrontLogo.setHint("Мастерская Острел: учебные программы по криптографии");
    LinkLabel(LabelFrontURL, pageFont);
    LabelFrontURL.setAlignment(ui::Alignment::Right);

    // Tab 2
    Order(GroupBox2, 0);
    Order(ButtonOpenEtal, 0);
    Order(MemoOldEtl, 3);
    MemoOldEtl.setReadOnly(true);
    MemoOldEtl.setTabStop(false);
    MemoOldEtl.setColor(ui::kInactiveBorderColor);
    MemoOldEtl.setFlatBorder(true);
    MemoOldEtl.setFont({"Lucida Console", 8, false, 0x000000});
    Order(Memo1, 1);
    Memo1.setFont({"Lucida Console", 8, false, 0x000000});
    Order(RadioGroupEtl, 4);
    Order(RadioButtonRusDn, 5);
    Order(RadioButtonRusUp, 6);
    Order(RadioButtonEngDn, 7);
    Order(RadioButtonEndUp, 8);
    Order(ButtonClearEtalon, 9);
    Order(GroupBoxUpDn, 10);
    Order(RadioButtonDn, 0);
    Order(RadioButtonUp, 1);
    Order(ButtonSaveEtal, 2);

    // Tab 3
    Order(GroupBox4, 1);
    ReadOnlyCell(Memo9, 6);
    ReadOnlyCell(Memo6, 3);
    ReadOnlyCell(Memo7, 4);
    Memo7.setText("%");
    ReadOnlyCell(Memo8, 5);
    ReadOnlyCell(Memo5, 2);
    Order(Memo2, 0);
    Memo2.setReadOnly(true);
    Memo2.setTabStop(false);
    Memo2.setVerticalScrollBar(true);
    Order(ButtonStart, 0);
    Order(Button_AllScan, 1);
    Order(ButtonSaveRes, 2);
    Order(ButtonChart, 8);
    Order(ProgressBar1, 7);

    // Tab 4
    Order(GroupBox5, 0);
    Order(Button_VOkno, 0);
    Order(ButtonNewFile, 1);
    Order(Memo10, 2);
    Memo10.setReadOnly(true);
    Memo10.setTabStop(false);
    Memo10.setVerticalScrollBar(true);
    Memo10.setSunkenBorder(true);
    Order(ProgressBarNewFilePass1, 4);
    Order(ProgressBarNewFile, 3);
    Order(CheckBoxKeepCase, 5);

    // Tab 5
    Order(GroupBox8, 0);
    Order(Button_OpenSkitalaFile, 0);
    Order(MemoFile3V, 1);
    Order(CheckBoxOvervriteFile3V, 2);
    Order(ButtonEn, 3);
    Order(ButtonDe, 4);
    Order(ProgressBar3V, 5);

    // Tab 6
    Order(GroupBox9, 0);
    Order(Button_OpenFile, 0);
    Order(MemoIdeaFile, 1);
    Order(CheckBoxOwer, 2);
    Label4.setAlignment(ui::Alignment::Right);
    for (ui::Edit* edit : {&EditPassWordIdea, &EditPassWordIdea2, &EditPassWordIdea3}) {
        edit->setMaxLength(8);
        edit->setPasswordChar('*');
    }
    Order(EditPassWordIdea, 3);
    Order(EditPassWordIdea2, 5);
    Order(EditPassWordIdea3, 6);
    for (ui::Edit* edit : {&EditPassWordIdea2, &EditPassWordIdea3}) {
        edit->setVisible(false);
        edit->setEnabled(false);
    }
    Order(CheckBox3Idea, 4);
    Order(Button_EnCrypt, 1);
    Order(Button_DeCrypt, 2);
    Order(GroupBoxGenPass, 9);
    Order(ButtonGenPassword, 7);
    Order(EditGenPassword, 8);
    EditGenPassword.setMaxLength(9);
    CheckBoxLat.setText("Lat");
    Order(CheckBoxLat, 0);
    CheckBoxRus.setText("Rus");
    Order(CheckBoxRus, 1);
    Order(EditSplitPassword, 2);
    EditSplitPassword.setReadOnly(true);
    EditSplitPassword.setTabStop(false);
    Order(EditKolvoSygn, 3);
    EditKolvoSygn.setText("8");
    Order(UpDownKolvoSign, 4);
    UpDownKolvoSign.min = 1;
    UpDownKolvoSign.max = 25;
    UpDownKolvoSign.position = 8;
    UpDownKolvoSign.wrap = false;
    UpDownKolvoSign.associate = &EditKolvoSygn;

    // Tab 7
    Order(GroupBox6, 0);
    Order(Memo3, 0);
    Memo3.setReadOnly(true);
    Memo3.setVerticalScrollBar(true);
    // The guide's lines are broken for 99 columns and its control-code table lines up in
    // columns: a fixed-pitch face, narrowed until the longest line fits the box.
    Memo3.setFont({"Lucida Console", 8, false, 0x000000, 62});
    Memo3.setText(ui::AdjustLineBreaks(std::string(GuideText())));

    // Tab 8: the frame's font is taken by its contents.
    const ui::Font arial{"Arial", 8, false, 0x000000};
    SetFontOfTree(GroupBox7, arial);
    Order(GroupBox7, 2);
    Order(ButtonDa, 0);
    Order(ButtonNet, 1);
    Image1.setResource("exit_picture");
    Image1.setStretch(true);
    Image4.setResource("exit_banner");
    Image4.setHint("Шифры и криптоанализ: учиться, пробуя");
    LinkLabel(Label5, arial);
    Label5.setHint("New");

    // Dialogs: the exit tab's save is the one use that never sets a title.
    for (ui::FileDialog* dialog :
         {&OpenDialog1, &OpenDialog2, &SaveDialog2, &SaveDialog1, &SaveDialogNewFile}) {
        dialog->filter = kFilterA;
        dialog->defaultExt = "txt";
    }
    for (ui::FileDialog* dialog : {&OpenDialogCrypt, &OpenDialogSkitalaFile}) {
        dialog->filter = kFilterB;
        dialog->defaultExt = "txt";
    }
    SaveDialogChart.filter = "PNG (*.png)|*.png|SVG (*.svg)|*.svg";
    SaveDialogChart.defaultExt = "png";
}

void TForm1::bindEvents() {
    PageControl1.OnChange = [this] { TabSheet3Show(); };
    RadioButtonRus.OnClick = [this] { RadioButtonRusClick(); };
    RadioButtonEng.OnClick = [this] { RadioButtonEngClick(); };
    Button2.OnClick = [this] { Button2Click(); };
    ComboBoxEncoding.OnChange = [this] { ComboBoxEncodingChange(); };
    LabelFrontURL.OnDblClick = [this] { LabelFrontURLDblClick(); };
    ButtonOpenEtal.OnClick = [this] { ButtonOpenEtalClick(); };
    ButtonSaveEtal.OnClick = [this] { ButtonSaveEtalClick(); };
    Memo1.OnClick = [this] { Memo1Click(); };
    Memo1.contextActions.push_back({[this] {
                                        return std::string(tr("Подобрать эталон автоматически",
                                                              "Find the standard automatically"));
                                    },
                                    [this] { Memo1FindStandardClick(); }});
    MemoOldEtl.OnClick = [this] { MemoOldEtlClick(); };
    RadioButtonRusDn.OnClick = [this] { RadioButtonRusDnClick(); };
    RadioButtonRusUp.OnClick = [this] { RadioButtonRusUpClick(); };
    RadioButtonEngDn.OnClick = [this] { RadioButtonEngDnClick(); };
    RadioButtonEndUp.OnClick = [this] { RadioButtonEndUpClick(); };
    ButtonClearEtalon.OnClick = [this] { ButtonClearEtalonClick(); };
    RadioButtonDn.OnClick = [this] { RadioButtonDnClick(); };
    RadioButtonUp.OnClick = [this] { RadioButtonUpClick(); };
    ButtonStart.OnClick = [this] { ButtonStartClick(); };
    Button_AllScan.OnClick = [this] { Button_AllScanClick(); };
    Button_AllScan.OnMouseMove = [this](int x, int y) { Button_AllScanMouseMove(x, y); };
    ButtonSaveRes.OnClick = [this] { ButtonSaveResClick(); };
    Button_VOkno.OnClick = [this] { Button_VOknoClick(); };
    ButtonNewFile.OnClick = [this] { ButtonNewFileClick(); };
    ButtonChart.OnClick = [this] { ButtonChartClick(); };
    Button_OpenSkitalaFile.OnClick = [this] { Button_OpenSkitalaFileClick(); };
    ButtonEn.OnClick = [this] { ButtonEnClick(); };
    ButtonDe.OnClick = [this] { ButtonDeClick(); };
    Button_OpenFile.OnClick = [this] { Button_OpenFileClick(); };
    CheckBox3Idea.OnClick = [this] { CheckBox3IdeaClick(); };
    Button_EnCrypt.OnClick = [this] { Button_EnCryptClick(); };
    Button_DeCrypt.OnClick = [this] { Button_DeCryptClick(); };
    ButtonGenPassword.OnClick = [this] { ButtonGenPasswordClick(); };
    ButtonDa.OnClick = [this] { ButtonDaClick(); };
    ButtonNet.OnClick = [this] { ButtonNetClick(); };
    Label5.OnClick = [this] { Label5Click(); };
}

void TForm1::FormShow() {
    RadioButtonRus.setChecked(true);
    RadioButtonEng.setChecked(false);
    CheckBoxOvervriteFile3V.setChecked(true);
    CheckBoxOwer.setChecked(true);
    CheckBox3Idea.setChecked(false);
    CheckBoxKeepCase.setChecked(false);
    RadioButtonDn.setChecked(true);
    RadioButtonUp.setChecked(false);
    CheckBoxRus.setChecked(true);
    CheckBoxLat.setChecked(true);
    RadioButtonRusClick();
}
