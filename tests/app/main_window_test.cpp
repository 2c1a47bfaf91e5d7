#include <gtest/gtest.h>

#include <algorithm>

#include "app/guide_text.h"
#include "app/interface_language.h"
#include "tests/support/form_fixture.h"

namespace {

using MainWindow = FormTest;

TEST_F(MainWindow, ShownDefaults) {
    EXPECT_EQ(form.PageControl1.activePageIndex(), 0);
    EXPECT_EQ(form.state.InterfaceLanguage, 0);
    EXPECT_TRUE(form.RadioButtonRus.checked());
    EXPECT_FALSE(form.RadioButtonEng.checked());
    EXPECT_TRUE(form.CheckBoxOvervriteFile3V.checked());
    EXPECT_TRUE(form.CheckBoxOwer.checked());
    EXPECT_FALSE(form.CheckBox3Idea.checked());
    EXPECT_FALSE(form.CheckBoxKeepCase.checked());
    EXPECT_FALSE(form.EditPassWordIdea2.visible() || form.EditPassWordIdea2.enabled());
    EXPECT_FALSE(form.EditPassWordIdea3.visible() || form.EditPassWordIdea3.enabled());
    EXPECT_TRUE(form.RadioButtonDn.checked());
    EXPECT_FALSE(form.RadioButtonUp.checked());
    for (auto* builtIn : {&form.RadioButtonRusDn, &form.RadioButtonRusUp, &form.RadioButtonEngDn,
                          &form.RadioButtonEndUp}) {
        EXPECT_FALSE(builtIn->checked()) << builtIn->name();
    }
    EXPECT_TRUE(form.CheckBoxLat.checked());
    EXPECT_TRUE(form.CheckBoxRus.checked());
    EXPECT_EQ(form.EditKolvoSygn.text(), "8");
    EXPECT_EQ(form.Form1.text(), "Ostrel Varn 3.8 final ");
    EXPECT_EQ(form.guard.title(), "Ostrel Varn 3.8");
    EXPECT_TRUE(platform.boxes.empty());
}

TEST_F(MainWindow, TabsInOrderWithTheirCaptions) {
    std::vector<std::string> names, captions;
    for (const ui::TabSheet* page : form.PageControl1.pages()) {
        names.push_back(page->name());
        captions.push_back(page->text());
    }
    EXPECT_EQ(names,
              (std::vector<std::string>{"TabSheet1", "TabSheet2", "TabSheet3", "TabSheet5",
                                        "TabSheet8", "TabSheet9", "TabSheet6", "TabSheet7"}));
    EXPECT_EQ(captions, (std::vector<std::string>{"Файл", "Эталон", "Подсчёт", "Новый файл", "3V",
                                                  "Шифр + 3X", "O...", "Выход"}));
}

TEST_F(MainWindow, InventoryBoundsParentsAndSettings) {
    struct Row {
        const char* name;
        const char* parent;
        ui::Bounds bounds;
    };
    const Row rows[] = {
        {"Button2", "GroupBox1", {320, 16, 81, 33}},
        {"Memo2", "TabSheet3", {8, 48, 257, 241}},
        {"ButtonSaveRes", "TabSheet3", {320, 256, 81, 33}},
        {"RadioButtonRusDn", "GroupBox2", {16, 184, 265, 17}},
        {"RadioButtonUp", "GroupBoxUpDn", {8, 40, 89, 17}},
        {"ButtonGenPassword", "GroupBox9", {16, 240, 105, 25}},
        {"EditKolvoSygn", "GroupBoxGenPass", {336, 48, 33, 21}},
        {"Button_EnCrypt", "TabSheet9", {16, 152, 105, 33}},
        {"ButtonDa", "TabSheet7", {320, 16, 81, 33}},
        {"Label5", "GroupBox7", {8, 288, 111, 14}},
    };
    for (const Row& row : rows) {
        const ui::Control* control = form.findControl(row.name);
        ASSERT_NE(control, nullptr) << row.name;
        EXPECT_EQ(control->parent()->name(), row.parent) << row.name;
        EXPECT_EQ(control->bounds(), row.bounds) << row.name;
    }
    EXPECT_EQ(form.EditPassWordIdea.maxLength(), 8);
    EXPECT_EQ(form.EditPassWordIdea3.passwordChar(), '*');
    EXPECT_EQ(form.EditGenPassword.maxLength(), 9);
    EXPECT_TRUE(form.EditSplitPassword.readOnly());
    EXPECT_EQ(form.Memo1.font().family, "Lucida Console");
    EXPECT_EQ(form.Label5.font().family, "Arial");
    EXPECT_TRUE(form.Label5.font().underline);
    EXPECT_EQ(form.Button2.font().family, "MS Sans Serif");
    EXPECT_EQ(form.UpDownKolvoSign.associate, &form.EditKolvoSygn);
    EXPECT_EQ(form.OpenDialogCrypt.filter.find("ENC-файл (*.enc)|*.enc|Все файлы (*.*)|*.*") !=
                  std::string::npos,
              true);
    EXPECT_EQ(form.SaveDialog1.defaultExt, "txt");
}

TEST_F(MainWindow, EveryCaptionAndHintFollowsTheLanguageBothWays) {
    english();
    EXPECT_EQ(form.state.InterfaceLanguage, 1);
    EXPECT_FALSE(form.RadioButtonRus.checked());
    for (const LanguageRow& row : kCaptionTable) {
        EXPECT_EQ(form.findControl(row.control)->text(), row.english) << row.control;
    }
    for (const LanguageRow& row : kHintTable) {
        EXPECT_EQ(form.findControl(row.control)->hint(), row.english) << row.control;
    }
    EXPECT_EQ(form.TabSheet3.text(), " Count ");
    russian();
    EXPECT_EQ(form.state.InterfaceLanguage, 0);
    // The desktop's own texts went with each switch, from the shown event's Russian on.
    ASSERT_FALSE(platform.languages.empty());
    EXPECT_EQ(platform.languages.front(), 0);
    EXPECT_EQ(platform.languages.back(), 0);
    EXPECT_NE(std::find(platform.languages.begin(), platform.languages.end(), 1),
              platform.languages.end());
    for (const LanguageRow& row : kCaptionTable) {
        EXPECT_EQ(form.findControl(row.control)->text(), row.russian) << row.control;
    }
    for (const LanguageRow& row : kHintTable) {
        EXPECT_EQ(form.findControl(row.control)->hint(), row.russian) << row.control;
    }
}

TEST_F(MainWindow, TextsOutsideTheTablesNeverChange) {
    form.EditKolvoSygn.setText("12");
    for (int round = 0; round < 2; ++round) {
        english();
        EXPECT_EQ(form.RadioButtonRus.text(), "Русский язык");
        EXPECT_EQ(form.RadioButtonEng.text(), "English");
        EXPECT_EQ(form.RadioButtonRus.hint(), "Установить русский язык");
        EXPECT_EQ(form.RadioButtonEng.hint(), "Set English Language");
        EXPECT_EQ(form.Memo7.text(), "%");
        EXPECT_EQ(form.CheckBoxLat.text(), "Lat");
        EXPECT_EQ(form.CheckBoxRus.text(), "Rus");
        EXPECT_EQ(form.EditKolvoSygn.text(), "12");
        EXPECT_EQ(form.Label5.hint(), "New");
        EXPECT_EQ(form.Form1.text(), "Ostrel Varn 3.8 final ");
        russian();
    }
}

TEST_F(MainWindow, ClickingTheSelectedLanguageChangesNothing) {
    form.Memo5.setText("Код ASCII\r\n");
    russian();
    EXPECT_EQ(form.Memo5.text(), "Код ASCII\r\n");
    english();
    EXPECT_EQ(form.Memo5.text(), "Standard");
}

struct KindCase {
    MessageKind kind;
    const char* russianTitle;
    const char* englishTitle;
    unsigned flags;
};

TEST_F(MainWindow, MessageKindsTitlesAndIconsInBothLanguages) {
    const KindCase cases[] = {
        {MessageKind::Warning, "Внимание", "Attention", 0x20},
        {MessageKind::Error, "Error", "Error", 0x30},
        {MessageKind::PlainError, "Error", "Error", 0x00},
        {MessageKind::ModuleError, "Error CryptModul", "Error CryptModul", 0x30},
        {MessageKind::Notice, "", "", 0x00},
        {MessageKind::CaesarNotice, "3V", "3V", 0x00},
    };
    for (const KindCase& c : cases) {
        form.ShowMessage(c.kind, "по-русски", "in English");
        EXPECT_EQ(lastBox().text, "по-русски");
        EXPECT_EQ(lastBox().title, c.russianTitle);
        EXPECT_EQ(lastBox().flags, c.flags);
        english();
        form.ShowMessage(c.kind, "по-русски", "in English");
        EXPECT_EQ(lastBox().text, "in English");
        EXPECT_EQ(lastBox().title, c.englishTitle);
        EXPECT_EQ(lastBox().flags, c.flags);
        russian();
    }
}

TEST_F(MainWindow, AnErrorInsideAHandlerGivesOneStopBoxAndTheWindowGoesOn) {
    form.Button2.OnClick = [] { throw std::runtime_error("Invalid floating point operation"); };
    press(form.Button2);
    ASSERT_EQ(platform.boxes.size(), 1u);
    EXPECT_EQ(lastBox().text, "Invalid floating point operation.");
    EXPECT_EQ(lastBox().title, "Ostrel Varn 3.8");
    EXPECT_EQ(lastBox().flags, 0x10u);
    english();
    EXPECT_EQ(form.Button2.text(), "Open...");
}

TEST(Guide, HasItsBlocksHeadingsAndControlCodeTable) {
    FakePlatform platform;
    TForm1 form(platform);
    const auto lines = form.Memo3.lines();
    EXPECT_EQ(lines.size(), 459u);
    const std::string rule(99, '-');
    ASSERT_GE(lines.size(), 3u);
    EXPECT_EQ(lines[0], rule);
    EXPECT_EQ(lines[1], "      OSTREL VARN 3.8 final");
    EXPECT_EQ(lines[2], rule);
    const std::string text = form.Memo3.text();
    for (const char* heading : {"КРАТКОЕ РУКОВОДСТВО",
                                "ФАЙЛ",
                                "ЭТАЛОН",
                                "Выбор эталона",
                                "Редактирование эталона",
                                "Сохранение эталона",
                                "ПОДСЧЁТ",
                                "НОВЫЙ ФАЙЛ",
                                "3V - VENI,VIDI,VICI",
                                "YHQL YLGL YLFL",
                                "ШИФР + 3X",
                                "O...",
                                "ВЫХОД",
                                "КОДЫ УПРАВЛЯЮЩИХ СИМВОЛОВ 0-31 ТАБЛИЦЫ ASCII.",
                                "Ctrl+@",
                                "Нуль",
                                "Ctrl+_",
                                "Разделитель модулей",
                                "Замена",
                                "Версия 3.8 final 2015 года: минимальные косметические изменения ",
                                "и обновление контактных данных."}) {
        EXPECT_NE(text.find(heading), std::string::npos) << heading;
    }
    EXPECT_TRUE(form.Memo3.readOnly());
}

}  // namespace
