// Faults injected through the window's handlers with real files: for each kind of fault, every
// user file in the folder is compared byte for byte (and by permission bits) before and after,
// together with the messages shown. Nothing may be lost, nothing left behind, and no failure
// may be reported as success.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <functional>
#include <map>

#include "caesar/caesar_table.h"
#include "crypt/idea_stream.h"
#include "tests/support/file_faults.h"
#include "tests/support/form_fixture.h"
#include "ui/cp1251.h"

namespace {

namespace fs = std::filesystem;
using Files = std::map<std::string, FileState>;

// A text without CR, LF or byte 26 apart from CR LF pairs: the Caesar pass maps it byte by byte.
const std::string kText = "Veni, vidi, vici \xC0\xE1\xFF\r\nsecond line ~ xyz\r\n";

std::string Caesar(const std::string& text) {
    std::string out = text;
    for (char& c : out) c = static_cast<char>(varn::CaesarEncipher(static_cast<unsigned char>(c)));
    return out;
}

std::string Idea(const std::string& plain, const std::string& password) {
    const int in = ::memfd_create("plain", MFD_CLOEXEC);
    const int out = ::memfd_create("encrypted", MFD_CLOEXEC);
    EXPECT_EQ(::pwrite(in, plain.data(), plain.size(), 0), static_cast<ssize_t>(plain.size()));
    EXPECT_TRUE(varn::IdeaEncryptStream(in, out, varn::IdeaKeyFromPassword(password)).ok());
    std::string bytes(static_cast<std::size_t>(::lseek(out, 0, SEEK_END)), '\0');
    EXPECT_EQ(::pread(out, bytes.data(), bytes.size(), 0), static_cast<ssize_t>(bytes.size()));
    ::close(in);
    ::close(out);
    return bytes;
}

// Makes a name look as if a run killed a few minutes ago had left it.
void AgeFile(const std::string& path) {
    const timespec then{::time(nullptr) - 300, 0};
    const timespec times[2] = {then, then};
    ASSERT_EQ(::utimensat(AT_FDCWD, path.c_str(), times, 0), 0);
}

// The descriptor through which "another copy" holds its temporary locked in row 12.
int heldTemporary = -1;

class FileSafety;

struct FaultRow {
    std::string fault;
    std::function<void(FileSafety&)> plant;  // the user's files and the hazard
    std::function<void(FileSafety&)> act;    // what the user does
    std::vector<std::string> boxes;          // every message shown, in order; "{dir}" = the folder
    // What the operations are meant to do; bytes "*" stand for any content.
    std::function<void(FileSafety&, Files&)> change = {};
};

void PrintTo(const FaultRow& row, std::ostream* out) {
    *out << row.fault;
}

class FileSafety : public FormTest, public ::testing::WithParamInterface<FaultRow> {
  public:
    using FormTest::dir;
    using FormTest::form;
    using FormTest::platform;
    using FormTest::press;
    using FormTest::study;

    FileSafety() {
        english();
        formB.FormShow();
        formB.dispatch([&] { formB.RadioButtonEng.click(); });
    }

    std::string put(const std::string& name, const std::string& bytes, mode_t mode = 0644) {
        const std::string path = dir.write(name, bytes);
        ::chmod(path.c_str(), mode);
        return path;
    }
    void caesar(TForm1& window, const std::string& path, bool inPlace) {
        window.MemoFile3V.setText(path);
        window.CheckBoxOvervriteFile3V.setChecked(inPlace);
        window.dispatch([&] { window.ButtonEn.click(); });
    }
    void idea(const std::string& path, std::vector<std::string> passwords, bool decrypt,
              bool inPlace = true) {
        form.CheckBox3Idea.setChecked(passwords.size() == 3);
        passwords.resize(3);
        form.EditPassWordIdea.setText(passwords[0]);
        form.EditPassWordIdea2.setText(passwords[1]);
        form.EditPassWordIdea3.setText(passwords[2]);
        form.MemoIdeaFile.setText(path);
        form.CheckBoxOwer.setChecked(inPlace);
        // Typed once more, as an encryption in place asks.
        for (const std::string& password : passwords)
            if (!password.empty()) platform.passwords.emplace_back(ui::DecodeCp1251(password));
        press(decrypt ? form.Button_DeCrypt : form.Button_EnCrypt);
        platform.passwords.clear();
    }
    // Counts the file under study, so that there is a result table to save.
    void countResults(const std::string& path) {
        study(TempDir::read(path), fs::path(path).filename().string());
        press(form.RadioButtonEngDn);
        press(form.ButtonStart);
        platform.boxes.clear();
    }
    void createNewFile(const std::string& target) {
        platform.choose(target);
        press(form.ButtonNewFile);
    }

    FakePlatform platformB;
    TForm1 formB{platformB};
};

TEST_P(FileSafety, LosesNothingAndSaysWhatHappened) {
    const FaultRow& row = GetParam();
    row.plant(*this);
    Files expected = FolderState(dir.path());
    if (row.change) row.change(*this, expected);
    platform.boxes.clear();
    row.act(*this);

    std::vector<std::string> shown;
    for (const auto* boxes : {&platform.boxes, &platformB.boxes}) {
        for (const FakePlatform::Box& box : *boxes) shown.push_back(box.text);
    }
    std::vector<std::string> wanted = row.boxes;
    for (std::string& text : wanted) {
        if (const std::size_t at = text.find("{dir}"); at != std::string::npos) {
            text.replace(at, 5, dir.path().string());
        }
    }
    EXPECT_EQ(shown, wanted);
    const Files after = FolderState(dir.path());
    for (auto& [name, file] : expected) {
        if (file.bytes == "*" && after.count(name) != 0) file.bytes = after.at(name).bytes;
    }
    EXPECT_EQ(after, expected);
    EXPECT_FALSE(platform.exitCode.has_value());
}

const FaultRow kRows[] = {
    {"1: two windows in one folder, the second one working while the first is mid-pass",
     [](FileSafety& t) {
         t.put("a.txt", std::string(300000, 'a'));
         t.put("b.txt", kText);
         t.put("c.txt", kText + "c");
         t.put("d.txt", "dddd");
     },
     [](FileSafety& t) {
         bool once = false;
         t.form.ProgressBar3V.setListener([&](ui::Control&, ui::Property) {
             if (once || t.form.ProgressBar3V.position() == 0) return;
             once = true;
             // The first window's result is written, not yet in place.
             t.caesar(t.formB, t.dir.file("b.txt"), true);
             t.caesar(t.formB, t.dir.file("c.txt"), false);
             t.formB.OpenDialog1.fileName = t.dir.file("d.txt");
             t.formB.Memo1.setText("ab");
             t.formB.dispatch([&] { t.formB.Button_VOkno.click(); });
         });
         t.caesar(t.form, t.dir.file("a.txt"), true);
         t.form.ProgressBar3V.setListener({});
         EXPECT_EQ(t.formB.Memo10.text(), "dddd");
     },
     {"Encryption of the file is finished.\nEncrypt data in file __varn__.enc"},
     [](FileSafety&, Files& files) {
         files["a.txt"].bytes = std::string(300000, 'd');
         files["b.txt"].bytes = Caesar(kText);
         files["__varn__.enc"] = {Caesar(kText + "c"), S_IFREG | 0644, ""};
     }},

    {"2: links planted at the temporary names of every operation",
     [](FileSafety& t) {
         t.put("victim.txt", "must survive");
         t.put("doc.txt", kText);
         t.put("ab.txt", "abc");
         for (const char* name :
              {"__varn__.tmp", "tempfile.dnc", "tempfile-3x.dnc", ".varn-save"}) {
             fs::create_symlink("victim.txt", t.dir.file(name));
         }
     },
     [](FileSafety& t) {
         t.caesar(t.form, t.dir.file("doc.txt"), true);
         t.idea(t.dir.file("ab.txt"), {"one", "two", "three"}, false);
         t.idea(t.dir.file("ab.txt"), {"one", "two", "three"}, true);
         t.study("abc", "ab.txt");
         t.form.Memo1.setText("ba");
         t.press(t.form.Button_VOkno);
         EXPECT_EQ(t.form.Memo10.text().size(), 3u);
     },
     {"Encryption of the file is finished.", "Decryption of the file is finished."},
     [](FileSafety&, Files& files) { files["doc.txt"].bytes = Caesar(kText); }},

    {"3: Caesar in place on a full disk",
     [](FileSafety& t) { t.put("doc.txt", std::string(200000, 'x')); },
     [](FileSafety& t) {
         const FileSizeLimit full(4096);
         t.caesar(t.form, t.dir.file("doc.txt"), true);
         t.caesar(t.form, t.dir.file("doc.txt"), false);
     },
     {"Temporary file not open!", "Temporary file not open!"}},

    {"4: IDEA in place on a full disk, single and 3X, both directions",
     [](FileSafety& t) {
         t.put("plain.txt", std::string(100000, 'p'));
         t.put("sealed.enc", Idea(std::string(100000, 's'), "key"));
     },
     [](FileSafety& t) {
         const FileSizeLimit full(4096);
         t.idea(t.dir.file("plain.txt"), {"key"}, false);
         t.idea(t.dir.file("plain.txt"), {"k1", "k2", "k3"}, false);
         t.idea(t.dir.file("sealed.enc"), {"key"}, true);
     },
     {"Fatal Error writing output file!!!", "Fatal Error writing output file!!!",
      "Fatal Error writing output file!!!"}},

    {"5: every save over an existing file, and into a new one, on a full disk",
     [](FileSafety& t) {
         t.put("study.txt", std::string(20000, 'e') + "tail");
         t.put("old.txt", "the old content of the file");
         t.countResults(t.dir.file("study.txt"));
     },
     [](FileSafety& t) {
         const FileSizeLimit full(8);
         t.createNewFile(t.dir.file("old.txt"));
         t.createNewFile(t.dir.file("new.txt"));
         t.platform.choose(t.dir.file("old.txt"));
         t.press(t.form.ButtonSaveRes);
         t.platform.choose(t.dir.file("new.txt"));
         t.press(t.form.ButtonSaveEtal);
         t.platform.choose(t.dir.file("old.txt"));
         t.press(t.form.ButtonDa);
     },
     {"Stream write error.", "Stream write error.", "Stream write error.", "Stream write error.",
      "Stream write error."}},

    {"6: files named like the old temporaries are inputs like any other",
     [](FileSafety& t) {
         t.put("__varn__.tmp", kText);
         t.put("tempfile.dnc", "abc");
     },
     [](FileSafety& t) {
         t.caesar(t.form, t.dir.file("__varn__.tmp"), true);
         t.study("xyz", "tempfile.dnc");
         t.form.Memo1.setText("z");
         t.press(t.form.Button_VOkno);
         EXPECT_EQ(t.form.Memo10.text().size(), 3u);
         t.idea(t.dir.file("tempfile.dnc"), {"p"}, false);
         t.idea(t.dir.file("tempfile.dnc"), {"p"}, true);
     },
     {"Encryption of the file is finished.", "Decryption of the file is finished."},
     [](FileSafety&, Files& files) {
         files["__varn__.tmp"].bytes = Caesar(kText);
         files["tempfile.dnc"].bytes = "xyz";
     }},

    {"7: a wrong password for lengths 0, 1 and 7 mod 8, single and as the first 3X password",
     [](FileSafety& t) {
         t.put("l0.bin", Idea(std::string(64, 'a'), "right"));
         t.put("l1.bin", Idea(std::string(65, 'b'), "right"));
         t.put("l7.bin", Idea(std::string(71, 'c'), "right"));
         t.put("3x.bin", Idea(Idea(Idea(std::string(40, 'd'), "one"), "two"), "three"));
     },
     [](FileSafety& t) {
         for (const char* name : {"l0.bin", "l1.bin", "l7.bin"}) {
             t.idea(t.dir.file(name), {"wrong"}, true);
             t.idea(t.dir.file(name), {"wrong"}, true, false);
         }
         t.idea(t.dir.file("3x.bin"), {"one", "two", "wrong"}, true);
     },
     std::vector<std::string>(7, "Wrong password or the file is damaged.")},

    {"8: a FIFO and devices as inputs and targets",
     [](FileSafety& t) {
         ASSERT_EQ(::mkfifo(t.dir.file("fifo").c_str(), 0644), 0);
         t.put("study.txt", "abc");
         t.countResults(t.dir.file("study.txt"));
     },
     [](FileSafety& t) {
         for (const std::string& device : {t.dir.file("fifo"), std::string("/dev/zero")}) {
             t.platform.choose(device);
             t.press(t.form.Button2);
             t.press(t.form.ButtonStart);
             t.press(t.form.Button_VOkno);
             t.caesar(t.form, device, true);
             t.idea(device, {"p"}, false);
         }
         t.form.OpenDialog1.fileName = t.dir.file("study.txt");
         t.createNewFile(t.dir.file("fifo"));
         t.platform.choose(t.dir.file("fifo"));
         t.press(t.form.ButtonSaveEtal);
     },
     {"Cannot open file {dir}/fifo.", "Cannot open file {dir}/fifo.",
      "Cannot open file {dir}/fifo.", "Cannot open file {dir}/fifo.",
      "The Error of the opening of the file.", "Cannot open file /dev/zero.",
      "Cannot open file /dev/zero.", "Cannot open file /dev/zero.", "Cannot open file /dev/zero.",
      "The Error of the opening of the file.", "The Output file is not created.",
      "Cannot create file {dir}/fifo."}},

    {"9: a failed read has its own words, apart from a failed write",
     [](FileSafety& t) { t.put("doc.txt", std::string(50000, 'r')); },
     [](FileSafety& t) {
         t.caesar(t.form, "/proc/self/mem", false);
         t.form.Memo1.setText("ab");
         t.form.OpenDialog1.fileName = "/proc/self/mem";
         t.createNewFile(t.dir.file("out.txt"));
         const FileSizeLimit full(4096);
         t.caesar(t.form, t.dir.file("doc.txt"), true);
         t.form.OpenDialog1.fileName = t.dir.file("doc.txt");
         t.createNewFile(t.dir.file("out.txt"));
     },
     {"Error reading the input file!", "Stream read error.", "Temporary file not open!",
      "Stream write error."}},

    {"10: a private file through every in-place operation stays private",
     [](FileSafety& t) {
         t.put("private.txt", kText, 0600);
         t.put("result.txt", "old", 0600);
         t.countResults(t.dir.file("private.txt"));
     },
     [](FileSafety& t) {
         t.caesar(t.form, t.dir.file("private.txt"), true);
         t.caesar(t.form, t.dir.file("private.txt"), false);
         t.idea(t.dir.file("private.txt"), {"p"}, false);
         t.idea(t.dir.file("private.txt"), {"p"}, true, false);  // "private.enc"
         t.idea(t.dir.file("private.txt"), {"p"}, true);
         t.platform.choose(t.dir.file("result.txt"));
         t.press(t.form.ButtonSaveRes);
         t.form.OpenDialog1.fileName = t.dir.file("private.txt");
         t.createNewFile(t.dir.file("result.txt"));
     },
     {"Encryption of the file is finished.\nEncrypt data in file __varn__.enc",
      "Encryption of the file is finished.", "Decryption of the file is finished.",
      "Decryption of the file is finished."},
     [](FileSafety&, Files& files) {
         files["private.txt"].bytes = Caesar(kText);
         files["__varn__.enc"] = {Caesar(Caesar(kText)), S_IFREG | 0600, ""};
         files["private.enc"] = {Caesar(kText), S_IFREG | 0600, ""};
         files["result.txt"].bytes = "*";  // its content is the substitution tests' to check
     }},

    {"11: crypt operations leave files named like the old 3X temporary alone",
     [](FileSafety& t) {
         t.put("tempfile-3x.dnc", "a file of the user's");
         t.put("tempfile.dnc", "another one");
         t.put("doc.txt", kText);
     },
     [](FileSafety& t) {
         t.idea(t.dir.file("doc.txt"), {"p"}, false);
         t.idea(t.dir.file("doc.txt"), {"p"}, true);
         t.idea(t.dir.file("doc.txt"), {"a", "b", "c"}, false);
         t.idea(t.dir.file("doc.txt"), {"a", "b", "c"}, true);
     },
     {"Encryption of the file is finished.", "Decryption of the file is finished.",
      "Encryption of the file is finished.", "Decryption of the file is finished."}},

    {"12: temporaries a killed run left behind are cleared beside the next operation's target; "
     "one in use by another copy and a fresh one stay",
     [](FileSafety& t) {
         t.put("doc.txt", kText);
         t.put("ab.txt", "abc");
         for (const char* name :
              {"__varn__.tmp.k1lledAB", "tempfile.dnc.k1lledAB", ".varn-save.k1lledAB",
               "__varn__.tmp.inUse123", "tempfile.dnc.young123"}) {
             t.put(name, std::string(1000, 'x'), 0600);
             if (std::string(name).find("young") == std::string::npos) AgeFile(t.dir.file(name));
         }
         heldTemporary = ::open(t.dir.file("__varn__.tmp.inUse123").c_str(), O_RDONLY);
         ASSERT_EQ(::flock(heldTemporary, LOCK_EX), 0);
     },
     [](FileSafety& t) {
         t.caesar(t.form, t.dir.file("doc.txt"), true);
         t.idea(t.dir.file("ab.txt"), {"p"}, false);
         t.form.Memo1.setText("ab");
         t.platform.choose(t.dir.file("standard.txt"));
         t.press(t.form.ButtonSaveEtal);
         ::close(heldTemporary);
     },
     {"Encryption of the file is finished."},
     [](FileSafety&, Files& files) {
         files.erase("__varn__.tmp.k1lledAB");
         files.erase("tempfile.dnc.k1lledAB");
         files.erase(".varn-save.k1lledAB");
         files["doc.txt"].bytes = Caesar(kText);
         files["ab.txt"].bytes = "*";
         files["standard.txt"] = {"ab\r\n", S_IFREG | 0644, ""};
     }},
};

INSTANTIATE_TEST_SUITE_P(EveryFaultClass, FileSafety, ::testing::ValuesIn(kRows),
                         [](const ::testing::TestParamInfo<FaultRow>& info) {
                             return "Class" + std::to_string(info.index + 1);
                         });

}  // namespace
