// Every subcommand writes the bytes the window's operation writes on the same file.
#include <gtest/gtest.h>

#include <functional>

#include "crypt/crypt_finish.h"
#include "tests/cli/run_varn.h"
#include "tests/support/form_fixture.h"
#include "text/encoding.h"
#include "ui/cp1251.h"

namespace {

// Russian and English text with the bytes the passes treat specially: CR, lone LF, a byte 26.
std::string Sample() {
    return ui::EncodeCp1251(
               "Съешь же ещё этих мягких французских булок, да выпей чаю.\r\n"
               "The quick brown fox jumps over the lazy dog; ЁЖИК и ёжик!\n"
               "\tцифры 0123456789 и знаки ~`@#$%^&*()_+{}|:\"<>?\r\rконец\n") +
           std::string("\xff\xfe\xfd\x98\x01 tail\x1a after the end\r\n", 27);
}

class WindowEquivalence : public FormTest {
  protected:
    VarnRun varn(const std::vector<std::string>& arguments, const std::string& lang) {
        VarnSetup setup;
        setup.environment = {"LANG=" + lang};
        return RunVarn(dir, arguments, setup);
    }
    void language(bool inRussian) {
        if (inRussian) {
            russian();
        } else {
            english();
        }
    }
    // What "Save..." of the Count tab writes after `count` ran on the study file.
    std::string savedTable() {
        const std::string saved = dir.file("saved-table.txt");
        platform.choose(saved);
        press(form.ButtonSaveRes);
        return TempDir::read(saved);
    }
};

TEST_F(WindowEquivalence, CountWritesTheSavedTable) {
    const std::string file = study(Sample());
    const std::string standardFile = dir.write("standard.txt", ui::EncodeCp1251("оеаинт\r\nsre"));
    const struct {
        std::vector<std::string> options;
        std::function<void()> window;
    } cases[] = {
        {{"--builtin", "ru"}, [this] { press(form.RadioButtonRusDn); }},
        {{"--builtin", "en-asc"}, [this] { press(form.RadioButtonEndUp); }},
        {{"--builtin", "en", "--ascending"},
         [this] {
             press(form.RadioButtonEngDn);
             press(form.RadioButtonUp);
         }},
        {{"--standard", standardFile},
         [&] {
             platform.choose(standardFile);
             press(form.ButtonOpenEtal);
         }},
        {{"--all"}, [this] { press(form.RadioButtonDn); }},
        {{"--all", "--ascending"}, [this] { press(form.RadioButtonUp); }},
    };
    for (const bool inRussian : {false, true}) {
        language(inRussian);
        for (const auto& c : cases) {
            std::vector<std::string> arguments{"count"};
            arguments.insert(arguments.end(), c.options.begin(), c.options.end());
            arguments.push_back(file);
            const VarnRun run = varn(arguments, inRussian ? "ru_RU.UTF-8" : "C.UTF-8");
            ASSERT_EQ(run.status, 0) << run.err;
            c.window();
            press(arguments[1] == "--all" ? form.Button_AllScan : form.ButtonStart);
            EXPECT_EQ(run.out, savedTable()) << arguments[1] << " " << inRussian;
            EXPECT_EQ(run.err, "");
        }
    }
}

TEST_F(WindowEquivalence, CountForScriptsGivesTheSameRows) {
    const std::string file = study("abracadabra\r\n");
    const VarnRun csv = varn({"count", "--builtin", "en", "--format", "csv", file}, "C");
    ASSERT_EQ(csv.status, 0) << csv.err;
    // Table order: the most frequent first, paired with the standard's first letter.
    EXPECT_EQ(csv.out.substr(0, csv.out.find('\n', 50) + 1),
              "code,character,count,percent,paired_code,paired\n97,a,5,38.462,32, \n");
    const VarnRun json = varn({"count", "--all", "--format", "json", file}, "C");
    ASSERT_EQ(json.status, 0) << json.err;
    EXPECT_NE(json.out.find("{\"code\": 13, \"character\": \"\\u000d\", \"count\": 1, "
                            "\"percent\": 7.693}"),
              std::string::npos)
        << json.out;
    EXPECT_EQ(json.out.substr(0, 38), "{\"total\": 13, \"mode\": \"all\", \"rows\": [");
}

TEST_F(WindowEquivalence, SubstituteWritesWhatCreateWrites) {
    const std::string file = study(Sample());
    const std::string standardFile = dir.write("standard.txt", ui::EncodeCp1251(" etaoinморе"));
    const struct {
        std::vector<std::string> options;
        std::function<void()> window;
    } cases[] = {
        {{"--builtin", "ru"}, [this] { press(form.RadioButtonRusDn); }},
        {{"--builtin", "en-asc"}, [this] { press(form.RadioButtonEndUp); }},
        {{"--standard", standardFile, "--ascending"},
         [&] {
             platform.choose(standardFile);
             press(form.ButtonOpenEtal);
             press(form.RadioButtonDn);  // a checked button would not take the click
             press(form.RadioButtonUp);
         }},
    };
    int n = 0;
    for (const auto& c : cases) {
        const std::string created = dir.file("created" + std::to_string(n));
        const std::string written = dir.file("written" + std::to_string(n++));
        std::vector<std::string> arguments{"substitute"};
        arguments.insert(arguments.end(), c.options.begin(), c.options.end());
        arguments.insert(arguments.end(), {file, "-o", written});
        const VarnRun run = varn(arguments, "C");
        ASSERT_EQ(run.status, 0) << run.err;
        arguments.resize(arguments.size() - 2);  // the same to standard output
        const VarnRun piped = varn(arguments, "C");
        c.window();
        platform.choose(created);
        press(form.ButtonNewFile);
        const std::string window = TempDir::read(created);
        ASSERT_FALSE(window.empty());
        EXPECT_EQ(TempDir::read(written), window) << arguments[1];
        EXPECT_EQ(piped.out, window) << arguments[1];
    }
}

TEST_F(WindowEquivalence, SubstituteKeepsCaseAsTheTickedBoxDoes) {
    const std::string file = study(Sample());
    const std::string written = dir.file("written");
    const VarnRun run =
        varn({"substitute", "--builtin", "ru", "--keep-case", file, "-o", written}, "C");
    ASSERT_EQ(run.status, 0) << run.err;
    press(form.RadioButtonRusDn);
    form.CheckBoxKeepCase.setChecked(true);
    const std::string created = dir.file("created");
    platform.choose(created);
    press(form.ButtonNewFile);
    const std::string window = TempDir::read(created);
    EXPECT_EQ(TempDir::read(written), window);
    // Capitals came out as capitals.
    EXPECT_NE(window.find_first_of(ui::EncodeCp1251("ЁАБВГДЕЖЗИЙКЛМНОПРСТУФХЦЧШЩЪЫЬЭЮЯ")),
              std::string::npos);
}

TEST_F(WindowEquivalence, TextsInEachEncodingAsTheWindowReadsThem) {
    const std::string codes = ui::EncodeCp1251(
        "Съешь же ещё этих мягких французских булок, да выпей чаю.\r\n"
        "Широкая электрификация южных губерний даст мощный толчок подъёму сельского "
        "хозяйства.\r\n");
    english();
    for (const varn::Encoding encoding : varn::kEncodings) {
        std::string missing;
        const std::string name = varn::EncodingName(encoding);
        const std::string file = study(varn::CodesToText(codes, encoding, missing), name + ".txt");
        ASSERT_EQ(missing, "");
        press(form.RadioButtonRusDn);
        press(form.ButtonStart);
        const std::string table = savedTable();
        const std::string created = dir.file(name + ".created");
        platform.choose(created);
        press(form.ButtonNewFile);
        // Found in the file, as the window finds it, and named; the table in that encoding too.
        for (const std::string& chosen : {std::string("auto"), name}) {
            const VarnRun count =
                varn({"count", "--builtin", "ru", "--encoding", chosen, file}, "C.UTF-8");
            ASSERT_EQ(count.status, 0) << count.err;
            EXPECT_EQ(count.out, table) << name << " " << chosen;
            const VarnRun substituted =
                varn({"substitute", "--builtin", "ru", "--encoding", chosen, file}, "C.UTF-8");
            ASSERT_EQ(substituted.status, 0) << substituted.err;
            EXPECT_EQ(substituted.out, TempDir::read(created)) << name << " " << chosen;
        }
    }
    EXPECT_EQ(varn({"count", "--all", "--encoding", "latin-9", "x"}, "C").status, 2);
}

TEST_F(WindowEquivalence, StatisticsOfTheLetters) {
    std::string text;
    for (int i = 0; i < 20; ++i) text += "The quick brown fox jumps over the lazy dog. ";
    const std::string file = study(text);
    const VarnRun stats = varn({"count", "--stats", file}, "C");
    ASSERT_EQ(stats.status, 0) << stats.err;
    EXPECT_EQ(stats.out.substr(0, stats.out.find('\n')), "Letters counted: 700");
    EXPECT_NE(stats.out.find("Index of coincidence: 0.0484 (English 0.06"), std::string::npos)
        << stats.out;
    EXPECT_NE(stats.out.find("(25 degrees of freedom)"), std::string::npos) << stats.out;
    const VarnRun russian = varn({"count", "--stats", file}, "ru_RU.UTF-8");
    EXPECT_NE(russian.out.find("Индекс совпадений"), std::string::npos) << russian.out;
    // The statistics count every letter: a standard or a format is a wrong command line.
    EXPECT_EQ(varn({"count", "--stats", "--builtin", "en", file}, "C").status, 2);
    EXPECT_EQ(varn({"count", "--stats", "--format", "csv", file}, "C").status, 2);
}

TEST_F(WindowEquivalence, CaesarBothWaysAsThe3VTab) {
    const std::string sample = Sample();
    form.CheckBoxOvervriteFile3V.setChecked(false);  // the result goes to __varn__.enc
    for (const std::string way : {"encrypt", "decrypt"}) {
        const std::string file = dir.write("caesar-" + way + ".txt", sample);
        const std::string written = dir.file("caesar-" + way + ".out");
        const VarnRun run = varn({"caesar", way, file, "-o", written}, "C");
        ASSERT_EQ(run.status, 0) << run.err;
        EXPECT_NE(run.err.find("warning: FILE is not plain text"), std::string::npos) << run.err;
        form.MemoFile3V.setText(file);
        press(way == "encrypt" ? form.ButtonEn : form.ButtonDe);
        EXPECT_EQ(TempDir::read(written), TempDir::read(dir.file("__varn__.enc"))) << way;
        // In place, as on the tab, a file that would not come back (a lone CR, text after a
        // byte 26) is refused and kept...
        const VarnRun refused = varn({"caesar", way, file, "--in-place"}, "C");
        EXPECT_EQ(refused.status, 1);
        EXPECT_NE(refused.err.find("not plain text"), std::string::npos) << refused.err;
        EXPECT_EQ(TempDir::read(file), sample);
        // ...and a text that comes back takes the bytes of the -o result.
        const std::string text = sample.substr(0, sample.find("\t"));
        const std::string textFile = dir.write("caesar-" + way + "-text.txt", text);
        const std::string textOut = dir.file("caesar-" + way + "-text.out");
        const VarnRun plain = varn({"caesar", way, textFile, "-o", textOut}, "C");
        ASSERT_EQ(plain.status, 0);
        EXPECT_EQ(plain.err, "");
        const VarnRun inPlace = varn({"caesar", way, textFile, "--in-place"}, "C");
        ASSERT_EQ(inPlace.status, 0) << inPlace.err;
        EXPECT_EQ(TempDir::read(textFile), TempDir::read(textOut)) << way;
    }
}

TEST_F(WindowEquivalence, IdeaFilesGoBothWaysBetweenWindowAndCommand) {
    const std::string sample = Sample() + std::string(100000, 'x');
    const struct {
        std::vector<std::string> passwords;  // UTF-8, as typed
    } cases[] = {{{"пароль"}}, {{"12345678"}}, {{"один", "two", "три3"}}};
    int n = 0;
    for (const auto& c : cases) {
        const bool triple = c.passwords.size() == 3;
        std::string lines;
        for (const std::string& p : c.passwords) lines += p + "\n";
        const std::string passFile = dir.write("pass" + std::to_string(n), lines);
        const std::string plain = dir.write("plain" + std::to_string(n) + ".txt", sample);
        const std::string byVarn = dir.file("varn" + std::to_string(n++) + ".idea");
        std::vector<std::string> encrypt{"encrypt", "--passphrase-file", passFile, plain, "-o",
                                         byVarn};
        if (triple) encrypt.push_back("--triple");
        const VarnRun run = varn(encrypt, "C");
        ASSERT_EQ(run.status, 0) << run.err;

        // The window encrypts the same file to the same bytes (ECB under the same keys)...
        form.MemoIdeaFile.setText(plain);
        form.EditPassWordIdea.setText(c.passwords[0]);
        if (triple) {
            if (!form.CheckBox3Idea.checked()) press(form.CheckBox3Idea);
            form.EditPassWordIdea2.setText(c.passwords[1]);
            form.EditPassWordIdea3.setText(c.passwords[2]);
        } else if (form.CheckBox3Idea.checked()) {
            press(form.CheckBox3Idea);
        }
        form.CheckBoxOwer.setChecked(false);
        press(form.Button_EnCrypt);
        const std::string byWindow = varn::CryptEncName(plain);
        EXPECT_EQ(TempDir::read(byVarn), TempDir::read(byWindow));

        // ...and decrypts what varn wrote, while varn decrypts what the window wrote.
        std::vector<std::string> decrypt{"decrypt", "--passphrase-file", passFile, byWindow, "-o",
                                         "-"};
        if (triple) decrypt.push_back("--triple");
        const VarnRun back = varn(decrypt, "C");
        ASSERT_EQ(back.status, 0) << back.err;
        EXPECT_EQ(back.out, sample);
        form.MemoIdeaFile.setText(byVarn);
        form.CheckBoxOwer.setChecked(true);
        press(form.Button_DeCrypt);
        EXPECT_EQ(TempDir::read(byVarn), sample);
    }
}

TEST_F(WindowEquivalence, PasswordsHaveTheGeneratorsLengthAndAlphabet) {
    const struct {
        std::string set;
        bool latin, cyrillic;
    } cases[] = {{"latin", true, false}, {"cyrillic", false, true}, {"both", true, true}};
    for (const auto& c : cases) {
        for (const int length : {1, 8, 25}) {
            const VarnRun run = varn(
                {"passgen", "--set", c.set, "--length", std::to_string(length), "--count", "20"},
                "C");
            ASSERT_EQ(run.status, 0) << run.err;
            std::size_t start = 0, lines = 0;
            bool sawLatin = false, sawCyrillic = false;
            for (std::size_t end; (end = run.out.find('\n', start)) != std::string::npos;
                 start = end + 1, ++lines) {
                const std::string password = run.out.substr(start, end - start);
                ASSERT_EQ(password.size(), static_cast<std::size_t>(length)) << password;
                for (std::size_t i = 0; i < password.size(); ++i) {
                    const auto b = static_cast<unsigned char>(password[i]);
                    const bool latin = b >= 33 && b <= 126, cyrillic = b >= 192;
                    EXPECT_TRUE((latin && c.latin) || (cyrillic && c.cyrillic)) << int(b);
                    sawLatin |= latin;
                    sawCyrillic |= cyrillic;
                    EXPECT_EQ(password.find(password[i], i + 1), std::string::npos);
                }
            }
            EXPECT_EQ(lines, 20u);
            if (length == 25) {
                EXPECT_EQ(sawLatin && sawCyrillic, c.latin && c.cyrillic);
            }
        }
    }
    // The window's generator gives the same shape: a 25-character password of distinct codes.
    form.EditKolvoSygn.setText("25");
    press(form.ButtonGenPassword);
    EXPECT_EQ(ui::EncodeCp1251(form.EditGenPassword.text()).size(), 25u);
}

}  // namespace
