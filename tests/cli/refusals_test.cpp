// How the subcommands take passwords and refuse what would lose or expose data.
#include <gtest/gtest.h>
#include <poll.h>
#include <pty.h>
#include <sys/stat.h>

#include <algorithm>
#include <atomic>
#include <csignal>
#include <filesystem>
#include <thread>

#include "caesar/caesar_table.h"
#include "tests/cli/run_varn.h"
#include "ui/cp1251.h"

namespace {

namespace fs = std::filesystem;

// The program on a pseudo-terminal: its standard input, output and error. `answers` are typed
// one after each prompt that ends in ": "; returns everything the terminal showed and the status.
VarnRun OnTerminal(const std::vector<std::string>& arguments,
                   const std::vector<std::string>& answers) {
    int master = -1;
    const pid_t child = ::forkpty(&master, nullptr, nullptr, nullptr);
    if (child == 0) {
        std::vector<char*> argv{const_cast<char*>(VARN_PROGRAM)};
        for (const std::string& a : arguments) argv.push_back(const_cast<char*>(a.c_str()));
        argv.push_back(nullptr);
        char* envp[] = {const_cast<char*>("LANG=C.UTF-8"), nullptr};
        ::execve(VARN_PROGRAM, argv.data(), envp);
        ::_exit(127);
    }
    VarnRun run;
    std::size_t answered = 0;
    for (;;) {
        pollfd p{master, POLLIN, 0};
        if (::poll(&p, 1, 10000) <= 0) {
            ADD_FAILURE() << "the program hangs: " << run.out;
            ::kill(child, SIGKILL);
            break;
        }
        char buffer[4096];
        const ssize_t got = ::read(master, buffer, sizeof buffer);
        if (got <= 0) break;  // EIO once the program has ended
        run.out.append(buffer, static_cast<std::size_t>(got));
        if (answered < answers.size() && run.out.ends_with(": ")) {
            const std::string line = answers[answered++] + "\n";
            EXPECT_EQ(::write(master, line.data(), line.size()), static_cast<ssize_t>(line.size()));
        }
    }
    int raw = 0;
    ::waitpid(child, &raw, 0);
    ::close(master);
    run.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : 128 + WTERMSIG(raw);
    return run;
}

// Every name in the folder, so that a test sees what a run left behind.
std::vector<std::string> Names(const TempDir& dir) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(dir.path()))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

TEST(VarnPasswords, FromAFileADescriptorAndTheTerminalWithoutEcho) {
    TempDir dir;
    const std::string plain = dir.write("plain.txt", "attack at dawn\n");
    const std::string pass = dir.write("pass", "secret\r\n");

    // Typed on the terminal, twice when encrypting, never shown.
    const VarnRun typed =
        OnTerminal({"encrypt", plain, "-o", dir.file("typed.enc")}, {"secret", "secret"});
    EXPECT_EQ(typed.status, 0) << typed.out;
    EXPECT_NE(typed.out.find("Password: "), std::string::npos) << typed.out;
    EXPECT_NE(typed.out.find("Again: "), std::string::npos) << typed.out;
    EXPECT_EQ(typed.out.find("secret"), std::string::npos) << typed.out;
    const VarnRun mismatch =
        OnTerminal({"encrypt", plain, "-o", dir.file("never.enc")}, {"secret", "secreT"});
    EXPECT_EQ(mismatch.status, 1);
    EXPECT_NE(mismatch.out.find("do not match"), std::string::npos) << mismatch.out;
    EXPECT_FALSE(fs::exists(dir.file("never.enc")));

    // The same password from a file (CR LF line end) and from a descriptor decrypts it.
    const VarnRun fromFile =
        RunVarn(dir, {"decrypt", "--passphrase-file", pass, dir.file("typed.enc"), "-o", "-"});
    EXPECT_EQ(fromFile.status, 0) << fromFile.err;
    EXPECT_EQ(fromFile.out, "attack at dawn\n");
    int pipeEnds[2];
    ASSERT_EQ(::pipe(pipeEnds), 0);
    ASSERT_EQ(::write(pipeEnds[1], "secret\n", 7), 7);
    ::close(pipeEnds[1]);
    VarnSetup setup;
    setup.passFd = pipeEnds[0];
    const VarnRun fromFd = RunVarn(dir,
                                   {"decrypt", "--passphrase-fd", std::to_string(pipeEnds[0]),
                                    dir.file("typed.enc"), "-o", "-"},
                                   setup);
    ::close(pipeEnds[0]);
    EXPECT_EQ(fromFd.status, 0) << fromFd.err;
    EXPECT_EQ(fromFd.out, "attack at dawn\n");

    // Three passwords for 3X: fewer lines are refused before anything is written.
    const std::string two = dir.write("two", "one\ntwo\n");
    const VarnRun short3 = RunVarn(
        dir, {"encrypt", "--triple", "--passphrase-file", two, plain, "-o", dir.file("3x.enc")});
    EXPECT_EQ(short3.status, 1);
    EXPECT_NE(short3.err.find("3 passwords needed"), std::string::npos) << short3.err;
    EXPECT_FALSE(fs::exists(dir.file("3x.enc")));
}

TEST(VarnRefusals, StatusesAndMessages) {
    TempDir dir;
    const std::string plain = dir.write("plain.txt", "keep me\n");
    const std::string pass = dir.write("pass", "right\n");
    const std::string wrong = dir.write("wrong", "wrong\n");
    const std::string taken = dir.write("taken.out", "old result");
    ASSERT_EQ(RunVarn(dir, {"encrypt", "--passphrase-file", pass, plain, "-o", "c.enc"}).status, 0);
    const std::string cipher = TempDir::read(dir.file("c.enc"));
    ASSERT_EQ(::mkfifo(dir.file("fifo").c_str(), 0600), 0);
    fs::create_directory(dir.file("folder"));
    const std::string longPass = dir.write("long", "123456789\n");

    const struct {
        std::vector<std::string> arguments;
        int status;
        std::string says;
        std::string lang = "C.UTF-8";
    } cases[] = {
        {{"caesar", "encrypt", plain, "-o", taken}, 1, "taken.out exists (use --force"},
        {{"encrypt", "--passphrase-file", pass, plain, "-o", taken}, 1, "exists"},
        {{"substitute", "--builtin", "en", plain, "-o", taken}, 1, "exists"},
        {{"count", "--builtin", "en", dir.file("fifo")}, 1, "fifo is not a regular file"},
        {{"caesar", "decrypt", dir.file("folder"), "-o", "x"}, 1, "folder is not a regular file"},
        {{"encrypt", "--passphrase-file", pass, dir.file("fifo"), "-o", "x"},
         1,
         "not a regular file"},
        {{"count", "--builtin", "en", dir.file("missing")}, 1, "cannot open"},
        {{"decrypt", "--passphrase-file", wrong, "c.enc", "-o", "x"},
         1,
         "Wrong password or the file is damaged."},
        {{"decrypt", "--passphrase-file", wrong, "c.enc", "--in-place"},
         1,
         "Wrong password or the file is damaged."},
        {{"decrypt", "--passphrase-file", wrong, "c.enc", "-o", "x"},
         1,
         "Неверный пароль или файл повреждён.",
         "ru_RU.UTF-8"},
        {{"decrypt", "--passphrase-file", pass, plain, "-o", "x"},
         1,
         "The file is not encrypted or is damaged."},
        {{"encrypt", "--passphrase-file", longPass, plain, "-o", "x"},
         1,
         "The Password must not be longer 8 symbols."},
        {{"encrypt", "--passphrase-file", pass, plain}, 2, "-o OUT or --in-place"},
        {{"encrypt", "--password", "x", plain, "-o", "x"}, 2, "Unknown option 'password'"},
        {{"caesar", "shift", plain, "-o", "x"}, 2, "usage: varn caesar"},
        {{"encrypt", "--passphrase-fd", "0", "-", "-o", "x"},
         2,
         "standard input cannot carry both the passwords and the file"},
        {{"count", plain}, 2, "--standard FILE or --builtin NAME"},
        {{"count", "--builtin", "de", plain}, 2, "ru, en, ru-asc or en-asc"},
        {{"count", "--all", "--format", "xml", plain}, 2, "table, csv or json"},
        {{"passgen", "--length", "26"}, 2, "1 to 25"},
        {{"passgen", "--count", "0"}, 2, "1 or more"},
    };
    for (const auto& c : cases) {
        VarnSetup setup;
        setup.environment = {"LANG=" + c.lang};
        const VarnRun run = RunVarn(dir, c.arguments, setup);
        EXPECT_EQ(run.status, c.status) << c.arguments[0] << " " << run.err;
        EXPECT_NE(run.err.find(c.says), std::string::npos) << c.arguments[0] << ": " << run.err;
        EXPECT_EQ(run.out, "") << c.arguments[0];
    }
    // Nothing was replaced or left behind.
    EXPECT_EQ(TempDir::read(taken), "old result");
    EXPECT_EQ(TempDir::read(plain), "keep me\n");
    EXPECT_EQ(TempDir::read(dir.file("c.enc")), cipher);
    EXPECT_EQ(Names(dir), (std::vector<std::string>{"c.enc", "fifo", "folder", "long", "pass",
                                                    "plain.txt", "taken.out", "wrong"}));

    // --force replaces; ciphertext never goes to a terminal.
    const VarnRun forced = RunVarn(dir, {"caesar", "encrypt", plain, "-o", taken, "--force"});
    EXPECT_EQ(forced.status, 0) << forced.err;
    EXPECT_NE(TempDir::read(taken), "old result");
    const VarnRun terminal =
        OnTerminal({"encrypt", "--passphrase-file", pass, plain, "-o", "-"}, {});
    EXPECT_EQ(terminal.status, 1);
    EXPECT_NE(terminal.out.find("refusing to write ciphertext to a terminal"), std::string::npos)
        << terminal.out;
}

TEST(VarnRefusals, AFullDiskLeavesNothingBehind) {
    TempDir dir;
    const std::string big = dir.write("big.txt", std::string(3 << 20, 'a'));
    const std::string pass = dir.write("pass", "pw\n");
    VarnSetup setup;
    setup.fileSizeLimit = 1 << 20;  // below the input, above everything else in the folder
    const std::vector<std::vector<std::string>> commands = {
        {"caesar", "encrypt", big, "-o", "out"},
        {"caesar", "encrypt", big, "--in-place"},
        {"substitute", "--builtin", "en", big, "-o", "out"},
        {"encrypt", "--passphrase-file", pass, big, "-o", "out"},
        {"encrypt", "--triple", "--passphrase-file", dir.write("pass3", "a\nb\nc\n"), big, "-o",
         "out"},
        {"encrypt", "--passphrase-file", pass, big, "--in-place"},
    };
    for (const auto& arguments : commands) {
        const VarnRun run = RunVarn(dir, arguments, setup);
        EXPECT_EQ(run.status, 1) << arguments[0] << " " << arguments.back() << ": " << run.err;
        EXPECT_NE(run.err.find("File too large"), std::string::npos) << run.err;
        EXPECT_FALSE(fs::exists(dir.file("out")));
        EXPECT_EQ(fs::file_size(big), std::uintmax_t{3} << 20);
    }
    for (const auto& name : Names(dir))
        EXPECT_TRUE(name == "big.txt" || name == "pass" || name == "pass3") << name;
}

// A log still being written while a result is made of it: no copy that matches no state of the
// file is put in place.
TEST(VarnRefusals, AnInputWrittenDuringThePassGivesNoResult) {
    TempDir dir;
    const std::string log = dir.write("log.txt", std::string(48 << 20, 'a'));
    const std::string pass = dir.write("pass", "pw\n");
    const std::vector<std::vector<std::string>> commands = {
        {"caesar", "encrypt", log, "-o", "out"},
        {"substitute", "--builtin", "en", log, "-o", "out"},
        {"encrypt", "--passphrase-file", pass, log, "-o", "out"},
    };
    for (const auto& arguments : commands) {
        std::atomic<bool> done{false};
        std::thread writer([&] {
            const int fd = ::open(log.c_str(), O_WRONLY | O_APPEND);
            while (!done) {
                EXPECT_EQ(::write(fd, "b", 1), 1);
                ::usleep(500);
            }
            ::close(fd);
        });
        const VarnRun run = RunVarn(dir, arguments);
        done = true;
        writer.join();
        EXPECT_EQ(run.status, 1) << arguments[0] << ": " << run.err;
        EXPECT_NE(run.err.find("changed during the operation"), std::string::npos) << run.err;
        EXPECT_FALSE(fs::exists(dir.file("out")));
    }
    for (const auto& name : Names(dir)) EXPECT_TRUE(name == "log.txt" || name == "pass") << name;
}

TEST(VarnStreams, PipesNamesAndLanguage) {
    TempDir dir;
    const std::string text(1 << 20, 'q');
    const std::string file = dir.write("text.txt", text);
    // A closed pipe ends the program quietly, as a write into it ends any tool.
    const std::string command = std::string(VARN_PROGRAM) + " caesar encrypt " + file +
                                " -o - 2>err | head -c 10 >/dev/null; echo ${PIPESTATUS[0]}";
    const std::string script = dir.write("pipe.sh", command);
    const std::string status = dir.file("status");
    ASSERT_EQ(std::system(("bash " + script + " >" + status).c_str()), 0);
    EXPECT_EQ(TempDir::read(status), "141\n");
    EXPECT_EQ(TempDir::read(dir.file("err")), "");

    // A name that is not UTF-8 is the file of that name; standard input works as "-".
    const std::string odd = dir.write("\xcf\xf0\xe8.txt", "abc\n");
    const VarnRun named = RunVarn(dir, {"caesar", "encrypt", odd, "-o", "-"});
    EXPECT_EQ(named.status, 0) << named.err;
    EXPECT_EQ(named.out, "def\r\n");
    VarnSetup fromInput;
    fromInput.input = "def\r\n";
    const VarnRun piped = RunVarn(dir, {"caesar", "decrypt", "-", "-o", "-"}, fromInput);
    EXPECT_EQ(piped.out, "abc\r\n");
    const VarnRun missing = RunVarn(dir, {"count", "--all", "\xcf\xf0\xe8.bin"});
    EXPECT_NE(missing.err.find("cannot open"), std::string::npos);

    // Text for a terminal is shown in its encoding (UTF-8 here); the same into a file stays
    // Windows-1251.
    std::string cipher;
    for (const char c : ui::EncodeCp1251("Привет, мир"))
        cipher += static_cast<char>(varn::CaesarEncipher(static_cast<unsigned char>(c)));
    const std::string enciphered = dir.write("hello.3v", cipher);
    const VarnRun shown = OnTerminal({"caesar", "decrypt", enciphered, "-o", "-"}, {});
    EXPECT_EQ(shown.status, 0);
    EXPECT_NE(shown.out.find("Привет, мир"), std::string::npos) << shown.out;
    EXPECT_EQ(RunVarn(dir, {"caesar", "decrypt", enciphered, "-o", "-"}).out,
              ui::EncodeCp1251("Привет, мир"));

    // Help, version, and messages in Russian under a Russian locale.
    for (const std::vector<std::string>& help : {std::vector<std::string>{"--help"},
                                                 {"count", "--help"},
                                                 {"encrypt", "--help"},
                                                 {"passgen", "--help"}}) {
        const VarnRun run = RunVarn(dir, help);
        EXPECT_EQ(run.status, 0);
        EXPECT_EQ(run.out.rfind("Usage: varn", 0), 0u) << run.out;
    }
    EXPECT_EQ(RunVarn(dir, {"--version"}).out, "varn 3.8\n");
    VarnSetup inRussian;
    inRussian.environment = {"LANG=ru_RU.UTF-8"};
    const VarnRun russian = RunVarn(dir, {"count", "--builtin", "xx", file}, inRussian);
    EXPECT_NE(russian.err.find("встроенный эталон"), std::string::npos) << russian.err;
}

}  // namespace
