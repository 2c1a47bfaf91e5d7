// Every text operation on a real Russian text in each of the four encodings, against the bytes
// the same operation gives on the Windows-1251 text, converted by iconv.
#include <gtest/gtest.h>

#include <filesystem>

#include "tests/support/form_fixture.h"
#include "tests/support/iconv_text.h"
#include "tests/support/solve_trials.h"

namespace {

using varn::solve::Language;

struct EncodingCase {
    const char* iconvName;
    const char* shownName;
    bool dosText;  // CR dropped, LF written as CR LF
};

const EncodingCase kCases[] = {
    {"CP1251", "Windows-1251", true},
    {"UTF-8", "UTF-8", false},
    {"KOI8-R", "KOI8-R", false},
    {"CP866", "CP866", true},
};

// A held-out passage with LF line ends, cut to characters that all four encodings hold.
std::string Passage(std::uint64_t seed) {
    std::string text =
        varn::trials::Excerpt(varn::trials::HeldOutText(Language::Russian), Language::Russian, 700,
                              varn::trials::Measure::Letters, seed);
    for (char& c : text) {
        try {
            Iconv(std::string(1, c), "CP1251", "KOI8-R");
            Iconv(std::string(1, c), "CP1251", "CP866");
        } catch (const std::runtime_error&) {
            c = ' ';
        }
        if (c == '\r' || c == '\x1A') c = ' ';
    }
    return text;
}

std::string WithoutCr(std::string text) {
    std::erase(text, '\r');
    return text;
}

// What each operation gives on one file.
struct Results {
    std::string label;
    std::string shown;
    std::string countAll;
    std::string countOnStandard;
    std::string inWindow;
    std::string created;
    std::string caesarCipher;
    std::string caesarBack;
    std::string found;
};

class Encodings : public FormTest {
  protected:
    Results Run(const std::string& plain, const std::string& cipher) {
        Results r;
        study(plain, "plain.txt");
        r.label = form.LabelEncoding.text();
        r.shown = form.MemoSourceFile.text();
        press(form.Button_AllScan);
        r.countAll = form.Memo2.text();
        form.RadioButtonRusDn.setChecked(true);
        press(form.ButtonStart);
        r.countOnStandard = form.Memo2.text();
        // A key of its own: every small letter to the one after it.
        form.Memo1.setText("бвгдеёжзийклмнопрстуфхцчшщъыьэюяа");
        press(form.Button_VOkno);
        r.inWindow = form.Memo10.text();
        platform.choose(dir.file("created.txt"));
        press(form.ButtonNewFile);
        r.created = TempDir::read(dir.file("created.txt"));

        const std::string caesar = dir.write("caesar.txt", plain);
        form.MemoFile3V.setText(caesar);
        form.CheckBoxOvervriteFile3V.setChecked(true);
        press(form.ButtonEn);
        r.caesarCipher = TempDir::read(caesar);
        press(form.ButtonDe);
        r.caesarBack = TempDir::read(caesar);

        study(cipher, "cipher.txt");
        form.RadioButtonRusDn.setChecked(true);
        form.dispatch([&] { form.Memo1.contextActions.at(0).trigger(); });
        r.found = form.Memo1.text();
        return r;
    }
};

TEST_F(Encodings, EveryOperationReadsAndWritesTheFilesOwnEncoding) {
    const std::string plain = Passage(5);
    const std::string cipher =
        varn::trials::Encipher(Passage(6), varn::trials::RandomKey(Language::Russian, 6));
    const Results reference = Run(plain, cipher);
    ASSERT_TRUE(platform.boxes.empty()) << platform.boxes.back().text;
    for (const EncodingCase& c : kCases) {
        SCOPED_TRACE(c.shownName);
        platform.boxes.clear();
        const auto in = [&](const std::string& bytes) {
            return Iconv(bytes, "CP1251", c.iconvName);
        };
        const Results r = Run(in(plain), in(cipher));
        EXPECT_TRUE(platform.boxes.empty());
        EXPECT_EQ(r.label, std::string("Кодировка: ") + c.shownName);
        // The texts in the windows are the same characters.
        EXPECT_EQ(r.shown, reference.shown);
        EXPECT_EQ(r.countAll, reference.countAll);
        EXPECT_EQ(r.countOnStandard, reference.countOnStandard);
        EXPECT_EQ(r.inWindow, reference.inWindow);
        EXPECT_EQ(r.found, reference.found);
        // The new file is the Windows-1251 one in the file's encoding, with its line ends kept
        // where the encoding has no DOS text mode.
        EXPECT_EQ(r.created, in(c.dosText ? reference.created : WithoutCr(reference.created)));
        // Caesar gives the file back; a UTF-8 ciphertext is UTF-8 too.
        EXPECT_NE(r.caesarCipher, in(plain));
        EXPECT_EQ(WithoutCr(r.caesarBack), in(plain));
        if (!c.dosText) {
            EXPECT_EQ(r.caesarBack, in(plain));
        }
        if (std::string(c.iconvName) == "UTF-8") {
            EXPECT_NO_THROW(Iconv(r.caesarCipher, "UTF-8", "UTF-32LE"));
        }
    }
}

TEST_F(Encodings, WhatIsNoLetterPassesThroughUntouched) {
    // A BOM, Latin words, characters Windows-1251 lacks, invalid and cut sequences.
    // The reference: the same text in Windows-1251 without them.
    const std::string text = "\xEF\xBB\xBFМир, world ☺ 😀 \xFF\xC0\x80 Ёж\n\xD0";
    const std::string letters = "\xCC\xE8\xF0, world    \xA8\xE6\n";
    form.Memo1.setText("бвгдеёжзийклмнопрстуфхцчшщъыьэюяа");
    const auto create = [&](const std::string& bytes, const std::string& name) {
        study(bytes, name);
        platform.choose(dir.file("created-" + name));
        press(form.ButtonNewFile);
        return TempDir::read(dir.file("created-" + name));
    };
    const std::string reference = Iconv(WithoutCr(create(letters, "1251.txt")), "CP1251", "UTF-8");
    ASSERT_EQ(reference.size(), 22u);
    const std::string created = create(text, "utf8.txt");
    EXPECT_EQ(form.LabelEncoding.text(), "Кодировка: UTF-8");
    EXPECT_EQ(created, "\xEF\xBB\xBF" + reference.substr(0, 13) + " ☺ 😀 \xFF\xC0\x80 " +
                           reference.substr(17) + "\xD0");
    EXPECT_NE(reference.substr(0, 3), "Мир");
}

TEST_F(Encodings, TheChoiceHoldsUntilAnotherFileAndALetterTheFileCannotHoldWritesNothing) {
    const std::string koi8 = Iconv("Жёлтый ёж\n", "UTF-8", "KOI8-R");
    study(koi8);
    EXPECT_EQ(form.LabelEncoding.text(), "Кодировка: KOI8-R");
    // Chosen as Windows-1251, the same bytes read as other letters.
    form.dispatch([&] { form.ComboBoxEncoding.choose(1); });
    EXPECT_EQ(form.LabelEncoding.text(), "Кодировка: Windows-1251");
    std::string asWindows1251 = Iconv(koi8, "CP1251", "UTF-8");
    asWindows1251.insert(asWindows1251.size() - 1, "\r");
    EXPECT_EQ(form.MemoSourceFile.text(), asWindows1251);
    form.dispatch([&] { form.ComboBoxEncoding.choose(3); });
    EXPECT_EQ(form.MemoSourceFile.text(), "Жёлтый ёж\r\n");
    // A standard pairing "ж", the file's most frequent letter, with "є", which KOI8-R lacks:
    // refused, nothing written.
    form.Memo1.setText("єж");
    platform.choose(dir.file("created.txt"));
    press(form.ButtonNewFile);
    EXPECT_FALSE(std::filesystem::exists(dir.file("created.txt")));
    EXPECT_EQ(lastBox().title, "Внимание");
    EXPECT_NE(lastBox().text.find("KOI8-R"), std::string::npos);
    EXPECT_NE(lastBox().text.find("є"), std::string::npos);
    // Another file is read in its own encoding again.
    study("\xC6\xB8\xEB\xF2\xFB\xE9 \xB8\xE6", "other.txt");
    EXPECT_EQ(form.ComboBoxEncoding.itemIndex(), 0);
    EXPECT_EQ(form.LabelEncoding.text(), "Кодировка: Windows-1251");
    english();
    EXPECT_EQ(form.LabelEncoding.text(), "Encoding: Windows-1251");
    EXPECT_EQ(form.ComboBoxEncoding.items().front(), "Automatic");
}

TEST_F(Encodings, SavedStandardsAndResultsAreInTheFilesEncoding) {
    study(Iconv("Жёлтый ёж\n", "UTF-8", "CP866"));
    form.RadioButtonRusDn.setChecked(true);
    press(form.ButtonStart);
    platform.choose(dir.file("standard.txt"));
    press(form.ButtonSaveEtal);
    EXPECT_EQ(TempDir::read(dir.file("standard.txt")),
              Iconv(" оеаинтсрвлкмдпуяызъьбгчйхжюшцщэфё\r\n", "UTF-8", "CP866"));
    platform.choose(dir.file("result.txt"));
    press(form.ButtonSaveRes);
    std::string rows;
    for (const std::string& line : form.Memo2.lines()) rows += line + "\r\n";
    EXPECT_EQ(TempDir::read(dir.file("result.txt")), Iconv(rows, "UTF-8", "CP866"));
    // A standard file in another encoding loads by its own (its ё tells KOI8-R small letters
    // from Windows-1251 capitals).
    form.Memo1.clear();
    platform.choose(dir.write("koi.txt", Iconv("абвё\r\n", "UTF-8", "KOI8-R")));
    press(form.ButtonOpenEtal);
    EXPECT_EQ(form.Memo1.text(), "абвё\r\n");
}

}  // namespace
