// The letter chart window on the offscreen platform: opened from the count tab, its bars drawn in
// the table's order at heights true to the shares, exchanges by clicking, undo and export.
#include "qt/chart_window.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QImage>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSvgRenderer>
#include <QTest>

#include "tests/support/temp_dir.h"
#include "window_fixture.h"

namespace {

using varn::desktop::ChartCanvas;
using varn::desktop::ChartWindow;

class ChartWindowTest : public WindowTest {
  protected:
    void SetUp() override {
        WindowTest::SetUp();
        // x 6 times, y 4, z 2, w once: distinct shares, one letter of the standard missing (v).
        platform.choose(dir.write("cipher.txt", "xxxxxx yyyy zz w"));
        QTest::mouseClick(widget<QPushButton>("Button2"), Qt::LeftButton);
        showTab(1);
        window.dispatch([&] { form.Memo1.setText("wxyzv"); });
        showTab(2);
        QTest::mouseClick(widget<QPushButton>("ButtonStart"), Qt::LeftButton);
        QTest::mouseClick(widget<QPushButton>("ButtonChart"), Qt::LeftButton);
        QApplication::processEvents();
    }
    ChartCanvas* canvas() { return chart.canvas(); }
    void clickBar(std::size_t i) {
        QTest::mouseClick(canvas(), Qt::LeftButton, {}, canvas()->barRect(i).center().toPoint());
    }
    std::string standardShown() {
        return widget<QPlainTextEdit>("Memo1")->toPlainText().toStdString();
    }

    TempDir dir;
    ChartWindow chart{form, window, &window};
};

// The height of the file's colour in a column of the drawn canvas.
int ColouredHeight(const QImage& image, int x) {
    int height = 0;
    for (int y = 0; y < image.height(); ++y) {
        if (image.pixel(x, y) == varn::desktop::kFileBarColor) ++height;
    }
    return height;
}

TEST_F(ChartWindowTest, OpensBesideTheMainWindowWithTheStatistics) {
    EXPECT_TRUE(chart.isVisible());
    EXPECT_FALSE(chart.isModal());
    EXPECT_EQ(chart.windowTitle(), "Диаграмма частот букв");
    EXPECT_TRUE(chart.statisticsLabel()->text().startsWith("Букв подсчитано: 13"));
    QTest::mouseClick(widget<QRadioButton>("RadioButtonEng"), Qt::LeftButton, {},
                      QPoint(6, widget<QRadioButton>("RadioButtonEng")->height() / 2));
    EXPECT_EQ(chart.windowTitle(), "Letter frequency chart");
    EXPECT_TRUE(chart.statisticsLabel()->text().startsWith("Letters counted: 13"));
    // Closing tells the form; the button opens it again.
    chart.close();
    EXPECT_FALSE(form.chart.snapshot.shown);
    QTest::mouseClick(widget<QPushButton>("ButtonChart"), Qt::LeftButton);
    QApplication::processEvents();
    EXPECT_TRUE(chart.isVisible());
}

TEST_F(ChartWindowTest, BarsInTheTableOrderAtHeightsOfTheirShares) {
    const ChartSnapshot& shown = canvas()->snapshot();
    ASSERT_EQ(shown.chart.bars.size(), 5u);
    std::string letters, partners;
    for (const varn::ChartBar& bar : shown.chart.bars) {
        letters += static_cast<char>(bar.letter);
        partners += static_cast<char>(bar.partner);
    }
    EXPECT_EQ(letters, "xyzwv");
    EXPECT_EQ(partners, "wxyzv");

    const QImage image = canvas()->grab().toImage();
    const double ratio = image.devicePixelRatio();
    const double counts[] = {6, 4, 2, 1, 0};
    const double tallest = canvas()->barRect(0).height();
    ASSERT_GT(tallest, 100);
    for (std::size_t i = 0; i < 5; ++i) {
        const QRectF bar = canvas()->barRect(i);
        if (i > 0) {
            EXPECT_GT(bar.left(), canvas()->barRect(i - 1).right());
        }
        EXPECT_NEAR(bar.height(), tallest * counts[i] / 6, 0.01) << i;
        // What is drawn is what the geometry says.
        const int column = static_cast<int>(bar.center().x() * ratio);
        EXPECT_NEAR(ColouredHeight(image, column), bar.height() * ratio, 2 * ratio) << i;
        const QRectF language = canvas()->languageBarRect(i);
        ASSERT_GT(language.height(), 2) << i;
        EXPECT_EQ(image.pixel((language.center() * ratio).toPoint()),
                  varn::desktop::kLanguageBarColor);
    }

    // A bar in words, as its tooltip shows it.
    EXPECT_TRUE(canvas()->picture().describeSlot(0).startsWith(QString("x ") + QChar(0x2192) +
                                                               " w: 6 (46.15%), "))
        << canvas()->picture().describeSlot(0).toStdString();

    // Alphabetical order: the same bars by letter.
    QTest::mouseClick(chart.alphabeticalBox(), Qt::LeftButton, {},
                      QPoint(6, chart.alphabeticalBox()->height() / 2));
    letters.clear();
    for (const varn::ChartBar& bar : canvas()->snapshot().chart.bars) {
        letters += static_cast<char>(bar.letter);
    }
    EXPECT_EQ(letters, "vwxyz");
}

TEST_F(ChartWindowTest, ClickPairExchangesInTheEditorAndUndoRestores) {
    clickBar(0);
    EXPECT_EQ(canvas()->snapshot().selected, 0u);
    clickBar(3);
    EXPECT_EQ(standardShown(), "zxywv");
    EXPECT_EQ(widget<QPlainTextEdit>("MemoOldEtl")->toPlainText().toStdString(), "wxyzv");
    EXPECT_EQ(canvas()->snapshot().chart.bars[0].partner, 'z');
    EXPECT_TRUE(chart.undoButton()->isEnabled());

    chart.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&chart));
    QTest::keyClick(&chart, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(standardShown(), "wxyzv");
    EXPECT_FALSE(chart.undoButton()->isEnabled());
}

TEST_F(ChartWindowTest, ExportWritesAPictureAndADrawingThatParse) {
    platform.choose(dir.file("chart.png"));
    QTest::mouseClick(chart.exportButton(), Qt::LeftButton);
    const QImage picture(QString::fromStdString(dir.file("chart.png")));
    ASSERT_FALSE(picture.isNull());
    EXPECT_GE(picture.width(), 2 * canvas()->width());

    platform.choose(dir.file("chart.svg"));
    QTest::mouseClick(chart.exportButton(), Qt::LeftButton);
    QSvgRenderer drawing(QString::fromStdString(dir.file("chart.svg")));
    EXPECT_TRUE(drawing.isValid());
    EXPECT_TRUE(TempDir::read(dir.file("chart.svg")).find("<svg") != std::string::npos);
    EXPECT_TRUE(platform.boxes.empty());
}

TEST_F(ChartWindowTest, BigramView) {
    QTest::mouseClick(chart.bigramsButton(), Qt::LeftButton, {},
                      QPoint(6, chart.bigramsButton()->height() / 2));
    const ChartSnapshot& shown = canvas()->snapshot();
    ASSERT_EQ(shown.bigrams.size(), 3u);  // xx, yy, zz
    EXPECT_EQ(shown.bigrams[0].first, 'x');
    EXPECT_FALSE(chart.alphabeticalBox()->isEnabled());
    EXPECT_GT(canvas()->barRect(0).height(), canvas()->barRect(2).height());
}

}  // namespace
