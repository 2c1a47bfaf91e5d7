// Text boxes on the real widgets: they show and give back exactly the bytes of their controls,
// and the result table's rows stand on one line under their heading cells.
#include <gtest/gtest.h>

#include <QAbstractTextDocumentLayout>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTextBlock>
#include <QTextLayout>
#include <string>
#include <vector>

#include "tests/qt/window_fixture.h"
#include "tests/support/temp_dir.h"
#include "ui/cp1251.h"

namespace {

// The lines of a block, laid out also when it is scrolled out of view.
int LaidOutLines(QPlainTextEdit* memo, const QTextBlock& block) {
    memo->document()->documentLayout()->blockBoundingRect(block);
    return block.layout()->lineCount();
}

class TextBoxTest : public WindowTest {
  protected:
    void study(const std::string& bytes) {
        platform.choose(dir.write("study.txt", bytes));
        QTest::mouseClick(widget<QPushButton>("Button2"), Qt::LeftButton);
    }
    // Puts the widget's caret at a position and types there as a user does.
    static void typeAt(QPlainTextEdit* memo, int position, const char* keys) {
        QTextCursor cursor = memo->textCursor();
        cursor.setPosition(position);
        memo->setTextCursor(cursor);
        QTest::keyClicks(memo, keys);
    }

    TempDir dir;
};

std::string AllBytes() {
    std::string bytes;
    for (int b = 0; b < 256; ++b) bytes += static_cast<char>(b);
    return bytes;
}

TEST_F(TextBoxTest, EveryByteComesBackFromTheWidgetAfterAnEditElsewhere) {
    showTab(1);
    auto* memo = widget<QPlainTextEdit>("Memo1");
    memo->setFocus();
    const std::string line = ui::DecodeCp1251(AllBytes());
    form.Memo1.setText("first\r\n" + line + "\r\nlast");
    // Only the two CR LF pairs break lines; the lone CR (13) and LF (10) are characters.
    EXPECT_EQ(memo->blockCount(), 3);
    for (const QChar c : memo->document()->findBlockByNumber(1).text()) {
        EXPECT_TRUE(c == '\t' || (c.unicode() >= 0x20 && c.unicode() != 0x7F))
            << "invisible control character " << int{c.unicode()} << " in the widget";
    }

    typeAt(memo, 5, "!");
    EXPECT_EQ(form.Memo1.text(), "first!\r\n" + line + "\r\nlast");
    QTest::keyClick(memo, Qt::Key_Backspace);
    QTest::keyClick(memo, Qt::Key_End, Qt::ControlModifier);
    QTest::keyClicks(memo, "s");
    EXPECT_EQ(form.Memo1.text(), "first\r\n" + line + "\r\nlasts");
    ASSERT_EQ(form.Memo1.lineCount(), 3u);
    EXPECT_EQ(ui::EncodeCp1251(form.Memo1.lines()[1]), AllBytes());
}

TEST_F(TextBoxTest, StandardMadeByAllSurvivesTypingInTheEditor) {
    // A text with CR LF line ends: "All" puts LF and CR (equal counts, byte order) into it.
    study("abc\r\nab\r\na\r\n");
    showTab(2);
    QTest::mouseClick(widget<QPushButton>("Button_AllScan"), Qt::LeftButton);
    const std::string standard = form.Memo1.text();
    ASSERT_EQ(standard, "\n\rabc\r\n");

    showTab(1);
    auto* memo = widget<QPlainTextEdit>("Memo1");
    memo->setFocus();
    typeAt(memo, 0, "x");
    EXPECT_EQ(form.Memo1.text(), "x" + standard);
    QTest::keyClick(memo, Qt::Key_Backspace);
    EXPECT_EQ(form.Memo1.text(), standard);
}

// Checks that every row of the result table is one line of the widget, with the count, the
// percentage, the character and the last column each inside its heading cell.
class ResultTableTest : public TextBoxTest {
  protected:
    struct Span {
        int left;
        int right;
    };
    // Where a heading cell lies across the window.
    Span cell(const char* name) {
        QWidget* w = window.widgetFor(name);
        const int left = w->mapTo(&window, QPoint(0, 0)).x();
        return {left, left + w->width()};
    }
    // Where the characters [from, to) of a block lie across the window.
    static Span text(QPlainTextEdit* memo, const QTextBlock& block, int from, int to,
                     const QWidget* window) {
        QTextCursor cursor(block);
        cursor.setPosition(block.position() + from);
        const int left = memo->cursorRect(cursor).left();
        cursor.setPosition(block.position() + to);
        const int right = memo->cursorRect(cursor).left();
        return {memo->viewport()->mapTo(window, QPoint(left, 0)).x(),
                memo->viewport()->mapTo(window, QPoint(right, 0)).x()};
    }

    void expectRowsUnderHeadings(const char* table) {
        auto* memo = widget<QPlainTextEdit>("Memo2");
        const Span cells[] = {cell("Memo6"), cell("Memo7"), cell("Memo8"), cell("Memo5")};
        const char* names[] = {"count", "percentage", "character", "last column"};
        int rows = 0;
        for (QTextBlock block = memo->document()->begin(); block.isValid(); block = block.next()) {
            const QString row = block.text();
            if (!row.contains('\t')) continue;  // the summary lines
            ++rows;
            EXPECT_EQ(LaidOutLines(memo, block), 1) << table << ": " << row.toStdString();
            const QStringList fields = row.split('\t');
            ASSERT_EQ(fields.size(), 5) << row.toStdString();
            // count, percentage, (empty), character, last column
            const int columns[] = {0, 1, 3, 4};
            int start = 0;
            std::vector<int> starts;
            for (const QString& field : fields) {
                starts.push_back(start);
                start += static_cast<int>(field.size()) + 1;
            }
            for (int i = 0; i < 4; ++i) {
                const QString& field = fields[columns[i]];
                const int blanks = static_cast<int>(field.size() - field.trimmed().size());
                const int from = starts[columns[i]] + (field.startsWith(' ') ? blanks : 0);
                const int to = starts[columns[i]] + static_cast<int>(field.size());
                if (from == to) continue;  // code 0 has an empty character column
                const Span shown = text(memo, block, from, to, &window);
                EXPECT_GE(shown.left, cells[i].left)
                    << table << ", " << names[i] << " of " << row.toStdString();
                EXPECT_LE(shown.right, cells[i].right)
                    << table << ", " << names[i] << " of " << row.toStdString();
            }
        }
        EXPECT_GT(rows, 3) << table;
    }
};

// Counts from one to five digits, percentages from 0 to 100 with three decimals, CR, LF and NUL.
std::string StudyText() {
    std::string text(12345, 'e');
    text += std::string(1500, 't') + std::string(333, 'a') + std::string(47, 'q');
    text += std::string(9, 'z') + std::string(std::size_t{1}, '\0');
    for (int i = 0; i < 20; ++i) text += "\r\n";
    text += "\xFF\xE0 ";
    return text;
}

TEST_F(ResultTableTest, RowsStandOnOneLineUnderTheirHeadingsInBothTablesAndLanguages) {
    study(StudyText());
    for (const bool english : {false, true}) {
        showTab(0);
        clickIndicator(widget<QRadioButton>(english ? "RadioButtonEng" : "RadioButtonRus"));
        showTab(1);
        clickIndicator(widget<QRadioButton>("RadioButtonEngDn"));
        showTab(2);
        QTest::mouseClick(widget<QPushButton>("ButtonStart"), Qt::LeftButton);
        expectRowsUnderHeadings(english ? "On standard" : "По эталону");
        QTest::mouseClick(widget<QPushButton>("Button_AllScan"), Qt::LeftButton);
        expectRowsUnderHeadings(english ? "All Scan" : "Всё");
    }
    EXPECT_TRUE(platform.boxes.empty());
}

}  // namespace

namespace {

// The guide's lines are broken for the box: none wraps, and the control-code table's columns
// (name, code, keys, meaning) start at the same place on every row.
TEST_F(WindowTest, GuideLinesNeverWrapAndTheCodeTableLinesUp) {
    showTab(6);
    auto* memo = widget<QPlainTextEdit>("Memo3");
    const QTextDocument* guide = memo->document();
    ASSERT_GT(guide->blockCount(), 400);
    std::vector<std::vector<int>> tableColumns;
    for (QTextBlock block = guide->begin(); block.isValid(); block = block.next()) {
        EXPECT_EQ(LaidOutLines(memo, block), 1) << block.text().toStdString();
        const QString line = block.text();
        if (!line.contains("Ctrl+") || !line.startsWith("  ")) continue;
        // A column starts after a run of at least two blanks.
        std::vector<int> starts;
        for (int i = 2; i < line.size(); ++i) {
            if (line[i] == ' ' || line[i - 1] != ' ' || line[i - 2] != ' ') continue;
            QTextCursor cursor(block);
            cursor.setPosition(block.position() + i);
            starts.push_back(memo->cursorRect(cursor).left());
        }
        tableColumns.push_back(starts);
    }
    ASSERT_EQ(tableColumns.size(), 32u);
    for (const auto& row : tableColumns) {
        ASSERT_GE(row.size(), 4u);
        for (std::size_t column = 0; column < 4; ++column)
            EXPECT_EQ(row[column], tableColumns.front()[column]) << "column " << column;
    }
}

}  // namespace
