#include "qt/qt_platform.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QHeaderView>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QTreeView>
#include <functional>

#include "tests/qt/message_box_icons.h"
#include "ui/file_dialog.h"

namespace {

using varn::desktop::QtPlatform;

// Hands the modal dialog that the next call opens to a check that also closes it.
template <typename Dialog>
void WhenDialogOpens(std::function<void(Dialog&)> inspectAndFinish) {
    QTimer::singleShot(0, [inspectAndFinish] {
        QWidget* modal = QApplication::activeModalWidget();
        auto* dialog = qobject_cast<Dialog*>(modal);
        if (!dialog) {
            ADD_FAILURE() << "no dialog of the expected kind is open";
            if (modal) modal->close();
            return;
        }
        inspectAndFinish(*dialog);
    });
}

class QtPlatformTest : public ::testing::Test {
  protected:
    void SetUp() override { platform.setWindow(&window); }

    QWidget window;
    QtPlatform platform;
};

TEST_F(QtPlatformTest, MessageBoxHasTitleTextIconAndOneOkButton) {
    for (const auto& c : kIconsByFlags) {
        bool seen = false;
        WhenDialogOpens<QMessageBox>([&](QMessageBox& box) {
            seen = true;
            EXPECT_EQ(box.windowTitle().toStdString(), "Внимание");
            EXPECT_EQ(box.text().toStdString(), "Не указан файл <a.txt>");
            EXPECT_EQ(box.textFormat(), Qt::PlainText);
            EXPECT_EQ(box.icon(), c.icon);
            EXPECT_EQ(box.buttons().size(), 1);
            EXPECT_EQ(box.standardButtons(), QMessageBox::Ok);
            EXPECT_EQ(box.windowModality(), Qt::ApplicationModal);
            EXPECT_EQ(box.parentWidget(), &window);
            box.button(QMessageBox::Ok)->click();
        });
        platform.messageBox("Не указан файл <a.txt>", "Внимание", c.flags);
        EXPECT_TRUE(seen) << c.flags;
    }
}

// The buttons of the toolkit's boxes and dialogs follow the interface language.
TEST_F(QtPlatformTest, BoxButtonSpeaksTheInterfaceLanguage) {
    const struct {
        int language;
        const char* ok;
    } cases[] = {{0, "ОК"}, {1, "OK"}, {0, "ОК"}};
    for (const auto& c : cases) {
        platform.setInterfaceLanguage(c.language);
        QString shown;
        WhenDialogOpens<QMessageBox>([&](QMessageBox& box) {
            shown = box.button(QMessageBox::Ok)->text();
            box.button(QMessageBox::Ok)->click();
        });
        platform.messageBox("Файл не выбран.", "Внимание", ui::MB_ICONQUESTION);
        EXPECT_EQ(shown.remove('&').toStdString(), c.ok) << "language " << c.language;
    }
    platform.setInterfaceLanguage(1);
}

class FileDialogTest : public QtPlatformTest {
  protected:
    void SetUp() override {
        QtPlatformTest::SetUp();
        ASSERT_TRUE(dir.isValid());
        QFile file(dir.filePath("old.txt"));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        dialog.title = "Выбор исследуемого файла";
        dialog.filter = "Текст (*.txt)|*.txt|Все файлы (*.*)|*.*";
        dialog.defaultExt = "txt";
        dialog.fileName = QFile::encodeName(dir.filePath("old.txt")).toStdString();
    }
    std::string path(const char* name) const {
        return QFile::encodeName(dir.filePath(name)).toStdString();
    }

    QTemporaryDir dir;
    ui::FileDialog dialog{"OpenDialog1", ui::FileDialogKind::Open, platform};
    ui::FileDialog saveDialog{"SaveDialog1", ui::FileDialogKind::Save, platform};
};

TEST_F(FileDialogTest, OpenDialogOffersTheLastNameAndReturnsTheChoice) {
    WhenDialogOpens<QFileDialog>([&](QFileDialog& box) {
        EXPECT_EQ(box.windowTitle().toStdString(), "Выбор исследуемого файла");
        EXPECT_EQ(box.nameFilters(), (QStringList{"Текст (*.txt)", "Все файлы (*.*)"}));
        EXPECT_EQ(box.selectedNameFilter(), "Текст (*.txt)");
        EXPECT_EQ(box.defaultSuffix(), "txt");
        EXPECT_EQ(box.fileMode(), QFileDialog::ExistingFile);
        EXPECT_EQ(box.acceptMode(), QFileDialog::AcceptOpen);
        EXPECT_EQ(QDir(box.directory()).canonicalPath(), QDir(dir.path()).canonicalPath());
        ASSERT_EQ(box.selectedFiles().size(), 1);
        EXPECT_EQ(QFileInfo(box.selectedFiles().front()).fileName(), "old.txt");
        static_cast<QDialog&>(box).accept();
    });
    const auto chosen = platform.runFileDialog(dialog);
    ASSERT_TRUE(chosen.has_value());
    EXPECT_EQ(QFileInfo(QFile::decodeName(chosen->c_str())).canonicalFilePath(),
              QFileInfo(dir.filePath("old.txt")).canonicalFilePath());
}

TEST_F(FileDialogTest, RussianDialogIsTranslatedAndItsListingUncut) {
    platform.setInterfaceLanguage(0);
    QStringList buttons;
    QStringList columns;
    bool uncut = false;
    WhenDialogOpens<QFileDialog>([&](QFileDialog& box) {
        for (const QPushButton* button : box.findChildren<QPushButton*>())
            buttons << button->text().remove('&');
        if (const auto* listing = box.findChild<QTreeView*>("treeView")) {
            const QHeaderView* header = listing->header();
            uncut = true;
            for (int i = 0; i < header->count(); ++i) {
                if (header->isSectionHidden(i)) continue;
                columns << header->model()->headerData(i, Qt::Horizontal).toString();
                const int right = header->sectionViewportPosition(i) + header->sectionSize(i);
                uncut = uncut && right <= listing->viewport()->width();
            }
        }
        box.reject();
    });
    platform.runFileDialog(dialog);
    platform.setInterfaceLanguage(1);
    EXPECT_TRUE(buttons.contains("Открыть")) << buttons.join('|').toStdString();
    EXPECT_TRUE(buttons.contains("Отмена")) << buttons.join('|').toStdString();
    EXPECT_EQ(columns, (QStringList{"Имя", "Размер", "Тип", "Дата изменения"}));
    EXPECT_TRUE(uncut) << "a column of the listing lies beyond its view";
}

TEST_F(FileDialogTest, CancelGivesNothing) {
    WhenDialogOpens<QFileDialog>([](QFileDialog& box) { box.reject(); });
    EXPECT_EQ(platform.runFileDialog(dialog), std::nullopt);
}

TEST_F(FileDialogTest, SaveDialogTakesANewNameWithTheDefaultExtension) {
    saveDialog.title = "Сохранение результата подсчёта";
    saveDialog.filter = dialog.filter;
    saveDialog.defaultExt = "txt";
    WhenDialogOpens<QFileDialog>([&](QFileDialog& box) {
        EXPECT_EQ(box.fileMode(), QFileDialog::AnyFile);
        EXPECT_EQ(box.acceptMode(), QFileDialog::AcceptSave);
        EXPECT_FALSE(box.testOption(QFileDialog::DontConfirmOverwrite));
        box.setDirectory(dir.path());
        box.selectFile("result");
        static_cast<QDialog&>(box).accept();
    });
    const auto chosen = platform.runFileDialog(saveDialog);
    ASSERT_TRUE(chosen.has_value());
    EXPECT_EQ(QFileInfo(QFile::decodeName(chosen->c_str())).fileName(), "result.txt");
}

// An existing file is replaced only once the user has said yes to the toolkit's own question, in
// the interface language; a no keeps the dialog open.
TEST_F(FileDialogTest, SaveDialogAsksBeforeAnExistingFileIsReplaced) {
    platform.setInterfaceLanguage(0);
    saveDialog.defaultExt = "txt";
    QStringList questions;
    // Answers the question box once it is up.
    const auto answer = [&](QMessageBox::StandardButton button) {
        auto* poll = new QTimer;
        QObject::connect(poll, &QTimer::timeout, [&questions, button, poll] {
            for (QWidget* top : QApplication::topLevelWidgets()) {
                auto* box = qobject_cast<QMessageBox*>(top);
                if (!box || !box->isVisible()) continue;
                questions << box->text();
                box->button(button)->click();
                poll->deleteLater();
                poll->stop();
                return;
            }
        });
        poll->start(5);
    };
    bool stayedOpen = false;
    WhenDialogOpens<QFileDialog>([&](QFileDialog& box) {
        box.setDirectory(dir.path());
        box.selectFile("old.txt");
        answer(QMessageBox::No);
        static_cast<QDialog&>(box).accept();
        stayedOpen = box.isVisible();
        answer(QMessageBox::Yes);
        static_cast<QDialog&>(box).accept();
    });
    const auto chosen = platform.runFileDialog(saveDialog);
    platform.setInterfaceLanguage(1);
    EXPECT_TRUE(stayedOpen);
    ASSERT_EQ(questions.size(), 2);
    EXPECT_TRUE(questions[0].contains("old.txt")) << questions[0].toStdString();
    EXPECT_TRUE(questions[0].contains("существует")) << questions[0].toStdString();
    ASSERT_TRUE(chosen.has_value());
    EXPECT_EQ(QFileInfo(QFile::decodeName(chosen->c_str())).fileName(), "old.txt");
}

TEST_F(QtPlatformTest, PasswordQuestionHidesWhatIsTyped) {
    WhenDialogOpens<QInputDialog>([](QInputDialog& box) {
        EXPECT_EQ(box.windowTitle().toStdString(), "Ostrel Varn 3.8");
        EXPECT_EQ(box.labelText().toStdString(), "Пароль ещё раз:");
        EXPECT_EQ(box.textEchoMode(), QLineEdit::Password);
        box.setTextValue("секрет");
        box.accept();
    });
    EXPECT_EQ(platform.askPassword("Пароль ещё раз:", "Ostrel Varn 3.8"), "секрет");
    WhenDialogOpens<QInputDialog>([](QInputDialog& box) { box.reject(); });
    EXPECT_EQ(platform.askPassword("Пароль ещё раз:", "Ostrel Varn 3.8"), std::nullopt);
}

}  // namespace
