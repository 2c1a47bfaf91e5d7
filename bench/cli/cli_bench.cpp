// varn's subcommands beside the window's operations (TForm1 on a scripted desktop, no drawing),
// on one page-cached text file: best wall time of a few runs, as MiB/s of the input, and the
// ratio varn / window. A plain copy of the file (pread/pwrite in 4 MiB pieces) is the I/O ceiling.
//   cli_bench FOLDER [MiB] [runs]
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "app/form1.h"
#include "crypt/crypt_finish.h"
#include "tests/support/fake_platform.h"
#include "ui/cp1251.h"

namespace {

double Seconds(const std::function<void()>& run, int runs) {
    double best = 1e30;
    for (int r = 0; r < runs; ++r) {
        const auto start = std::chrono::steady_clock::now();
        run();
        best = std::min(
            best, std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    }
    return best;
}

void Varn(const std::vector<std::string>& arguments, const std::string& out = "/dev/null") {
    const pid_t child = ::fork();
    if (child == 0) {
        ::dup2(::open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600), 1);
        std::vector<char*> argv{const_cast<char*>(VARN_PROGRAM)};
        for (const std::string& a : arguments) argv.push_back(const_cast<char*>(a.c_str()));
        argv.push_back(nullptr);
        ::execv(VARN_PROGRAM, argv.data());
        ::_exit(127);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        std::fprintf(stderr, "varn %s failed\n", arguments[0].c_str());
        std::exit(1);
    }
}

// A Russian text of pangrams, CR LF line ends.
void MakeText(const std::string& path, std::size_t bytes) {
    const std::string line = ui::EncodeCp1251(
        "Съешь же ещё этих мягких французских булок, да выпей чаю. В чащах юга жил бы цитрус? "
        "Да, но фальшивый экземпляр! Широкая электрификация южных губерний даст мощный толчок "
        "подъёму сельского хозяйства.\r\n");
    std::string block;
    while (block.size() < (std::size_t{1} << 20)) block += line;
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    for (std::size_t done = 0; done < bytes;) {
        const std::size_t n = std::min(block.size(), bytes - done);
        if (::write(fd, block.data(), n) != static_cast<ssize_t>(n)) std::exit(1);
        done += n;
    }
    ::close(fd);
}

void Copy(const std::string& from, const std::string& to) {
    std::vector<unsigned char> buffer(std::size_t{4} << 20);
    const int in = ::open(from.c_str(), O_RDONLY);
    const int out = ::open(to.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    for (off_t at = 0;; at += static_cast<off_t>(buffer.size())) {
        const ssize_t n = ::pread(in, buffer.data(), buffer.size(), at);
        if (n <= 0 || ::pwrite(out, buffer.data(), static_cast<std::size_t>(n), at) != n) break;
    }
    ::close(in);
    ::close(out);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s FOLDER [MiB] [runs]\n", argv[0]);
        return 2;
    }
    const std::string folder = argv[1];
    const std::size_t mib = argc > 2 ? std::strtoul(argv[2], nullptr, 10) : 1024;
    const int runs = argc > 3 ? std::atoi(argv[3]) : 3;
    if (::chdir(folder.c_str()) != 0) {
        std::perror(folder.c_str());
        return 1;
    }
    const std::string file = folder + "/cli-bench.txt";
    MakeText(file, mib << 20);
    Copy(file, "copy.out");  // into the page cache
    const std::string cipherFile = folder + "/cli-bench.idea";
    const std::string pass = folder + "/cli-bench.pass";
    {
        const int fd = ::open(pass.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        if (::write(fd, "bench\n", 6) != 6) return 1;
        ::close(fd);
    }

    FakePlatform platform;
    TForm1 form(platform);
    form.FormShow();
    form.dispatch([&] { form.RadioButtonEng.click(); });
    const auto press = [&](ui::Control& control) { form.dispatch([&] { control.click(); }); };
    platform.choose(file);
    press(form.Button2);
    press(form.RadioButtonRusDn);
    form.MemoFile3V.setText(file);
    form.CheckBoxOvervriteFile3V.setChecked(false);
    form.EditPassWordIdea.setText("bench");
    form.CheckBoxOwer.setChecked(false);

    const double size = static_cast<double>(mib);
    std::printf("%-11s %12s %12s %8s   (%zu MiB, best of %d)\n", "operation", "window MiB/s",
                "varn MiB/s", "varn/win", mib, runs);
    const auto row = [&](const char* name, const std::function<void()>& window,
                         const std::function<void()>& command) {
        const double w = Seconds(window, runs);
        const double v = Seconds(command, runs);
        std::printf("%-11s %12.0f %12.0f %8.2f\n", name, size / w, size / v, w / v);
        std::fflush(stdout);
    };
    row(
        "count",
        [&] {
            press(form.RadioButtonRusDn);
            press(form.ButtonStart);
        },
        [&] {
            Varn({"count", "--builtin", "ru", file});
        });
    row(
        "substitute",
        [&] {
            press(form.RadioButtonRusDn);
            platform.choose(folder + "/window.out");
            press(form.ButtonNewFile);
        },
        [&] {
            Varn({"substitute", "--builtin", "ru", file, "-o", "varn.out", "--force"});
        });
    row(
        "solve",
        [&] {
            press(form.RadioButtonRusDn);
            form.dispatch([&] { form.Memo1FindStandardClick(); });
            platform.choose(folder + "/window.out");
            press(form.ButtonNewFile);
        },
        [&] {
            Varn({"solve", "-l", "ru", file, "-o", "varn.out", "--force"});
        });
    row(
        "caesar", [&] { press(form.ButtonEn); },
        [&] {
            Varn({"caesar", "encrypt", file, "-o", "varn.out", "--force"});
        });
    row(
        "encrypt",
        [&] {
            ::unlink(varn::CryptEncName(file).c_str());
            form.MemoIdeaFile.setText(file);
            press(form.Button_EnCrypt);
        },
        [&] {
            Varn({"encrypt", "--passphrase-file", pass, file, "-o", cipherFile, "--force"});
        });
    row(
        "decrypt",
        [&] {
            ::unlink(varn::CryptEncName(cipherFile).c_str());
            form.MemoIdeaFile.setText(cipherFile);
            press(form.Button_DeCrypt);
        },
        [&] {
            Varn({"decrypt", "--passphrase-file", pass, cipherFile, "-o", "varn.out", "--force"});
        });
    const double copy = Seconds([&] { Copy(file, "copy.out"); }, runs);
    std::printf("%-11s %12.0f %12.0f\n", "copy", size / copy, size / copy);
    constexpr int kPasswords = 100000;
    const double generated = Seconds(
        [&] {
            for (int i = 0; i < kPasswords; ++i) press(form.ButtonGenPassword);
        },
        1);
    const double printed = Seconds(
        [&] {
            Varn({"passgen", "--count", std::to_string(kPasswords)});
        },
        1);
    std::printf("%-11s %12.0f %12.0f %8.2f   (passwords/s)\n", "passgen", kPasswords / generated,
                kPasswords / printed, generated / printed);
    for (const std::string& name :
         {file, cipherFile, pass, varn::CryptEncName(file), varn::CryptEncName(cipherFile),
          folder + "/window.out", folder + "/varn.out", folder + "/copy.out",
          folder + "/__varn__.enc"}) {
        ::unlink(name.c_str());
    }
    return 0;
}
