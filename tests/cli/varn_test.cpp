// The command-line program as a user runs it: exit statuses, standard output and error.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <string>

#include "analysis/letter_count.h"
#include "analysis/replace_letters.h"
#include "tests/support/cipher_forms.h"
#include "tests/support/iconv_text.h"
#include "tests/support/solve_trials.h"
#include "tests/support/temp_dir.h"

namespace {

using varn::solve::Language;

struct Outcome {
    int status;
    std::string out;
    std::string err;
};

Outcome Varn(const TempDir& dir, const std::string& arguments) {
    const std::string command = std::string(VARN_PROGRAM) + " " + arguments + " >" +
                                dir.file("out") + " 2>" + dir.file("err") + " </dev/null";
    const int raw = std::system(command.c_str());
    return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, TempDir::read(dir.file("out")),
            TempDir::read(dir.file("err"))};
}

// "Create..." output of a correct solution: letters folded, CR dropped, LF as CR LF.
std::string Deciphered(const std::string& plain) {
    std::string out;
    for (const char c : plain) {
        if (c == '\r') continue;
        if (c == '\n') out += '\r';
        out += static_cast<char>(varn::LowerChar(static_cast<unsigned char>(c)));
    }
    return out;
}

struct Quiet : varn::Progress {
    void SetMax(std::uint64_t) override {}
    void SetPosition(std::uint64_t) override {}
    void Advance(std::uint64_t) override {}
    void Fill() override {}
};

std::string CipherOf(const std::string& plain, Language language, std::uint64_t seed) {
    return varn::trials::Encipher(plain, varn::trials::RandomKey(language, seed));
}

TEST(Varn, SolveWritesThePlaintextAsCreateWould) {
    TempDir dir;
    for (const Language language : {Language::Russian, Language::English}) {
        const std::string plain = varn::trials::Excerpt(
            varn::trials::HeldOutText(language), language, 800, varn::trials::Measure::Letters, 11);
        const std::string name = language == Language::Russian ? "ru.txt" : "en.txt";
        // A byte 26 ends the text, as in DOS text mode.
        const std::string file = dir.write(name, CipherOf(plain, language, 11) + "\x1a tail");
        const char* flag = language == Language::Russian ? "--language ru" : "-l en";
        for (const std::string& arguments : {std::string(flag) + " " + file, file}) {
            const Outcome run = Varn(dir, "solve " + arguments);
            EXPECT_EQ(run.status, 0) << run.err;
            EXPECT_EQ(run.err, "");
            EXPECT_EQ(run.out, Deciphered(plain)) << arguments;
        }

        // The standard: every letter and the space, one line, and it pairs into the key.
        const Outcome standard = Varn(dir, "solve --standard " + file);
        EXPECT_EQ(standard.status, 0) << standard.err;
        const std::size_t letters = language == Language::Russian ? 33 : 26;
        ASSERT_EQ(standard.out.size(), letters + 2);
        EXPECT_EQ(standard.out.back(), '\n');
        varn::LetterTable table;
        std::string line = standard.out.substr(0, letters + 1);
        Quiet a, b;
        varn::CountOnEtalon(table, line, file, varn::kDescending, a, b);
        const auto map = varn::SubstitutionMap(table);
        const std::string cipher = CipherOf(plain, language, 11);
        for (std::size_t i = 0; i < plain.size(); ++i) {
            const auto p = varn::LowerChar(static_cast<unsigned char>(plain[i]));
            ASSERT_EQ(map[static_cast<unsigned char>(cipher[i])], p) << i;
        }
    }
}

// How sure the answer is: said on request, and unasked when it is doubtful.
TEST(Varn, SolveSaysHowSureItIs) {
    TempDir dir;
    const auto fileOf = [&](const char* name, std::uint64_t letters) {
        const std::string plain =
            varn::trials::Excerpt(varn::trials::HeldOutText(Language::English), Language::English,
                                  letters, varn::trials::Measure::Letters, 12);
        return dir.write(name, CipherOf(plain, Language::English, 12));
    };
    const std::string longFile = fileOf("long.txt", 800);
    const std::string shortFile = fileOf("short.txt", 35);
    const char* unreliable =
        "varn solve: warning: the result is unreliable: the text is too short or not in this "
        "language\n";

    Outcome run = Varn(dir, "solve -l en --verbose " + longFile);
    EXPECT_EQ(run.status, 0);
    EXPECT_NE(run.err.find("800 letters of English: "), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("confidence 1.00"), std::string::npos) << run.err;
    EXPECT_EQ(run.err.find("unreliable"), std::string::npos) << run.err;

    run = Varn(dir, "solve -l en " + shortFile);
    EXPECT_EQ(run.status, 0);
    EXPECT_FALSE(run.out.empty());
    EXPECT_EQ(run.err, unreliable);
}

TEST(Varn, SolveReadsAndWritesTheFilesEncoding) {
    TempDir dir;
    std::string plain =
        varn::trials::Excerpt(varn::trials::HeldOutText(Language::Russian), Language::Russian, 800,
                              varn::trials::Measure::Letters, 13);
    // Only characters all four encodings hold, and LF line ends.
    for (char& c : plain) {
        try {
            Iconv(std::string(1, c), "CP1251", "KOI8-R");
            Iconv(std::string(1, c), "CP1251", "CP866");
        } catch (const std::runtime_error&) {
            c = ' ';
        }
        if (c == '\r' || c == '\x1a') c = ' ';
    }
    const std::string cipher = CipherOf(plain, Language::Russian, 13);
    std::string lowerLf;
    for (const char c : plain)
        lowerLf += static_cast<char>(varn::LowerChar(static_cast<unsigned char>(c)));
    const struct {
        const char* iconvName;
        const char* option;
        const char* shown;
        bool dosText;
    } cases[] = {
        {"CP1251", "windows-1251", "Windows-1251", true},
        {"UTF-8", "utf-8", "UTF-8", false},
        {"KOI8-R", "koi8-r", "KOI8-R", false},
        {"CP866", "cp866", "CP866", true},
    };
    for (const auto& c : cases) {
        const std::string file =
            dir.write(std::string(c.option) + ".txt", Iconv(cipher, "CP1251", c.iconvName));
        const std::string expected =
            Iconv(c.dosText ? Deciphered(plain) : lowerLf, "CP1251", c.iconvName);
        for (const std::string& encoding : {std::string("auto"), std::string(c.option)}) {
            const Outcome run =
                Varn(dir, "solve --verbose -l ru --encoding " + encoding + " " + file);
            EXPECT_EQ(run.status, 0) << run.err;
            EXPECT_EQ(run.err.rfind(std::string("encoding: ") + c.shown + "\n", 0), 0u)
                << run.err << encoding;
            EXPECT_EQ(run.out, expected) << c.shown << " " << encoding;
        }
    }
    const Outcome wrong = Varn(dir, "solve --encoding latin-1 " + dir.file("utf-8.txt"));
    EXPECT_EQ(wrong.status, 2);
    EXPECT_NE(wrong.err.find("auto, windows-1251, utf-8, koi8-r or cp866"), std::string::npos);
}

TEST(Varn, SolveKeepsCaseWhenAsked) {
    TempDir dir;
    const std::string plain =
        varn::trials::Excerpt(varn::trials::HeldOutText(Language::Russian), Language::Russian, 800,
                              varn::trials::Measure::Letters, 14);
    const std::string file = dir.write(
        "cipher.txt",
        varn::trials::EncipherKeepingCase(plain, varn::trials::RandomKey(Language::Russian, 14)));
    const Outcome small = Varn(dir, "solve -l ru " + file);
    const Outcome kept = Varn(dir, "solve -l ru --keep-case " + file);
    ASSERT_EQ(kept.status, 0) << kept.err;
    // The same letters; the capitals where the file has them.
    std::string folded = kept.out;
    for (char& c : folded) c = static_cast<char>(varn::LowerChar(static_cast<unsigned char>(c)));
    EXPECT_EQ(folded, small.out);
    std::string plainCrLf;
    for (const char c : plain) {
        if (c == '\r') continue;
        if (c == '\n') plainCrLf += '\r';
        plainCrLf += c;
    }
    EXPECT_EQ(kept.out, plainCrLf);
}

TEST(Varn, SolveSaysWhenTheEncodingWasAChoice) {
    TempDir dir;
    // Capitals in groups of five without a yo: Windows-1251 or KOI8-R small letters alike.
    std::string cipher;
    for (std::uint64_t seed = 20; cipher.empty() || cipher.find('\xA8') != std::string::npos;
         ++seed) {
        cipher =
            varn::trials::InForm(varn::trials::HeldOutText(Language::Russian), Language::Russian,
                                 varn::trials::Form::CapitalGroups, 300, seed);
    }
    const std::string file = dir.write("groups.txt", cipher);
    Outcome run = Varn(dir, "solve --verbose -l ru " + file);
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.err.rfind("encoding: Windows-1251 (KOI8-R reads as well)\n", 0), 0u) << run.err;
    // Named, it is no choice of the program's.
    run = Varn(dir, "solve --verbose -l ru --encoding windows-1251 " + file);
    EXPECT_EQ(run.err.rfind("encoding: Windows-1251\n", 0), 0u) << run.err;
    // A yo tells the pages apart.
    const std::string withYo = dir.write("yo.txt", cipher + " \xA8\xC6\xC8\xCA");
    run = Varn(dir, "solve --verbose -l ru " + withYo);
    EXPECT_EQ(run.err.rfind("encoding: Windows-1251\n", 0), 0u) << run.err;
}

TEST(Varn, FailuresGoToStandardErrorWithAStatus) {
    TempDir dir;
    const std::string shortFile = dir.write("short.txt", "Hello there!\n");
    const std::string digits = dir.write("digits.txt", "12 34 56\n");
    std::string bytes(4000, '\0');
    std::uint64_t state = 5;
    for (char& b : bytes) b = static_cast<char>((state = state * 6364136223846793005ULL + 1) >> 56);
    const std::string noise = dir.write("noise.bin", bytes);
    const struct {
        std::string arguments;
        int status;
        const char* says;
    } cases[] = {
        {"solve -l en " + shortFile, 1, "only 10 English letters"},
        {"solve -l ru " + digits, 1, "no Russian letters"},
        {"solve -l en " + noise, 1, "does not read as a substitution of English"},
        {"solve " + noise, 1, "does not read as a substitution of "},
        {"solve " + dir.file("missing.txt"), 1, "cannot open: "},
        {"solve " + dir.path().string(), 1, "not a regular file: "},
        {"solve -l fr " + shortFile, 2, "ru or en"},
        {"solve", 2, "exactly one FILE"},
        {"solve --bogus " + shortFile, 2, "bogus"},
        {"unsolve " + shortFile, 2, "unknown command"},
        {"", 2, "Usage: varn COMMAND"},
    };
    for (const auto& c : cases) {
        const Outcome run = Varn(dir, c.arguments);
        EXPECT_EQ(run.status, c.status) << c.arguments;
        EXPECT_EQ(run.out, "") << c.arguments;
        EXPECT_NE(run.err.find(c.says), std::string::npos) << c.arguments << ": " << run.err;
    }
    for (const char* help : {"--help", "solve --help"}) {
        const Outcome run = Varn(dir, help);
        EXPECT_EQ(run.status, 0);
        EXPECT_NE(run.out.find("solve"), std::string::npos);
        EXPECT_EQ(run.err, "");
    }
}

}  // namespace
