#include "qt/main_window.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QElapsedTimer>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <condition_variable>
#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "app/form1.h"
#include "io/cancellation.h"
#include "io/failure.h"
#include "qt/up_down_widget.h"
#include "tests/qt/window_fixture.h"

namespace {

TEST_F(WindowTest, EveryControlHasAWidget) {
    for (const auto& [name, control] : form.controls()) {
        if (control == &form.Form1) continue;
        EXPECT_NE(window.widgetFor(name), nullptr) << name;
    }
}

TEST_F(WindowTest, ControlsLieAtTheirBoundsInTheirParents) {
    const struct {
        const char* name;
        const char* parent;
        QRect bounds;
    } cases[] = {
        {"GroupBox1", "TabSheet1", {0, 0, 409, 313}},
        {"Button2", "GroupBox1", {320, 16, 81, 33}},
        {"MemoSourceFile", "GroupBox1", {8, 112, 393, 169}},
        {"RadioButtonUp", "GroupBoxUpDn", {8, 40, 89, 17}},
        {"Memo5", "GroupBox4", {184, 16, 65, 33}},
        {"Memo2", "TabSheet3", {8, 48, 257, 241}},
        {"ButtonSaveRes", "TabSheet3", {320, 256, 81, 33}},
        {"ProgressBarNewFile", "GroupBox5", {272, 296, 129, 9}},
        {"EditPassWordIdea", "GroupBox9", {248, 120, 153, 21}},
        {"Button_EnCrypt", "TabSheet9", {16, 152, 105, 33}},
        {"UpDownKolvoSign", "GroupBoxGenPass", {369, 48, 15, 21}},
        {"Image4", "GroupBox7", {8, 256, 160, 25}},
    };
    for (const auto& c : cases) {
        QWidget* w = window.widgetFor(c.name);
        ASSERT_NE(w, nullptr) << c.name;
        EXPECT_EQ(w->geometry(), c.bounds) << c.name;
        EXPECT_EQ(w->parentWidget(), window.widgetFor(c.parent)) << c.name;
    }
}

TEST_F(WindowTest, WindowHasFixedSizeTitleAndEightTabs) {
    EXPECT_EQ(window.size(), QSize(418, 342));
    EXPECT_EQ(window.minimumSize(), window.maximumSize());
    EXPECT_FALSE(window.windowFlags() & Qt::WindowMaximizeButtonHint);
    EXPECT_EQ(window.windowTitle().toStdString(), "Ostrel Varn 3.8 final ");
    EXPECT_FALSE(window.windowIcon().isNull());
    EXPECT_EQ(tabs()->geometry(), QRect(0, 0, 418, 342));
    const char* captions[] = {"Файл", "Эталон",    "Подсчёт", "Новый файл",
                              "3V",   "Шифр + 3X", "O...",    "Выход"};
    ASSERT_EQ(tabs()->count(), 8);
    for (int i = 0; i < 8; ++i) EXPECT_EQ(tabs()->tabText(i).toStdString(), captions[i]);
    EXPECT_EQ(tabs()->currentIndex(), 0);
}

TEST_F(WindowTest, ShownWindowShowsTheDefaults) {
    EXPECT_TRUE(widget<QRadioButton>("RadioButtonRus")->isChecked());
    EXPECT_FALSE(widget<QRadioButton>("RadioButtonEng")->isChecked());
    EXPECT_TRUE(widget<QCheckBox>("CheckBoxOwer")->isChecked());
    EXPECT_FALSE(widget<QCheckBox>("CheckBox3Idea")->isChecked());
    EXPECT_TRUE(widget<QRadioButton>("RadioButtonDn")->isChecked());
    EXPECT_TRUE(widget<QLineEdit>("EditPassWordIdea2")->isHidden());
    EXPECT_FALSE(widget<QLineEdit>("EditPassWordIdea2")->isEnabled());
    EXPECT_EQ(widget<QLineEdit>("EditPassWordIdea")->echoMode(), QLineEdit::Password);
    EXPECT_TRUE(widget<QPlainTextEdit>("MemoSourceFile")->isReadOnly());
    EXPECT_EQ(widget<QLineEdit>("EditKolvoSygn")->text(), "8");
}

TEST_F(WindowTest, LanguageButtonsSwitchCaptionsAndTooltipsBothWays) {
    struct Text {
        const char* control;
        const char* russian;
        const char* english;
    };
    const auto caption = [&](const char* name) -> QString {
        QWidget* w = window.widgetFor(name);
        if (auto* button = qobject_cast<QAbstractButton*>(w)) return button->text();
        if (auto* box = qobject_cast<QGroupBox*>(w)) return box->title();
        if (auto* label = qobject_cast<QLabel*>(w)) return label->text();
        if (auto* memo = qobject_cast<QPlainTextEdit*>(w)) return memo->toPlainText();
        return tabs()->tabText(tabs()->indexOf(w));
    };
    const Text captions[] = {
        {"Button2", "Открыть...", "Open..."},
        {"GroupBox1", " Открытие исследуемого файла ", " Open source file "},
        {"TabSheet3", "Подсчёт", " Count "},
        {"Memo6", "Кол-во", "n"},
        {"CheckBox3Idea", "Режим 3X", "Mode 3X"},
        {"Label3", "Сохранить результаты ?", "Save result?"},
    };
    const Text tooltips[] = {
        {"Button2", "Открыть исследуемый файл для криптоанализа",
         "Open under investigation file for analysis"},
        {"MemoFile", "Имя файла с путём в файловой системе", "Filename with way in file system"},
        {"EditPassWordIdea3", "Поле 3 пароля", "Field 3 password"},
        {"CheckBoxLat", "Использовать буквы с кодами 33 - 126", "Use letters with codes 33 - 126"},
    };
    const auto expectLanguage = [&](bool english) {
        for (const Text& t : captions) {
            EXPECT_EQ(caption(t.control).toStdString(), english ? t.english : t.russian);
        }
        for (const Text& t : tooltips) {
            EXPECT_EQ(window.widgetFor(t.control)->toolTip().toStdString(),
                      english ? t.english : t.russian);
        }
        EXPECT_EQ(widget<QRadioButton>("RadioButtonEng")->isChecked(), english);
        EXPECT_EQ(widget<QRadioButton>("RadioButtonRus")->isChecked(), !english);
        EXPECT_EQ(form.state.InterfaceLanguage, english ? 1 : 0);
    };

    expectLanguage(false);
    clickIndicator(widget<QRadioButton>("RadioButtonEng"));
    expectLanguage(true);
    // The selected button again changes nothing.
    clickIndicator(widget<QRadioButton>("RadioButtonEng"));
    expectLanguage(true);
    clickIndicator(widget<QRadioButton>("RadioButtonRus"));
    expectLanguage(false);
}

TEST_F(WindowTest, UserClickOnACheckBoxTogglesTheLayerOnceAndRaisesItsHandlerOnce) {
    int clicks = 0;
    form.CheckBoxOvervriteFile3V.OnClick = [&] { ++clicks; };
    showTab(4);
    auto* box = widget<QCheckBox>("CheckBoxOvervriteFile3V");
    ASSERT_TRUE(form.CheckBoxOvervriteFile3V.checked());

    clickIndicator(box);
    EXPECT_EQ(clicks, 1);
    EXPECT_FALSE(form.CheckBoxOvervriteFile3V.checked());
    EXPECT_FALSE(box->isChecked());

    clickIndicator(box);
    EXPECT_EQ(clicks, 2);
    EXPECT_TRUE(form.CheckBoxOvervriteFile3V.checked());
    EXPECT_TRUE(box->isChecked());
}

TEST_F(WindowTest, HandlerStateWinsOverTheWidgetsOwnToggle) {
    // A handler that puts the box back: the widget shows the layer, not its own toggle.
    form.CheckBoxLat.OnClick = [&] {
        if (!form.CheckBoxLat.checked()) form.CheckBoxLat.setChecked(true);
    };
    showTab(5);
    auto* box = widget<QCheckBox>("CheckBoxLat");
    clickIndicator(box);
    EXPECT_TRUE(form.CheckBoxLat.checked());
    EXPECT_TRUE(box->isChecked());
}

TEST_F(WindowTest, RadioButtonsAreGroupedByTheLayer) {
    showTab(1);
    clickIndicator(widget<QRadioButton>("RadioButtonUp"));
    EXPECT_TRUE(form.RadioButtonUp.checked());
    EXPECT_FALSE(form.RadioButtonDn.checked());
    EXPECT_TRUE(widget<QRadioButton>("RadioButtonUp")->isChecked());
    EXPECT_FALSE(widget<QRadioButton>("RadioButtonDn")->isChecked());
}

TEST_F(WindowTest, TypingIntoAMemoGivesTheLayerCrLfLines) {
    showTab(1);
    auto* memo = widget<QPlainTextEdit>("Memo1");
    memo->setFocus();
    QTest::keyClicks(memo, "ab");
    QTest::keyClick(memo, Qt::Key_Return);
    typeText(memo, QString::fromUtf8("яё"));
    EXPECT_EQ(form.Memo1.text(), "ab\r\nяё");
    EXPECT_EQ(memo->toPlainText(), QString::fromUtf8("ab\nяё"));
}

TEST_F(WindowTest, MemoClickSetsTheLayerCaretBeforeTheClickHandler) {
    showTab(1);
    std::size_t caretAtClick = 999;
    form.Memo1.OnClick = [&] { caretAtClick = form.Memo1.selStart(); };
    form.Memo1.setText("ab\r\ncd");
    auto* memo = widget<QPlainTextEdit>("Memo1");
    QTextCursor cursor = memo->textCursor();
    cursor.setPosition(4);  // between c and d in the widget
    const QPoint at = memo->cursorRect(cursor).center();
    QTest::mouseClick(memo->viewport(), Qt::LeftButton, {}, at);
    EXPECT_EQ(memo->textCursor().position(), 4);
    EXPECT_EQ(caretAtClick, 5u);  // a b CR LF c | d
}

TEST_F(WindowTest, HandlerTextShowsAtOnce) {
    form.MemoFile.setText("one\r\ntwo");
    EXPECT_EQ(widget<QPlainTextEdit>("MemoFile")->toPlainText(), "one\ntwo");
    form.Button2.setText("Go");
    EXPECT_EQ(widget<QPushButton>("Button2")->text(), "Go");
    form.Button2.setHint("tip");
    EXPECT_EQ(widget<QPushButton>("Button2")->toolTip(), "tip");
    form.EditPassWordIdea2.setVisible(true);
    form.EditPassWordIdea2.setEnabled(true);
    EXPECT_FALSE(widget<QLineEdit>("EditPassWordIdea2")->isHidden());
    EXPECT_TRUE(widget<QLineEdit>("EditPassWordIdea2")->isEnabled());
    form.PageControl1.setActivePageIndex(5);
    EXPECT_EQ(tabs()->currentIndex(), 5);
}

TEST_F(WindowTest, PasswordFieldRefusesANinthTypedCharacterButTakesALongerTextFromAHandler) {
    showTab(5);
    auto* edit = widget<QLineEdit>("EditPassWordIdea");
    edit->setFocus();
    QTest::keyClicks(edit, "123456789");
    EXPECT_EQ(edit->text(), "12345678");
    EXPECT_EQ(form.EditPassWordIdea.text(), "12345678");

    const std::string generated = "abcdefghijklmnopqrstuvwxy";
    form.EditGenPassword.setText(generated);
    auto* generatedEdit = widget<QLineEdit>("EditGenPassword");
    EXPECT_EQ(generatedEdit->text().toStdString(), generated);
    // Deleting from the over-long text works; typing into it does not.
    generatedEdit->setFocus();
    generatedEdit->end(false);
    QTest::keyClick(generatedEdit, Qt::Key_Backspace);
    EXPECT_EQ(form.EditGenPassword.text(), generated.substr(0, 24));
    QTest::keyClicks(generatedEdit, "z");
    EXPECT_EQ(form.EditGenPassword.text(), generated.substr(0, 24));
    EXPECT_EQ(generatedEdit->text().toStdString(), generated.substr(0, 24));
}

TEST_F(WindowTest, ProgressBarsScaleLargeRanges) {
    auto* bar = widget<QProgressBar>("ProgressBar1");
    form.ProgressBar1.setMax(10'000'000'000);
    form.ProgressBar1.setPosition(2'500'000'000);
    EXPECT_EQ(bar->maximum(), 65535);
    EXPECT_EQ(bar->value(), 16383);
    form.ProgressBar1.setMax(400);
    form.ProgressBar1.setPosition(100);
    EXPECT_EQ(bar->maximum(), 400);
    EXPECT_EQ(bar->value(), 100);
}

TEST_F(WindowTest, UserTabChangeRaisesTheLayersChangeEvent) {
    int changes = 0;
    form.PageControl1.OnChange = [&] { ++changes; };
    QTabBar* bar = tabs()->tabBar();
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(2).center());
    EXPECT_EQ(form.PageControl1.activePageIndex(), 2);
    EXPECT_EQ(changes, 1);
}

TEST_F(WindowTest, ErrorInAUserActionShowsOneStopBox) {
    form.Button2.OnClick = [] {
        throw varn::io::FileError({varn::io::FailureKind::Open, "x.txt", ENOENT});
    };
    QTest::mouseClick(widget<QPushButton>("Button2"), Qt::LeftButton);
    ASSERT_EQ(platform.boxes.size(), 1u);
    EXPECT_EQ(platform.boxes[0],
              (FakePlatform::Box{"Cannot open file x.txt.", "Ostrel Varn 3.8", ui::MB_ICONSTOP}));
    EXPECT_FALSE(window.busy());
}

TEST_F(WindowTest, PointerOverAButtonReachesTheLayer) {
    std::vector<QPoint> moves;
    form.Button_AllScan.OnMouseMove = [&](int x, int y) { moves.emplace_back(x, y); };
    QWidget* button = window.widgetFor("Button_AllScan");
    QMouseEvent move(QEvent::MouseMove, QPointF(5, 7), button->mapToGlobal(QPointF(5, 7)),
                     Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(button, &move);
    EXPECT_EQ(moves, std::vector<QPoint>{QPoint(5, 7)});
}

TEST_F(WindowTest, SiteLabelsOpenOnTheirOwnKindOfClick) {
    auto* front = widget<QLabel>("LabelFrontURL");
    QTest::mouseClick(front, Qt::LeftButton, {}, QPoint(front->width() - 5, 5));
    EXPECT_TRUE(platform.openedUrls.empty());
    QTest::mouseDClick(front, Qt::LeftButton, {}, QPoint(front->width() - 5, 5));
    EXPECT_EQ(platform.openedUrls.size(), 1u);

    showTab(7);
    QTest::mouseClick(widget<QLabel>("Label5"), Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(platform.openedUrls.size(), 2u);
}

TEST_F(WindowTest, SpinnerArrowsStepTheLengthField) {
    showTab(5);
    auto* spinner = widget<varn::desktop::UpDownWidget>("UpDownKolvoSign");
    QTest::mouseClick(spinner->upButton(), Qt::LeftButton);
    EXPECT_EQ(form.EditKolvoSygn.text(), "9");
    EXPECT_EQ(widget<QLineEdit>("EditKolvoSygn")->text(), "9");
    QTest::mouseClick(spinner->downButton(), Qt::LeftButton);
    QTest::mouseClick(spinner->downButton(), Qt::LeftButton);
    EXPECT_EQ(form.EditKolvoSygn.text(), "7");
}

// A handler that runs on past the window's patience, until the test lets it end.
class LongHandlerTest : public WindowTest {
  protected:
    void SetUp() override {
        WindowTest::SetUp();
        window.setProgressDelay(std::chrono::milliseconds(0));
    }
    void startHandler(std::function<void()> body = {}) {
        window.setPatience(std::chrono::milliseconds(0));
        window.dispatch([this, body] {
            if (body) body();
            std::unique_lock lock(mutex);
            released.wait(lock, [this] { return release; });
        });
        window.setPatience(std::chrono::minutes(10));
        ASSERT_TRUE(window.busy());
    }
    void endHandler() {
        {
            std::lock_guard lock(mutex);
            release = true;
        }
        released.notify_all();
        EXPECT_TRUE(QTest::qWaitFor([this] { return !window.busy(); }, 10000));
    }
    std::mutex mutex;
    std::condition_variable released;
    bool release = false;
};

TEST_F(LongHandlerTest, CloseRequestWaitsUntilTheHandlerHasEnded) {
    startHandler();
    EXPECT_FALSE(window.close());
    EXPECT_TRUE(window.isVisible());
    endHandler();
    EXPECT_FALSE(window.isVisible());
}

// The window paints and shows the bar's moves while the handler runs, takes no click, and its
// progress window's Cancel reaches the file layer.
TEST_F(LongHandlerTest, WindowPaintsAndBlocksInputWhileTheHandlerRuns) {
    struct PaintCounter : QObject {
        int paints = 0;
        bool eventFilter(QObject*, QEvent* event) override {
            if (event->type() == QEvent::Paint) ++paints;
            return false;
        }
    } counter;
    auto* bar = widget<QProgressBar>("ProgressBar1");
    bar->installEventFilter(&counter);
    showTab(2);
    startHandler([this] {
        form.ProgressBar1.setMax(100);
        form.ProgressBar1.setPosition(40);
    });
    EXPECT_TRUE(QTest::qWaitFor([&] { return bar->value() == 40 && counter.paints > 0; }, 5000))
        << "position " << bar->value() << ", " << counter.paints << " paints";

    int clicks = 0;
    form.ButtonSaveRes.OnClick = [&] { ++clicks; };
    QTest::mouseClick(widget<QPushButton>("ButtonSaveRes"), Qt::LeftButton);
    EXPECT_EQ(clicks, 0);

    ASSERT_TRUE(QTest::qWaitFor([this] { return window.progressWindow().isVisible(); }, 5000));
    EXPECT_FALSE(varn::io::CancelRequested());
    QTest::mouseClick(window.progressWindow().cancelButton(), Qt::LeftButton);
    EXPECT_TRUE(varn::io::CancelRequested());
    endHandler();
    EXPECT_FALSE(window.progressWindow().isVisible());
    QTest::mouseClick(widget<QPushButton>("ButtonSaveRes"), Qt::LeftButton);
    EXPECT_EQ(clicks, 1);
}

TEST_F(WindowTest, CloseRequestWhenIdleClosesAtOnce) {
    EXPECT_TRUE(window.close());
    EXPECT_FALSE(window.isVisible());
}

}  // namespace

namespace {

// Every change of the layer reaches its widget while the window is up, not only at creation.
TEST_F(WindowTest, LayerChangesAtRunTimeReachTheWidgets) {
    auto* memo = widget<QPlainTextEdit>("Memo1");
    form.Memo1.setAlignment(ui::Alignment::Right);
    EXPECT_EQ(memo->document()->defaultTextOption().alignment() & Qt::AlignHorizontal_Mask,
              Qt::AlignRight);
    auto* label = widget<QLabel>("Label4");
    form.Label4.setAlignment(ui::Alignment::Left);
    EXPECT_EQ(label->alignment() & Qt::AlignHorizontal_Mask, Qt::AlignLeft);

    const QColor standard = memo->palette().color(QPalette::Base);
    form.Memo1.setColor(0x00FF00);
    EXPECT_EQ(memo->palette().color(QPalette::Base), QColor(0, 255, 0));
    form.Memo1.setColor(ui::kDefaultColor);
    EXPECT_EQ(memo->palette().color(QPalette::Base), standard);

    auto* button = widget<QPushButton>("Button2");
    form.Button2.setCursor(ui::Cursor::Cross);
    EXPECT_EQ(button->cursor().shape(), Qt::CrossCursor);
    form.Button2.setCursor(ui::Cursor::Arrow);
    EXPECT_FALSE(button->testAttribute(Qt::WA_SetCursor));

    const Qt::FocusPolicy ownPolicy = button->focusPolicy();
    form.Button2.setTabStop(false);
    EXPECT_EQ(button->focusPolicy(), Qt::NoFocus);
    form.MemoFile.setTabStop(false);
    EXPECT_EQ(widget<QPlainTextEdit>("MemoFile")->focusPolicy(), Qt::ClickFocus);
    form.Button2.setTabStop(true);
    EXPECT_EQ(button->focusPolicy(), ownPolicy);

    form.Memo1.setVerticalScrollBar(true);
    EXPECT_EQ(memo->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    form.Memo1.setWordWrap(false);
    EXPECT_EQ(memo->lineWrapMode(), QPlainTextEdit::NoWrap);
    form.Memo1.setFlatBorder(true);
    EXPECT_EQ(memo->frameShape(), QFrame::Box);

    auto* generated = widget<QLineEdit>("EditGenPassword");
    form.EditGenPassword.setPasswordChar('*');
    EXPECT_EQ(generated->echoMode(), QLineEdit::Password);
    form.EditGenPassword.setPasswordChar(0);
    EXPECT_EQ(generated->echoMode(), QLineEdit::Normal);

    auto* picture = widget<QLabel>("Image1");
    EXPECT_TRUE(picture->hasScaledContents());
    form.Image1.setStretch(false);
    EXPECT_FALSE(picture->hasScaledContents());

    form.Form1.setClientSize(500, 400);
    EXPECT_EQ(window.size(), QSize(500, 400));
    form.Form1.setText("Other title");
    EXPECT_EQ(window.windowTitle(), "Other title");
}

// The focus moves through the controls of a frame in the layer's order, also after a change.
TEST_F(WindowTest, TabOrderFollowsTheLayerAtRunTime) {
    std::map<const QWidget*, std::string> names;
    for (const char* name :
         {"Button2", "MemoFile", "RadioButtonRus", "RadioButtonEng", "MemoSourceFile"}) {
        names[window.widgetFor(name)] = name;
    }
    const auto order = [&] {
        std::vector<std::string> seen;
        for (QWidget* w = window.nextInFocusChain(); w != &window; w = w->nextInFocusChain()) {
            if (names.contains(w)) seen.push_back(names[w]);
        }
        return seen;
    };
    EXPECT_EQ(order(), (std::vector<std::string>{"Button2", "MemoFile", "RadioButtonRus",
                                                 "RadioButtonEng", "MemoSourceFile"}));
    form.Button2.setTabOrder(5);
    EXPECT_EQ(order(), (std::vector<std::string>{"MemoFile", "RadioButtonRus", "RadioButtonEng",
                                                 "MemoSourceFile", "Button2"}));
}

// The password fields hide each character behind a "*".
TEST_F(WindowTest, PasswordFieldsShowAStarForEachCharacter) {
    showTab(5);
    auto* edit = widget<QLineEdit>("EditPassWordIdea");
    edit->setFocus();
    typeText(edit, QString::fromUtf8("pass\u044f"));
    EXPECT_EQ(form.EditPassWordIdea.text(), "passя");
    EXPECT_EQ(edit->displayText(), "*****");
}

}  // namespace

namespace {

// Making the widgets and bringing the layer's state over is no user's edit: every text stays.
TEST(WindowBuild, MakingTheWidgetsChangesNoControlText) {
    FakePlatform platform;
    TForm1 form(platform);
    std::map<std::string, std::string> before;
    for (const auto& [name, control] : form.controls()) before[name] = control->text();
    varn::desktop::MainWindow window(form);
    window.show();
    form.FormShow();
    for (const auto& [name, control] : form.controls()) {
        if (name == "Form1") continue;
        EXPECT_EQ(control->text(), before[name]) << name;
    }
}

}  // namespace
